#pragma once

#include <QString>

class QWidget;

namespace ortolan {

// Opens a web page (or a "mailto:" address) with the desktop's handler;
// a failure shows MsgWebFailed. Returns whether the desktop accepted it.
bool openWebLink(const QString &url, QWidget *owner = nullptr);

}  // namespace ortolan
