// ortolan-cli query: rows on stdout, exports, and exit codes.
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ortolan;

namespace {

struct CliRun {
    int exitCode;
    QString out, err;
};

CliRun cli(const QStringList &args)
{
    QProcess process;
    process.start(test::appDir() + QStringLiteral("/ortolan-cli"), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The tool's own one-line messages on stderr (Qt may add warnings of its own).
int messages(const QString &err)
{
    int count = 0;
    for (const QString &line : err.split(u'\n'))
        count += line.startsWith(QStringLiteral("ortolan-cli: ")) ? 1 : 0;
    return count;
}

class QueryCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture = std::make_unique<test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        fixture->close();
    }
    CliRun query(const QString &sql) { return cli({QStringLiteral("--db"), fixture->path(), QStringLiteral("query"), sql}); }

    QTemporaryDir dir;
    std::unique_ptr<test::FixtureDatabase> fixture;
};

TEST_F(QueryCommand, PrintsAHeaderAndTabSeparatedRows)
{
    const CliRun run = query(QStringLiteral("SELECT [codice_sp],[UTM] FROM [Stazioni] WHERE ([codice_sp] like'037*' and "
                                         "not isnull([UTM])) group by [codice_sp],[UTM];"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("CODICE_SP\tUTM\n037.00101.001.0\tNF00\n037.00201.001.0\tUG12\n"));
}

TEST_F(QueryCommand, NullsAreEmptyAndLineBreaksStayInTheirRow)
{
    const CliRun run = query(QStringLiteral("SELECT NULL AS a, 'x' || char(10) || 'y' AS b"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("a\tb\n\tx y\n"));
}

TEST_F(QueryCommand, WritesSelectIntoExports)
{
    const QString sql = QStringLiteral("SELECT QuadUTM.UTM INTO [dBase IV;DATABASE=") + dir.path()
                        + QStringLiteral("].[squares] FROM QuadUTM");
    const CliRun run = query(sql);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("4 rows written to ")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("squares.dbf"))));

    const CliRun failed = query(QStringLiteral("SELECT 1 AS a INTO [Excel 8.0;DATABASE=") + dir.filePath(QStringLiteral("no/such.xls"))
                             + QStringLiteral("].[S]"));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(messages(failed.err), 1);
}

TEST_F(QueryCommand, BadQueriesAndMissingDatabaseExitWithTwo)
{
    for (const char *sql : {"SELECT nothing FROM nowhere", "SELECT a INTO [Paradox;DATABASE=x].[y] FROM t", "",
                            "DELETE FROM Taxa"}) {
        const CliRun run = query(QString::fromUtf8(sql));
        EXPECT_EQ(run.exitCode, 2) << sql;
        EXPECT_EQ(messages(run.err), 1) << run.err.toStdString();
    }
    const CliRun missing = cli({QStringLiteral("--db"), dir.filePath(QStringLiteral("missing.mde")), QStringLiteral("query"),
                             QStringLiteral("SELECT 1")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(messages(missing.err), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.mde"))));
}

}  // namespace
