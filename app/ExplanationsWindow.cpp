#include "app/ExplanationsWindow.h"

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

namespace ortolan {

namespace {
QPointer<ExplanationsWindow> &current()
{
    static QPointer<ExplanationsWindow> window;
    return window;
}
}  // namespace

ExplanationsWindow::ExplanationsWindow(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form_Expl"));
    const Settings &s = settings();
    table_ = s.ExplTable;
    codeField_ = s.ExplCodeField;
    textField_ = s.ExplTextField;
    orderField_ = s.ExplOrderField;
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListExpl"));
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(list_);
    resize(480, 320);
}

void ExplanationsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!filled_)
        fill();
}

void ExplanationsWindow::fill()
{
    filled_ = true;
    list_->clear();
    try {
        const auto db = data::Connection::openDefault();
        data::Recordset rs = db->openRecordset(data::queries::explanationList(table_, orderField_));
        rs.moveLast();  // an empty table fails here
        rs.moveFirst();
        while (!rs.eof()) {
            list_->addItem(rs.text(codeField_) + QStringLiteral(" - ") + rs.text(textField_));
            rs.moveNext();
        }
    } catch (const data::DataError &) {
        showError(settings().messages.MsgDataError + table_, this);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
}

ExplanationsWindow *openExplanations(const QString &caption)
{
    closeExplanations();
    auto *window = new ExplanationsWindow;
    window->setWindowTitle(caption);
    current() = window;
    if (MainWindow *frame = mainWindow()) {
        QMdiSubWindow *sub = frame->addChild(window);
        frame->placeChild(sub, 3);
    } else {
        window->show();
    }
    return window;
}

ExplanationsWindow *explanationsWindow()
{
    return current().data();
}

void closeExplanations()
{
    if (ExplanationsWindow *w = current().data()) {
        current() = nullptr;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
            sub->close();
        else
            w->close();
    }
}

}  // namespace ortolan
