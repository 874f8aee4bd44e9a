#pragma once

#include "data/Recordset.h"
#include "records/RecordTableLayout.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

namespace ortolan::records {

// The rows of a record grid as display texts, read once from a recordset.
// Column c of the model is grid column c + 1 (grid column 0 is the row
// selector, shown as the vertical header). Holding plain strings keeps a grid
// of tens of thousands of records instant to fill and to sort.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordTableModel(QObject *parent = nullptr);

    // Replaces the contents: header = field names, cells = field texts (null
    // shows empty).
    void load(const data::Recordset &records);
    void setHeader(int column, const QString &caption);
    // Replaces the field names by the layout's captions in a language.
    void applyHeaders(const RecordTableLayout &layout, bool english);
    // The clip text of the whole table as a window shows it: header row and
    // every record, from the layout's first copy column.
    QString tableClipText(const RecordTableLayout &layout) const;
    QString header(int column) const { return header_.value(column); }
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Sorts the rows as text ignoring case by the columns firstColumn..lastColumn,
    // the first being the main key. Stable: equal rows keep their order.
    void sortByColumns(int firstColumn, int lastColumn, bool descending);

    // The clip text of a block: cells of a row joined by a tab, rows joined by
    // a carriage return, no final separator. Row -1 is the header row.
    QString clipText(int firstRow, int lastRow, int firstColumn, int lastColumn) const;

private:
    QStringList header_;
    std::vector<QStringList> rows_;
};

}  // namespace ortolan::records
