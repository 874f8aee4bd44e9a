#include "browser/Messages.h"

#include "app/MessageCatalogue.h"

#include <QApplication>
#include <QMessageBox>

namespace ortolan::browser {

namespace {
Messages::Handler &installed()
{
    static Messages::Handler handler;
    return handler;
}
}  // namespace

void Messages::show(QWidget *parent, Icon icon, const QString &caption, const QString &text)
{
    // A box must never show under an hourglass left by the failing operation.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (installed()) {
        installed()(parent, {icon, caption, text});
        return;
    }
    const QMessageBox::Icon boxIcon = icon == Icon::Critical      ? QMessageBox::Critical
                                      : icon == Icon::Information ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void Messages::error(QWidget *parent, const QString &text) { show(parent, Icon::Critical, errorCaption(), text); }
void Messages::info(QWidget *parent, const QString &text) { show(parent, Icon::Information, infoCaption(), text); }
void Messages::plain(QWidget *parent, const QString &text) { show(parent, Icon::None, infoCaption(), text); }

Messages::Handler Messages::setHandler(Handler handler)
{
    Handler previous = std::move(installed());
    installed() = std::move(handler);
    return previous;
}

}  // namespace ortolan::browser
