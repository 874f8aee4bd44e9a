#include "data/SelectInto.h"

#include "data/DataError.h"
#include "data/SqlLexer.h"

#include <QStringList>

namespace ortolan::data {

namespace {

using Token = SqlLexer::Token;

[[noreturn]] void malformed(const QString &why)
{
    throw DataError(QStringLiteral("Invalid INTO clause: ") + why);
}

ExternalTable::Kind kindOf(const QString &format)
{
    const QString f = format.simplified();
    if (f.compare(QStringLiteral("dBase IV"), Qt::CaseInsensitive) == 0)
        return ExternalTable::Kind::DBase;
    if (f.compare(QStringLiteral("Excel 5.0"), Qt::CaseInsensitive) == 0
        || f.compare(QStringLiteral("Excel 8.0"), Qt::CaseInsensitive) == 0)
        return ExternalTable::Kind::Excel;
    malformed(QStringLiteral("unsupported external table type \"") + format + QStringLiteral("\""));
}

// "dBase IV;DATABASE=C:\x" -> DATABASE's value; other keys are ignored.
QString databaseOf(const QString &connect)
{
    const QStringList parts = connect.split(u';');
    for (qsizetype k = 1; k < parts.size(); ++k) {
        const qsizetype eq = parts[k].indexOf(u'=');
        if (eq > 0 && parts[k].left(eq).trimmed().compare(QStringLiteral("DATABASE"), Qt::CaseInsensitive) == 0)
            return parts[k].mid(eq + 1).trimmed();
    }
    return QString();
}

}  // namespace

QString ExternalTable::filePath() const
{
    if (kind == Kind::Excel)
        return database;
    QString folder = database;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    const bool hasExtension = table.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive);
    return folder + table + (hasExtension ? QString() : QStringLiteral(".dbf"));
}

std::optional<SelectInto> SelectInto::parse(const QString &sql)
{
    const std::vector<Token> tokens = SqlLexer::significantTokens(sql);
    if (tokens.empty() || !tokens.front().isWord(sql, u"select"))
        return std::nullopt;
    int depth = 0;
    size_t into = 0;
    for (size_t i = 0; i < tokens.size() && into == 0; ++i) {
        if (tokens[i].isSymbol(sql, u"("))
            ++depth;
        else if (tokens[i].isSymbol(sql, u")"))
            --depth;
        else if (depth == 0 && tokens[i].isWord(sql, u"into"))
            into = i;
    }
    if (into == 0)
        return std::nullopt;

    if (into + 3 >= tokens.size())
        malformed(QStringLiteral("expected [type;DATABASE=path].[name] after INTO"));
    const Token &connect = tokens[into + 1];
    if (connect.kind != SqlLexer::Kind::Name || !connect.text(sql).startsWith(u'[') || !connect.complete)
        malformed(QStringLiteral("expected [type;DATABASE=path] after INTO"));
    if (!tokens[into + 2].isSymbol(sql, u"."))
        malformed(QStringLiteral("expected \".[name]\" after the connect text"));
    const Token &name = tokens[into + 3];
    const bool clause = name.isWord(sql, u"from") || name.isWord(sql, u"where") || name.isWord(sql, u"group")
                        || name.isWord(sql, u"order") || name.isWord(sql, u"having") || name.isWord(sql, u"union");
    if ((name.kind != SqlLexer::Kind::Name && name.kind != SqlLexer::Kind::Word) || !name.complete || clause)
        malformed(QStringLiteral("expected the table name after the connect text"));

    SelectInto result;
    const QString connectText = SqlLexer::unquote(sql, connect);
    result.target.kind = kindOf(connectText.section(u';', 0, 0));
    result.target.database = databaseOf(connectText);
    result.target.table = SqlLexer::unquote(sql, name).trimmed();
    if (result.target.database.isEmpty())
        malformed(QStringLiteral("no DATABASE in \"") + connectText + QStringLiteral("\""));
    if (result.target.table.isEmpty())
        malformed(QStringLiteral("empty table name"));
    if (result.target.kind == ExternalTable::Kind::DBase
        && (result.target.table.contains(u'/') || result.target.table.contains(u'\\')))
        malformed(QStringLiteral("a dBase table name cannot hold a path: ") + result.target.table);

    const QString head = sql.left(tokens[into].begin).trimmed();
    const QString tail = sql.mid(name.end()).trimmed();
    result.select = tail.isEmpty() ? head : head + u' ' + tail;
    return result;
}

}  // namespace ortolan::data
