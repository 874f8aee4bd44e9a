#pragma once

#include <QGuiApplication>

namespace ortolan::browser {

// The hourglass for the length of one operation: set on construction and
// restored on every way out, errors included.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor()
    {
        if (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace ortolan::browser
