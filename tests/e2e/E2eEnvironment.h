#pragma once

#include <QImage>
#include <QString>

#include <functional>

namespace ortolan::test::e2e {

// What the end-to-end test process set up before the application object: the
// private X display (empty when none could be started, with the reason) and
// the folder that keeps the screenshots of each step.
struct Environment {
    QString display;     // ":N"
    QString skipReason;  // why there is no display
    QString screensFolder;
};
const Environment &environment();
Environment &mutableEnvironment();

// Waits, handling events, until the condition holds; false after timeoutMs.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 20000);

// The whole X screen as shown now (what a user would see), saved as
// "<screensFolder>/<step>.png". Returns the picture.
QImage saveScreen(const QString &step);

}  // namespace ortolan::test::e2e
