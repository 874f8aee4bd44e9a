#pragma once

#include "data/DataError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ortolan::test {

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

enum class Outcome { Passed, Failed, Skipped };

// Runs work where file permissions apply: as is for an ordinary user; for
// root (who writes into read-only folders anyway) in a child process that
// has become the user "nobody" (uid 65534). work returns true on success.
inline Outcome runWithoutPrivileges(const std::function<bool()> &work)
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        return work() ? Outcome::Passed : Outcome::Failed;
    const pid_t child = fork();
    if (child < 0)
        return Outcome::Skipped;
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(77);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return Outcome::Failed;
    if (WEXITSTATUS(status) == 77)
        return Outcome::Skipped;
    return WEXITSTATUS(status) == 0 ? Outcome::Passed : Outcome::Failed;
#else
    return work() ? Outcome::Passed : Outcome::Failed;
#endif
}

// Writes an earlier file `name` into folder (created below parent), makes the
// folder read-only for everyone and runs write there without privileges.
// Passed when write throws DataError. Write access is given back afterwards.
inline Outcome writeIntoReadOnlyFolder(const QString &parent, const QString &folder, const QString &name,
                                       const std::function<void()> &write)
{
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/") + name, "earlier");
    QFile::setPermissions(parent, QFile::permissions(parent) | QFileDevice::ExeOther | QFileDevice::ReadOther);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                      | QFileDevice::ExeOther);
    const Outcome outcome = runWithoutPrivileges([&] {
        try {
            write();
            return false;
        } catch (const data::DataError &) {
            return true;
        }
    });
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return outcome;
}

}  // namespace ortolan::test
