#pragma once

#include "data/NocaseColumns.h"
#include "data/Recordset.h"

#include <QSet>
#include <QString>

#include <memory>

struct sqlite3;

namespace ortolan::data {

// One read-only connection to the species database (an SQLite file) that
// speaks the program's SQL dialect: bracketed names, `like` with * and ?,
// -1 for true, isnull(), len(), case-insensitive text comparison, select-into
// external dBase IV and Excel tables, and the transient saved query "Esporta"
// (a temporary view of this connection: the database file is never written).
//
// Connections are opened per operation (species window) or per window
// (record windows) and closed by the destructor.
//
// The password is an access check, not encryption: SQLite files have no
// password, so the connection compares the one given in the connect string
// with the one recorded in the database's OrtolanInfo table and refuses a
// mismatch. Anyone can still read the file with other tools.
class Connection {
public:
    // Opens path read-only. connect is the connect string ";pwd=" + password;
    // the password must match the one recorded in the database's metadata.
    // Throws DataError for a missing or unreadable file, a file that is not a
    // database, or a wrong password.
    static std::unique_ptr<Connection> open(const QString &path, const QString &connect);

    // The two forms of the program: the private workspace (tree, map, export)
    // and the default workspace (clicks, search, record windows). Both open
    // settings().DatabasePath with ";pwd=" + settings().DatabasePassword.
    static std::unique_ptr<Connection> openPrivate();
    static std::unique_ptr<Connection> openDefault();

    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Runs a query written in the program's dialect and reads all its rows.
    // Throws DataError when the query fails.
    Recordset openRecordset(const QString &sql);

    // Runs a statement. Select-into statements
    //   SELECT ... INTO [dBase IV;DATABASE=folder].[name] FROM ...
    //   SELECT ... INTO [Excel 5.0|8.0;DATABASE=path].[sheet] FROM ...
    // run the SELECT and hand the rows to the dBase or Excel writer
    // (ExternalTableWriter); nothing else can change the database, which is
    // open read-only. Returns the number of rows written (0 for other
    // statements). Throws DataError on failure; an earlier file of the same
    // name is then left as it was.
    int execute(const QString &sql);

    // The saved query of the shapefile export: a temporary view named name
    // that later statements of this connection can join. Creating it again
    // replaces it. Dropped by dropQuery() and, at the latest, when the
    // connection closes. Lives in SQLite's temporary schema, so the database
    // file is never written.
    void createQuery(const QString &name, const QString &sql);
    void dropQuery(const QString &name);

    // The dialect translation this connection applies to every text
    // (SqlDialect::translate with this database's NOCASE text columns).
    QString translate(const QString &sql) const;

    sqlite3 *handle() const { return db_; }

private:
    explicit Connection(sqlite3 *db) : db_(db) {}
    void runStatement(const QString &sql);
    sqlite3 *db_ = nullptr;
    NocaseColumns nocaseColumns_;
    QSet<QString> queries_;  // temporary views created by createQuery, lower case
};

}  // namespace ortolan::data
