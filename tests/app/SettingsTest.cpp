#include "app/AppPaths.h"
#include "app/Settings.h"
#include "data/WriterTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ortolan;

TEST(Language, OnlyTheExactWordInglesePicksEnglish)
{
    Settings s;
    s.setLanguage(QStringLiteral("Inglese"));
    EXPECT_TRUE(s.isEnglish());
    EXPECT_EQ(s.messages.MsgSelectSpecies, QStringLiteral("Please select a species"));
    for (const char *other : {"inglese", "Italiano", "", "English"}) {
        s.setLanguage(QString::fromUtf8(other));
        EXPECT_FALSE(s.isEnglish()) << other;
        EXPECT_EQ(s.messages.MsgSelectSpecies, QStringLiteral("Selezionare una specie"));
    }
}

TEST(Paths, HelpFileFollowsTheLanguage)
{
    Settings s;
    s.setLanguage(QStringLiteral("Inglese"));
    initialisePaths(s, QStringLiteral("/opt/ortolan"));
    EXPECT_EQ(s.DatabasePath, QStringLiteral("/opt/ortolan/Data/OrtolanDati.mde"));
    EXPECT_EQ(s.DataFolder, QStringLiteral("/opt/ortolan/Data/"));
    EXPECT_TRUE(s.HelpFilePath.endsWith(QStringLiteral("/Help/OrtolanEng.html")));
    s.setLanguage(QStringLiteral("Italiano"));
    initialisePaths(s, QStringLiteral("/opt/ortolan"));
    EXPECT_TRUE(s.HelpFilePath.endsWith(QStringLiteral("/Help/Ortolan.html")));
    EXPECT_EQ(s.DatabasePassword.size(), 7);
}

TEST(Paths, UserFolderFallsBackWhenTheApplicationFolderIsNotWritable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                          | QFileDevice::ExeOther);
    // As an ordinary user (root writes into read-only folders anyway).
    const test::Outcome outcome = test::runWithoutPrivileges([&] {
        qputenv("HOME", "/tmp");
        Settings s;
        initialisePaths(s, dir.path());
        return !s.UserFolder.startsWith(dir.path()) && !s.UserFolder.isEmpty();
    });
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (outcome == test::Outcome::Skipped)
        GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(outcome, test::Outcome::Passed);
}

TEST(Startup, MissingDatabaseMessageNamesPathAndFolder)
{
    Settings s;
    s.setLanguage(QStringLiteral("Inglese"));
    initialisePaths(s, QStringLiteral("/nowhere"));
    EXPECT_FALSE(prepareDatabaseFile(s.DatabasePath));
    EXPECT_EQ(missingDatabaseMessage(s),
              QStringLiteral("Missing file /nowhere/Data/OrtolanDati.mde in /nowhere/Data/"));
}

TEST(Startup, ReadOnlyDatabaseStillStartsAndLosesItsFlag)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OrtolanDati.mde"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_TRUE(prepareDatabaseFile(path));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::WriteOwner);
}
