// Databases that are damaged, empty, locked or hold bytes that are not UTF-8:
// every failure comes back as a DataError the windows can report, never as a
// crash or a silent empty answer.
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "support/FixtureDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace ortolan;

namespace {

const QString FirstLevel = QStringLiteral("SELECT [codice_gr],[nome_gr] FROM [Taxa] ORDER BY [codice_gr]");

class DamagedDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fixture = std::make_unique<test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        fixture->close();
        QFile file(fixture->path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        intact = file.readAll();
    }
    void replaceFile(const QByteArray &bytes)
    {
        QFile file(fixture->path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Opens the database and reads the first tree level; true when it worked.
    bool readFirstLevel()
    {
        auto db = data::Connection::open(fixture->path(), fixture->connectString());
        data::Recordset rs = db->openRecordset(FirstLevel);
        int rows = 0;
        for (; !rs.eof(); rs.moveNext())
            rows += rs.text(1).isEmpty() ? 0 : 1;
        return rows > 0;
    }

    QTemporaryDir dir;
    std::unique_ptr<test::FixtureDatabase> fixture;
    QByteArray intact;
};

TEST_F(DamagedDatabaseTest, AnEmptyFileIsRefused)
{
    replaceFile(QByteArray());
    EXPECT_THROW(readFirstLevel(), data::DataError);
}

TEST_F(DamagedDatabaseTest, EveryTruncationIsRefusedOrReadWhole)
{
    ASSERT_TRUE(readFirstLevel());
    // Cut at page boundaries and inside pages.
    for (qsizetype cut : {qsizetype(16), qsizetype(100), qsizetype(1024), intact.size() / 3, intact.size() / 2,
                          intact.size() - 4096, intact.size() - 1}) {
        replaceFile(intact.left(cut));
        try {
            EXPECT_TRUE(readFirstLevel()) << "cut at " << cut;
        } catch (const data::DataError &) {
            // refused: what the windows report as a data error
        }
    }
}

TEST_F(DamagedDatabaseTest, ScrambledPagesGiveADataErrorNotACrash)
{
    for (qsizetype page = 1; page * 4096 < intact.size(); ++page) {
        QByteArray bytes = intact;
        for (qsizetype i = page * 4096; i < std::min(bytes.size(), page * 4096 + 64); ++i)
            bytes[i] = char(0xA5 ^ i);
        replaceFile(bytes);
        try {
            readFirstLevel();
        } catch (const data::DataError &) {
        }
    }
    SUCCEED();
}

TEST_F(DamagedDatabaseTest, ADatabaseLockedByAnotherProgramFailsAfterTheBusyWait)
{
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(fixture->path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QElapsedTimer clock;
    clock.start();
    try {
        readFirstLevel();
        ADD_FAILURE() << "a locked database was read";
    } catch (const data::DataError &e) {
        // Named for what it is, not taken for a wrong password.
        EXPECT_TRUE(e.description().contains(QStringLiteral("locked"))) << e.description().toStdString();
    }
    // It waited for the other program a moment, and not for ever.
    EXPECT_GE(clock.elapsed(), 1500);
    EXPECT_LT(clock.elapsed(), 10000);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(readFirstLevel());
}

TEST_F(DamagedDatabaseTest, TextThatIsNotUtf8IsReadWithoutHarm)
{
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(fixture->path().toUtf8().constData(), &other), SQLITE_OK);
    // A name written by a program using the Windows code page: "Carabè" + a stray byte.
    ASSERT_EQ(sqlite3_exec(other, "UPDATE Taxa SET nome_gr = CAST(x'43617261629EFF' AS TEXT)", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    auto db = data::Connection::open(fixture->path(), fixture->connectString());
    data::Recordset rs = db->openRecordset(FirstLevel);
    ASSERT_FALSE(rs.eof());
    EXPECT_TRUE(rs.text(1).startsWith(QStringLiteral("Carab")));
}

}  // namespace
