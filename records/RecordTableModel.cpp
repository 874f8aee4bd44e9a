#include "records/RecordTableModel.h"

#include <algorithm>

namespace ortolan::records {

RecordTableModel::RecordTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void RecordTableModel::load(const data::Recordset &records)
{
    beginResetModel();
    header_ = records.fieldNames();
    rows_.clear();
    rows_.reserve(records.rows().size());
    for (const auto &row : records.rows()) {
        QStringList texts;
        texts.reserve(int(row.size()));
        for (const QVariant &value : row)
            texts.append(value.isNull() ? QString() : value.toString());
        rows_.push_back(std::move(texts));
    }
    endResetModel();
}

void RecordTableModel::setHeader(int column, const QString &caption)
{
    if (column < 0 || column >= header_.size())
        return;
    header_[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void RecordTableModel::applyHeaders(const RecordTableLayout &layout, bool english)
{
    for (int c = 0; c < header_.size(); ++c)
        header_[c] = layout.header(c + 1, header_[c], english);
    if (!header_.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(header_.size()) - 1);
}

QString RecordTableModel::tableClipText(const RecordTableLayout &layout) const
{
    return clipText(-1, rowCount() - 1, layout.firstCopyColumn - 1, columnCount() - 1);
}

QString RecordTableModel::cell(int row, int column) const
{
    if (row == -1)
        return header_.value(column);
    if (row < 0 || size_t(row) >= rows_.size())
        return QString();
    return rows_[size_t(row)].value(column);
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(header_.size());
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return cell(index.row(), index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return header_.value(section);
    return QString();
}

void RecordTableModel::sortByColumns(int firstColumn, int lastColumn, bool descending)
{
    if (firstColumn > lastColumn)
        std::swap(firstColumn, lastColumn);
    firstColumn = std::max(firstColumn, 0);
    lastColumn = std::min(lastColumn, int(header_.size()) - 1);
    if (firstColumn > lastColumn)
        return;
    emit layoutAboutToBeChanged();
    std::stable_sort(rows_.begin(), rows_.end(), [=](const QStringList &a, const QStringList &b) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const int order = QString::compare(a.value(c), b.value(c), Qt::CaseInsensitive);
            if (order != 0)
                return descending ? order > 0 : order < 0;
        }
        return false;
    });
    emit layoutChanged();
}

QString RecordTableModel::clipText(int firstRow, int lastRow, int firstColumn, int lastColumn) const
{
    QString text;
    for (int r = firstRow; r <= lastRow; ++r) {
        if (r > firstRow)
            text += QLatin1Char('\r');
        for (int c = firstColumn; c <= lastColumn; ++c) {
            if (c > firstColumn)
                text += QLatin1Char('\t');
            text += cell(r, c);
        }
    }
    return text;
}

}  // namespace ortolan::records
