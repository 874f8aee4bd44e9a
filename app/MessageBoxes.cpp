#include "app/MessageBoxes.h"

#include "app/MessageCatalogue.h"

#include <QApplication>
#include <QMessageBox>

namespace ortolan {

namespace {

MessageHandler &handler()
{
    static MessageHandler h;
    return h;
}

void show(MessageKind kind, const QString &caption, const QString &text, QWidget *parent)
{
    if (handler()) {
        handler()(kind, caption, text);
        return;
    }
    // A message box is modal: the hourglass of a long operation must not stay.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    const QMessageBox::Icon icon = kind == MessageKind::Error  ? QMessageBox::Critical
                                   : kind == MessageKind::Info ? QMessageBox::Information
                                                               : QMessageBox::NoIcon;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void showError(const QString &text, QWidget *parent) { show(MessageKind::Error, errorCaption(), text, parent); }
void showInfo(const QString &text, QWidget *parent) { show(MessageKind::Info, infoCaption(), text, parent); }
void showPlain(const QString &text, QWidget *parent) { show(MessageKind::Plain, infoCaption(), text, parent); }

void setMessageHandler(MessageHandler h) { handler() = std::move(h); }

}  // namespace ortolan
