#include "app/WebLinks.h"

#include "app/MessageBoxes.h"
#include "app/Settings.h"

#include <QDesktopServices>
#include <QUrl>

namespace ortolan {

bool openWebLink(const QString &url, QWidget *owner)
{
    const QUrl target(url);
    if (target.isValid() && QDesktopServices::openUrl(target))
        return true;
    showError(settings().messages.MsgWebFailed, owner);
    return false;
}

}  // namespace ortolan
