// The map view model without widgets: fitting the surface into its frame, the
// scroll bars, the zoom and scroll model, and the mouse tools.
#include "app/Settings.h"
#include "map/MapViewModel.h"
#include "map/WholeNumbers.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

namespace MapButton = ortolan::map::MapButton;
using ortolan::map::MapCursor;
using ortolan::map::MapViewModel;

namespace {

// The shipped pictures: 110 x 146 mm, in twips.
const QSizeF kNatural(110.0 / 25.4 * 1440.0, 146.0 / 25.4 * 1440.0);
const double kBar = 255.0;  // scroll bar thickness, twips

MapViewModel::Frame frame(double width, double height, double left = 0.0, double top = 0.0)
{
    return MapViewModel::Frame{QRectF(left, top, width, height), kBar, kBar};
}

void expectRectNear(const QRectF &actual, const QRectF &expected, double tolerance = 1e-6)
{
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

// Button changes the model reported, in order.
std::vector<std::pair<int, bool>> buttonChanges(const QSignalSpy &spy)
{
    std::vector<std::pair<int, bool>> changes;
    for (const QList<QVariant> &args : spy)
        changes.emplace_back(args.at(0).toInt(), args.at(1).toBool());
    return changes;
}

bool released(const QSignalSpy &spy, int position)
{
    for (const auto &[p, pressed] : buttonChanges(spy))
        if (p == position && !pressed)
            return true;
    return false;
}

class MapModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = ortolan::settings().CurrentLanguage;
        ortolan::settings().setLanguage(QStringLiteral("Inglese"));
        model.setPictureNaturalSize(kNatural);
        model.setFrame(frame(9000.0, 12000.0, 300.0, 450.0));
        ASSERT_TRUE(model.Riscala());
        W = model.worldSize().width();
        H = model.worldSize().height();
    }
    void TearDown() override { ortolan::settings().setLanguage(m_language); }

    // Chooses a tool as the window does: press its button, then run the command.
    void choose(int position)
    {
        model.setButtonPressed(position, true);
        if (position == MapButton::ZoomIn)
            model.zoomInTool();
        else if (position == MapButton::ZoomOut)
            model.zoomOutTool();
        else if (position == MapButton::Area)
            model.areaTool();
        else if (position == MapButton::Pan)
            model.panTool();
    }
    void click(QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        model.ITALY_MouseDown(button, at);
        model.ITALY_MouseUp(button, at);
    }
    void drag(QPointF from, QPointF to)
    {
        model.ITALY_MouseDown(Qt::LeftButton, from);
        model.ITALY_MouseMove(Qt::LeftButton, to);
        model.ITALY_MouseUp(Qt::LeftButton, to);
    }
    // The zoom steps take the clicked point less a 10-twip offset as the new centre.
    QPointF centreClick(QPointF world) const { return world + QPointF(10.0, 10.0); }

    MapViewModel model;
    double W = 0.0;
    double H = 0.0;
    QString m_language;
};

// --- Fitting -----------------------------------------------------------------------------

TEST(MapFitting, SurfaceFillsTheFreeAreaInOneDirectionAndIsCentredInTheOther)
{
    // A wide frame gives the full free height, centred across; a narrow one the
    // full free width, centred down. Free area: the frame less the scroll bars,
    // 21 twips in height and 3 in width.
    const double aspect = kNatural.width() / kNatural.height();
    struct Case { const char *name; double frameWidth, frameHeight, width, height; };
    for (const Case &c : {Case{"wide", 12000.0, 6000.0, (6000.0 - kBar - 21.0) * aspect, 6000.0 - kBar - 21.0},
                          Case{"narrow", 3000.0, 9000.0, 3000.0 - kBar - 3.0, (3000.0 - kBar - 3.0) / aspect}}) {
        MapViewModel model;
        model.setPictureNaturalSize(kNatural);
        model.setFrame(frame(c.frameWidth, c.frameHeight, 100.0, 200.0));
        ASSERT_TRUE(model.Riscala()) << c.name;
        expectRectNear(model.surfaceRect(), QRectF((c.frameWidth - c.width - kBar) / 2.0 + 100.0,
                                                   (c.frameHeight - c.height - kBar) / 2.0 + 200.0, c.width, c.height));
        EXPECT_NEAR(model.worldSize().width(), c.width, 1e-9) << c.name;
        expectRectNear(model.viewRect(), QRectF(0.0, 0.0, c.width, c.height));
        EXPECT_EQ(model.homePlacement(), model.surfaceRect()) << c.name;
        EXPECT_NEAR(model.geometry().unit(), c.height / 537.0, 1e-12) << c.name;
    }
}

TEST(MapFitting, ScrollBarsLieAlongTheFrameWithTheSurfaceAsRange)
{
    MapViewModel model;
    model.setPictureNaturalSize(kNatural);
    // Free width 2004: an eighth is 250.5, which rounds to the even 250.
    model.setFrame(frame(2004.0 + kBar + 3.0, 9000.0, 100.0, 200.0));
    ASSERT_TRUE(model.Riscala());
    const double height = 2004.0 * kNatural.height() / kNatural.width();
    const auto &h = model.hScroll();
    const auto &v = model.vScroll();
    EXPECT_EQ(h.maximum, 2004);
    EXPECT_EQ(h.largeChange, 250);
    EXPECT_EQ(v.maximum, int(std::nearbyint(height)));
    EXPECT_EQ(v.largeChange, int(std::nearbyint(height / 10.0)));
    EXPECT_TRUE(h.visible && v.visible);
    EXPECT_FALSE(h.enabled || v.enabled);
    const double fw = 2004.0 + kBar + 3.0;
    expectRectNear(h.geometry, QRectF(100.0, 200.0 + 9000.0 - kBar, fw - kBar + 4.0, kBar));
    expectRectNear(v.geometry, QRectF(100.0 + fw - kBar + 4.0, 200.0, kBar, 9000.0 - kBar));

    // 2012 / 8 = 251.5 rounds to the even 252.
    model.setFrame(frame(2012.0 + kBar + 3.0, 9000.0));
    ASSERT_TRUE(model.Riscala());
    EXPECT_EQ(model.hScroll().largeChange, 252);
}

TEST(MapFitting, TinyFreeHeightKeepsTheLargeChange)
{
    MapViewModel model;
    model.setPictureNaturalSize(kNatural);
    model.setFrame(frame(9000.0, 6000.0));
    ASSERT_TRUE(model.Riscala());
    const int hLarge = model.hScroll().largeChange;
    const int vLarge = model.vScroll().largeChange;
    // A free height of 8 twips: the surface is fitted, the steps stay.
    model.setFrame(frame(9000.0, 8.0 + kBar + 21.0));
    ASSERT_TRUE(model.Riscala());
    EXPECT_NEAR(model.worldSize().height(), 8.0, 1e-9);
    EXPECT_EQ(model.hScroll().largeChange, hLarge);
    EXPECT_EQ(model.vScroll().largeChange, vLarge);
    EXPECT_EQ(model.vScroll().maximum, 8);
}

TEST(MapFitting, UnusableFramesDrawNothing)
{
    MapViewModel model;
    model.setPictureNaturalSize(kNatural);
    // No free area at all, and a surface beyond the scroll bars' 16-bit range.
    for (const MapViewModel::Frame &f : {frame(0.0, 0.0), frame(200.0, 200.0), frame(90000.0, 60000.0)}) {
        model.setFrame(f);
        EXPECT_FALSE(model.Riscala());
        EXPECT_FALSE(model.isValid());
        EXPECT_FALSE(model.geometry().isValid());
    }
    // A usable frame afterwards works again.
    model.setFrame(frame(9000.0, 6000.0));
    EXPECT_TRUE(model.Riscala());
}

TEST(WholeNumbers, RoundHalvesToEvenAndRefuseOverflow)
{
    using ortolan::map::toInt16;
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_FALSE(toInt16(32767.5).has_value());
    EXPECT_FALSE(toInt16(-32769.0).has_value());
    EXPECT_FALSE(toInt16(std::nan("")).has_value());
    EXPECT_EQ(ortolan::map::toInt32(70000.5), 70000);
}

TEST_F(MapModel, RiscalaResetsToolsAndButtons)
{
    choose(MapButton::ZoomIn);
    click(QPointF(W / 2, H / 2));
    ASSERT_EQ(model.zoomLevel(), 1);
    model.setGrid(false);
    QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
    ASSERT_TRUE(model.Riscala());
    EXPECT_EQ(model.zoomLevel(), 0);
    EXPECT_FALSE(model.anyToolActive());
    EXPECT_TRUE(model.gridShown());
    EXPECT_EQ(ortolan::settings().GridShown, QStringLiteral("Sì"));
    EXPECT_EQ(model.cursor(), MapCursor::Cross);
    const auto changes = buttonChanges(buttons);
    EXPECT_EQ(changes.front(), std::make_pair(MapButton::Grid, true));
    for (int position : {MapButton::ZoomIn, MapButton::ZoomOut, MapButton::Area, MapButton::Pan})
        EXPECT_TRUE(released(buttons, position)) << position;
    EXPECT_FALSE(model.hScroll().enabled);
    EXPECT_EQ(model.hScroll().value, 0);
}

// --- Zoom ------------------------------------------------------------------------------------

TEST_F(MapModel, ViewRectAtEachLevelIsTheCentredShareOfTheWorld)
{
    choose(MapButton::ZoomIn);
    const QPointF centre(W / 2, H / 2);
    for (int level = 1; level <= 4; ++level) {
        click(centreClick(centre));
        ASSERT_EQ(model.zoomLevel(), level);
        const double k = level;
        expectRectNear(model.viewRect(), QRectF(W / 2 - W / (4 * k), H / 2 - H / (4 * k), W / (2 * k), H / (2 * k)),
                       1e-6);
        EXPECT_TRUE(model.hScroll().enabled && model.vScroll().enabled);
    }
    // A fifth zoom-in changes nothing.
    const QRectF deepest = model.viewRect();
    QSignalSpy scene(&model, &MapViewModel::sceneChanged);
    click(centreClick(QPointF(W / 3, H / 3)));
    EXPECT_EQ(model.zoomLevel(), 4);
    EXPECT_EQ(model.viewRect(), deepest);
    EXPECT_EQ(scene.count(), 0);
    model.ITALY_MouseMove(Qt::NoButton, QPointF(10, 10));
    EXPECT_EQ(model.statusText(3), QStringLiteral("Zoom  x 5"));
}

TEST_F(MapModel, ZoomAtACornerClampsInsideThePictureAndPutsTheBarsAtTheEnds)
{
    choose(MapButton::ZoomIn);
    click(QPointF(0.0, 0.0));
    EXPECT_EQ(model.zoomLevel(), 1);
    expectRectNear(model.viewRect(), QRectF(0.0, 0.0, W / 2, H / 2));
    EXPECT_EQ(model.viewCentre(), QPointF(kNatural.width() / 4, kNatural.height() / 4));
    EXPECT_EQ(model.hScroll().value, 0);
    EXPECT_EQ(model.vScroll().value, 0);

    model.Riscala();
    choose(MapButton::ZoomIn);
    for (int level = 1; level <= 4; ++level) {
        click(QPointF(W, H));
        const double k = level;
        expectRectNear(model.viewRect(), QRectF(W - W / (2 * k), H - H / (2 * k), W / (2 * k), H / (2 * k)), 1e-6);
        EXPECT_EQ(model.hScroll().value, model.hScroll().maximum);
        EXPECT_EQ(model.vScroll().value, model.vScroll().maximum);
    }
    // The change events of those programmatic moves were ignored, but remembered.
    EXPECT_EQ(model.lastHScrollValue(), model.hScroll().maximum);
    EXPECT_EQ(model.scrollGuard(), 0);
}

TEST_F(MapModel, InnerZoomSetsTheBarsFromTheCentre)
{
    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W * 0.4, H * 0.6)));
    EXPECT_EQ(model.hScroll().value, int(std::nearbyint(model.viewCentre().x() * W / kNatural.width())));
    EXPECT_EQ(model.vScroll().value, int(std::nearbyint(model.viewCentre().y() * H / kNatural.height())));
}

TEST_F(MapModel, RightClickWithZoomInZoomsOutAndLevelZeroDisablesTheBars)
{
    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    click(centreClick(QPointF(W / 2, H / 2)));
    ASSERT_EQ(model.zoomLevel(), 2);
    click(QPointF(W / 2, H / 2), Qt::RightButton);
    EXPECT_EQ(model.zoomLevel(), 1);
    EXPECT_TRUE(model.hScroll().enabled);

    QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
    click(QPointF(W / 2, H / 2), Qt::RightButton);
    EXPECT_EQ(model.zoomLevel(), 0);
    expectRectNear(model.viewRect(), QRectF(0, 0, W, H));
    EXPECT_FALSE(model.hScroll().enabled || model.vScroll().enabled);
    EXPECT_EQ(model.hScroll().value, 0);
    EXPECT_EQ(model.vScroll().value, 0);
    EXPECT_EQ(model.cursor(), MapCursor::Cross);
    EXPECT_FALSE(model.isToolActive(MapViewModel::ZoomInTool));
    for (int position : {MapButton::ZoomIn, MapButton::ZoomOut, MapButton::Area, MapButton::Pan})
        EXPECT_TRUE(released(buttons, position)) << position;
    EXPECT_EQ(model.statusText(3), QStringLiteral("Zoom  x 1"));
}

TEST_F(MapModel, ZoomOutToolNeedsAZoomedView)
{
    QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
    choose(MapButton::ZoomOut);
    EXPECT_FALSE(model.isToolActive(MapViewModel::ZoomOutTool));
    EXPECT_TRUE(released(buttons, MapButton::ZoomOut));

    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    click(centreClick(QPointF(W / 2, H / 2)));
    model.setButtonPressed(MapButton::ZoomOut, true);
    EXPECT_TRUE(model.zoomOutTool());
    EXPECT_EQ(model.cursor(), MapCursor::ZoomOut);
    EXPECT_TRUE(model.isToolActive(MapViewModel::ZoomOutTool));
    EXPECT_FALSE(model.isToolActive(MapViewModel::ZoomInTool));
    click(QPointF(W / 2, H / 2));
    EXPECT_EQ(model.zoomLevel(), 1);
}

// --- Scrolling ----------------------------------------------------------------------------

TEST_F(MapModel, ScrollingAtTheFullViewPutsTheBarBack)
{
    QSignalSpy scene(&model, &MapViewModel::sceneChanged);
    model.HScroll1_Change(120);
    model.VScroll1_Change(80);
    EXPECT_EQ(model.hScroll().value, 0);
    EXPECT_EQ(model.vScroll().value, 0);
    EXPECT_EQ(model.lastHScrollValue(), 0);
    expectRectNear(model.viewRect(), QRectF(0, 0, W, H));
    EXPECT_EQ(scene.count(), 0);
}

TEST_F(MapModel, ScrollingAZoomedViewMovesTheCentreOverThePanningRange)
{
    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    click(centreClick(QPointF(W / 2, H / 2)));
    ASSERT_EQ(model.zoomLevel(), 2);
    const QPointF centre = model.viewCentre();
    const QRectF before = model.viewRect();
    const int h = model.hScroll().value;
    model.HScroll1_Change(h + 100);
    // k = 2: the centre moves by 100 x 3 x (PNW / 4) / W picture units.
    EXPECT_NEAR(model.viewCentre().x(), centre.x() + 100.0 * 3.0 * (kNatural.width() / 4.0) / W, 1e-9);
    EXPECT_NEAR(model.viewRect().left(), before.left() + 100.0 * 3.0 / 4.0, 1e-9);
    EXPECT_EQ(model.lastHScrollValue(), h + 100);

    const int v = model.vScroll().value;
    model.VScroll1_Change(v - 50);
    EXPECT_NEAR(model.viewCentre().y(), centre.y() - 50.0 * 3.0 * (kNatural.height() / 4.0) / H, 1e-9);
    // Scrolling far beyond the picture keeps the view inside it.
    model.HScroll1_Change(model.hScroll().maximum);
    model.HScroll1_Change(0);
    EXPECT_NEAR(model.viewRect().left(), 0.0, 1e-9);
}

TEST_F(MapModel, SquareSelectionMeasuresMousePositionsInTheView)
{
    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    // Zoom tools work in surface units over 0..W; selection in world units.
    EXPECT_EQ(model.scale(), QRectF(0, 0, W, H));
    model.setButtonPressed(MapButton::Select, true);
    model.setSelectTool(true);
    EXPECT_EQ(model.scale(), model.viewRect());
    model.HScroll1_Change(model.hScroll().value + 40);
    EXPECT_EQ(model.scale(), model.viewRect());
    EXPECT_EQ(model.worldFromScale(QPointF(123.0, 456.0)), QPointF(123.0, 456.0));
}

// --- Zoom area ----------------------------------------------------------------------------

TEST_F(MapModel, RubberBandIsTheSameWhicheverWayItIsDragged)
{
    choose(MapButton::Area);
    EXPECT_EQ(model.cursor(), MapCursor::SizeAll);
    const QPointF a(W * 0.2, H * 0.3);
    const QPointF b(W * 0.5, H * 0.7);

    model.ITALY_MouseDown(Qt::LeftButton, a);
    ASSERT_TRUE(model.rubberBand().has_value());
    model.ITALY_MouseMove(Qt::LeftButton, b);
    const QRectF forward = *model.rubberBand();
    // Level with the press point on one axis: that axis keeps its extent.
    model.ITALY_MouseMove(Qt::LeftButton, QPointF(a.x(), b.y() + 10.0));
    EXPECT_EQ(model.rubberBand()->width(), forward.width());
    EXPECT_EQ(model.rubberBand()->height(), b.y() + 10.0 - a.y());
    model.ITALY_MouseMove(Qt::LeftButton, b);
    model.ITALY_MouseUp(Qt::LeftButton, b);
    const QRectF forwardView = model.viewRect();

    model.Riscala();
    choose(MapButton::Area);
    model.ITALY_MouseDown(Qt::LeftButton, b);
    model.ITALY_MouseMove(Qt::LeftButton, a);
    EXPECT_EQ(*model.rubberBand(), forward);
    model.ITALY_MouseUp(Qt::LeftButton, a);
    EXPECT_EQ(model.viewRect(), forwardView);
    expectRectNear(forward, QRectF(a, b));
    expectRectNear(forwardView, QRectF(a, b), 1e-9);
}

TEST_F(MapModel, AreaViewFitsTallAndWideSelectionsToTheFrame)
{
    const QRectF p = model.frame().rect;
    const double fw = p.width() - 14.0;
    const double fh = p.height() - 14.0;
    struct Case { const char *name; QRectF selection; bool fullHeight; };
    for (const Case &c : {Case{"tall", QRectF(W * 0.4, H * 0.1, W * 0.05, H * 0.6), true},
                          Case{"wide", QRectF(W * 0.1, H * 0.4, W * 0.8, H * 0.05), false}}) {
        model.Riscala();
        choose(MapButton::Area);
        QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
        drag(c.selection.topLeft(), c.selection.bottomRight());
        ASSERT_TRUE(model.areaViewShown()) << c.name;
        const QRectF s = model.surfaceRect();
        const double aspect = c.selection.width() / c.selection.height();
        if (c.fullHeight)
            EXPECT_NEAR(s.height(), fh, 1e-6) << c.name;
        else
            EXPECT_NEAR(s.width(), fw, 1e-6) << c.name;
        EXPECT_NEAR(s.width() / s.height(), aspect, 1e-9) << c.name;
        EXPECT_NEAR(s.center().x(), p.center().x(), 1e-6) << c.name;
        EXPECT_NEAR(s.center().y(), p.center().y(), 1e-6) << c.name;
        expectRectNear(model.viewRect(), c.selection, 1e-6);
        EXPECT_FALSE(model.hScroll().visible || model.vScroll().visible) << c.name;
        EXPECT_EQ(model.zoomLevel(), 0);
        // Area tool released, square selection pressed; positions then arrive in the view.
        const auto changes = buttonChanges(buttons);
        EXPECT_NE(std::find(changes.begin(), changes.end(), std::make_pair(MapButton::Area, false)), changes.end());
        EXPECT_NE(std::find(changes.begin(), changes.end(), std::make_pair(MapButton::Select, true)), changes.end());
        EXPECT_EQ(model.scale(), model.viewRect());
        // The release that applied the view is no click on a square.
        EXPECT_FALSE(model.ITALY_Click().has_value());
    }
    // The full-extent command ends the area view.
    model.fullExtent();
    EXPECT_FALSE(model.areaViewShown());
    EXPECT_EQ(model.surfaceRect(), model.homePlacement());
    EXPECT_TRUE(model.hScroll().visible);
}

TEST_F(MapModel, AreaWithoutExtentUsesTheToolUp)
{
    choose(MapButton::Area);
    click(QPointF(W / 2, H / 2));
    EXPECT_TRUE(model.areaViewShown());
    expectRectNear(model.viewRect(), QRectF(0, 0, W, H));
    // A second drag is ignored until the view is reset.
    drag(QPointF(W * 0.1, H * 0.1), QPointF(W * 0.3, H * 0.3));
    expectRectNear(model.viewRect(), QRectF(0, 0, W, H));
    EXPECT_FALSE(model.rubberBand().has_value());
    choose(MapButton::Area);
    drag(QPointF(W * 0.1, H * 0.1), QPointF(W * 0.3, H * 0.3));
    expectRectNear(model.viewRect(), QRectF(W * 0.1, H * 0.1, W * 0.2, H * 0.2), 1e-6);
}

TEST_F(MapModel, OtherButtonsOverTheAreaToolShowTheQuestionArrow)
{
    choose(MapButton::Area);
    model.ITALY_MouseDown(Qt::RightButton, QPointF(W / 2, H / 2));
    EXPECT_EQ(model.cursor(), MapCursor::QuestionArrow);
    EXPECT_FALSE(model.rubberBand().has_value());
    model.ITALY_MouseUp(Qt::RightButton, QPointF(W / 2, H / 2));
    EXPECT_EQ(model.cursor(), MapCursor::SizeAll);
    EXPECT_FALSE(model.areaViewShown());
}

// --- Pan ------------------------------------------------------------------------------------

TEST_F(MapModel, PanFollowsTheHandAndSetsTheBarsOnRelease)
{
    QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
    choose(MapButton::Pan);
    EXPECT_FALSE(model.isToolActive(MapViewModel::PanTool));
    EXPECT_TRUE(released(buttons, MapButton::Pan));

    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    click(centreClick(QPointF(W / 2, H / 2)));
    choose(MapButton::Pan);
    ASSERT_TRUE(model.isToolActive(MapViewModel::PanTool));
    EXPECT_EQ(model.cursor(), MapCursor::OpenHand);
    const QPointF centre = model.viewCentre();
    const int h = model.hScroll().value;

    model.ITALY_MouseDown(Qt::LeftButton, QPointF(1000, 1000));
    EXPECT_EQ(model.cursor(), MapCursor::ClosedHand);
    model.ITALY_MouseMove(Qt::LeftButton, QPointF(1100, 950));
    // Moving the hand right and up moves the centre left and down.
    EXPECT_NEAR(model.viewCentre().x(), centre.x() - 100.0 * (kNatural.width() / 4.0) / W, 1e-9);
    EXPECT_NEAR(model.viewCentre().y(), centre.y() + 50.0 * (kNatural.height() / 4.0) / H, 1e-9);
    EXPECT_EQ(model.hScroll().value, h);
    model.ITALY_MouseUp(Qt::LeftButton, QPointF(1100, 950));
    EXPECT_EQ(model.cursor(), MapCursor::OpenHand);
    EXPECT_EQ(model.hScroll().value, int(std::nearbyint(model.viewCentre().x() * W / kNatural.width())));
}

// --- Read-out and click ------------------------------------------------------------------------

TEST_F(MapModel, ReadOutShowsZoneAndSquareWhileSquareSelectionIsOn)
{
    const auto &g = model.geometry();
    model.ITALY_MouseMove(Qt::NoButton, g.worldPoint(33, 500000.0, 4000000.0) + QPointF(0.01, -0.01));
    EXPECT_EQ(model.statusText(1), QStringLiteral("Fuse 33"));
    EXPECT_EQ(model.statusText(2), QStringLiteral("WA00"));
    EXPECT_EQ(model.cursorSquareCode(), QStringLiteral("WA00"));
    EXPECT_EQ(model.statusText(3), QStringLiteral("Zoom  x 1"));

    ortolan::settings().setLanguage(QStringLiteral("Italiano"));
    model.ITALY_MouseMove(Qt::NoButton, g.worldPoint(32, 534700.0, 4523100.0));
    EXPECT_EQ(model.statusText(1), QStringLiteral("Fuso 32"));
    EXPECT_EQ(model.statusText(2), QStringLiteral("NL32"));
    EXPECT_EQ(model.currentZone(), 32);

    model.setButtonPressed(MapButton::Select, false);
    model.setSelectTool(false);
    model.ITALY_MouseMove(Qt::NoButton, g.worldPoint(32, 534700.0, 4523100.0));
    EXPECT_TRUE(model.statusText(1).isEmpty());
    EXPECT_TRUE(model.statusText(2).isEmpty());
}

TEST_F(MapModel, ClickCountsOnlyWithSquareSelection)
{
    model.ITALY_MouseMove(Qt::NoButton, QPointF(W / 3, H / 3));
    click(QPointF(W / 3, H / 3));
    ASSERT_TRUE(model.ITALY_Click().has_value());
    EXPECT_EQ(*model.ITALY_Click(), QPointF(W / 3, H / 3));
    choose(MapButton::ZoomIn);
    EXPECT_FALSE(model.selectToolOn());
    EXPECT_FALSE(model.ITALY_Click().has_value());
}

TEST_F(MapModel, FullExtentCommandRestoresSquareSelection)
{
    choose(MapButton::ZoomIn);
    click(centreClick(QPointF(W / 2, H / 2)));
    QSignalSpy buttons(&model, &MapViewModel::toolButtonStateChanged);
    model.fullExtent();
    EXPECT_EQ(model.zoomLevel(), 0);
    EXPECT_FALSE(model.anyToolActive());
    EXPECT_TRUE(model.selectToolOn());
    const auto changes = buttonChanges(buttons);
    EXPECT_NE(std::find(changes.begin(), changes.end(), std::make_pair(MapButton::Select, true)), changes.end());
    EXPECT_TRUE(released(buttons, MapButton::ZoomIn));
    EXPECT_FALSE(model.hScroll().enabled);
}

}  // namespace
