// Rewrites of the dialect layer: isnull() calls and the index-friendly like prefix.
#include "data/SqlDialect.h"
#include "data/SqlLexer.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

using namespace ortolan::data;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct RewriteCase {
    const char *name;
    const char *input;
    const char *expected;
};

void PrintTo(const RewriteCase &c, std::ostream *os)
{
    *os << c.name;
}

class IsNullRewrite : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(IsNullRewrite, Rewrites)
{
    EXPECT_EQ(dialect::rewriteIsNull(s(GetParam().input)).toStdString(), GetParam().expected);
}

const RewriteCase isNullCases[] = {
    {"NegatedCall", "WHERE not isnull([UTM])", "WHERE not (([UTM]) IS NULL)"},
    {"UpperCase", "WHERE ISNULL(UTM)", "WHERE ((UTM) IS NULL)"},
    {"BlankBeforeParenthesis", "isnull ([UTM])", "(([UTM]) IS NULL)"},
    {"NestedCall", "isnull(isnull(a))", "((((a) IS NULL)) IS NULL)"},
    {"ParenthesesInside", "isnull((a + (b)) * 2)", "(((a + (b)) * 2) IS NULL)"},
    {"TwoCalls", "isnull(a) or isnull(b)", "((a) IS NULL) or ((b) IS NULL)"},
    {"InsideStringUntouched", "x = 'isnull(a)'", "x = 'isnull(a)'"},
    {"InsideStringWithApostrophe", "x = 'it''s isnull(a)'", "x = 'it''s isnull(a)'"},
    {"ParenthesisInsideString", "isnull(a || ')')", "((a || ')') IS NULL)"},
    {"BracketedNameUntouched", "select [isnull(a)] from t", "select [isnull(a)] from t"},
    {"QuotedNameUntouched", "select \"isnull\"(a)", "select \"isnull\"(a)"},
    {"PartOfIdentifier", "myisnull(a) + isnullx(b)", "myisnull(a) + isnullx(b)"},
    {"QualifiedName", "t.isnull(a)", "t.isnull(a)"},
    {"CommentUntouched", "-- isnull(a)\nx", "-- isnull(a)\nx"},
    {"TwoArgumentsUntouched", "isnull(a, b)", "isnull(a, b)"},
    {"EmptyCallUntouched", "isnull()", "isnull()"},
    {"UnclosedUntouched", "isnull(a", "isnull(a"},
    {"PostfixIsnullUntouched", "a isnull", "a isnull"},
    {"UnterminatedString", "x = 'isnull(", "x = 'isnull("},
};

INSTANTIATE_TEST_SUITE_P(Cases, IsNullRewrite, ::testing::ValuesIn(isNullCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Every column named in these tests is NOCASE text, except [ANNO] and
// anything qualified with "V".
bool nocaseText(const QString &table, const QString &column)
{
    return column.compare(QStringLiteral("ANNO"), Qt::CaseInsensitive) != 0 && table != QStringLiteral("V");
}

class PrefixRewrite : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(PrefixRewrite, Rewrites)
{
    EXPECT_EQ(dialect::rewriteLikePrefixes(s(GetParam().input), nocaseText).toStdString(), GetParam().expected);
}

const RewriteCase prefixCases[] = {
    {"BracketedColumn", "WHERE [c] like 'AB*'",
     "WHERE ([c] >= 'AB' AND [c] < 'AB' || CAST(x'FF' AS TEXT) AND [c] like 'AB*')"},
    {"NoBlankBeforeLiteral", "WHERE ([codice_sp] like'044.001*' and x)",
     "WHERE (([codice_sp] >= '044.001' AND [codice_sp] < '044.001' || CAST(x'FF' AS TEXT) AND [codice_sp] like "
     "'044.001*') and x)"},
    {"QualifiedInParentheses", "WHERE (((Stazioni.CODICE_SP) Like 'A*'))",
     "WHERE ((((Stazioni.CODICE_SP) >= 'A' AND (Stazioni.CODICE_SP) < 'A' || CAST(x'FF' AS TEXT) AND "
     "(Stazioni.CODICE_SP) like 'A*')))"},
    {"ApostropheInPrefix", "WHERE c like 'd''O*' ORDER BY c",
     "WHERE (c >= 'd''O' AND c < 'd''O' || CAST(x'FF' AS TEXT) AND c like 'd''O*') ORDER BY c"},
    {"NegatedLikeUntouched", "WHERE [c] not like '037*'", "WHERE [c] not like '037*'"},
    {"LeadingStarUntouched", "WHERE c like '*x*'", "WHERE c like '*x*'"},
    {"InnerWildcardUntouched", "WHERE c like 'a?b*'", "WHERE c like 'a?b*'"},
    {"NoStarUntouched", "WHERE c like 'C'", "WHERE c like 'C'"},
    {"StarOnlyUntouched", "WHERE c like '*'", "WHERE c like '*'"},
    {"NonAsciiPrefixUntouched", "WHERE c like 'È*'", "WHERE c like 'È*'"},
    {"NumericColumnUntouched", "WHERE [ANNO] like '19*'", "WHERE [ANNO] like '19*'"},
    {"AliasQualifierUntouched", "WHERE V.c like 'a*'", "WHERE V.c like 'a*'"},
    {"ConcatenationBeforeUntouched", "WHERE x || c like 'a*'", "WHERE x || c like 'a*'"},
    {"ComparisonBeforeUntouched", "WHERE x = c like 'a*'", "WHERE x = c like 'a*'"},
    {"ConcatenationAfterUntouched", "WHERE c like 'a*' || 'b'", "WHERE c like 'a*' || 'b'"},
    {"EscapeUntouched", "WHERE c like 'a*' ESCAPE '!'", "WHERE c like 'a*' ESCAPE '!'"},
    {"FunctionCallUntouched", "WHERE upper(c) like 'A*'", "WHERE upper(c) like 'A*'"},
    {"IsNotBeforeUntouched", "WHERE x IS NOT c like 'a*'", "WHERE x IS NOT c like 'a*'"},
    {"BetweenStatementUntouched", "WHERE x BETWEEN 1 AND c like 'a*'", "WHERE x BETWEEN 1 AND c like 'a*'"},
    {"LiteralInsideStringUntouched", "WHERE c = 'd like ''a*'''", "WHERE c = 'd like ''a*'''"},
    {"SubqueryUntouched", "SELECT * FROM (SELECT 5 AS c) WHERE c like 'a*'",
     "SELECT * FROM (SELECT 5 AS c) WHERE c like 'a*'"},
    {"CommonTableExpressionUntouched", "WITH t AS (SELECT 1) SELECT c FROM t WHERE c like 'a*'",
     "WITH t AS (SELECT 1) SELECT c FROM t WHERE c like 'a*'"},
    {"TableFunctionUntouched", "SELECT c FROM pragma_table_info('T') WHERE c like 'a*'",
     "SELECT c FROM pragma_table_info('T') WHERE c like 'a*'"},
    {"SelectListAliasUntouched", "SELECT upper(x) AS c FROM T WHERE c like 'a*'",
     "SELECT upper(x) AS c FROM T WHERE c like 'a*'"},
    {"ImplicitAliasUntouched", "SELECT 'x' c FROM T WHERE c like 'a*'", "SELECT 'x' c FROM T WHERE c like 'a*'"},
    {"TableAliasUntouched", "SELECT * FROM T AS u WHERE u.c like 'a*'", "SELECT * FROM T AS u WHERE u.c like 'a*'"},
    {"OtherAliasesKeepTheRange", "SELECT count(c) AS n FROM T WHERE T.c like 'a*'",
     "SELECT count(c) AS n FROM T WHERE (T.c >= 'a' AND T.c < 'a' || CAST(x'FF' AS TEXT) AND T.c like 'a*')"},
};

INSTANTIATE_TEST_SUITE_P(Cases, PrefixRewrite, ::testing::ValuesIn(prefixCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PrefixRewriteWithoutSchema, NothingIsRewritten)
{
    const QString sql = QStringLiteral("WHERE c like 'a*'");
    EXPECT_EQ(dialect::rewriteLikePrefixes(sql, {}), sql);
}

TEST(SqlLexer, TokensCoverTheText)
{
    const QString sql = s("SELECT [a b],\"c\"\"d\", 'it''s' -- note\n/* x */ FROM t WHERE x<>1.5e-3 || 'è'");
    QString joined;
    for (const auto &t : SqlLexer::tokenize(sql))
        joined += t.text(sql);
    EXPECT_EQ(joined, sql);
    const auto tokens = SqlLexer::significantTokens(sql);
    ASSERT_GE(tokens.size(), 6u);
    EXPECT_EQ(SqlLexer::unquote(sql, tokens[1]), QStringLiteral("a b"));
    EXPECT_EQ(SqlLexer::unquote(sql, tokens[3]), QStringLiteral("c\"d"));
    EXPECT_EQ(SqlLexer::unquote(sql, tokens[5]), QStringLiteral("it's"));
}

}  // namespace
