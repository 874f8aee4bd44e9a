// Fuzz target: the SQL dialect layer. The input is an SQL text, optionally
// followed by a NUL byte and a free text (what a user types into the search or
// what a code holds). Checked on every input:
//  - the lexer's tokens cover the text without gaps or overlaps;
//  - the isnull() rewrite leaves a text without "isnull" alone and is idempotent;
//  - the like-prefix rewrite changes nothing when no column qualifies;
//  - the select-into parser refuses with DataError or splits the statement;
//  - the statement gives the same rows with and without the like-prefix ranges
//    on a small database of the program's own schema (the ranges only let an
//    index answer; they must never change a result);
//  - the free text goes through quoted() and SQLite unchanged, and every query
//    of the catalogue built with it runs;
//  - LikePattern agrees with a plain dynamic-programming matcher.
#include "FuzzSupport.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "data/LikePattern.h"
#include "data/NocaseColumns.h"
#include "data/Queries.h"
#include "data/Schema.h"
#include "data/SelectInto.h"
#include "data/SqlDialect.h"
#include "data/SqlLexer.h"

#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

using namespace ortolan;
using namespace ortolan::data;

namespace {

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "%s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

// --- the database ------------------------------------------------------------------------

sqlite3 *g_db = nullptr;
NocaseColumns g_nocase;
int g_progressCalls = 0;
constexpr int ProgressStep = 1000;       // virtual machine steps between calls
constexpr int ProgressLimit = 300;       // calls before a statement is interrupted

void exec(const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(g_db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        fail("fixture statement failed", QString::fromUtf8(error ? error : sql));
}

// Rows that sit on the edges of the prefix ranges: case variants, the last
// ASCII characters, letters beyond ASCII that fold onto ASCII ones (Kelvin
// sign, long s) or not, wildcards and quotes kept as data, empty texts and NULLs.
void fillDatabase()
{
    exec("INSERT INTO Taxa VALUES ('001','Mollusca',0,0,0),('001.001','Gastropoda',-1,0,0),"
         "('037','Chordata',0,-1,0),('037.001','Aves',-1,-1,-1),('03','x',0,0,0),('abc','Ab~',0,0,0),"
         "('ABD','ab\x7f',0,0,0),('ab','',0,0,-1)");
    exec("INSERT INTO Specie(codice_sp,nome_sp,autore,codice_gr,introdotta,dir_habitat,conservazione,REFERENTE,COROLOGIA) VALUES "
         "('001.00001.','Helix',NULL,'001.001',0,0,NULL,'R1','EUR'),"
         "('001.00001.001.0','Helix pomatia','L.','001.001',0,-1,'V','R1','EUR'),"
         "('001.00001.001.01','helix POMATIA alba','','001.001',-1,0,'e','R1',NULL),"
         "('037.00002.001.0','Parus major','L.','037.001',0,0,'X','R2','PAL'),"
         "('037.00002.002.0','\xC3\x89rebia',NULL,'037.001',0,-1,'C','R2','PAL'),"
         "('AB','\xE2\x84\xAA" "elvin',NULL,'abc',-1,-1,'V*','R3',''),"
         "('abd','\xC5\xBFylvia',NULL,'abc',0,0,'E?','R3','x'),"
         "('Ab~','Stra\xC3\x9F" "e',NULL,'ABD',0,0,'x''y','',NULL),"
         "('aB\x7f','a*b?c',NULL,'ABD',0,0,'v','R1','EUR'),"
         "('ABc\xC3\xA9','ab''c',NULL,'ab',0,0,NULL,NULL,NULL),"
         "('AC','10',NULL,'03',0,0,'E','R2','PAL'),"
         "('a','',NULL,'',0,0,'','R1','EUR'),"
         "('','[x]',NULL,NULL,0,0,NULL,NULL,NULL),"
         "('10','%_',NULL,'001',0,0,'V','R1','EUR')");
    exec("INSERT INTO Stazioni VALUES "
         "('001.00001.001.0','Helix pomatia','Lazio','RM','Roma','Villa',20,'B1',1990,'UG12','1'),"
         "('001.00001.001.01','Helix pomatia alba','lazio','rm','roma',NULL,NULL,'B2',2001,'ug12','2'),"
         "('037.00002.001.0','Parus major','Sicilia','PA','Palermo','Monte',900,'B1',NULL,'UB35',NULL),"
         "('037.00002.001.0','Parus major','Sicilia','PA','Palermo','Monte',900,'B1',1985,NULL,NULL),"
         "('AB','x','','','','',0,'',0,'TF33',''),"
         "('ab','y','','','','',0,'B2',0,'tf33',''),"
         "('Ab~','z','','','','',0,'B1',0,'QG01','')");
    exec("INSERT INTO QuadUTM VALUES ('UG12',500000,4500000),('UB35',600000,4300000),('TF33',1,2),('QG01',3,4),"
         "('ab',NULL,NULL)");
    exec("INSERT INTO Bibliografia VALUES ('B1','Rossi','1990','Molluschi','Boll.','1-9','R1',1),"
         "('B2','bianchi','2001','Uccelli',NULL,NULL,'R2',2)");
    exec("INSERT INTO Corotipi VALUES ('EUR','Europeo','European'),('PAL','Paleartico','Palaearctic')");
    exec("INSERT INTO Referenti VALUES ('R1','Anna'),('R2','Bruno'),('R3','Carla')");
}

// Keeps a fuzzed statement to reading: no writes, no attached files, no
// functions whose result changes from one call to the next.
int authorize(void *, int action, const char *, const char *name, const char *, const char *)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        for (const char *varying : {"random", "randomblob", "changes", "total_changes", "last_insert_rowid",
                                    "load_extension", "sqlite_offset"})
            if (name && sqlite3_stricmp(name, varying) == 0)
                return SQLITE_DENY;
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

int progress(void *)
{
    return ++g_progressCalls > ProgressLimit ? 1 : 0;
}

void openDatabase()
{
    if (sqlite3_open(":memory:", &g_db) != SQLITE_OK)
        fail("cannot open an in-memory database");
    const QString error = createSchema(g_db, QStringLiteral("HXWLB58"));
    if (!error.isEmpty())
        fail("schema", error);
    for (const QString &index : indexStatements())
        exec(index.toUtf8().constData());
    fillDatabase();
    exec("ANALYZE");
    if (!dialect::registerFunctions(g_db))
        fail("dialect functions");
    g_nocase = NocaseColumns(g_db);
    sqlite3_limit(g_db, SQLITE_LIMIT_LENGTH, 100000);
    sqlite3_limit(g_db, SQLITE_LIMIT_SQL_LENGTH, 100000);
    sqlite3_set_authorizer(g_db, authorize, nullptr);
    sqlite3_progress_handler(g_db, ProgressStep, progress, nullptr);
}

// The outcome of one statement: its rows as text, or that it failed, or that it
// ran out of its step budget (then it is not compared).
struct Outcome {
    enum class Kind { Rows, Failed, Interrupted } kind = Kind::Rows;
    QStringList rows;
    QString error;
};

Outcome run(const QString &sql)
{
    Outcome out;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    g_progressCalls = 0;
    int rc = sqlite3_prepare_v2(g_db, text.constData(), int(text.size()), &stmt, nullptr);
    if (rc == SQLITE_OK && stmt) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QString row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const int type = sqlite3_column_type(stmt, c);
                const auto *v = reinterpret_cast<const char *>(sqlite3_column_blob(stmt, c));
                row += QString::number(type) + QLatin1Char(':')
                       + QString::fromUtf8(QByteArray(v ? v : "", sqlite3_column_bytes(stmt, c)).toHex())
                       + QLatin1Char('|');
            }
            out.rows << row;
            if (out.rows.size() > 2000)
                break;
        }
    }
    if (rc != SQLITE_DONE && rc != SQLITE_ROW && rc != SQLITE_OK) {
        const int code = rc & 0xFF;
        out.kind = (code == SQLITE_INTERRUPT || code == SQLITE_TOOBIG || code == SQLITE_NOMEM)
                       ? Outcome::Kind::Interrupted
                       : Outcome::Kind::Failed;
        out.error = QString::fromUtf8(sqlite3_errmsg(g_db));
    }
    sqlite3_finalize(stmt);
    if (g_progressCalls > ProgressLimit)
        out.kind = Outcome::Kind::Interrupted;
    out.rows.sort();
    return out;
}

bool nocaseText(const QString &table, const QString &column)
{
    return g_nocase.isNocaseText(table, column);
}

// Words after which the order of rows, and so which rows a LIMIT keeps, may
// differ between two plans of the same statement.
bool orderSensitive(QStringView sql)
{
    for (const SqlLexer::Token &t : SqlLexer::significantTokens(sql))
        for (const char16_t *w : {u"limit", u"offset", u"group_concat", u"over", u"json_group_array",
                                  u"json_group_object", u"total", u"sum", u"avg"})
            if (t.isWord(sql, QStringView(w)))
                return true;
    return false;
}

// The statement as the connection runs it (both rewrites) against the same
// statement without the like-prefix ranges.
void compareRewrite(const QString &sql)
{
    const QString withRanges = dialect::translate(sql, nocaseText);
    const QString withoutRanges = dialect::rewriteIsNull(sql);
    if (withRanges == withoutRanges)
        return;
    const Outcome a = run(withRanges);
    const Outcome b = run(withoutRanges);
    if (a.kind == Outcome::Kind::Interrupted || b.kind == Outcome::Kind::Interrupted)
        return;
    if (a.kind != b.kind)
        fail("the like-prefix rewrite changed whether the statement runs",
             withRanges + QStringLiteral("\n  ") + a.error + QStringLiteral("\n") + withoutRanges
                 + QStringLiteral("\n  ") + b.error);
    if (a.kind == Outcome::Kind::Rows && a.rows != b.rows && !orderSensitive(sql))
        fail("the like-prefix rewrite changed the rows",
             withRanges + QStringLiteral("\n  ") + a.rows.join(QLatin1Char(' ')) + QStringLiteral("\n")
                 + withoutRanges + QStringLiteral("\n  ") + b.rows.join(QLatin1Char(' ')));
}

// --- the text-level checks -------------------------------------------------------------------

void checkLexer(const QString &sql)
{
    qsizetype at = 0;
    for (const SqlLexer::Token &t : SqlLexer::tokenize(sql)) {
        if (t.begin != at || t.length <= 0)
            fail("tokens leave a gap or overlap", sql);
        if ((t.kind == SqlLexer::Kind::String || t.kind == SqlLexer::Kind::Name) && t.complete)
            SqlLexer::unquote(sql, t);
        at = t.end();
    }
    if (at != sql.size())
        fail("tokens do not reach the end of the text", sql);
}

void checkRewrites(const QString &sql)
{
    const QString once = dialect::rewriteIsNull(sql);
    if (!sql.contains(QStringLiteral("isnull"), Qt::CaseInsensitive) && once != sql)
        fail("isnull rewrite changed a text without isnull", sql);
    // Idempotent as long as every isnull is a call: SQLite's postfix operator
    // ("x ISNULL") followed by a call's rewritten "((" is no valid SQL anyway.
    const std::vector<SqlLexer::Token> tokens = SqlLexer::significantTokens(sql);
    bool onlyCalls = true;
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].isWord(sql, u"isnull") && (i + 1 == tokens.size() || !tokens[i + 1].isSymbol(sql, u"(")))
            onlyCalls = false;
    if (onlyCalls && dialect::rewriteIsNull(once) != once)
        fail("isnull rewrite is not idempotent", sql);
    if (dialect::rewriteLikePrefixes(sql, {}) != sql)
        fail("like rewrite without a column test changed the text", sql);
    if (dialect::rewriteLikePrefixes(sql, [](const QString &, const QString &) { return false; }) != sql)
        fail("like rewrite without a NOCASE column changed the text", sql);
}

void checkSelectInto(const QString &sql)
{
    try {
        const std::optional<SelectInto> into = SelectInto::parse(sql);
        if (into) {
            if (into->target.database.isEmpty() || into->target.table.isEmpty())
                fail("select-into accepted without a target", sql);
            into->target.filePath();
        }
    } catch (const DataError &) {
    }
}

// --- the free text ----------------------------------------------------------------------------

void checkQuoted(const QString &text)
{
    const Outcome out = run(QStringLiteral("SELECT '") + queries::quoted(text) + QStringLiteral("'"));
    if (out.kind == Outcome::Kind::Interrupted)
        return;
    const QString expected = QStringLiteral("3:") + QString::fromUtf8(text.toUtf8().toHex()) + QLatin1Char('|');
    if (out.kind != Outcome::Kind::Rows || out.rows != QStringList{expected})
        fail("quoted text does not come back unchanged", text + QStringLiteral("\n") + out.error);
}

// One query of the catalogue with the text in every place a code, name or
// search text goes, chosen by the text's length.
QString catalogueQuery(const QString &x)
{
    const QString filters[] = {Filter::All, Filter::Invertebrates, Filter::Vertebrates, Filter::HabitatDirective,
                               Filter::RedList, Filter::Alien};
    const QString &filter = filters[x.size() % 6];
    switch ((x.size() / 6) % 13) {
    case 0: return queries::searchByName(x, filter);
    case 1: return queries::familyTaxa(x, filter);
    case 2: return queries::familyTaxaForSort(x, filter);
    case 3: return queries::groupsBelow(x, filter);
    case 4: return queries::genusTaxa(x, filter);
    case 5: return queries::dataOwner(x);
    case 6: return queries::speciesCard(x);
    case 7: return queries::sitesOfTaxon(x);
    case 8: return queries::sitesInSquare(x, x);
    case 9: return queries::dataSources(x, x);
    case 10: return queries::mapSquares(x);
    case 11: return queries::taxonByName(x);
    default: return queries::groupName(x);
    }
}

void checkCatalogue(const QString &x)
{
    const QString sql = catalogueQuery(x);
    const Outcome out = run(dialect::translate(sql, nocaseText));
    if (out.kind == Outcome::Kind::Failed)
        fail("a catalogue query with an inserted text does not run", sql + QStringLiteral("\n") + out.error);
    compareRewrite(sql);
}

// --- like patterns ----------------------------------------------------------------------------

std::vector<char32_t> characters(std::string_view utf8)
{
    std::vector<char32_t> out;
    auto p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto end = p + utf8.size();
    while (p < end)
        out.push_back(nextUtf8(p, end));
    return out;
}

// The pattern's meaning written out plainly: match[i][j] tells whether pattern
// items i.. match text characters j...
bool referenceMatch(std::string_view pattern, std::string_view text, char32_t escape)
{
    struct Item {
        int op;  // 0 literal, 1 any one, 2 any run
        char32_t ch;
    };
    std::vector<Item> items;
    const std::vector<char32_t> p = characters(pattern);
    for (size_t k = 0; k < p.size(); ++k) {
        if (escape != 0 && p[k] == escape && k + 1 < p.size())
            items.push_back({0, LikePattern::fold(p[++k])});
        else if (p[k] == U'*')
            items.push_back({2, 0});
        else if (p[k] == U'?')
            items.push_back({1, 0});
        else
            items.push_back({0, LikePattern::fold(p[k])});
    }
    const std::vector<char32_t> t = characters(text);
    const size_t n = items.size(), m = t.size();
    std::vector<char> next(m + 1, 0), cur(m + 1, 0);
    next[m] = 1;  // no items left: only the end of the text matches
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m + 1; j-- > 0;) {
            if (items[i].op == 2)
                cur[j] = next[j] || (j < m && cur[j + 1]);
            else if (j == m)
                cur[j] = 0;
            else
                cur[j] = next[j + 1] && (items[i].op == 1 || items[i].ch == LikePattern::fold(t[j]));
        }
        std::swap(next, cur);
    }
    return next[0];
}

void checkLike(std::string_view pattern, std::string_view text)
{
    if (pattern.size() * text.size() > 200000)
        return;
    for (const char32_t escape : {char32_t(0), char32_t(U'\\'), char32_t(U'*')}) {
        const LikePattern compiled(pattern, escape);
        if (compiled.matches(text) != referenceMatch(pattern, text, escape))
            fail("LikePattern disagrees with the reference matcher",
                 QString::fromUtf8(pattern.data(), qsizetype(pattern.size())) + QStringLiteral(" / ")
                     + QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    openDatabase();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const size_t nul = input.find('\0');
    const std::string_view sqlBytes = input.substr(0, nul);
    std::string textBytes(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));
    textBytes.erase(std::remove(textBytes.begin(), textBytes.end(), '\0'), textBytes.end());

    const QString sql = QString::fromUtf8(sqlBytes.data(), qsizetype(sqlBytes.size()));
    checkLexer(sql);
    checkRewrites(sql);
    checkSelectInto(sql);
    compareRewrite(sql);

    const QString text = QString::fromUtf8(textBytes.data(), qsizetype(textBytes.size()));
    checkQuoted(text);
    checkCatalogue(text);
    checkLike(sqlBytes, textBytes);
    return 0;
}
