// A user's whole session with the real program on a private X screen: the
// application is started as main() starts it (main frame, start screen, demo
// database of the build's application folder) and driven through its widgets
// with mouse clicks and key presses. Every step checks what the windows show
// against the species database read independently (AtlasOracle), checks what
// the exports and the print job write, and leaves a screenshot of the screen in
// the screens folder (Testing/e2e-screens of the build).
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "app/StartScreenWindow.h"
#include "app/Startup.h"
#include "browser/ButtonPositions.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "e2e/AtlasOracle.h"
#include "e2e/E2eEnvironment.h"
#include "export/ExportData.h"
#include "map/MapWidget.h"
#include "map/SquareCode.h"
#include "print/MapPage.h"
#include "print/PrintPreviewWindow.h"
#include "records/RecordTableModel.h"
#include "records/RecordTableWindow.h"
#include "records/SpeciesCardWindow.h"
#include "records/SpeciesSearchWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLineF>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>
#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace ortolan;
using namespace ortolan::test::e2e;
using browser::RecordWindowKind;
using browser::SpeciesWindow;

namespace T1 = browser::Toolbar1Button;
namespace T2 = browser::Toolbar2Button;

namespace {

struct Shown {
    MessageKind kind;
    QString caption;
    QString text;
};

bool isDotRed(QColor c) { return c.red() >= 180 && c.green() <= 80 && c.blue() <= 80; }

int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isDotRed(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QByteArray head(const QString &path, int bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}

// The journey shares the program, the chosen species and the windows from one
// step to the next: one test, each step a function whose fatal failure ends it.
class MainWindowJourney : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (environment().display.isEmpty())
            GTEST_SKIP() << "no X display for the end-to-end test: " << environment().skipReason.toStdString();
        appDir = qEnvironmentVariable("ORTOLAN_APP_DIR");
        oracle = std::make_unique<AtlasOracle>(appDir + QStringLiteral("/Data/OrtolanDati.mde"));
        ASSERT_TRUE(oracle->isOpen()) << "the build's demo database is missing below " << appDir.toStdString();
        const auto picked = oracle->pickSpecies(30, 150);
        ASSERT_TRUE(picked) << "the demo database has no species for the journey";
        species = *picked;
        ASSERT_TRUE(out.isValid());
        setMessageHandler([this](MessageKind kind, const QString &caption, const QString &text) {
            shown.push_back({kind, caption, text});
        });
        exporting::setSaveDialog([this](QWidget *, const exporting::SaveDialogRequest &request) {
            asked = request;
            return nextExportPath;
        });
    }

    void TearDown() override
    {
        setMessageHandler({});
        exporting::setSaveDialog({});
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // --- Driving helpers --------------------------------------------------------------------
    void screen(const char *step) { lastScreen = saveScreen(QString::fromUtf8(step)); }

    static void click(QWidget *w, QPoint at = QPoint())
    {
        ASSERT_TRUE(w);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString() << " is not shown";
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
    }

    // A toolbar button of the species window, clicked where it is drawn.
    void clickButton(int toolbar, int position)
    {
        QToolBar *bar = window()->toolbar(toolbar);
        QWidget *button = bar->widgetForAction(window()->button(toolbar, position));
        ASSERT_NO_FATAL_FAILURE(click(button));
    }

    void clickNode(QTreeWidgetItem *node)
    {
        browser::TaxonTree *tree = window()->tree();
        tree->scrollToItem(node);
        const QRect r = tree->visualItemRect(node);
        ASSERT_FALSE(r.isEmpty()) << "tree node not shown: " << node->text(0).toStdString();
        // On the text, right of the icon.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.left() + 40, r.center().y()));
    }

    SpeciesWindow *window() const { return SpeciesWindow::current(); }
    map::MapWidget *mapWidget() const { return window()->mapWidget(); }
    QString panel(int bar, int n) const { return window()->statusPanel(bar, n)->text(); }

    template <typename W>
    W *recordWindow(RecordWindowKind kind) const
    {
        return window() ? qobject_cast<W *>(window()->recordWindow(kind)) : nullptr;
    }

    // Clicks a tree toolbar button and waits for the record window it opens;
    // null (with a failure) when none opens.
    template <typename W>
    W *openWith(int position, RecordWindowKind kind, const char *step)
    {
        clickButton(1, position);
        if (!waitUntil([&] { return recordWindow<W>(kind) != nullptr; })) {
            ADD_FAILURE() << step << ": no window opened";
            return nullptr;
        }
        QTest::qWait(50);
        screen(step);
        return recordWindow<W>(kind);
    }

    std::vector<Shown> takeMessages()
    {
        std::vector<Shown> m;
        m.swap(shown);
        return m;
    }

    // The located dots inside the visible part of the map, as points of the surface.
    struct Dot {
        QString square;
        QPointF world;
        QPoint surface;
    };
    std::vector<Dot> visibleDots() const
    {
        std::vector<Dot> dots;
        const map::MapWidget *m = mapWidget();
        const QRectF view = m->model().viewRect();
        for (const auto &s : m->records().squares()) {
            if (!s.located || !view.contains(s.centre))
                continue;
            const QPointF p = m->surfacePosition(s.centre);
            if (p.x() < 2 || p.y() < 2 || p.x() > m->width() - 3 || p.y() > m->height() - 3)
                continue;
            dots.push_back({s.squareCode, s.centre, QPoint(int(std::floor(p.x())), int(std::floor(p.y())))});
        }
        return dots;
    }

    // A visible dot with no other dot within one and a half radii (dots of
    // neighbouring squares never overlap; dots of the two zones may), so a click on it is
    // a click on that square only.
    std::optional<Dot> isolatedDot() const
    {
        const std::vector<Dot> dots = visibleDots();
        const double radius = map::RecordsLayer::dotRadius(mapWidget()->model().geometry());
        for (const Dot &d : dots) {
            bool alone = true;
            for (const auto &s : mapWidget()->records().squares())
                if (s.located && s.squareCode != d.square && QLineF(s.centre, d.world).length() < 1.5 * radius)
                    alone = false;
            if (alone && oracle->sitesInSquare(species.code, d.square) > 0)
                return d;
        }
        return std::nullopt;
    }

    // Every visible dot is red on the X screen at its centre.
    void expectDotsRedOnScreen(const char *step)
    {
        const std::vector<Dot> dots = visibleDots();
        ASSERT_FALSE(dots.empty()) << step << ": no dot in view";
        int red = 0;
        QStringList notRed;
        for (const Dot &d : dots) {
            const QPoint global = mapWidget()->mapToGlobal(d.surface);
            const QColor c = lastScreen.pixelColor(global);
            if (isDotRed(c))
                ++red;
            else if (notRed.size() < 5)
                notRed << d.square + QStringLiteral(" ") + c.name();
        }
        EXPECT_EQ(red, int(dots.size())) << step << ": dots not red on screen: " << notRed.join(u',').toStdString();
    }

    // Exports the selected taxon through a File menu item into the output
    // folder; returns the file named in the dialog.
    QString exportAs(const char *menuItem, const QString &fileName)
    {
        nextExportPath = out.filePath(fileName);
        window()->menuItem(QString::fromUtf8(menuItem))->trigger();
        const auto m = takeMessages();
        EXPECT_EQ(asked.title, species.nodeText()) << menuItem;
        EXPECT_EQ(m.size(), 1u) << menuItem;
        if (!m.empty()) {
            EXPECT_EQ(m.front().kind, MessageKind::Info) << menuItem << ": " << m.front().text.toStdString();
            EXPECT_TRUE(m.front().text.startsWith(QStringLiteral("Exported in "))) << m.front().text.toStdString();
        }
        return nextExportPath;
    }

    // --- The steps --------------------------------------------------------------------------
    void start();
    void openSpeciesWindow();
    void expandOrder();
    void selectSpecies();
    void zoomInTwice();
    void pan();
    void clickDot();
    void openRecordWindows();
    void exportEveryFormat();
    void printColourToPdf();
    void switchFilter();
    void searchName();
    void goHome();
    void exitProgram();

    QString appDir;
    std::unique_ptr<AtlasOracle> oracle;
    AtlasOracle::Species species;
    QTemporaryDir out;
    std::unique_ptr<MainWindow> frame;
    std::vector<Shown> shown;
    exporting::SaveDialogRequest asked;
    QString nextExportPath;
    QImage lastScreen;
    QPointer<QWidget> cardWindow, sitesWindow, sourcesWindow;
    QPointer<SpeciesWindow> firstWindow;
};

void MainWindowJourney::start()
{
    frame = startProgram({QStringLiteral("ortolan")}, appDir);
    ASSERT_TRUE(frame) << "start-up failed";
    // The temporary print page goes to a folder of the test.
    settings().UserFolder = out.path() + QStringLiteral("/");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get(), 20000));
    ASSERT_TRUE(waitUntil([] { return startScreenSubWindow() && startScreenSubWindow()->isVisible(); }));
    screen("01-start-screen");

    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Ortolan - Atlas of the fauna of Italy"));
    EXPECT_EQ(mainWindow(), frame.get());
    auto *startScreen = qobject_cast<StartScreenWindow *>(startScreenSubWindow()->widget());
    ASSERT_TRUE(startScreen);
    EXPECT_TRUE(startScreen->windowTitle().startsWith(QStringLiteral("Ortolan - Version ")));
    EXPECT_EQ(startScreen->textLink(QStringLiteral("Label6"))->text(), QStringLiteral("DISTRIBUTION"));
    // The start screen's menus are the frame's, and it sits centred, one sixth down.
    QStringList menus;
    for (QAction *a : frame->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({QStringLiteral("&File"), QStringLiteral("&?")}));
    const QSize area = frame->mdiArea()->viewport()->size();
    const QMdiSubWindow *sub = startScreenSubWindow();
    EXPECT_NEAR(sub->x(), (area.width() - sub->width()) / 2, 1);
    EXPECT_NEAR(sub->y(), qMax(0, (area.height() - sub->height()) / 6), 1);
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::openSpeciesWindow()
{
    auto *startScreen = qobject_cast<StartScreenWindow *>(startScreenSubWindow()->widget());
    ASSERT_NO_FATAL_FAILURE(click(startScreen->textLink(QStringLiteral("Label6"))));
    ASSERT_TRUE(waitUntil([this] { return window() && window()->isVisible() && !startScreenSubWindow(); }));
    firstWindow = window();
    QTest::qWait(50);
    screen("02-species-window");

    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Species"));
    EXPECT_EQ(settings().TreeFilter, QStringLiteral("Tutto"));
    EXPECT_TRUE(window()->isMenuChecked(QStringLiteral("Tutto_mnu")));
    EXPECT_FALSE(window()->isMenuChecked(QStringLiteral("RedList_mnu")));
    // One top-level node per first-level group, in code order.
    browser::TaxonTree *tree = window()->tree();
    EXPECT_EQ(tree->topLevelItemCount(), oracle->groupCount(3));
    EXPECT_EQ(tree->topLevelItem(0)->text(0), oracle->groupName(QStringLiteral("001")));
    // The frame shows the species window's menus.
    QStringList menus;
    for (QAction *a : frame->menuBar()->actions())
        menus << a->text();
    EXPECT_TRUE(menus.contains(QStringLiteral("Fil&ter"))) << menus.join(u' ').toStdString();
    // No taxon yet: the map shows no dot.
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("No"));
    EXPECT_EQ(mapWidget()->records().count(), 0);
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::expandOrder()
{
    browser::TaxonTree *tree = window()->tree();
    QTreeWidgetItem *order = tree->node(QStringLiteral("O") + species.orderCode);
    ASSERT_TRUE(order) << "order " << species.orderCode.toStdString() << " not in the tree";
    QTreeWidgetItem *family = tree->node(QStringLiteral("F") + species.familyCode);
    ASSERT_TRUE(family);
    EXPECT_FALSE(order->isExpanded());
    EXPECT_EQ(family->childCount(), 0) << "genera are loaded only when their order opens";

    // Click the order, then the right arrow key opens it.
    ASSERT_NO_FATAL_FAILURE(clickNode(order));
    ASSERT_TRUE(waitUntil([&] { return tree->currentItem() == order; }));
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("O"));
    EXPECT_EQ(settings().SelectedCaption, settings().messages.MsgSelectSpecies);
    QTest::keyClick(tree, Qt::Key_Right);
    ASSERT_TRUE(waitUntil([&] { return order->isExpanded() && family->childCount() > 0; }));
    screen("03-order-expanded");

    // The family holds its genera, each with the species that follow it.
    int rows = 0;
    for (int g = 0; g < family->childCount(); ++g)
        rows += 1 + family->child(g)->childCount();
    EXPECT_EQ(rows, oracle->familyRows(species.familyCode));
    QTreeWidgetItem *genus = tree->node(QStringLiteral("G") + species.genusCode);
    ASSERT_TRUE(genus);
    EXPECT_EQ(genus->text(0), species.genusName);
    EXPECT_EQ(genus->parent(), family);
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::selectSpecies()
{
    browser::TaxonTree *tree = window()->tree();
    QTreeWidgetItem *node = tree->node(QStringLiteral("S") + species.code);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->text(0), species.nodeText());
    ASSERT_NO_FATAL_FAILURE(clickNode(node));
    ASSERT_TRUE(waitUntil([&] { return settings().SelectedTaxonCode == species.code; }));
    ASSERT_TRUE(waitUntil([&] { return mapWidget()->records().count() > 0; }));
    QTest::qWait(100);
    screen("04-species-selected");

    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("S"));
    EXPECT_EQ(window()->windowTitle(), species.nodeText());
    // StatusBar1 shows the path of the species' genus.
    const QString path = browser::TaxonTree::fullPath(node->parent());
    EXPECT_EQ(panel(1, 1), path);
    EXPECT_TRUE(path.endsWith(QStringLiteral("\\") + species.genusName)) << path.toStdString();
    EXPECT_TRUE(path.startsWith(oracle->groupName(species.familyCode.left(3)))) << path.toStdString();
    // One dot per distinct square of the species and its subspecies, red on the screen.
    EXPECT_EQ(mapWidget()->records().count(), oracle->mapSquares(species.code));
    ASSERT_NO_FATAL_FAILURE(expectDotsRedOnScreen("selected species"));
    // Away from the dots, the map is not red.
    EXPECT_FALSE(isDotRed(lastScreen.pixelColor(mapWidget()->mapToGlobal(QPoint(3, 3)))));
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::zoomInTwice()
{
    const auto target = isolatedDot();
    ASSERT_TRUE(target) << "no isolated dot with records to zoom on";
    const QString square = target->square;
    ASSERT_NO_FATAL_FAILURE(clickButton(2, T2::ZoomIn));
    EXPECT_TRUE(window()->isPressed(2, T2::ZoomIn));
    EXPECT_FALSE(window()->isPressed(2, T2::Select));

    for (int level = 1; level <= 2; ++level) {
        // Click on the chosen square, wherever the last zoom put it.
        const auto &squares = mapWidget()->records().squares();
        const auto it = std::find_if(squares.begin(), squares.end(),
                                     [&](const auto &s) { return s.squareCode == square && s.located; });
        ASSERT_NE(it, squares.end());
        const QPointF at = mapWidget()->surfacePosition(it->centre);
        QTest::mouseMove(mapWidget(), at.toPoint());
        QTest::mouseClick(mapWidget(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
        ASSERT_TRUE(waitUntil([&] { return mapWidget()->model().zoomLevel() == level; }));
        EXPECT_TRUE(mapWidget()->model().viewRect().contains(it->centre)) << "zoomed away from the clicked square";
    }
    QTest::mouseMove(mapWidget(), mapWidget()->rect().center());
    QTest::qWait(100);
    screen("05-zoomed-twice");

    EXPECT_EQ(panel(2, 3), QStringLiteral("Zoom  x 3"));
    const QRectF view = mapWidget()->model().viewRect();
    const QSizeF world = mapWidget()->model().worldSize();
    // Level 2 shows a quarter of the picture each way.
    EXPECT_NEAR(view.width(), world.width() / 4, world.width() * 0.01);
    EXPECT_NEAR(view.height(), world.height() / 4, world.height() * 0.01);
    EXPECT_TRUE(mapWidget()->horizontalScrollBar()->isEnabled());
    ASSERT_NO_FATAL_FAILURE(expectDotsRedOnScreen("zoomed twice"));
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::pan()
{
    ASSERT_NO_FATAL_FAILURE(clickButton(2, T2::Pan));
    EXPECT_TRUE(window()->isPressed(2, T2::Pan));
    EXPECT_FALSE(window()->isPressed(2, T2::ZoomIn));
    map::MapWidget *m = mapWidget();
    const QRectF before = m->model().viewRect();
    const QSizeF world = m->model().worldSize();
    // Drag the hand towards the side with more map behind it: the view moves
    // the other way by the same distance on the map.
    const int dx = before.center().x() < world.width() / 2 ? -60 : 60;
    const int dy = before.center().y() < world.height() / 2 ? -40 : 40;
    const QPoint from = m->rect().center();
    QTest::mousePress(m, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + QPoint(dx * step / 4, dy * step / 4);
        QMouseEvent move(QEvent::MouseMove, at, m->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m, &move);
    }
    QTest::mouseRelease(m, Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, dy));
    QTest::qWait(100);
    screen("06-panned");

    const QRectF after = m->model().viewRect();
    EXPECT_EQ(m->model().zoomLevel(), 2);
    EXPECT_NEAR(after.width(), before.width(), 1e-6);
    // The map followed the hand: the view moved against the drag.
    EXPECT_GT((after.center().x() - before.center().x()) * -dx, 0.0) << "horizontal pan";
    EXPECT_GT((after.center().y() - before.center().y()) * -dy, 0.0) << "vertical pan";
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::clickDot()
{
    // Square selection back on; the zoomed view stays.
    ASSERT_NO_FATAL_FAILURE(clickButton(2, T2::Select));
    ASSERT_TRUE(window()->isPressed(2, T2::Select));
    EXPECT_FALSE(window()->isPressed(2, T2::Pan));
    EXPECT_EQ(mapWidget()->model().zoomLevel(), 2);
    const auto dot = isolatedDot();
    ASSERT_TRUE(dot) << "no isolated dot in the panned view";

    // Hovering the dot reads out its zone and square.
    QTest::mouseMove(mapWidget(), dot->surface);
    ASSERT_TRUE(waitUntil([&] { return !panel(2, 2).isEmpty(); }));
    const QString readOut = panel(2, 2);
    EXPECT_TRUE(readOut == dot->square || readOut == map::SquareCode::overlapAlternative(dot->square))
        << readOut.toStdString() << " over " << dot->square.toStdString();
    EXPECT_TRUE(panel(2, 1).startsWith(QStringLiteral("Fuse 3"))) << panel(2, 1).toStdString();
    screen("07-dot-hovered");
    EXPECT_TRUE(isDotRed(lastScreen.pixelColor(mapWidget()->mapToGlobal(dot->surface))));

    QTest::mouseClick(mapWidget(), Qt::LeftButton, Qt::NoModifier, dot->surface);
    ASSERT_TRUE(waitUntil([&] { return recordWindow<records::RecordTableWindow>(RecordWindowKind::Sites); }));
    auto *sites = recordWindow<records::RecordTableWindow>(RecordWindowKind::Sites);
    QTest::qWait(100);
    screen("08-sites-of-square");
    EXPECT_EQ(sites->windowTitle(), QStringLiteral("Sites of ") + species.nodeText() + QStringLiteral(" in ") + dot->square);
    EXPECT_EQ(sites->model()->rowCount(), oracle->sitesInSquare(species.code, dot->square));
    EXPECT_EQ(mapWidget()->selectedSquare(), dot->square);
    EXPECT_TRUE(window()->isPressed(1, T1::Sites));
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::openRecordWindows()
{
    // The card.
    auto *card = openWith<records::SpeciesCardWindow>(T1::Card, RecordWindowKind::Card, "09-species-card");
    ASSERT_TRUE(card);
    cardWindow = card;
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Form of ") + species.nodeText());
    EXPECT_EQ(card->text(QStringLiteral("Text_01")), species.code);
    EXPECT_EQ(card->text(QStringLiteral("Text_02")), species.name);
    EXPECT_EQ(card->text(QStringLiteral("Text_03")), species.author);
    EXPECT_TRUE(window()->isPressed(1, T1::Card));
    EXPECT_TRUE(window()->isMenuChecked(QStringLiteral("Scheda_mnu")));

    // All the sites of the species replace the sites of the clicked square.
    ASSERT_NO_FATAL_FAILURE(clickButton(1, T1::Sites));
    // The button was down (the square's table): this click closes the table ...
    ASSERT_TRUE(waitUntil([&] { return !recordWindow<QWidget>(RecordWindowKind::Sites); }));
    EXPECT_FALSE(window()->isPressed(1, T1::Sites));
    // ... and the next one opens the table of every site.
    auto *sites = openWith<records::RecordTableWindow>(T1::Sites, RecordWindowKind::Sites, "10-sites");
    ASSERT_TRUE(sites);
    sitesWindow = sites;
    EXPECT_EQ(sites->windowTitle(), QStringLiteral("Sites of ") + species.nodeText());
    EXPECT_EQ(sites->model()->rowCount(), oracle->sites(species.code));
    EXPECT_EQ(sites->model()->cell(0, 0), species.code);

    // The data sources of the species' data owner.
    auto *sources = openWith<records::RecordTableWindow>(T1::Sources, RecordWindowKind::Sources, "11-data-sources");
    ASSERT_TRUE(sources);
    sourcesWindow = sources;
    EXPECT_EQ(sources->windowTitle(), QStringLiteral("Data sources for ") + species.nodeText());
    EXPECT_EQ(sources->model()->rowCount(), oracle->sources(species.code, species.owner));
    EXPECT_EQ(settings().DataOwner, species.owner);
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::exportEveryFormat()
{
    // The species window takes the menus again.
    if (QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(window()->parentWidget()))
        frame->mdiArea()->setActiveSubWindow(sub);
    const int occupied = oracle->occupiedSquares(species.code);
    ASSERT_GT(occupied, 0);

    // Shapefile: every square of the grid is a shape; the occupied ones carry counts.
    const QString shp = exportAs("Shapefile_mnu", QStringLiteral("e2emap.shp"));
    const int allSquares = oracle->allSquares();
    EXPECT_EQ(allSquares, 3550);
    for (const char *ext : {".shp", ".shx", ".dbf"}) {
        const QFileInfo f(out.filePath(QStringLiteral("e2emap") + QString::fromLatin1(ext)));
        EXPECT_TRUE(f.exists() && f.size() > 0) << ext;
    }
    if (SHPHandle h = SHPOpen(QFile::encodeName(shp).constData(), "rb")) {
        int entities = 0, type = 0;
        SHPGetInfo(h, &entities, &type, nullptr, nullptr);
        EXPECT_EQ(entities, allSquares);
        EXPECT_EQ(type, SHPT_POLYGON);
        SHPClose(h);
    } else {
        ADD_FAILURE() << "shapefile does not open";
    }
    if (DBFHandle d = DBFOpen(QFile::encodeName(out.filePath(QStringLiteral("e2emap.dbf"))).constData(), "rb")) {
        EXPECT_EQ(DBFGetRecordCount(d), allSquares);
        const int sitesField = DBFGetFieldIndex(d, "SITES");
        ASSERT_GE(sitesField, 0);
        int withSites = 0;
        for (int r = 0; r < DBFGetRecordCount(d); ++r)
            withSites += DBFIsAttributeNULL(d, r, sitesField) ? 0 : 1;
        EXPECT_EQ(withSites, occupied);
        DBFClose(d);
    } else {
        ADD_FAILURE() << "shapefile table does not open";
    }
    const QString ogrinfo = QStandardPaths::findExecutable(QStringLiteral("ogrinfo"));
    if (!ogrinfo.isEmpty()) {
        QProcess p;
        p.start(ogrinfo, {QStringLiteral("-ro"), QStringLiteral("-so"), QStringLiteral("-al"), shp});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString report = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_TRUE(report.contains(QStringLiteral("Feature Count: %1").arg(allSquares))) << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("Geometry: Polygon"))) << report.toStdString();
    }

    // dBase: one row per occupied square.
    const QString dbf = exportAs("DBF_mnu", QStringLiteral("e2epts.dbf"));
    if (DBFHandle d = DBFOpen(QFile::encodeName(dbf).constData(), "rb")) {
        EXPECT_EQ(DBFGetRecordCount(d), occupied);
        EXPECT_EQ(DBFGetFieldCount(d), 5);
        DBFClose(d);
    } else {
        ADD_FAILURE() << "dBase table does not open";
    }

    // Excel: an OLE2 compound file; its sheet read back when xlrd is there.
    const QString xls = exportAs("XLS_mnu", QStringLiteral("e2e points.xls"));
    EXPECT_EQ(head(xls, 8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
    if (QFile::exists(QStringLiteral("/usr/bin/python3"))) {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import sys, xlrd; s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
                                "print(s.name, s.nrows, s.ncols)"),
                 xls});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString read = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        if (p.exitCode() == 0) {
            EXPECT_EQ(read, QStringLiteral("Sites %1 5").arg(occupied + 1));
        }
    }

    // Text: a header and one line per occupied square, CR LF line ends.
    const QString txt = exportAs("TXT_mnu", QStringLiteral("e2e points.txt"));
    const QStringList lines = readAll(txt).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("UTM\tSITES\tYEAR\tE_UTM32\tN_UTM32"));
    EXPECT_EQ(lines.size(), occupied + 1);

    // Bitmap: the map as it is on the screen, dots in red where they are drawn.
    const QString bmp = exportAs("Bitmap_mnu", QStringLiteral("e2e map.bmp"));
    EXPECT_EQ(head(bmp, 2), QByteArray("BM"));
    const QImage picture(bmp);
    ASSERT_FALSE(picture.isNull());
    const QImage canvas = mapWidget()->canvas();
    EXPECT_EQ(picture.size(), canvas.size());
    const auto dots = visibleDots();
    ASSERT_FALSE(dots.empty());
    const qreal dpr = canvas.devicePixelRatio();
    for (const Dot &d : dots)
        EXPECT_TRUE(isDotRed(picture.pixelColor((QPointF(d.surface) * dpr).toPoint()))) << d.square.toStdString();

    // Enhanced metafile: its header record and signature.
    const QString emf = exportAs("Metafile_mnu", QStringLiteral("e2e map.emf"));
    const QByteArray emfHead = head(emf, 44);
    ASSERT_EQ(emfHead.size(), 44);
    EXPECT_EQ(emfHead.left(4), QByteArray::fromHex("01000000"));
    EXPECT_EQ(emfHead.mid(40, 4), QByteArray(" EMF"));
    EXPECT_GT(QFileInfo(emf).size(), 1000);
    screen("12-exported");
}

void MainWindowJourney::printColourToPdf()
{
    const QString page = print::MapPage::printPagePath();
    ASSERT_TRUE(page.startsWith(out.path()));
    ASSERT_NO_FATAL_FAILURE(clickButton(2, T2::PrintColour));
    // Printing shows the whole map with square selection on.
    EXPECT_EQ(mapWidget()->model().zoomLevel(), 0);
    EXPECT_TRUE(window()->isPressed(2, T2::Select));
    EXPECT_EQ(settings().PrintColourMode, QStringLiteral("Colori"));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(page).size() > 0; })) << "no print page " << page.toStdString();

    QPointer<print::PrintPreviewWindow> preview;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // A system without printers: the program says so instead of opening
        // the preview. The preview is then opened on the same page with a
        // printer that prints to a PDF file.
        const auto m = takeMessages();
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(m.front().kind, MessageKind::Error);
        EXPECT_EQ(m.front().text, settings().messages.MsgNoPrinter);
        auto *w = new print::PrintPreviewWindow(page);
        w->setAttribute(Qt::WA_DeleteOnClose);
        window()->registerRecordWindow(w, RecordWindowKind::Preview);
        QMdiSubWindow *sub = frame->mdiArea()->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setGeometry(QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
        sub->show();
        preview = w;
    } else {
        ASSERT_TRUE(waitUntil([&] { return recordWindow<print::PrintPreviewWindow>(RecordWindowKind::Preview); }));
        preview = recordWindow<print::PrintPreviewWindow>(RecordWindowKind::Preview);
        EXPECT_TRUE(takeMessages().empty());
    }
    ASSERT_TRUE(preview);
    ASSERT_FALSE(preview->picture().isNull()) << "the preview shows no page";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    QTest::qWait(100);
    screen("13-print-preview");
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Print preview"));

    const QString pdf = out.filePath(QStringLiteral("map page.pdf"));
    preview->printer().setOutputFormat(QPrinter::PdfFormat);
    preview->printer().setOutputFileName(pdf);
    // The print dialog is modal: answer it as a user would, choosing the
    // printer that prints to a file (whatever printers the system has) and
    // the file, then OK.
    bool dialogSeen = false;
    bool fileChosen = false;
    QTimer answer;
    answer.setInterval(50);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialogSeen || !dialog->isVisible())
            return;
        dialogSeen = true;
        if (auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"))) {
            for (int i = 0; i < printers->count(); ++i)
                if (printers->itemText(i).contains(QStringLiteral("File"), Qt::CaseInsensitive))
                    printers->setCurrentIndex(i);
        }
        if (auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"))) {
            file->setText(pdf);
            fileChosen = file->isEnabled();
        }
        saveScreen(QStringLiteral("14-print-dialog"));
        dialog->accept();
    });
    answer.start();
    QAction *print = preview->toolBar()->actions().value(3);
    ASSERT_TRUE(print);
    EXPECT_EQ(print->objectName(), QStringLiteral("Print"));
    ASSERT_NO_FATAL_FAILURE(click(preview->toolBar()->widgetForAction(print)));
    answer.stop();
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(fileChosen) << "the print dialog offers no printing to a file";
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(pdf).size() > 0; })) << "nothing printed to " << pdf.toStdString();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(head(pdf, 5), QByteArray("%PDF-"));
    EXPECT_EQ(preview->printer().colorMode(), QPrinter::Color);

    // The printed page in colour: rendered back, its dots are red.
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (!pdftoppm.isEmpty()) {
        QProcess p;
        p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                           QStringLiteral("-singlefile"), pdf, out.filePath(QStringLiteral("printed"))});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QImage printed(out.filePath(QStringLiteral("printed.png")));
        ASSERT_FALSE(printed.isNull());
        QDir(environment().screensFolder).remove(QStringLiteral("15-printed-page.png"));
        printed.save(QDir(environment().screensFolder).filePath(QStringLiteral("15-printed-page.png")));
        EXPECT_GT(redPixels(printed), 0) << "the colour print has no red dot";
    }

    // Closing the preview leaves the species window as it was.
    QAction *closePreview = preview->toolBar()->actions().value(4);
    ASSERT_TRUE(closePreview);
    ASSERT_NO_FATAL_FAILURE(click(preview->toolBar()->widgetForAction(closePreview)));
    ASSERT_TRUE(waitUntil([&] { return preview.isNull(); }));
    EXPECT_EQ(settings().SelectedTaxonCode, species.code);
}

void MainWindowJourney::switchFilter()
{
    const bool vertebrate = species.familyCode.startsWith(QStringLiteral("037"));
    const char *item = vertebrate ? "Vertebrati_mnu" : "Invertebrati_mnu";
    const QString filter = vertebrate ? QStringLiteral("Vertebrati") : QStringLiteral("Invertebrati");
    const QString condition = vertebrate ? QStringLiteral("codice_gr LIKE '037%'") : QStringLiteral("codice_gr NOT LIKE '037%'");
    window()->menuItem(QString::fromUtf8(item))->trigger();
    ASSERT_TRUE(waitUntil([&] { return firstWindow.isNull() && window() && window()->isVisible(); }));
    QTest::qWait(100);
    screen("16-filter-switched");

    EXPECT_EQ(settings().TreeFilter, filter);
    // The window was loaded again: its record windows went with the old one.
    EXPECT_TRUE(cardWindow.isNull());
    EXPECT_TRUE(sitesWindow.isNull());
    EXPECT_TRUE(sourcesWindow.isNull());
    for (const QString &name : {QStringLiteral("Tutto_mnu"), QStringLiteral("Invertebrati_mnu"),
                                QStringLiteral("Vertebrati_mnu"), QStringLiteral("DirHabitat_mnu"),
                                QStringLiteral("RedList_mnu"), QStringLiteral("Alien_mnu")})
        EXPECT_EQ(window()->isMenuChecked(name), name == QString::fromUtf8(item)) << name.toStdString();
    EXPECT_EQ(window()->tree()->topLevelItemCount(), oracle->groupCount(3, condition));
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Species"));
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("No"));
    EXPECT_EQ(mapWidget()->records().count(), 0);
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::searchName()
{
    ASSERT_NO_FATAL_FAILURE(clickButton(1, T1::Search));
    ASSERT_TRUE(waitUntil([&] { return recordWindow<records::SpeciesSearchWindow>(RecordWindowKind::Search); }));
    QPointer<records::SpeciesSearchWindow> search =
        recordWindow<records::SpeciesSearchWindow>(RecordWindowKind::Search);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(search));
    // The genus and the start of the epithet, with a wildcard for the rest.
    const QString typed = species.name.left(species.name.indexOf(u' ') + 4) + QStringLiteral("*");
    QTest::keyClicks(search->textBox(), typed);
    QTest::keyClick(search->textBox(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return search->list()->count() > 0; }));
    QListWidgetItem *entry = nullptr;
    for (int i = 0; i < search->list()->count(); ++i)
        if (search->list()->item(i)->text() == species.name)
            entry = search->list()->item(i);
    ASSERT_TRUE(entry) << typed.toStdString() << " did not find " << species.name.toStdString();
    for (int i = 0; i < search->list()->count(); ++i)
        EXPECT_TRUE(search->list()->item(i)->text().startsWith(typed.chopped(1), Qt::CaseInsensitive))
            << search->list()->item(i)->text().toStdString();
    search->list()->setCurrentItem(entry);
    screen("17-search");

    ASSERT_NO_FATAL_FAILURE(click(search->findChild<QPushButton *>(QStringLiteral("Command2"))));
    ASSERT_TRUE(waitUntil([&] { return search.isNull() && settings().SelectedTaxonCode == species.code; }));
    ASSERT_TRUE(waitUntil([&] { return mapWidget()->records().count() > 0; }));
    QTest::qWait(100);
    screen("18-found");

    QTreeWidgetItem *node = window()->tree()->node(QStringLiteral("S") + species.code);
    ASSERT_TRUE(node);
    EXPECT_EQ(window()->tree()->currentItem(), node);
    EXPECT_EQ(window()->windowTitle(), species.nodeText());
    EXPECT_EQ(panel(1, 1), browser::TaxonTree::fullPath(node->parent()));
    EXPECT_EQ(mapWidget()->records().count(), oracle->mapSquares(species.code));
    ASSERT_NO_FATAL_FAILURE(expectDotsRedOnScreen("found species"));
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::goHome()
{
    QPointer<SpeciesWindow> closing = window();
    window()->menuItem(QStringLiteral("Home_mnu"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return closing.isNull() && startScreenSubWindow(); }));
    QTest::qWait(100);
    screen("19-home");
    EXPECT_EQ(SpeciesWindow::current(), nullptr);
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("0"));
    // Back from Home, the start screen sits one third down.
    const QSize area = frame->mdiArea()->viewport()->size();
    const QMdiSubWindow *sub = startScreenSubWindow();
    EXPECT_NEAR(sub->y(), qMax(0, (area.height() - sub->height()) / 3), 1);
    QStringList left;
    for (QMdiSubWindow *w : frame->mdiArea()->subWindowList())
        left << (w->widget() ? QString::fromUtf8(w->widget()->metaObject()->className()) + QStringLiteral(" ") + w->widget()->windowTitle() : QStringLiteral("(empty frame)")) + (w->isVisible() ? QStringLiteral(" shown") : QStringLiteral(" hidden"));
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1) << left.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(takeMessages().empty());
}

void MainWindowJourney::exitProgram()
{
    auto *startScreen = qobject_cast<StartScreenWindow *>(startScreenSubWindow()->widget());
    ASSERT_TRUE(startScreen);
    QAction *exit = startScreen->menuAction(QStringLiteral("Esci_Mnu"));
    ASSERT_TRUE(exit);
    EXPECT_EQ(exit->text(), QStringLiteral("&Exit"));
    exit->trigger();
    ASSERT_TRUE(waitUntil([&] { return !frame->isVisible(); }));
    screen("20-exited");
    frame.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(mainWindow(), nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << "still shown: " << w->metaObject()->className() << " "
                                     << w->windowTitle().toStdString();
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(MainWindowJourney, FromStartScreenThroughMapRecordsExportsAndPrintToExit)
{
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(openSpeciesWindow());
    ASSERT_NO_FATAL_FAILURE(expandOrder());
    ASSERT_NO_FATAL_FAILURE(selectSpecies());
    ASSERT_NO_FATAL_FAILURE(zoomInTwice());
    ASSERT_NO_FATAL_FAILURE(pan());
    ASSERT_NO_FATAL_FAILURE(clickDot());
    ASSERT_NO_FATAL_FAILURE(openRecordWindows());
    ASSERT_NO_FATAL_FAILURE(exportEveryFormat());
    ASSERT_NO_FATAL_FAILURE(printColourToPdf());
    ASSERT_NO_FATAL_FAILURE(switchFilter());
    ASSERT_NO_FATAL_FAILURE(searchName());
    ASSERT_NO_FATAL_FAILURE(goHome());
    ASSERT_NO_FATAL_FAILURE(exitProgram());
}

}  // namespace
