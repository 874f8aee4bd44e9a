#include "data/Connection.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "data/ExternalTableWriter.h"
#include "data/Schema.h"
#include "data/SelectInto.h"
#include "data/SqlDialect.h"
#include "data/SqliteStatement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace ortolan::data {

namespace {

// The value of "pwd" in a connect string such as ";pwd=HXWLB58".
QString passwordOf(const QString &connect)
{
    for (const QString &part : connect.split(u';')) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq > 0 && part.left(eq).trimmed().compare(QStringLiteral("pwd"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1);
    }
    return QString();
}

// A temporary view's name as an SQL identifier: "name" with " doubled.
QString quotedIdentifier(const QString &name)
{
    QString inner = name;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QStringLiteral("\"") + inner + QStringLiteral("\"");
}

QString withoutTrailingSemicolons(QString sql)
{
    sql = sql.trimmed();
    while (sql.endsWith(u';'))
        sql = sql.chopped(1).trimmed();
    return sql;
}

}  // namespace

std::unique_ptr<Connection> Connection::open(const QString &path, const QString &connect)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw DataError(QStringLiteral("Missing file ") + path);
    sqlite3 *db = nullptr;
    // Read-only and without SQLITE_OPEN_CREATE: a missing file is never created.
    const int rc = sqlite3_open_v2(info.absoluteFilePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<Connection> connection(new Connection(db));
    if (rc != SQLITE_OK)
        throw DataError(QStringLiteral("Cannot open ") + path + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db)));

    // Wait a moment for a file that another program is writing instead of
    // failing at once; from the first read on.
    sqlite3_busy_timeout(db, 2000);
    // Reading the schema fails for a file that is not a database.
    connection->nocaseColumns_ = NocaseColumns(db);

    QString recorded;
    bool found = false;
    try {
        Recordset info = SqliteStatement(db, QStringLiteral("SELECT [Value] FROM [") + infoTableName()
                                                 + QStringLiteral("] WHERE [Name] = 'password'")).readAll();
        found = info.recordCount() > 0;
        if (found)
            recorded = info.rows().front().front().toString();
    } catch (const DataError &) {
        // A locked, damaged or unreadable file reports its own error, not a
        // wrong password; only a missing table means "no password here".
        if ((sqlite3_errcode(db) & 0xff) != SQLITE_ERROR)
            throw;
        found = false;
    }
    if (!found || recorded != passwordOf(connect))
        throw DataError(QStringLiteral("Not a valid password."));

    // Temporary views and sorts stay in memory.
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    if (!dialect::registerFunctions(db))
        throw DataError(QString::fromUtf8(sqlite3_errmsg(db)));
    return connection;
}

std::unique_ptr<Connection> Connection::openPrivate()
{
    const Settings &s = settings();
    return open(s.DatabasePath, QStringLiteral(";pwd=") + s.DatabasePassword);
}

std::unique_ptr<Connection> Connection::openDefault()
{
    return openPrivate();
}

Connection::~Connection()
{
    for (const QString &name : std::as_const(queries_)) {
        const QByteArray drop = (QStringLiteral("DROP VIEW IF EXISTS temp.") + quotedIdentifier(name)).toUtf8();
        sqlite3_exec(db_, drop.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db_);
}

QString Connection::translate(const QString &sql) const
{
    return dialect::translate(sql, [this](const QString &table, const QString &column) {
        return nocaseColumns_.isNocaseText(table, column);
    });
}

Recordset Connection::openRecordset(const QString &sql)
{
    return SqliteStatement(db_, translate(sql)).readAll();
}

void Connection::runStatement(const QString &sql)
{
    SqliteStatement(db_, sql).run();
}

int Connection::execute(const QString &sql)
{
    const std::optional<SelectInto> into = SelectInto::parse(sql);
    if (!into) {
        runStatement(translate(sql));
        return 0;
    }
    const Recordset rows = openRecordset(into->select);
    ExternalTableWriter::write(into->target, rows);
    return rows.recordCount();
}

void Connection::createQuery(const QString &name, const QString &sql)
{
    if (name.trimmed().isEmpty())
        throw DataError(QStringLiteral("A query needs a name."));
    dropQuery(name);
    runStatement(QStringLiteral("CREATE TEMP VIEW ") + quotedIdentifier(name) + QStringLiteral(" AS ")
                 + withoutTrailingSemicolons(translate(sql)));
    queries_.insert(name.toLower());
}

void Connection::dropQuery(const QString &name)
{
    runStatement(QStringLiteral("DROP VIEW IF EXISTS temp.") + quotedIdentifier(name));
    queries_.remove(name.toLower());
}

}  // namespace ortolan::data
