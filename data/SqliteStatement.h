#pragma once

#include "data/Recordset.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace ortolan::data {

// One prepared SQLite statement (RAII). Only a single statement is accepted:
// text after the first statement other than blanks, comments and ";" is an
// error, so a stray second statement can never run unseen.
class SqliteStatement {
public:
    // Throws DataError with SQLite's message when the text does not prepare.
    SqliteStatement(sqlite3 *db, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Steps to the end and returns every row with its field and table names.
    Recordset readAll();
    // Steps to the end, ignoring rows.
    void run();

private:
    bool step();  // true while a row is ready; throws DataError on failure
    sqlite3 *db_;
    sqlite3_stmt *statement_ = nullptr;
};

}  // namespace ortolan::data
