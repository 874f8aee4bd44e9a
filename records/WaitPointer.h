#pragma once

#include <QGuiApplication>

namespace ortolan::records {

// The hourglass pointer while a record window queries or writes; the normal
// pointer comes back on every way out, errors included.
class WaitPointer {
public:
    WaitPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitPointer() { QGuiApplication::restoreOverrideCursor(); }
    WaitPointer(const WaitPointer &) = delete;
    WaitPointer &operator=(const WaitPointer &) = delete;
};

}  // namespace ortolan::records
