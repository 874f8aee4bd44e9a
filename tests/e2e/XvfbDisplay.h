#pragma once

#include <QSize>
#include <QString>

#include <memory>

#include <sys/types.h>

namespace ortolan::test {

// A private X server (Xvfb) on a free display number, for tests that drive the
// windowed program on a real X screen. The server asks the kernel for the
// display itself (-displayfd), so parallel test runs never collide; it ends
// with this object.
class XvfbDisplay {
public:
    // Starts Xvfb with one screen of the given size and 24-bit colour. Null,
    // with the reason in *why, when Xvfb is not installed or does not start
    // within the timeout.
    static std::unique_ptr<XvfbDisplay> start(QSize screen, QString *why, int timeoutMs = 20000);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay &) = delete;
    XvfbDisplay &operator=(const XvfbDisplay &) = delete;

    // The DISPLAY value, ":N".
    QString name() const { return name_; }

private:
    XvfbDisplay(pid_t pid, QString name) : pid_(pid), name_(std::move(name)) {}
    pid_t pid_;
    QString name_;
};

}  // namespace ortolan::test
