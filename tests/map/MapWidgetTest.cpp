// The map surface ITALY in its frame: placement, the drawn dots read back from
// the canvas, mouse tools driven through real mouse events, the click on a dot,
// and the background window.
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "data/Queries.h"
#include "map/BackgroundMaps.h"
#include "map/BackgroundWindow.h"
#include "map/MapTestSupport.h"
#include "map/MapWidget.h"
#include "map/MapWidgetTools.h"
#include "support/FixtureDatabase.h"

#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using ortolan::map::BackgroundWindow;
using ortolan::map::MapWidget;
namespace MapButton = ortolan::map::MapButton;
namespace backgrounds = ortolan::map::backgrounds;

namespace {

const QString kCarabusOlympiae = QStringLiteral("044.00101.001.0");

struct Message {
    ortolan::MessageKind kind;
    QString caption;
    QString text;
};

class MapSurface : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ortolan::settings();
        ortolan::settings().setLanguage(QStringLiteral("Inglese"));
        ASSERT_TRUE(dir.isValid());
        fixture = std::make_unique<ortolan::test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        ortolan::settings().DatabasePath = fixture->path();
        ortolan::settings().DatabasePassword = ortolan::test::FixtureDatabase::password();
        ortolan::settings().SelectedTaxonCode = kCarabusOlympiae;
        ortolan::settings().SelectedCaption = QStringLiteral("Carabus olympiae");
        ortolan::setMessageHandler([this](ortolan::MessageKind kind, const QString &caption, const QString &text) {
            messages.push_back({kind, caption, text});
        });

        frame.resize(900, 700);
        map = new MapWidget(&frame);
        hBar = new QScrollBar(Qt::Horizontal, &frame);
        vBar = new QScrollBar(Qt::Vertical, &frame);
        map->attachScrollBars(hBar, vBar);
        frame.show();
        map->prepare();
        ASSERT_TRUE(map->riscala());
    }
    void TearDown() override
    {
        ortolan::setMessageHandler({});
        ortolan::settings() = saved;
    }

    QPointF centreOf(const QString &code) const { return map->model().geometry().locate(code)->centre; }
    QPoint pixelOf(QPointF world) const { return map->surfacePosition(world).toPoint(); }
    // A world point on the land of the test picture, away from grid lines and dots.
    QPointF landPoint() const
    {
        const QSizeF w = map->model().worldSize();
        return QPointF(6400.0 / 11000.0 * w.width(), 7000.0 / 14600.0 * w.height());
    }
    void clickAt(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseMove(map, pixel);
        QTest::mouseClick(map, button, Qt::NoModifier, pixel);
    }

    ortolan::Settings saved;
    ortolan::test::MapFolder maps;
    QTemporaryDir dir;
    std::unique_ptr<ortolan::test::FixtureDatabase> fixture;
    std::vector<Message> messages;
    QWidget frame;
    MapWidget *map = nullptr;
    QScrollBar *hBar = nullptr;
    QScrollBar *vBar = nullptr;
};

bool isRed(const std::optional<QColor> &c) { return c && *c == QColor(255, 0, 0); }

TEST_F(MapSurface, FitsTheFrameAndPlacesTheScrollBars)
{
    const double k = map->twipsPerPixel();
    const QRectF surface = map->model().surfaceRect();
    EXPECT_NEAR(map->x(), surface.x() / k, 1.0);
    EXPECT_NEAR(map->y(), surface.y() / k, 1.0);
    EXPECT_NEAR(map->width(), surface.width() / k, 1.0);
    EXPECT_NEAR(map->height(), surface.height() / k, 1.0);
    // The frame is wider than the picture: full free height, centred across.
    EXPECT_NEAR(map->height(), 700 - hBar->sizeHint().height() - 21.0 / k, 1.0);
    EXPECT_NEAR(map->x() + map->width() / 2.0, (900 - vBar->sizeHint().width()) / 2.0, 1.0);
    EXPECT_FALSE(hBar->isEnabled());
    EXPECT_EQ(hBar->maximum(), map->model().hScroll().maximum);
    EXPECT_NEAR(hBar->y() + hBar->height(), 700, 1.0);
    EXPECT_NEAR(vBar->x() + vBar->width(), 900, 1.0);
    EXPECT_EQ(map->canvas().size(), map->size() * map->devicePixelRatio());
}

TEST_F(MapSurface, EachOccupiedSquareIsARedDotOnTheCanvas)
{
    EXPECT_EQ(map->pixelAt(landPoint()), ortolan::test::TestLand);
    const QStringList squares{QStringLiteral("NF00"), QStringLiteral("UG12"), QStringLiteral("WA00")};
    ASSERT_EQ(map->records().count(), 4);
    for (const QString &code : squares)
        EXPECT_TRUE(isRed(map->pixelAt(centreOf(code)))) << code.toStdString();
    // Well away from any dot: the sea of the test picture.
    EXPECT_FALSE(isRed(map->pixelAt(QPointF(20.0, 20.0))));
    EXPECT_FALSE(isRed(map->pixelAt(centreOf(QStringLiteral("UG14")))));
    EXPECT_FALSE(map->pixelAt(QPointF(-100.0, -100.0)).has_value());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MapSurface, DotsFollowTheZoomAndTheScrollBars)
{
    map->model().setButtonPressed(MapButton::ZoomIn, true);
    map->model().zoomInTool();
    const QPointF ug12 = centreOf(QStringLiteral("UG12"));
    clickAt(pixelOf(ug12));
    clickAt(pixelOf(ug12));
    ASSERT_EQ(map->model().zoomLevel(), 2);
    EXPECT_TRUE(hBar->isEnabled() && vBar->isEnabled());
    EXPECT_TRUE(isRed(map->pixelAt(ug12)));
    // Moving a bar moves the view; the dot moves with it.
    const QRectF before = map->model().viewRect();
    hBar->setValue(hBar->value() + 60);
    EXPECT_GT(map->model().viewRect().left(), before.left());
    EXPECT_EQ(map->model().lastHScrollValue(), hBar->value());
    if (map->model().viewRect().contains(ug12)) {
        EXPECT_TRUE(isRed(map->pixelAt(ug12)));
    }
    // Zoom text while the mouse moves.
    QSignalSpy status(map, &MapWidget::statusTextChanged);
    QTest::mouseMove(map, QPoint(10, 10));
    QTest::mouseMove(map, QPoint(12, 11));
    EXPECT_EQ(map->model().statusText(3), QStringLiteral("Zoom  x 3"));
}

TEST_F(MapSurface, ClickOnADotOpensItsSitesAndJustOffDoesNothing)
{
    QSignalSpy sites(map, &MapWidget::sitesRequested);
    QSignalSpy close(map, &MapWidget::closeSitesRequested);
    const QPointF ug12 = centreOf(QStringLiteral("UG12"));
    clickAt(pixelOf(ug12));
    ASSERT_EQ(sites.count(), 1);
    EXPECT_EQ(sites.at(0).at(0).toString(), QStringLiteral("UG12"));
    EXPECT_EQ(sites.at(0).at(1).toString(), QStringLiteral("Sites of Carabus olympiae in UG12"));
    EXPECT_EQ(close.count(), 1);
    EXPECT_EQ(map->selectedSquare(), QStringLiteral("UG12"));
    EXPECT_EQ(ortolan::settings().RecordQuery,
              ortolan::data::queries::sitesInSquare(kCarabusOlympiae, QStringLiteral("UG12")));
    EXPECT_EQ(map->model().statusText(2), QStringLiteral("UG12"));

    // Two pixels beyond the dot's edge.
    const double radiusPixels = map->renderer().dotRadius() * map->width() / map->model().viewRect().width();
    clickAt(pixelOf(ug12) + QPoint(int(std::ceil(radiusPixels)) + 2, 0));
    EXPECT_EQ(sites.count(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MapSurface, ClickOnADotWithoutRecordsReportsADataError)
{
    QSignalSpy sites(map, &MapWidget::sitesRequested);
    // The dots stay those of the loaded taxon; another taxon has no records there.
    ortolan::settings().SelectedTaxonCode = QStringLiteral("037.00201.001.0");
    clickAt(pixelOf(centreOf(QStringLiteral("WA00"))));
    EXPECT_EQ(sites.count(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, ortolan::MessageKind::Error);
    EXPECT_EQ(messages[0].text, QStringLiteral("Data error: WA00"));
}

TEST_F(MapSurface, ClicksCountOnlyWithSquareSelection)
{
    QSignalSpy sites(map, &MapWidget::sitesRequested);
    map->model().setButtonPressed(MapButton::Select, false);
    map->model().setSelectTool(false);
    clickAt(pixelOf(centreOf(QStringLiteral("UG12"))));
    EXPECT_EQ(sites.count(), 0);
    EXPECT_TRUE(map->model().statusText(1).isEmpty());
}

TEST_F(MapSurface, AreaDragFillsTheFrameAndTurnsSquareSelectionOn)
{
    QSignalSpy buttons(map, &MapWidget::toolButtonStateChanged);
    map->model().setButtonPressed(MapButton::Area, true);
    map->model().areaTool();
    const QPoint from(map->width() / 4, map->height() / 4);
    const QPoint to(map->width() / 2, map->height() / 3);
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), map->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(map, &move);
    ASSERT_TRUE(map->model().rubberBand().has_value());
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(map->model().areaViewShown());
    EXPECT_FALSE(hBar->isVisible() || vBar->isVisible());
    // A wide selection fills the frame's free width.
    EXPECT_NEAR(map->width(), 900 - 14.0 / map->twipsPerPixel(), 1.0);
    bool areaReleased = false, selectPressed = false;
    for (const auto &args : buttons) {
        areaReleased |= args.at(0).toInt() == MapButton::Area && !args.at(1).toBool();
        selectPressed |= args.at(0).toInt() == MapButton::Select && args.at(1).toBool();
    }
    EXPECT_TRUE(areaReleased && selectPressed);
    map->model().fullExtent();
    EXPECT_TRUE(hBar->isVisible());
    EXPECT_NEAR(map->width(), map->model().homePlacement().width() / map->twipsPerPixel(), 1.0);
}

TEST_F(MapSurface, BadSquareCodesAreReportedOncePerLoad)
{
    fixture->insert("Stazioni", {{"CODICE_SP", "044.00101.001.0"}, {"UTM", "ZZ99"}, {"LOC", "Bad"}});
    fixture->insert("Stazioni", {{"CODICE_SP", "044.00101.001.0"}, {"UTM", "QA00"}, {"LOC", "Bad"}});
    messages.clear();
    map->riscala();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, ortolan::errorCaption());
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("Data error: ")));
    // A refit of the same squares (a resize) does not repeat them.
    frame.resize(800, 650);
    map->riscala();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(isRed(map->pixelAt(centreOf(QStringLiteral("UG12")))));
}

TEST_F(MapSurface, GridSwitchRedrawsWithoutTheGrid)
{
    const auto &g = map->model().geometry();
    const QPointF onBoundary(g.boundaryX(12, 40.0 * map->twipsPerPixel()), 40.0 * map->twipsPerPixel());
    const auto withGrid = map->pixelAt(onBoundary);
    map->model().setGrid(false);
    EXPECT_EQ(ortolan::settings().GridShown, QStringLiteral("No"));
    EXPECT_NE(map->pixelAt(onBoundary), withGrid);
    map->model().setGrid(true);
    EXPECT_EQ(map->pixelAt(onBoundary), withGrid);
}

TEST_F(MapSurface, SpeciesWindowCommandsReachTheSurfaceThroughTheMapTools)
{
    auto tools = std::make_unique<ortolan::map::MapWidgetTools>(*map);
    ortolan::map::MapTools &t = *tools;
    // The window presses the button, then runs the command.
    t.zoomInTool();
    EXPECT_TRUE(t.isToolActive(ortolan::map::MapTools::ZoomInTool));
    EXPECT_FALSE(t.selectToolOn());
    EXPECT_FALSE(t.zoomOutTool());  // nothing to zoom out of yet
    t.zoomInTool();
    clickAt(QPoint(map->width() / 2, map->height() / 2));
    clickAt(QPoint(map->width() / 2, map->height() / 2));
    // Mouse zooms are followed without a command.
    EXPECT_EQ(t.zoomLevel(), 2);
    EXPECT_TRUE(t.panTool());
    EXPECT_TRUE(t.isToolActive(ortolan::map::MapTools::PanTool));
    t.setGrid(false);
    EXPECT_FALSE(t.gridOn());
    t.fullExtent();
    EXPECT_EQ(t.zoomLevel(), 0);
    EXPECT_TRUE(t.selectToolOn());
    EXPECT_FALSE(t.panTool());
    t.areaTool();
    EXPECT_EQ(map->cursor().shape(), Qt::SizeAllCursor);
    t.riscala();
    EXPECT_TRUE(t.gridOn());
    EXPECT_FALSE(t.isToolActive(ortolan::map::MapTools::ZoomAreaTool));
    // A surface that is gone leaves the commands without effect.
    delete map;
    map = nullptr;
    t.riscala();
    EXPECT_FALSE(t.zoomOutTool());
    EXPECT_FALSE(t.panTool());
}

// --- Background window ------------------------------------------------------------------------

TEST_F(MapSurface, BackgroundWindowOptionsExcludeEachOther)
{
    BackgroundWindow *window = map->chooseBackground();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Select background"));
    EXPECT_EQ(window->option1()->text(), QStringLiteral("Hydrography"));
    EXPECT_EQ(window->option2()->text(), QStringLiteral("Regions"));
    EXPECT_EQ(window->cancelButton()->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(window->option1()->isChecked());
    window->option2()->click();
    EXPECT_TRUE(window->option2()->isChecked());
    EXPECT_FALSE(window->option1()->isChecked());
    window->option1()->click();
    EXPECT_FALSE(window->option2()->isChecked());
    window->close();

    ortolan::settings().setLanguage(QStringLiteral("Italiano"));
    BackgroundWindow italian(*map);
    EXPECT_EQ(italian.windowTitle(), QStringLiteral("Scelta cartina"));
    EXPECT_EQ(italian.option1()->text(), QStringLiteral("Idrografia"));
    EXPECT_EQ(italian.option2()->text(), QStringLiteral("Regioni"));
    EXPECT_EQ(italian.cancelButton()->text(), QStringLiteral("&Annulla"));
    EXPECT_EQ(italian.okButton()->text(), QStringLiteral("&OK"));
}

TEST_F(MapSurface, ApplyingABackgroundRefitsTheMap)
{
    map->model().setButtonPressed(MapButton::ZoomIn, true);
    map->model().zoomInTool();
    clickAt(QPoint(map->width() / 2, map->height() / 2));
    ASSERT_EQ(map->model().zoomLevel(), 1);

    QPointer<BackgroundWindow> window = map->chooseBackground();
    window->option2()->setChecked(true);
    QTest::mouseClick(window->okButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(map->backgroundName(), backgrounds::Regions);
    EXPECT_EQ(map->model().zoomLevel(), 0);
    // The regions picture has grey land; the dots are drawn again on it.
    EXPECT_EQ(map->pixelAt(landPoint()), QColor(200, 200, 200));
    EXPECT_TRUE(isRed(map->pixelAt(centreOf(QStringLiteral("UG12")))));

    // Reopened, the window shows the regions; applying it again reloads and resets.
    window = map->chooseBackground();
    EXPECT_TRUE(window->option2()->isChecked());
    EXPECT_FALSE(window->option1()->isChecked());
    window->apply();
    EXPECT_EQ(map->backgroundName(), backgrounds::Regions);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MapSurface, MissingOrDamagedBackgroundLeavesTheMapAsItWas)
{
    const QString regions = maps.path() + QStringLiteral("/ItaliaREGIONI.wmf");
    const QImage before = map->canvas();
    auto chooseRegions = [&] {
        messages.clear();
        QPointer<BackgroundWindow> window = map->chooseBackground();
        window->option2()->setChecked(true);
        window->apply();
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_TRUE(!messages.empty() && messages[0].kind == ortolan::MessageKind::Error);
        EXPECT_EQ(map->backgroundName(), backgrounds::Hydrography);
        EXPECT_EQ(map->canvas(), before);
        return window;
    };

    // A file cut short, as an interrupted copy leaves it.
    QFile file(regions);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray head = file.read(300);
    file.resize(0);
    file.write(head);
    file.close();
    chooseRegions()->close();

    QFile::remove(regions);
    QPointer<BackgroundWindow> window = chooseRegions();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].caption, QStringLiteral("Ortolan Error"));
    EXPECT_EQ(messages[0].text, QStringLiteral("Missing file ItaliaREGIONI.wmf"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());

    // Cancel closes without change.
    QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(map->backgroundName(), backgrounds::Hydrography);
}

TEST(BackgroundMaps, PrintingUsesTheBlackAndWhiteHydrography)
{
    ortolan::test::MapFolder maps;
    EXPECT_EQ(backgrounds::printPath(backgrounds::Hydrography, QStringLiteral("BW")),
              maps.path() + QStringLiteral("/ItaliaNEW_BW.wmf"));
    EXPECT_EQ(backgrounds::printPath(backgrounds::Hydrography, QStringLiteral("Colori")),
              maps.path() + QStringLiteral("/ItaliaNEW.wmf"));
    EXPECT_EQ(backgrounds::printPath(backgrounds::Regions, QStringLiteral("BW")),
              maps.path() + QStringLiteral("/ItaliaREGIONI.wmf"));
}

}  // namespace
