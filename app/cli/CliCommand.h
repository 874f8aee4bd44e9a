#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace ortolan::cli {

// One subcommand of ortolan-cli. Each file of app/cli/ registers its commands
// with a static CliRegistrar, so adding a command touches no shared list.
struct CliCommand {
    QString name;      // e.g. "tree"
    QString synopsis;  // one line: "tree [--filter KEY]"
    QString help;      // full help text of the command
    // Runs the command with its own arguments (global options already removed).
    // Returns the process exit status: 0 success, 1 failure of the work, 2 bad usage or input.
    std::function<int(const QStringList &args)> run;
};

std::vector<CliCommand> &commands();

struct CliRegistrar {
    explicit CliRegistrar(CliCommand command) { commands().push_back(std::move(command)); }
};

// Output helpers (UTF-8 to stdout / stderr).
void out(const QString &line);  // writes line + "\n"
void err(const QString &line);  // writes "ortolan-cli: " + line + "\n"

// Takes the value of "--name VALUE" out of args; returns def when absent.
// Sets *missingValue when the option is last and has no value.
QString takeOption(QStringList &args, const QString &name, const QString &def = QString(), bool *missingValue = nullptr);
// Takes a flag "--name" out of args; true when present.
bool takeFlag(QStringList &args, const QString &name);

// Checks the map options "--grid on|off" and "--background hydro|regions":
// sets gridOn and the background file name, or prints what is wrong and
// returns false.
bool mapStyle(const QString &grid, const QString &background, bool *gridOn, QString *backgroundName);

// Checks that the database of the settings exists; prints the missing-file
// message and returns false otherwise.
bool requireDatabase();

}  // namespace ortolan::cli
