#pragma once

#include <QString>
#include <QStringView>

#include <functional>

struct sqlite3;

// The program writes its SQL in the dialect of its original database engine:
// bracketed names, `like` with * and ?, -1 for true, the function isnull(x),
// len(x). SQLite accepts bracketed names, -1, RIGHT JOIN and Having as they
// are; this layer supplies the rest:
//  - `like` and `len` as SQL functions of the connection (registerFunctions);
//  - the call isnull(x), a syntax error in SQLite, rewritten to ((x) IS NULL);
//  - `col like 'PREFIX*'` extended with a range on col, so that the
//    case-insensitive index of col can answer it (the overridden `like` alone
//    can never use an index).
// Select-into statements are recognised by SelectInto.
namespace ortolan::data::dialect {

// Registers like(pattern, text), like(pattern, text, escape) and len(text) on
// db. Returns false when SQLite refuses (then the connection is unusable).
bool registerFunctions(sqlite3 *db);

// Rewrites every call isnull(x) outside quoted text, bracketed names and
// comments to ((x) IS NULL), nested calls included. A call with more than one
// argument or without a closing parenthesis is left as written (SQLite then
// reports it).
QString rewriteIsNull(QStringView sql);

// Tells whether table.column (table empty when the query does not name it) is
// a text column compared with SQLite's NOCASE collation.
using NocaseColumnTest = std::function<bool(const QString &table, const QString &column)>;

// Adds an index-friendly range before each `col like 'PREFIX*'` whose PREFIX
// is non-empty ASCII without wildcards:
//   (col >= 'PREFIX' AND col < 'PREFIX' || CAST(x'FF' AS TEXT) AND col like 'PREFIX*')
// The range is only added where it is provably the same condition: col is a
// plain column name (optionally qualified and in parentheses) that
// isNocaseText accepts, the like is not negated, has no ESCAPE, and no
// operator binding tighter than `like` touches either side. The name must
// stand for a table's column: statements with WITH, a subquery or a compound
// SELECT, or a table-valued function among their tables are left alone, and so
// is a column named like an alias of the select list (or qualified by a table
// alias), since such names carry their own type and collation. For valid UTF-8
// text, NOCASE ordering puts exactly the values that begin with PREFIX (ASCII
// case ignored) in [PREFIX, PREFIX || 0xFF), and `like` folds ASCII letters
// the same way (LikePattern never folds other characters onto ASCII); the
// like stays in the condition as the final test.
QString rewriteLikePrefixes(QStringView sql, const NocaseColumnTest &isNocaseText);

// Both rewrites, in the order the connection applies them.
QString translate(QStringView sql, const NocaseColumnTest &isNocaseText);

}  // namespace ortolan::data::dialect
