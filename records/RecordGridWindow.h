#pragma once

#include "data/Recordset.h"

#include <QWidget>

class QTableView;

namespace ortolan::records {

// A read-only grid over the rows of one record-source query: one row per
// record, or, for a single-record card, one row per field (name, value).
// It deletes itself when closed.
class RecordGridWindow : public QWidget {
    Q_OBJECT
public:
    enum class Layout { Rows, FieldPerRow };

    RecordGridWindow(const data::Recordset &records, Layout layout, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }

private:
    QTableView *grid_ = nullptr;
};

}  // namespace ortolan::records
