#include "app/Shell.h"

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/StartScreenWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace ortolan {

namespace {

QPointer<QMdiSubWindow> g_startScreen;
QPointer<QMdiSubWindow> g_about;

SpeciesWindowHooks &hooks()
{
    static SpeciesWindowHooks h;
    return h;
}

}  // namespace

void closeAbout()
{
    if (g_about)
        g_about->close();
}

void setSpeciesWindowHooks(SpeciesWindowHooks h) { hooks() = std::move(h); }

QMdiSubWindow *startScreenSubWindow() { return g_startScreen; }

QMdiSubWindow *openStartScreen(int divisor)
{
    MainWindow *frame = mainWindow();
    if (!frame)
        return nullptr;
    if (!g_startScreen) {
        auto *screen = new StartScreenWindow;
        QObject::connect(screen, &StartScreenWindow::speciesWindowRequested, frame, [](const QString &filter) {
            if (hooks().open)
                hooks().open(filter);
            if (g_startScreen)
                g_startScreen->close();
            closeAbout();
        });
        QObject::connect(screen, &StartScreenWindow::aboutRequested, frame, [] { openAbout(); });
        QObject::connect(screen, &StartScreenWindow::exitRequested, frame, &MainWindow::close);
        g_startScreen = frame->addChild(screen);
        g_startScreen->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                      | Qt::WindowCloseButtonHint);
        g_startScreen->adjustSize();
    }
    frame->placeChild(g_startScreen, divisor);
    frame->mdiArea()->setActiveSubWindow(g_startScreen);
    return g_startScreen;
}

QMdiSubWindow *openAbout()
{
    MainWindow *frame = mainWindow();
    if (!frame)
        return nullptr;
    if (!g_about) {
        auto *about = new AboutWindow;
        g_about = frame->addChild(about);
        g_about->adjustSize();
    }
    frame->placeChild(g_about, 3);
    frame->mdiArea()->setActiveSubWindow(g_about);
    return g_about;
}

void goHome()
{
    if (hooks().close)
        hooks().close();
    openStartScreen(3);
}

}  // namespace ortolan
