// ortolan-cli: the atlas's core code, headless, for scripting and checks.
#include "app/AppPaths.h"
#include "app/Settings.h"
#include "app/cli/CliCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <memory>

using namespace ortolan;

namespace {

void printUsage()
{
    cli::out(QStringLiteral("Usage: ortolan-cli [--lang it|en] [--db PATH] COMMAND [ARGS...]"));
    cli::out(QString());
    cli::out(QStringLiteral("Global options:"));
    cli::out(QStringLiteral("  --lang it|en   language of texts and column names (default en)"));
    cli::out(QStringLiteral("  --db PATH      species database (default: Data/OrtolanDati.mde beside the program)"));
    cli::out(QStringLiteral("  --help         this text; 'ortolan-cli help COMMAND' (or COMMAND --help) describes one"));
    cli::out(QString());
    cli::out(QStringLiteral("Commands:"));
    auto list = cli::commands();
    std::sort(list.begin(), list.end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    for (const auto &c : list)
        cli::out(QStringLiteral("  ") + c.synopsis);
    cli::out(QString());
    cli::out(QStringLiteral("Exit status: 0 done, 1 the work failed, 2 bad usage or missing input; every error is"));
    cli::out(QStringLiteral("one line on stderr."));
}

const cli::CliCommand *findCommand(const QString &name)
{
    for (const auto &c : cli::commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

}  // namespace

int main(int argc, char **argv)
{
    // Map drawing and metafiles need QtGui; run it without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    bool missing = false;
    const QString lang = cli::takeOption(args, QStringLiteral("--lang"), QStringLiteral("en"), &missing);
    const QString db = cli::takeOption(args, QStringLiteral("--db"), QString(), &missing);
    if (missing || (lang != QStringLiteral("en") && lang != QStringLiteral("it"))) {
        cli::err(QStringLiteral("--lang takes 'it' or 'en', --db takes a path"));
        return 2;
    }
    Settings &s = settings();
    s.setLanguage(lang == QStringLiteral("en") ? QStringLiteral("Inglese") : QStringLiteral("Italiano"));
    initialisePaths(s, QCoreApplication::applicationDirPath());
    if (!db.isEmpty()) {
        const QFileInfo info(db);
        s.DatabasePath = info.absoluteFilePath();
        // The folder of the file, with one trailing separator (the root is "/").
        s.DataFolder = info.absolutePath();
        if (!s.DataFolder.endsWith(u'/'))
            s.DataFolder += u'/';
    }

    if (args.isEmpty() || args.first() == QStringLiteral("--help") || args.first() == QStringLiteral("-h")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    if (name == QStringLiteral("help")) {
        if (args.isEmpty()) {
            printUsage();
            return 0;
        }
        const cli::CliCommand *c = findCommand(args.first());
        if (!c) {
            cli::err(QStringLiteral("unknown command '") + args.first() + QStringLiteral("'"));
            return 2;
        }
        cli::out(QStringLiteral("Usage: ortolan-cli ") + c->synopsis);
        cli::out(c->help);
        return 0;
    }
    const cli::CliCommand *c = findCommand(name);
    if (!c) {
        cli::err(QStringLiteral("unknown command '") + name + QStringLiteral("'; see ortolan-cli --help"));
        return 2;
    }
    if (args.contains(QStringLiteral("--help"))) {
        cli::out(QStringLiteral("Usage: ortolan-cli ") + c->synopsis);
        cli::out(c->help);
        return 0;
    }
    return c->run(args);
}
