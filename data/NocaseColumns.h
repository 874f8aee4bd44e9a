#pragma once

#include <QSet>
#include <QString>

struct sqlite3;

namespace ortolan::data {

// Which columns of a database's tables hold text compared with the NOCASE
// collation, read once from the schema. SqlDialect's prefix rewrite asks it
// before it lets an index answer a `like`.
class NocaseColumns {
public:
    NocaseColumns() = default;
    // Reads the schema of db's main database. Throws DataError on failure.
    explicit NocaseColumns(sqlite3 *db);

    // table empty: every table that has a column of this name has it as NOCASE
    // text (and at least one has it). Names ignore case.
    bool isNocaseText(const QString &table, const QString &column) const;

private:
    QSet<QString> nocase_;      // "table.column", lower case
    QSet<QString> allColumns_;  // "table.column", lower case
    QSet<QString> tables_;      // lower case
};

}  // namespace ortolan::data
