// Recognising select-into statements and their external tables.
#include "data/DataError.h"
#include "data/Queries.h"
#include "data/SelectInto.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace ortolan::data;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(SelectInto, DbaseTarget)
{
    const auto parsed = SelectInto::parse(
        s("SELECT QuadUTM.UTM, Count(Stazioni.STAZIONE) AS SITES INTO [dBase IV;DATABASE=/tmp/out dir].[carabus] "
          "FROM QuadUTM INNER JOIN Stazioni ON QuadUTM.UTM = Stazioni.UTM GROUP BY QuadUTM.UTM;"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target.kind, ExternalTable::Kind::DBase);
    EXPECT_EQ(parsed->target.database, s("/tmp/out dir"));
    EXPECT_EQ(parsed->target.table, s("carabus"));
    EXPECT_EQ(parsed->target.filePath(), s("/tmp/out dir/carabus.dbf"));
    EXPECT_EQ(parsed->select, s("SELECT QuadUTM.UTM, Count(Stazioni.STAZIONE) AS SITES FROM QuadUTM INNER JOIN "
                                "Stazioni ON QuadUTM.UTM = Stazioni.UTM GROUP BY QuadUTM.UTM;"));
}

TEST(SelectInto, ExcelTargetsOfBothVersions)
{
    for (const char *version : {"Excel 5.0", "Excel 8.0", "excel 8.0"}) {
        const auto parsed = SelectInto::parse(s("SELECT [NOME_SP] INTO [") + s(version)
                                              + s(";DATABASE=/home/u/Località.xls].[Stazioni] from [Stazioni] "
                                                  "Where [CODICE_SP] like 'x*'"));
        ASSERT_TRUE(parsed) << version;
        EXPECT_EQ(parsed->target.kind, ExternalTable::Kind::Excel);
        EXPECT_EQ(parsed->target.filePath(), s("/home/u/Località.xls"));
        EXPECT_EQ(parsed->target.table, s("Stazioni"));
        EXPECT_EQ(parsed->select, s("SELECT [NOME_SP] from [Stazioni] Where [CODICE_SP] like 'x*'"));
    }
}

TEST(SelectInto, DoubledClosingBracketsStandForOne)
{
    // What the export queries write for a folder such as "maps [2024]".
    const QString sql = queries::occupiedSquaresToDbase(s("/home/u/maps [2024]"), s("a]b"), s("0101"), true);
    const auto parsed = SelectInto::parse(sql);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target.filePath(), s("/home/u/maps [2024]/a]b.dbf"));
    EXPECT_TRUE(parsed->select.startsWith(s("SELECT QuadUTM.UTM,")));
    EXPECT_FALSE(parsed->select.contains(s("INTO")));
    const auto excel = SelectInto::parse(queries::sitesToExcel(s("/tmp/[x]]/s.xls"), s("0101"), false));
    ASSERT_TRUE(excel);
    EXPECT_EQ(excel->target.filePath(), s("/tmp/[x]]/s.xls"));
    EXPECT_EQ(excel->target.table, s("Stazioni"));
}

TEST(SelectInto, DbaseNameWithExtensionIsNotDoubled)
{
    const auto parsed = SelectInto::parse(s("SELECT a INTO [dBase IV;DATABASE=/x/].[t.DBF] FROM t"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target.filePath(), s("/x/t.DBF"));
}

TEST(SelectInto, OrdinaryStatementsAreNotSelectInto)
{
    for (const char *sql : {"SELECT a FROM t", "INSERT INTO t VALUES (1)", "SELECT (SELECT 1 INTO x) FROM t",
                            "SELECT 'INTO [dBase IV;DATABASE=x].[y]' FROM t", "SELECT [into] FROM t", "", "   "})
        EXPECT_FALSE(SelectInto::parse(s(sql))) << sql;
}

struct MalformedCase {
    const char *name;
    const char *sql;
};

void PrintTo(const MalformedCase &c, std::ostream *os)
{
    *os << c.name;
}

class MalformedSelectInto : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedSelectInto, ThrowsDataError)
{
    EXPECT_THROW(SelectInto::parse(s(GetParam().sql)), DataError);
}

const MalformedCase malformed[] = {
    {"NothingAfterInto", "SELECT a INTO"},
    {"PlainTableName", "SELECT a INTO b FROM t"},
    {"NoDot", "SELECT a INTO [dBase IV;DATABASE=/x] [t] FROM t"},
    {"NoName", "SELECT a INTO [dBase IV;DATABASE=/x]. FROM t"},
    {"UnclosedConnect", "SELECT a INTO [dBase IV;DATABASE=/x FROM t"},
    {"UnclosedName", "SELECT a INTO [dBase IV;DATABASE=/x].[t FROM t"},
    {"UnknownType", "SELECT a INTO [Paradox 4.x;DATABASE=/x].[t] FROM t"},
    {"NoDatabase", "SELECT a INTO [dBase IV].[t] FROM t"},
    {"EmptyDatabase", "SELECT a INTO [dBase IV;DATABASE=].[t] FROM t"},
    {"EmptyName", "SELECT a INTO [dBase IV;DATABASE=/x].[] FROM t"},
    {"PathInDbaseName", "SELECT a INTO [dBase IV;DATABASE=/x].[../etc/t] FROM t"},
};

INSTANTIATE_TEST_SUITE_P(Cases, MalformedSelectInto, ::testing::ValuesIn(malformed),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
