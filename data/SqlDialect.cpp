#include "data/SqlDialect.h"

#include "data/SqlLexer.h"

#include <QSet>

#include <optional>

namespace ortolan::data::dialect {

namespace {

using Token = SqlLexer::Token;
using Kind = SqlLexer::Kind;

bool isAnyWord(QStringView sql, const Token &t, std::initializer_list<QStringView> words)
{
    for (QStringView w : words)
        if (t.isWord(sql, w))
            return true;
    return false;
}

// Index of the parenthesis closing the one at `open`, or nullopt. Sets
// topLevelComma when the parentheses hold more than one argument.
std::optional<size_t> closingParenthesis(QStringView sql, const std::vector<Token> &tokens, size_t open,
                                         bool &topLevelComma)
{
    int depth = 0;
    topLevelComma = false;
    for (size_t j = open; j < tokens.size(); ++j) {
        if (tokens[j].isSymbol(sql, u"(")) {
            ++depth;
        } else if (tokens[j].isSymbol(sql, u")")) {
            if (--depth == 0)
                return j;
        } else if (depth == 1 && tokens[j].isSymbol(sql, u",")) {
            topLevelComma = true;
        }
    }
    return std::nullopt;
}

bool isNameToken(const Token &t)
{
    return (t.kind == Kind::Word || t.kind == Kind::Name) && t.complete;
}

// A column reference `col`, `table.col`, optionally in one pair of
// parentheses, ending at token `last`.
struct ColumnRef {
    size_t first;  // first token of the reference (the "(" when parenthesized)
    QString table;
    QString column;
};

std::optional<ColumnRef> columnEndingAt(QStringView sql, const std::vector<Token> &tokens, size_t last)
{
    size_t end = last;
    bool parenthesized = false;
    if (tokens[end].isSymbol(sql, u")")) {
        if (end == 0)
            return std::nullopt;
        parenthesized = true;
        --end;
    }
    if (!isNameToken(tokens[end]))
        return std::nullopt;
    ColumnRef ref{end, QString(), SqlLexer::unquote(sql, tokens[end])};
    if (end >= 2 && tokens[end - 1].isSymbol(sql, u".") && isNameToken(tokens[end - 2])) {
        ref.first = end - 2;
        ref.table = SqlLexer::unquote(sql, tokens[end - 2]);
    }
    if (parenthesized) {
        if (ref.first == 0 || !tokens[ref.first - 1].isSymbol(sql, u"("))
            return std::nullopt;
        --ref.first;
    }
    return ref;
}

// The prefix of a pattern "PREFIX*" (one or more trailing *), when PREFIX is
// non-empty ASCII without wildcards.
std::optional<QString> plainAsciiPrefix(const QString &pattern)
{
    qsizetype end = pattern.size();
    while (end > 0 && pattern[end - 1] == u'*')
        --end;
    if (end == pattern.size() || end == 0)
        return std::nullopt;
    for (qsizetype k = 0; k < end; ++k) {
        const char16_t c = pattern[k].unicode();
        if (c >= 0x80 || c == u'*' || c == u'?')
            return std::nullopt;
    }
    return pattern.left(end);
}

// Tokens that may stand before a condition without binding tighter than like.
bool mayPrecedeCondition(QStringView sql, const std::vector<Token> &tokens, size_t first)
{
    if (first == 0)
        return true;
    const Token &before = tokens[first - 1];
    if (before.isSymbol(sql, u"(") || before.isSymbol(sql, u","))
        return true;
    if (before.isWord(sql, u"not"))  // but "IS NOT col like" compares first
        return first < 2 || !tokens[first - 2].isWord(sql, u"is");
    return isAnyWord(sql, before, {u"and", u"or", u"where", u"on", u"having", u"when", u"then", u"else", u"select"});
}

// Tokens that may follow a condition without binding tighter than like.
bool mayFollowCondition(QStringView sql, const std::vector<Token> &tokens, size_t after)
{
    if (after >= tokens.size())
        return true;
    const Token &t = tokens[after];
    if (t.isSymbol(sql, u")") || t.isSymbol(sql, u",") || t.isSymbol(sql, u";"))
        return true;
    return isAnyWord(sql, t, {u"and", u"or", u"order", u"group", u"having", u"limit", u"union", u"except",
                              u"intersect", u"then", u"when", u"else", u"end", u"from"});
}

// Words that end or join clauses and so are never an alias.
bool isClauseWord(QStringView sql, const Token &t)
{
    return isAnyWord(sql, t,
                     {u"select", u"from", u"where", u"group", u"order", u"by", u"having", u"limit", u"offset",
                      u"union", u"all", u"except", u"intersect", u"inner", u"left", u"right", u"full", u"outer",
                      u"cross", u"natural", u"join", u"on", u"using", u"and", u"or", u"not", u"as", u"asc",
                      u"desc", u"like", u"glob", u"regexp", u"match", u"is", u"null", u"in", u"between", u"case",
                      u"when", u"then", u"else", u"end", u"distinct", u"escape", u"collate", u"exists", u"isnull",
                      u"notnull", u"with", u"values", u"indexed"});
}

// Whether every column name of the statement stands for a column of a table
// of the database, as the NOCASE test understands it. A name may also stand
// for a column of a subquery, of a common table expression, of a table-valued
// function or for a name given in the statement (AS x, or the implicit
// "expr x"); such a column has its own type and collation, and the range would
// not be the same condition. Statements with a WITH, more than one SELECT or a
// function call among their FROM tables are left alone; the names declared as
// aliases are returned in lower case, those of tables (declared among the FROM
// tables) apart from those of columns.
bool onlyTableColumns(QStringView sql, const std::vector<Token> &tokens, QSet<QString> *tableAliases,
                      QSet<QString> *columnAliases)
{
    int selects = 0;
    bool inFrom = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.isWord(sql, u"with") || (t.isWord(sql, u"select") && ++selects > 1))
            return false;
        if (t.isWord(sql, u"from"))
            inFrom = true;
        else if (isAnyWord(sql, t, {u"where", u"group", u"order", u"having", u"limit"}))
            inFrom = false;
        const bool name = isNameToken(t) && !isClauseWord(sql, t);
        if (inFrom && name && i + 1 < tokens.size() && tokens[i + 1].isSymbol(sql, u"("))
            return false;
        if (!name || i == 0)
            continue;
        const Token &before = tokens[i - 1];
        const bool afterOperand = (isNameToken(before) && !isClauseWord(sql, before)) || before.kind == Kind::Number
                                  || before.kind == Kind::String || before.isSymbol(sql, u")")
                                  || before.isWord(sql, u"end") || before.isWord(sql, u"null");
        if (before.isWord(sql, u"as") || afterOperand)
            (inFrom ? tableAliases : columnAliases)->insert(SqlLexer::unquote(sql, t).toLower());
    }
    return true;
}

}  // namespace

QString rewriteIsNull(QStringView sql)
{
    const std::vector<Token> tokens = SqlLexer::significantTokens(sql);
    QString out;
    qsizetype copied = 0;
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!tokens[i].isWord(sql, u"isnull") || !tokens[i + 1].isSymbol(sql, u"("))
            continue;
        if (i > 0 && tokens[i - 1].isSymbol(sql, u"."))
            continue;
        bool comma = false;
        const std::optional<size_t> close = closingParenthesis(sql, tokens, i + 1, comma);
        if (!close || comma || *close == i + 2)
            continue;
        const qsizetype innerBegin = tokens[i + 1].end();
        const QStringView inner = sql.mid(innerBegin, tokens[*close].begin - innerBegin);
        out += sql.mid(copied, tokens[i].begin - copied);
        out += QStringLiteral("((") + rewriteIsNull(inner) + QStringLiteral(") IS NULL)");
        copied = tokens[*close].end();
        i = *close;
    }
    out += sql.mid(copied);
    return out;
}

QString rewriteLikePrefixes(QStringView sql, const NocaseColumnTest &isNocaseText)
{
    const std::vector<Token> tokens = SqlLexer::significantTokens(sql);
    if (!isNocaseText)
        return sql.toString();
    // BETWEEN x AND y binds like `like`; its AND cannot be told from a
    // logical AND without a parser, so leave such statements alone.
    for (const Token &t : tokens)
        if (t.isWord(sql, u"between"))
            return sql.toString();
    QSet<QString> tableAliases, columnAliases;
    if (!onlyTableColumns(sql, tokens, &tableAliases, &columnAliases))
        return sql.toString();

    QString out;
    qsizetype copied = 0;
    for (size_t i = 1; i + 1 < tokens.size(); ++i) {
        const Token &pattern = tokens[i + 1];
        if (!tokens[i].isWord(sql, u"like") || pattern.kind != Kind::String || !pattern.complete)
            continue;
        const std::optional<QString> prefix = plainAsciiPrefix(SqlLexer::unquote(sql, pattern));
        if (!prefix || !mayFollowCondition(sql, tokens, i + 2) || tokens[i - 1].isWord(sql, u"not"))
            continue;
        const std::optional<ColumnRef> column = columnEndingAt(sql, tokens, i - 1);
        if (!column || tokens[column->first].begin < copied || !mayPrecedeCondition(sql, tokens, column->first))
            continue;
        const bool aliased = column->table.isEmpty() ? columnAliases.contains(column->column.toLower())
                                                     : tableAliases.contains(column->table.toLower());
        if (aliased || !isNocaseText(column->table, column->column))
            continue;

        const qsizetype begin = tokens[column->first].begin;
        const QString col = sql.mid(begin, tokens[i - 1].end() - begin).toString();
        QString quotedPrefix = *prefix;
        quotedPrefix.replace(QStringLiteral("'"), QStringLiteral("''"));
        const QString literal = QStringLiteral("'") + quotedPrefix + QStringLiteral("'");
        out += sql.mid(copied, begin - copied);
        out += QStringLiteral("(") + col + QStringLiteral(" >= ") + literal + QStringLiteral(" AND ") + col
               + QStringLiteral(" < ") + literal + QStringLiteral(" || CAST(x'FF' AS TEXT) AND ") + col
               + QStringLiteral(" like ") + pattern.text(sql) + QStringLiteral(")");
        copied = pattern.end();
        ++i;
    }
    out += sql.mid(copied);
    return out;
}

QString translate(QStringView sql, const NocaseColumnTest &isNocaseText)
{
    const QString withoutIsNull = rewriteIsNull(sql);
    return rewriteLikePrefixes(withoutIsNull, isNocaseText);
}

}  // namespace ortolan::data::dialect
