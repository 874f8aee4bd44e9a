#include "data/SqliteStatement.h"

#include "data/DataError.h"
#include "data/SqlLexer.h"

#include <sqlite3.h>

namespace ortolan::data {

namespace {

QString errorText(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QVariant valueOf(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                                          sqlite3_column_bytes(statement, column)));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

// The field's name. SQLite sets apart equal names that a star brings into one
// result as "NAME:1"; the program expects the column's own name (and tells
// the fields apart by their table, see Recordset).
QString columnName(sqlite3_stmt *statement, int column)
{
    const QString name = QString::fromUtf8(sqlite3_column_name(statement, column));
    const QString origin = QString::fromUtf8(sqlite3_column_origin_name(statement, column));
    const qsizetype colon = name.lastIndexOf(u':');
    if (colon > 0 && !origin.isEmpty() && name.left(colon).compare(origin, Qt::CaseInsensitive) == 0) {
        bool number = false;
        name.mid(colon + 1).toInt(&number);
        if (number)
            return name.left(colon);
    }
    return name;
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql) : db_(db)
{
    const QByteArray text = sql.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement_, &tail) != SQLITE_OK)
        throw DataError(errorText(db));
    if (!statement_)
        throw DataError(QStringLiteral("The query is empty."));
    const QString rest = QString::fromUtf8(tail, text.constData() + text.size() - tail);
    for (const SqlLexer::Token &t : SqlLexer::significantTokens(rest)) {
        if (!t.isSymbol(rest, u";")) {
            sqlite3_finalize(statement_);
            throw DataError(QStringLiteral("Only one statement can run at a time: ") + rest.trimmed());
        }
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DataError(errorText(db_));
}

Recordset SqliteStatement::readAll()
{
    const int columns = sqlite3_column_count(statement_);
    QStringList names;
    QStringList tables;
    for (int c = 0; c < columns; ++c) {
        names << columnName(statement_, c);
        tables << QString::fromUtf8(sqlite3_column_table_name(statement_, c));
    }
    std::vector<std::vector<QVariant>> rows;
    while (step()) {
        std::vector<QVariant> row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(valueOf(statement_, c));
        rows.push_back(std::move(row));
    }
    return Recordset(std::move(names), std::move(rows), std::move(tables));
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

}  // namespace ortolan::data
