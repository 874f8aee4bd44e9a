#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace ortolan::data {

// A small lexer for the program's SQL dialect. It only splits the text into
// tokens so that the rewrites of SqlDialect never look inside quoted text,
// bracketed names or comments; it does not validate the statement.
class SqlLexer {
public:
    enum class Kind {
        Space,    // blanks, tabs, line ends
        Comment,  // -- to the end of the line, or /* ... */
        Word,     // identifier or keyword: SELECT, like, codice_sp, isnull
        Name,     // quoted name: [Stazioni], "x", `x`
        String,   // text literal '...' with '' for an apostrophe
        Number,   // 15, -1 is Symbol "-" then Number "1", 1.5e3, 0x1F
        Symbol,   // operators and punctuation: ( ) , . ; = <> || ...
    };

    struct Token {
        Kind kind;
        qsizetype begin;   // offset in the text, in UTF-16 units
        qsizetype length;  // in UTF-16 units
        bool complete;     // false for a quoted text, name or comment left open

        qsizetype end() const { return begin + length; }
        QStringView text(QStringView sql) const { return sql.mid(begin, length); }
        // Word comparison, ignoring case: token.is(sql, u"like").
        bool isWord(QStringView sql, QStringView word) const;
        bool isSymbol(QStringView sql, QStringView symbol) const;
    };

    // Every token of sql, blanks and comments included, in order; the tokens
    // cover the whole text.
    static std::vector<Token> tokenize(QStringView sql);
    // The same without blanks and comments.
    static std::vector<Token> significantTokens(QStringView sql);

    // The content of a String or Name token: quotes removed, doubled quotes
    // ('' in text, "" in names) made single.
    static QString unquote(QStringView sql, const Token &token);
};

}  // namespace ortolan::data
