#include "export/ClipboardCopy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace ortolan::exporting {

bool copyMapToClipboard(QWidget &surface)
{
    if (surface.width() <= 0 || surface.height() <= 0)
        return false;
    const QImage picture = surface.grab().toImage();
    if (picture.isNull())
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(picture);
    return true;
}

}  // namespace ortolan::exporting
