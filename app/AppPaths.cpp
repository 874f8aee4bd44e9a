#include "app/AppPaths.h"

#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace ortolan {

namespace {

bool isWritableFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.ortolan-write-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

QString helpFileFor(const QString &applicationFolder, bool english)
{
    return applicationFolder + (english ? QStringLiteral("/Help/OrtolanEng.html") : QStringLiteral("/Help/Ortolan.html"));
}

void initialisePaths(Settings &s, const QString &applicationFolder)
{
    s.ApplicationFolder = applicationFolder;
    s.DatabasePassword = QStringLiteral("HXWLB58");
    s.DataFolder = applicationFolder + QStringLiteral("/Data/");
    s.DatabasePath = applicationFolder + QStringLiteral("/Data/OrtolanDati.mde");
    s.HelpFilePath = helpFileFor(applicationFolder, s.isEnglish());
    s.UserFolder = applicationFolder + QStringLiteral("/MyData/");
    if (!isWritableFolder(s.UserFolder)) {
        const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        if (!fallback.isEmpty() && isWritableFolder(fallback + QStringLiteral("/MyData")))
            s.UserFolder = fallback + QStringLiteral("/MyData/");
    }
}

bool prepareDatabaseFile(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    if (!info.exists() || !info.isFile())
        return false;
    // Clear a read-only flag as the start-up always did; when the user may not
    // change the file this fails quietly, which is fine: connections are read-only.
    const QFileDevice::Permissions permissions = QFile::permissions(databasePath);
    if (!(permissions & QFileDevice::WriteOwner))
        QFile::setPermissions(databasePath, permissions | QFileDevice::WriteOwner);
    return true;
}

QString missingDatabaseMessage(const Settings &s)
{
    return s.messages.MsgMissingFile + s.DatabasePath + QStringLiteral(" in ") + s.DataFolder;
}

}  // namespace ortolan
