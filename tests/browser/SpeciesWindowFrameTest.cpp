// The species window inside the main frame: placement, menus in the frame's
// menu bar, Home through the application shell. With ORTOLAN_SCREENSHOT_DIR
// set, also saves pictures of the window for review.
#include "SpeciesWindowFixture.h"

#include "app/MainWindow.h"
#include "app/Shell.h"
#include "browser/ButtonPositions.h"
#include "records/RecordWindows.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace ortolan;

namespace {

class SpeciesWindowFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings().setLanguage(QStringLiteral("Inglese"));
        setMessageHandler([](MessageKind, const QString &, const QString &) {});
        frame = std::make_unique<MainWindow>();
        setMainWindow(frame.get());
        frame->resize(1280, 860);
        frame->show();
        browser::installSpeciesWindowHooks();
    }
    void TearDown() override
    {
        if (browser::SpeciesWindow *w = browser::SpeciesWindow::current())
            w->unload();
        test::settleEvents();
        setMainWindow(nullptr);
        frame.reset();
        setMessageHandler({});
    }

    test::BrowserDatabase fixture;
    std::unique_ptr<MainWindow> frame;
};

TEST_F(SpeciesWindowFrameTest, OpensAtTheTopLeftWithTheFramesInnerSizeAndBringsItsMenus)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Aliene"));
    test::settleEvents();
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
    EXPECT_TRUE(w->isMenuChecked(QStringLiteral("Alien_mnu")));
    EXPECT_FALSE(w->isMenuChecked(QStringLiteral("Tutto_mnu")));
    QStringList titles;
    for (QAction *a : frame->menuBar()->actions())
        titles.append(a->text());
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Tree"), QStringLiteral("&Map"),
                                   QStringLiteral("Fil&ter"), QStringLiteral("&Window"), QStringLiteral("&?")}));
}

TEST_F(SpeciesWindowFrameTest, HomeClosesTheSpeciesWindowThroughTheShell)
{
    QPointer<browser::SpeciesWindow> w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    QSignalSpy home(frame.get(), &MainWindow::homeRequested);
    w->menuItem(QStringLiteral("Home_mnu"))->trigger();
    test::settleEvents();
    EXPECT_EQ(home.count(), 1);
    EXPECT_FALSE(w);
    EXPECT_EQ(browser::SpeciesWindow::current(), nullptr);

    // The shell's own Home closes it as well.
    w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    goHome();
    test::settleEvents();
    EXPECT_FALSE(w);
}

TEST_F(SpeciesWindowFrameTest, WindowMenuListsTheOpenWindows)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    QMenu *windows = w->menu(QStringLiteral("Fin_mnu"));
    emit windows->aboutToShow();
    emit windows->aboutToShow();
    QStringList entries;
    for (QAction *a : windows->actions())
        if (!a->isSeparator() && a->objectName().isEmpty())
            entries.append(a->text());
    EXPECT_EQ(entries, QStringList{QStringLiteral("&1 Species")});
    w->menuItem(QStringLiteral("Ver_mnu"))->trigger();
    EXPECT_EQ(qobject_cast<QMdiSubWindow *>(w->parentWidget())->geometry(),
              QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
}

TEST_F(SpeciesWindowFrameTest, AWindowThatClosesItselfTakesItsFrameAndGivesBackTheMenus)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    test::settleEvents();
    QWidget *search = records::openSpeciesSearch(*w);
    test::settleEvents();
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 2);
    // It opens at the size it asked for, not at its smallest.
    EXPECT_GE(search->width(), 440);
    EXPECT_GE(search->height(), 400);

    search->close();  // what its Cancel button does
    test::settleEvents();
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    frame->mdiArea()->setActiveSubWindow(frame->mdiArea()->subWindowList().constFirst());
    test::settleEvents();
    QStringList titles;
    for (QAction *a : frame->menuBar()->actions())
        titles.append(a->text());
    EXPECT_TRUE(titles.contains(QStringLiteral("&Tree"))) << titles.join(u' ').toStdString();
}

TEST_F(SpeciesWindowFrameTest, TheAboutWindowClosesWithTheSpeciesWindow)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    QPointer<QMdiSubWindow> about = openAbout();
    test::settleEvents();
    ASSERT_TRUE(about);
    w->unload();
    test::settleEvents();
    EXPECT_FALSE(about);
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(SpeciesWindowFrameTest, TheZoomPanelReadsTheFullViewFromTheStart)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    test::settleEvents();
    ASSERT_TRUE(w->statusPanel(2, 3));
    EXPECT_EQ(w->statusPanel(2, 3)->text().simplified(), QStringLiteral("Zoom x 1"));
}

TEST_F(SpeciesWindowFrameTest, F1OpensTheHelpFromAnyWindow)
{
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    test::settleEvents();
    QSignalSpy help(frame.get(), &MainWindow::helpRequested);
    frame->activateWindow();
    w->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_F1);
    test::settleEvents();
    EXPECT_EQ(help.count(), 1);
}

// Pictures for review (not a check): ORTOLAN_SCREENSHOT_DIR=/some/folder.
TEST_F(SpeciesWindowFrameTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORTOLAN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORTOLAN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    const auto shoot = [&](const QString &name) {
        test::settleEvents();
        frame->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    };
    for (const char *language : {"Inglese", "Italiano"}) {
        settings().setLanguage(QString::fromUtf8(language));
        browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
        for (const char *order : {"O044.001.001", "O037.001.001", "O001.001.001"})
            w->tree()->node(QString::fromUtf8(order))->setExpanded(true);
        QTreeWidgetItem *item = w->tree()->node(QStringLiteral("S044.00101.001.0"));
        w->tree()->setCurrentItem(item);
        w->nodeClick(item);
        shoot(QStringLiteral("species-window-") + QString::fromUtf8(language));
    }
    settings().setLanguage(QStringLiteral("Inglese"));
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("RedList"));
    for (const char *key : {"O044.001.001", "O037.001.001", "F044.001.001.001", "F037.001.001.001"})
        w->tree()->node(QString::fromUtf8(key))->setExpanded(true);
    shoot(QStringLiteral("species-window-redlist"));
    w->button(2, browser::Toolbar2Button::Tree)->trigger();
    shoot(QStringLiteral("species-window-map-only"));
    w->button(1, browser::Toolbar1Button::Map)->trigger();
    shoot(QStringLiteral("species-window-tree-only"));
    for (const char *name : {"Cartina_mnu", "SpecieTree_mnu", "File_mnu"}) {
        QMenu *menu = w->menu(QString::fromUtf8(name));
        menu->popup(frame->mapToGlobal(QPoint(120, 30)));
        test::settleEvents();
        menu->grab().save(folder + QStringLiteral("/species-menu-") + QString::fromUtf8(name) + QStringLiteral(".png"));
        menu->hide();
    }
}

}  // namespace
