// The dialect's SQL functions on an SQLite connection: like (2 and 3
// arguments, replacing SQLite's own LIKE operator) and len.
#include "data/LikePattern.h"
#include "data/SqlDialect.h"

#include <sqlite3.h>

#include <memory>
#include <string_view>

namespace ortolan::data::dialect {

namespace {

std::string_view textOf(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(value))) : std::string_view();
}

void deletePattern(void *pattern)
{
    delete static_cast<LikePattern *>(pattern);
}

// X LIKE Y [ESCAPE Z] arrives as like(Y, X [, Z]): the pattern comes first.
// The compiled pattern is kept with the statement (auxiliary data of argument
// 0), so a constant pattern is compiled once per statement, not once per row.
void likeFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL
        || (argc == 3 && sqlite3_value_type(argv[2]) == SQLITE_NULL)) {
        sqlite3_result_null(context);
        return;
    }
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view escapeText = textOf(argv[2]);
        auto p = reinterpret_cast<const unsigned char *>(escapeText.data());
        const auto end = p + escapeText.size();
        if (p < end)
            escape = nextUtf8(p, end);
        if (escape == 0 || p != end) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    const std::string_view patternText = textOf(argv[0]);
    const std::string_view text = textOf(argv[1]);
    const auto *cached = static_cast<const LikePattern *>(sqlite3_get_auxdata(context, 0));
    std::unique_ptr<LikePattern> compiled;
    if (!cached || cached->escape() != escape) {
        compiled = std::make_unique<LikePattern>(patternText, escape);
        cached = compiled.get();
    }
    sqlite3_result_int(context, cached->matches(text) ? 1 : 0);
    // SQLite may free the data at once, so hand it over only after its use.
    if (compiled)
        sqlite3_set_auxdata(context, 0, compiled.release(), deletePattern);
}

// Length in characters (not bytes) of the text form of the value.
void lenFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    qint64 characters = 0;
    for (const char byte : textOf(argv[0]))
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80)
            ++characters;
    sqlite3_result_int64(context, characters);
}

}  // namespace

bool registerFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK
           && sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK
           && sqlite3_create_function(db, "len", 1, flags, nullptr, lenFunction, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace ortolan::data::dialect
