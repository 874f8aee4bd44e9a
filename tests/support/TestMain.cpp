// Test entry point: a GUI application object on the offscreen platform, so tests
// can draw into images and, in widget tests (ORTOLAN_TEST_UI), create windows.
#ifdef ORTOLAN_TEST_UI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Where the build's application folder and the source tree are.
    if (qEnvironmentVariableIsEmpty("ORTOLAN_APP_DIR"))
        qputenv("ORTOLAN_APP_DIR", ORTOLAN_TEST_APP_DIR);
    if (qEnvironmentVariableIsEmpty("ORTOLAN_SOURCE_DIR"))
        qputenv("ORTOLAN_SOURCE_DIR", ORTOLAN_TEST_SOURCE_DIR);
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
