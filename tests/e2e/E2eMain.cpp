// Entry point of the end-to-end tests: starts a private X server first, so the
// application object connects to a real X screen (xcb); without Xvfb the tests
// run on the offscreen platform and skip themselves.
#include "e2e/E2eEnvironment.h"
#include "e2e/XvfbDisplay.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace ortolan::test::e2e {

namespace {
Environment g_environment;
}

const Environment &environment() { return g_environment; }
Environment &mutableEnvironment() { return g_environment; }

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

QImage saveScreen(const QString &step)
{
    QCoreApplication::processEvents();
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    const QImage image = screen->grabWindow(0).toImage();
    if (!environment().screensFolder.isEmpty())
        image.save(QDir(environment().screensFolder).filePath(step + QStringLiteral(".png")));
    return image;
}

}  // namespace ortolan::test::e2e

int main(int argc, char **argv)
{
    using ortolan::test::e2e::mutableEnvironment;
    if (qEnvironmentVariableIsEmpty("ORTOLAN_APP_DIR"))
        qputenv("ORTOLAN_APP_DIR", ORTOLAN_TEST_APP_DIR);
    if (qEnvironmentVariableIsEmpty("ORTOLAN_SOURCE_DIR"))
        qputenv("ORTOLAN_SOURCE_DIR", ORTOLAN_TEST_SOURCE_DIR);
    auto &env = mutableEnvironment();
    env.screensFolder = qEnvironmentVariable("ORTOLAN_E2E_SCREENS", QDir::currentPath() + QStringLiteral("/e2e-screens"));
    QDir().mkpath(env.screensFolder);

    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || QByteArray(argv[i]).startsWith("--gtest_list_tests");

    std::unique_ptr<ortolan::test::XvfbDisplay> display;
    if (!listing) {
        QString why;
        // The size of a common laptop screen; the main frame takes all of it.
        display = ortolan::test::XvfbDisplay::start(QSize(1600, 1000), &why);
        env.skipReason = why;
    } else {
        env.skipReason = QStringLiteral("listing only");
    }
    if (display) {
        env.display = display->name();
        qputenv("DISPLAY", env.display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        // No desktop session on this display: no accessibility bus, no theme service.
        qputenv("NO_AT_BRIDGE", "1");
        qunsetenv("XAUTHORITY");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            static QTemporaryDir runtime;
            QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        }
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Ortolan"));
        QApplication::setOrganizationName(QStringLiteral("Ortolan"));
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    return status;
}
