// The installed program file itself (bin/ortolan) on the private X screen,
// driven from outside with xdotool as a user with a keyboard would: it starts
// on the start screen, opens the species window from the File menu and leaves
// through File > Exit with exit status 0.
#include "e2e/E2eEnvironment.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ortolan::test::e2e;

namespace {

// The brown of the start screen's text links at rest (red 128, green 64, blue 0).
int linkBrownPixels(const QImage &screen)
{
    int n = 0;
    for (int y = 0; y < screen.height(); y += 2)
        for (int x = 0; x < screen.width(); x += 2) {
            const QColor c = screen.pixelColor(x, y);
            n += qAbs(c.red() - 128) <= 6 && qAbs(c.green() - 64) <= 6 && c.blue() <= 6 ? 1 : 0;
        }
    return n;
}

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (environment().display.isEmpty())
            GTEST_SKIP() << "no X display: " << environment().skipReason.toStdString();
        xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool.isEmpty())
            GTEST_SKIP() << "xdotool is not installed";
        program = qEnvironmentVariable("ORTOLAN_APP_DIR") + QStringLiteral("/ortolan");
        ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
    }
    void TearDown() override
    {
        if (ortolan.state() != QProcess::NotRunning) {
            ortolan.kill();
            ortolan.waitForFinished(10000);
        }
    }

    // Runs xdotool on the test's display; its standard output.
    QString xdo(const QStringList &arguments)
    {
        QProcess p;
        p.setProcessEnvironment(displayEnvironment());
        p.start(xdotool, arguments);
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    QProcessEnvironment displayEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), environment().display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), home.path());
        return env;
    }

    QString xdotool;
    QString program;
    QTemporaryDir home;
    QProcess ortolan;
};

TEST_F(RealProgram, StartsOpensTheSpeciesWindowFromTheMenuAndExitsCleanly)
{
    ortolan.setProcessEnvironment(displayEnvironment());
    ortolan.start(program, {QStringLiteral("--lang"), QStringLiteral("en")});
    ASSERT_TRUE(ortolan.waitForStarted(20000));

    // The main frame appears under its title.
    QString frameId;
    ASSERT_TRUE(waitUntil(
        [&] {
            frameId = xdo({QStringLiteral("search"), QStringLiteral("--name"),
                           QStringLiteral("^Ortolan - Atlas of the fauna of Italy$")});
            return !frameId.isEmpty() || ortolan.state() == QProcess::NotRunning;
        },
        30000));
    ASSERT_FALSE(frameId.isEmpty()) << "no main window; program output: "
                                    << ortolan.readAllStandardError().toStdString();
    // The start screen is drawn: its links are brown.
    QImage screen;
    ASSERT_TRUE(waitUntil([&] { return linkBrownPixels(screen = saveScreen(QStringLiteral("program-01-start"))) > 200; }))
        << "the start screen's links are not on the screen";

    // A click on the empty work area below the start screen gives the frame
    // the keyboard; File > Species distribution opens the species window.
    const QString geometry = xdo({QStringLiteral("getwindowgeometry"), frameId});
    EXPECT_TRUE(geometry.contains(QStringLiteral("1600x1000"))) << geometry.toStdString();
    xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("30"), QStringLiteral("960")});
    xdo({QStringLiteral("click"), QStringLiteral("1")});
    QTest::qWait(300);
    xdo({QStringLiteral("key"), QStringLiteral("alt+f")});
    QTest::qWait(300);
    saveScreen(QStringLiteral("program-02-file-menu"));
    xdo({QStringLiteral("key"), QStringLiteral("s")});
    // The start screen closes and the species window covers the work area.
    EXPECT_TRUE(waitUntil([&] { return linkBrownPixels(screen = saveScreen(QStringLiteral("program-03-species"))) < 20; }))
        << "the species window did not replace the start screen";

    // File > Exit: the last item of the species window's File menu.
    xdo({QStringLiteral("key"), QStringLiteral("alt+f")});
    QTest::qWait(300);
    xdo({QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Return")});
    ASSERT_TRUE(ortolan.waitForFinished(30000)) << "the program did not end";
    saveScreen(QStringLiteral("program-04-exited"));
    EXPECT_EQ(ortolan.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ortolan.exitCode(), 0);
    const QString errors = QString::fromUtf8(ortolan.readAllStandardError());
    EXPECT_FALSE(errors.contains(QStringLiteral("Sanitizer"))) << errors.toStdString();
    EXPECT_TRUE(xdo({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Ortolan")}).isEmpty());
}

}  // namespace
