#include "app/AboutWindow.h"
#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "app/StartScreenWindow.h"
#include "app/AppPaths.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ortolan;

namespace {

// A main frame of known size with the shell's windows, in a chosen language.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings().setLanguage(QStringLiteral("Inglese"));
        frame = std::make_unique<MainWindow>();
        setMainWindow(frame.get());
        frame->resize(1200, 900);
        frame->show();
        QTest::qWait(10);
        setMessageHandler([this](MessageKind, const QString &caption, const QString &text) {
            messages << caption + QStringLiteral(": ") + text;
        });
    }
    void TearDown() override
    {
        setMessageHandler({});
        setMainWindow(nullptr);
        frame.reset();
    }
    int freeHeight() const { return frame->mdiArea()->viewport()->height(); }

    std::unique_ptr<MainWindow> frame;
    QStringList messages;
};

}  // namespace

TEST_F(ShellTest, StartScreenPlacedAtOneSixthThenOneThirdFromHome)
{
    QMdiSubWindow *sub = openStartScreen(6);
    ASSERT_TRUE(sub);
    EXPECT_TRUE(settings().StartScreenOpen);
    EXPECT_EQ(sub->x(), (frame->mdiArea()->viewport()->width() - sub->width()) / 2);
    EXPECT_EQ(sub->y(), (freeHeight() - sub->height()) / 6);

    // Resizing the frame keeps it placed at one sixth.
    frame->resize(1300, 1000);
    QTest::qWait(10);
    EXPECT_EQ(sub->y(), (freeHeight() - sub->height()) / 6);

    goHome();
    EXPECT_EQ(startScreenSubWindow(), sub);
    EXPECT_EQ(sub->y(), (freeHeight() - sub->height()) / 3);
}

TEST_F(ShellTest, ClosedStartScreenIsNoLongerPlacedOnResize)
{
    QMdiSubWindow *sub = openStartScreen(6);
    sub->close();
    QTest::qWait(10);
    EXPECT_FALSE(settings().StartScreenOpen);
    frame->resize(1000, 700);  // must not touch a closed window
    QTest::qWait(10);
    EXPECT_EQ(startScreenSubWindow(), nullptr);
}

TEST_F(ShellTest, FilterEntriesOpenTheSpeciesWindowAndCloseTheStartScreen)
{
    QStringList opened;
    setSpeciesWindowHooks({[&](const QString &filter) { opened << filter; }, {}});
    QMdiSubWindow *sub = openStartScreen(6);
    auto *screen = qobject_cast<StartScreenWindow *>(sub->widget());
    ASSERT_TRUE(screen);
    screen->menuAction(QStringLiteral("RedList_mnu"))->trigger();
    QTest::qWait(10);
    EXPECT_EQ(opened, QStringList{Filter::RedList});
    EXPECT_EQ(startScreenSubWindow(), nullptr);

    for (const auto &[item, filter] : {std::pair{"Fauna_mnu", Filter::All}, {"DirHabitat_mnu", Filter::HabitatDirective},
                                       {"Alien_mnu", Filter::Alien}}) {
        opened.clear();
        auto *s = qobject_cast<StartScreenWindow *>(openStartScreen(6)->widget());
        s->menuAction(QString::fromUtf8(item))->trigger();
        EXPECT_EQ(opened, QStringList{filter}) << item;
    }
    setSpeciesWindowHooks({});
}

TEST_F(ShellTest, EnglishCaptionsOfTheStartScreen)
{
    auto *screen = qobject_cast<StartScreenWindow *>(openStartScreen(6)->widget());
    EXPECT_TRUE(screen->windowTitle().startsWith(QStringLiteral("Ortolan - Version ")));
    EXPECT_EQ(screen->textLink(QStringLiteral("Label6"))->text(), QStringLiteral("DISTRIBUTION"));
    EXPECT_EQ(screen->textLink(QStringLiteral("Label5"))->text(), QStringLiteral("CHECKLIST ON-LINE"));
    EXPECT_EQ(screen->menuAction(QStringLiteral("Alien_mnu"))->text(), QStringLiteral("Filter: Alien s&pecies"));
    EXPECT_EQ(screen->menuAction(QStringLiteral("Info_mnu"))->text(), QStringLiteral("&About Ortolan..."));
    EXPECT_EQ(screen->logo(QStringLiteral("Image9"))->toolTip(), QStringLiteral("Ortolan website"));
    // The frame shows the start screen's menus while it is active.
    EXPECT_EQ(frame->menuBar()->actions().size(), 2);
}

TEST_F(ShellTest, LinksStayBlueUntilTheMouseCrossesTheBackground)
{
    auto *screen = qobject_cast<StartScreenWindow *>(openStartScreen(6)->widget());
    LinkLabel *a = screen->textLink(QStringLiteral("Label6"));
    LinkLabel *b = screen->textLink(QStringLiteral("Label7"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(a, &enter);
    QApplication::sendEvent(b, &enter);
    EXPECT_EQ(a->colour(), StartScreenWindow::hoverColour());
    EXPECT_EQ(b->colour(), StartScreenWindow::hoverColour());
    QTest::mouseMove(screen, QPoint(5, screen->height() / 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 300), QPointF(5, 300), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(screen, &move);
    EXPECT_EQ(a->colour(), StartScreenWindow::restColour());
    EXPECT_EQ(b->colour(), StartScreenWindow::restColour());
}

TEST_F(ShellTest, ItalianCaptions)
{
    settings().setLanguage(QStringLiteral("Italiano"));
    StartScreenWindow screen;
    EXPECT_TRUE(screen.windowTitle().startsWith(QStringLiteral("Ortolan - Versione ")));
    EXPECT_EQ(screen.textLink(QStringLiteral("Label8"))->text(), QStringLiteral("AUTORI"));
    EXPECT_EQ(screen.menuAction(QStringLiteral("Esci_Mnu"))->text(), QStringLiteral("&Esci da Ortolan"));
    AboutWindow about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Ortolan"));
    EXPECT_TRUE(about.findChild<QLabel *>(QStringLiteral("Label_10"))->text().startsWith(QStringLiteral("Ortolan - Versione ")));
    settings().setLanguage(QStringLiteral("Inglese"));
}

TEST_F(ShellTest, AboutWindowCentredAtOneThirdWithEnglishTexts)
{
    QMdiSubWindow *sub = openAbout();
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->y(), (freeHeight() - sub->height()) / 3);
    auto *about = qobject_cast<AboutWindow *>(sub->widget());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Ortolan"));
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("Label_11"))->text(), QStringLiteral("Disclaimer"));
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("Label_07"))->text(), QStringLiteral("Software Author"));
}

TEST_F(ShellTest, MissingHelpPageIsReportedNotShown)
{
    initialisePaths(settings(), QStringLiteral("/nowhere"));
    showHelpTopic(HelpContext::Authors);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), QStringLiteral("Ortolan Error: Missing file /nowhere/Help/OrtolanEng/30.html"));
}

TEST(HelpPages, EveryTopicExistsInBothLanguages)
{
    const QString appDir = qEnvironmentVariable("ORTOLAN_APP_DIR");
    for (const char *lang : {"Inglese", "Italiano"}) {
        settings().setLanguage(QString::fromLatin1(lang));
        initialisePaths(settings(), appDir);
        EXPECT_TRUE(QFile::exists(settings().HelpFilePath)) << lang;
        for (int context : {HelpContext::Contents, HelpContext::DataSources, HelpContext::NewFeatures, HelpContext::Authors,
                            HelpContext::Tree, HelpContext::Search, HelpContext::Card, HelpContext::MapTools,
                            HelpContext::Backgrounds, HelpContext::Export, HelpContext::Printing})
            EXPECT_TRUE(QFile::exists(helpTopicPath(context))) << lang << " " << context;
    }
    settings().setLanguage(QStringLiteral("Inglese"));
}

TEST_F(ShellTest, ChildClosingItselfTakesItsFrameAlong)
{
    // One child added by the frame, one straight to the work area (as the
    // print preview is); both delete themselves when they close.
    auto *added = new QWidget;
    added->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QMdiSubWindow> addedFrame = frame->addChild(added);
    auto *direct = new QWidget;
    direct->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QMdiSubWindow> directFrame = frame->mdiArea()->addSubWindow(direct);
    directFrame->show();
    QTest::qWait(10);
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 2);

    added->close();
    direct->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return addedFrame.isNull() && directFrame.isNull(); }, 5000))
        << "an empty frame stayed in the work area";
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());

    // A frame closed by the user still closes once, with its child.
    auto *third = new QWidget;
    QPointer<QWidget> child = third;
    QPointer<QMdiSubWindow> thirdFrame = frame->addChild(third);
    QTest::qWait(10);
    thirdFrame->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return thirdFrame.isNull() && child.isNull(); }, 5000));
}
