// Opening the database, reading recordsets, the saved query "Esporta", and
// the index-friendly like rewrite.
#include "StandardChecklistTest.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "data/Queries.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

using namespace ortolan;
using namespace ortolan::test;
namespace q = ortolan::data::queries;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ConnectionOpen, RefusesAWrongOrMissingPassword)
{
    QTemporaryDir dir;
    FixtureDatabase fixture(dir.path());
    EXPECT_NO_THROW(data::Connection::open(fixture.path(), QStringLiteral(";pwd=HXWLB58")));
    EXPECT_NO_THROW(data::Connection::open(fixture.path(), QStringLiteral(";PWD=HXWLB58;")));
    EXPECT_THROW(data::Connection::open(fixture.path(), QStringLiteral(";pwd=hxwlb58")), data::DataError);
    EXPECT_THROW(data::Connection::open(fixture.path(), QStringLiteral(";pwd=")), data::DataError);
    EXPECT_THROW(data::Connection::open(fixture.path(), QString()), data::DataError);

    fixture.exec(QStringLiteral("DELETE FROM OrtolanInfo WHERE Name = 'password'"));
    EXPECT_THROW(data::Connection::open(fixture.path(), fixture.connectString()), data::DataError);
    fixture.exec(QStringLiteral("DROP TABLE OrtolanInfo"));
    try {
        data::Connection::open(fixture.path(), fixture.connectString());
        ADD_FAILURE() << "a database without its password table opened";
    } catch (const data::DataError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("password"))) << e.what();
    }
}

TEST(ConnectionOpen, SettingsNameTheDatabase)
{
    QTemporaryDir dir;
    FixtureDatabase fixture(dir.path());
    fixture.makeCurrent();
    EXPECT_NO_THROW(data::Connection::openPrivate());
    settings().DatabasePassword = QStringLiteral("WRONG");
    EXPECT_THROW(data::Connection::openDefault(), data::DataError);
}

TEST(ConnectionOpen, MissingFileIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OrtolanDati.mde"));
    EXPECT_THROW(data::Connection::open(path, QStringLiteral(";pwd=HXWLB58")), data::DataError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ConnectionOpen, RefusesAFileThatIsNotADatabase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OrtolanDati.mde"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_THROW(data::Connection::open(path, QStringLiteral(";pwd=HXWLB58")), data::DataError);
    EXPECT_THROW(data::Connection::open(dir.path(), QStringLiteral(";pwd=HXWLB58")), data::DataError);
}

class ConnectionTest : public StandardChecklistTest {};

TEST_F(ConnectionTest, RecordsetValuesAndNavigation)
{
    data::Recordset rows = connection->openRecordset(QStringLiteral(
        "SELECT [UTM], [E_UTM32], 7 AS n, NULL AS empty_value FROM [QuadUTM] ORDER BY [UTM]"));
    rows.moveLast();
    EXPECT_EQ(rows.recordCount(), 4);
    EXPECT_EQ(rows.position(), 3);
    rows.moveFirst();
    EXPECT_EQ(rows.field(0).typeId(), QMetaType::QString);
    EXPECT_EQ(rows.field(QStringLiteral("e_utm32")).typeId(), QMetaType::Double);
    EXPECT_EQ(rows.field(QStringLiteral("N")).typeId(), QMetaType::LongLong);
    EXPECT_TRUE(rows.field(QStringLiteral("empty_value")).isNull());
    EXPECT_EQ(rows.text(QStringLiteral("empty_value")), QString());
    EXPECT_EQ(rows.tableName(0), QStringLiteral("QuadUTM"));
    EXPECT_EQ(rows.tableName(2), QString());
    int seen = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        ++seen;
    EXPECT_EQ(seen, 4);
    EXPECT_THROW(rows.field(0), data::DataError);  // at eof
    rows.moveFirst();
    EXPECT_THROW(rows.field(QStringLiteral("missing")), data::DataError);
    EXPECT_THROW(rows.field(9), data::DataError);
}

TEST_F(ConnectionTest, MoveLastOnNoRowsFails)
{
    data::Recordset none = connection->openRecordset(q::dataOwner(QStringLiteral("999")));
    EXPECT_EQ(none.recordCount(), 0);
    EXPECT_TRUE(none.eof());
    EXPECT_THROW(none.moveLast(), data::DataError);
}

TEST_F(ConnectionTest, LenCountsCharacters)
{
    EXPECT_EQ(column(QStringLiteral("SELECT len('Località'), len(NULL) IS NULL, len(12345)")),
              list({"8"}));
    EXPECT_EQ(column(QStringLiteral("SELECT len(NULL) IS NULL"), 0), list({"1"}));
}

TEST_F(ConnectionTest, LikeOperatorUsesTheDialect)
{
    EXPECT_EQ(column(QStringLiteral("SELECT 'Carabus' like 'car*', 'a%' like 'a%', 'ab' like 'a%', "
                                    "'È' like 'è', NULL like 'a' IS NULL"), 0), list({"1"}));
    data::Recordset r = connection->openRecordset(QStringLiteral(
        "SELECT 'ab' like 'a%', 'È' like 'è', 'a_c' like 'a_c', 'abc' like 'a_c', 'a*' like 'a!*' ESCAPE '!'"));
    EXPECT_EQ(r.text(0), QStringLiteral("0"));
    EXPECT_EQ(r.text(1), QStringLiteral("1"));
    EXPECT_EQ(r.text(2), QStringLiteral("1"));
    EXPECT_EQ(r.text(3), QStringLiteral("0"));
    EXPECT_EQ(r.text(4), QStringLiteral("1"));
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT 'a' like 'a' ESCAPE 'xy'")), data::DataError);
}

TEST_F(ConnectionTest, OnlyOneStatementRuns)
{
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT 1; SELECT 2")), data::DataError);
    EXPECT_NO_THROW(connection->openRecordset(QStringLiteral("SELECT 1; ;  -- done")));
    EXPECT_THROW(connection->openRecordset(QStringLiteral("   ")), data::DataError);
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT FROM WHERE")), data::DataError);
}

TEST_F(ConnectionTest, TheDatabaseIsNeverWritten)
{
    fixture->close();
    const QByteArray before = fileBytes(fixture->path());
    const QDateTime modified = QFileInfo(fixture->path()).lastModified();

    EXPECT_THROW(connection->execute(QStringLiteral("DELETE FROM [Taxa]")), data::DataError);
    EXPECT_THROW(connection->execute(QStringLiteral("CREATE TABLE x (a)")), data::DataError);
    connection->createQuery(q::esportaName(), q::esportaQuery(QStringLiteral("044.00101.001.0"), true));
    EXPECT_EQ(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta")).recordCount(), 3);
    connection->dropQuery(q::esportaName());
    connection.reset();

    EXPECT_EQ(fileBytes(fixture->path()), before);
    EXPECT_EQ(QFileInfo(fixture->path()).lastModified(), modified);
}

TEST_F(ConnectionTest, SavedQueryLifecycle)
{
    const QString name = q::esportaName();
    connection->createQuery(name, q::esportaQuery(QStringLiteral("044.00101.001.0"), false));
    EXPECT_EQ(column(QStringLiteral("SELECT QuadUTM.UTM, Esporta.STAZIONI FROM QuadUTM LEFT JOIN Esporta ON "
                                    "QuadUTM.UTM = Esporta.UTM ORDER BY QuadUTM.UTM"), 1),
              list({"", "0", "3", "1"}));
    // Creating it again replaces it.
    connection->createQuery(name, q::esportaQuery(QStringLiteral("037.00101.001.0"), false));
    EXPECT_EQ(column(QStringLiteral("SELECT UTM FROM Esporta ORDER BY UTM")), list({"", "NF00"}));
    connection->dropQuery(name);
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta")), data::DataError);
    EXPECT_NO_THROW(connection->dropQuery(name));

    // A failing statement after it does not keep it alive past dropQuery.
    connection->createQuery(name, q::esportaQuery(QStringLiteral("044"), true));
    EXPECT_THROW(connection->execute(QStringLiteral("SELECT Esporta.SITES INTO [dBase IV;DATABASE=")
                                     + dir.filePath(QStringLiteral("missing/folder"))
                                     + QStringLiteral("].[x] FROM Esporta")),
                 data::DataError);
    connection->dropQuery(name);
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta")), data::DataError);

    // A query text that fails leaves no query behind.
    EXPECT_THROW(connection->createQuery(name, QStringLiteral("SELECT nothing FROM nowhere")), data::DataError);
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta")), data::DataError);

    // Closing the connection drops what is left.
    connection->createQuery(name, q::esportaQuery(QStringLiteral("044"), true));
    connection = data::Connection::open(fixture->path(), fixture->connectString());
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta")), data::DataError);
}

// The prefix rewrite lets the NOCASE indexes answer `like 'CODE*'` ...
TEST_F(ConnectionTest, MapQueryUsesTheRecordsIndex)
{
    const QStringList plan =
        column(QStringLiteral("EXPLAIN QUERY PLAN ") + q::mapSquares(QStringLiteral("044.00101.001.0")), 3);
    ASSERT_EQ(plan.size(), 1) << plan.join(u'\n').toStdString();
    EXPECT_TRUE(plan[0].contains(QStringLiteral("SEARCH")) && plan[0].contains(QStringLiteral("Stazioni_codice_sp"))
                && plan[0].contains(QStringLiteral("CODICE_SP>? AND CODICE_SP<?")))
        << plan[0].toStdString();
    const QStringList export_ =
        column(QStringLiteral("EXPLAIN QUERY PLAN ") + q::occupiedSquares(QStringLiteral("044.00101.001.0"), true), 3);
    EXPECT_TRUE(export_.join(u' ').contains(QStringLiteral("CODICE_SP>? AND CODICE_SP<?")))
        << export_.join(u'\n').toStdString();
}

// ... and gives exactly the rows of the plain like, whatever the text holds.
TEST_F(ConnectionTest, PrefixRewriteKeepsTheRows)
{
    const char *values[] = {"a",   "A",    "ab",   "AB",      "aB~", "a~",  "a\x7f", "a{",   "a`",  "a[",
                            "a_",  "a%",   "azz",  "AZ",      "b",   "",    "à",    "àb",   "ab\xc3\xbf",
                            "a\xef\xbf\xbf", "a\xf4\x8f\xbf\xbf", "\xe2\x84\xaa", "k", "K", "~", "d'O", "D'o'x",
                            "z", "Z9", "[a]", "0", "09", "1"};
    fixture->exec(QStringLiteral("BEGIN"));
    int k = 0;
    for (const char *value : values)
        fixture->insert("Specie", {{"codice_sp", QStringLiteral("t%1").arg(k++)}, {"nome_sp", value}});
    fixture->insert("Specie", {{"codice_sp", "tnull"}, {"nome_sp", nullptr}});
    fixture->exec(QStringLiteral("COMMIT"));

    const char *prefixes[] = {"a", "A", "ab", "a~", "a{", "a`", "a[", "a_", "z", "~", "k", "d''o", "0", "[", "A\x7f"};
    for (const char *prefix : prefixes) {
        const QString pattern = QString::fromUtf8(prefix) + QStringLiteral("*");
        const QString rewritten = QStringLiteral("SELECT [codice_sp] FROM [Specie] WHERE [nome_sp] like '") + pattern
                                  + QStringLiteral("' ORDER BY [codice_sp]");
        const QString plain = QStringLiteral("SELECT [codice_sp] FROM [Specie] WHERE like('") + pattern
                              + QStringLiteral("', [nome_sp]) ORDER BY [codice_sp]");
        ASSERT_NE(connection->translate(rewritten), rewritten);
        EXPECT_EQ(column(rewritten), column(plain)) << prefix;
        EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM [Specie] WHERE NOT ([nome_sp] like '") + pattern
                         + QStringLiteral("')")),
                  column(QStringLiteral("SELECT count(*) FROM [Specie] WHERE NOT like('") + pattern
                         + QStringLiteral("', [nome_sp])")))
            << prefix;
    }
}

// Regression (found by fuzzing): a name that does not stand for a table's
// column (a subquery's, a common table expression's, a table function's, an
// alias of the select list, or a column reached through a table alias) was
// given the NOCASE range all the same, which dropped rows whose values are
// numbers or compare with another collation.
TEST_F(ConnectionTest, NamesOfOtherOriginKeepTheirRows)
{
    struct Case {
        const char *name;
        const char *sql;
        int rows;
    };
    const Case cases[] = {
        {"subquery column holding a number", "SELECT * FROM (SELECT 5 AS UTM) WHERE UTM like '5*'", 1},
        {"subquery column of binary text", "SELECT * FROM (SELECT 'abc' AS UTM) WHERE UTM like 'AB*'", 1},
        {"select-list alias", "SELECT 5 AS UTM FROM Taxa WHERE UTM like '5*' LIMIT 1", 1},
        {"implicit alias after CASE", "SELECT CASE WHEN 1 THEN 5 END UTM FROM Taxa WHERE UTM like '5*' LIMIT 1", 1},
        {"common table expression", "WITH t(UTM) AS (SELECT 7) SELECT * FROM t WHERE UTM like '7*'", 1},
        {"table function", "SELECT name FROM pragma_table_info('Stazioni') WHERE name like 'codice*'", 1},
        {"table alias", "SELECT ANNO FROM Stazioni AS Specie WHERE Specie.ANNO like '19*'", 7},
    };
    for (const Case &c : cases) {
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(connection->translate(sql), sql) << c.name;
        EXPECT_EQ(connection->openRecordset(sql).recordCount(), c.rows) << c.name;
    }
    // Aliases of other names leave the ranges where they belong.
    const QString italian = q::occupiedSquares(QStringLiteral("044.00101.001.0"), false);  // "... AS STAZIONI"
    EXPECT_TRUE(connection->translate(italian).contains(QStringLiteral("CAST(x'FF' AS TEXT)")));
}

TEST_F(ConnectionTest, NumericColumnsAreNotRewritten)
{
    const QString sql = QStringLiteral("SELECT [ANNO] FROM [Stazioni] WHERE [ANNO] like '19*' ORDER BY [ANNO]");
    EXPECT_EQ(connection->translate(sql), sql);
    EXPECT_EQ(column(sql), list({"1950", "1970", "1980", "1985", "1990", "1995", "1999"}));
}

}  // namespace
