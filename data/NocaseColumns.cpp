#include "data/NocaseColumns.h"

#include "data/SqliteStatement.h"

#include <sqlite3.h>

namespace ortolan::data {

namespace {

// SQLite's affinity rule: a declared type naming INT is integer, else one
// naming CHAR, CLOB or TEXT is text.
bool hasTextAffinity(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    return !type.contains(QStringLiteral("INT"))
           && (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("CLOB"))
               || type.contains(QStringLiteral("TEXT")));
}

}  // namespace

NocaseColumns::NocaseColumns(sqlite3 *db)
{
    Recordset columns = SqliteStatement(db, QStringLiteral(
        "SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
        "WHERE m.type = 'table' AND substr(m.name, 1, 7) <> 'sqlite_'")).readAll();
    for (const auto &row : columns.rows()) {
        const QString table = row[0].toString();
        const QString column = row[1].toString();
        const QString key = table.toLower() + u'.' + column.toLower();
        tables_.insert(table.toLower());
        allColumns_.insert(key);
        const char *type = nullptr;
        const char *collation = nullptr;
        const QByteArray t = table.toUtf8();
        const QByteArray c = column.toUtf8();
        if (sqlite3_table_column_metadata(db, "main", t.constData(), c.constData(), &type, &collation, nullptr,
                                          nullptr, nullptr) == SQLITE_OK
            && collation && qstricmp(collation, "NOCASE") == 0 && type && hasTextAffinity(QString::fromUtf8(type)))
            nocase_.insert(key);
    }
}

bool NocaseColumns::isNocaseText(const QString &table, const QString &column) const
{
    const QString name = column.toLower();
    if (!table.isEmpty())
        return nocase_.contains(table.toLower() + u'.' + name);
    bool found = false;
    for (const QString &t : tables_) {
        const QString key = t + u'.' + name;
        if (!allColumns_.contains(key))
            continue;
        if (!nocase_.contains(key))
            return false;
        found = true;
    }
    return found;
}

}  // namespace ortolan::data
