#include "data/SqlLexer.h"

namespace ortolan::data {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Length of a quoted run starting at i with the opening quote `open`; the run
// ends at the closing quote `close`; when `doubled` a doubled closing quote
// stands for one quote character. Sets complete to false when the text ends first.
qsizetype quotedLength(QStringView sql, qsizetype i, QChar close, bool doubled, bool &complete)
{
    qsizetype j = i + 1;
    while (j < sql.size()) {
        if (sql[j] == close) {
            if (doubled && j + 1 < sql.size() && sql[j + 1] == close) {
                j += 2;
                continue;
            }
            complete = true;
            return j + 1 - i;
        }
        ++j;
    }
    complete = false;
    return sql.size() - i;
}

}  // namespace

bool SqlLexer::Token::isWord(QStringView sql, QStringView word) const
{
    return kind == Kind::Word && text(sql).compare(word, Qt::CaseInsensitive) == 0;
}

bool SqlLexer::Token::isSymbol(QStringView sql, QStringView symbol) const
{
    return kind == Kind::Symbol && text(sql) == symbol;
}

std::vector<SqlLexer::Token> SqlLexer::tokenize(QStringView sql)
{
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const QChar next = i + 1 < n ? sql[i + 1] : QChar();
        Token t{Kind::Symbol, i, 1, true};
        if (c.isSpace()) {
            qsizetype j = i + 1;
            while (j < n && sql[j].isSpace())
                ++j;
            t = {Kind::Space, i, j - i, true};
        } else if (c == u'-' && next == u'-') {
            qsizetype j = i + 2;
            while (j < n && sql[j] != u'\n')
                ++j;
            t = {Kind::Comment, i, j - i, true};
        } else if (c == u'/' && next == u'*') {
            const qsizetype close = sql.indexOf(u"*/", i + 2);
            t = close < 0 ? Token{Kind::Comment, i, n - i, false} : Token{Kind::Comment, i, close + 2 - i, true};
        } else if (c == u'\'') {
            bool complete = true;
            const qsizetype len = quotedLength(sql, i, u'\'', true, complete);
            t = {Kind::String, i, len, complete};
        } else if (c == u'"' || c == u'`') {
            bool complete = true;
            const qsizetype len = quotedLength(sql, i, c, true, complete);
            t = {Kind::Name, i, len, complete};
        } else if (c == u'[') {
            bool complete = true;
            const qsizetype len = quotedLength(sql, i, u']', true, complete);
            t = {Kind::Name, i, len, complete};
        } else if (c.isDigit() || (c == u'.' && next.isDigit())) {
            qsizetype j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == u'.'
                             || ((sql[j] == u'+' || sql[j] == u'-') && (sql[j - 1] == u'e' || sql[j - 1] == u'E'))))
                ++j;
            t = {Kind::Number, i, j - i, true};
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(sql[j]))
                ++j;
            t = {Kind::Word, i, j - i, true};
        } else {
            static constexpr char16_t pairs[][3] = {u"||", u"<=", u">=", u"<>", u"!=", u"==", u"<<", u">>"};
            for (const auto &pair : pairs) {
                if (c == QChar(pair[0]) && next == QChar(pair[1])) {
                    t.length = 2;
                    break;
                }
            }
        }
        tokens.push_back(t);
        i += t.length;
    }
    return tokens;
}

std::vector<SqlLexer::Token> SqlLexer::significantTokens(QStringView sql)
{
    std::vector<Token> result;
    for (const Token &t : tokenize(sql))
        if (t.kind != Kind::Space && t.kind != Kind::Comment)
            result.push_back(t);
    return result;
}

QString SqlLexer::unquote(QStringView sql, const Token &token)
{
    QStringView text = token.text(sql);
    if (token.kind != Kind::String && token.kind != Kind::Name)
        return text.toString();
    const QChar open = text.isEmpty() ? QChar() : text.front();
    const QChar close = open == u'[' ? QChar(u']') : open;
    text = text.mid(1);
    if (token.complete && !text.isEmpty())
        text.chop(1);
    QString result = text.toString();
    result.replace(QString(2, close), QString(close));
    return result;
}

}  // namespace ortolan::data
