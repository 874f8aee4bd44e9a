#include "records/RecordGridWindow.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace ortolan::records {

RecordGridWindow::RecordGridWindow(const data::Recordset &records, Layout layout, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *model = new QStandardItemModel(this);
    const auto &rows = records.rows();
    if (layout == Layout::Rows) {
        model->setColumnCount(records.fieldCount());
        model->setHorizontalHeaderLabels(records.fieldNames());
        for (const auto &row : rows) {
            QList<QStandardItem *> items;
            for (const QVariant &value : row)
                items.append(new QStandardItem(value.toString()));
            model->appendRow(items);
        }
    } else {
        model->setColumnCount(2);
        for (int f = 0; f < records.fieldCount(); ++f) {
            const QString value = rows.empty() || size_t(f) >= rows.front().size() ? QString()
                                                                                   : rows.front()[size_t(f)].toString();
            model->appendRow({new QStandardItem(records.fieldName(f)), new QStandardItem(value)});
        }
        model->setHorizontalHeaderLabels({QString(), QString()});
    }
    grid_ = new QTableView(this);
    grid_->setModel(model);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->resizeColumnsToContents();
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(grid_);
    resize(640, 360);
}

}  // namespace ortolan::records
