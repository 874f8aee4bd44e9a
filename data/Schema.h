#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace ortolan::data {

// The species database's tables with the field names the program's queries
// use (some with blanks). Text columns compare case-insensitively, yes/no
// fields hold -1 and 0. Shared by the demo database generator and by the
// tests' fixture databases, so both always match what the queries expect.
QStringList schemaStatements();

// Indexes that serve the tree, map and record queries; create them after
// bulk loading.
QStringList indexStatements();

// Name of the table that records the database password and data set facts:
// OrtolanInfo(Name TEXT PRIMARY KEY, Value TEXT), rows "password", "dataset", "schema".
QString infoTableName();

// Creates every table in an open, empty database; returns an error text or empty.
QString createSchema(sqlite3 *db, const QString &password);

}  // namespace ortolan::data
