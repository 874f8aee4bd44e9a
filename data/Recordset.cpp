#include "data/Recordset.h"

#include "data/DataError.h"

namespace ortolan::data {

Recordset::Recordset(QStringList fieldNames, std::vector<std::vector<QVariant>> rows, QStringList tableNames)
    : names_(std::move(fieldNames)), tables_(std::move(tableNames)), rows_(std::move(rows))
{
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int k = 0; k < fieldCount(); ++k)
        if (names_[k].compare(name, Qt::CaseInsensitive) == 0)
            return k;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) {
        const QStringView table = QStringView(name).left(dot);
        const QStringView field = QStringView(name).mid(dot + 1);
        for (int k = 0; k < fieldCount(); ++k)
            if (names_[k].compare(field, Qt::CaseInsensitive) == 0
                && tables_.value(k).compare(table, Qt::CaseInsensitive) == 0)
                return k;
    }
    return -1;
}

void Recordset::moveLast()
{
    if (rows_.empty())
        throw DataError(QStringLiteral("No current record."));
    current_ = int(rows_.size()) - 1;
}

QVariant Recordset::field(int ordinal) const
{
    if (eof() || bof())
        throw DataError(QStringLiteral("No current record."));
    if (ordinal < 0 || ordinal >= fieldCount())
        throw DataError(QStringLiteral("Item not found in this collection: field ") + QString::number(ordinal));
    return rows_[size_t(current_)][size_t(ordinal)];
}

QVariant Recordset::field(const QString &name) const
{
    const int ordinal = fieldIndex(name);
    if (ordinal < 0)
        throw DataError(QStringLiteral("Item not found in this collection: ") + name);
    return field(ordinal);
}

}  // namespace ortolan::data
