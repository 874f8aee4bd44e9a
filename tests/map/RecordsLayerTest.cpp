// The species records on the map: loading the squares of a taxon from a small
// fixture database, locating them, reporting bad codes, and drawing them as red
// dots over the background and the grid.
#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "map/BackgroundPicture.h"
#include "map/MapRenderer.h"
#include "map/RecordsLayer.h"
#include "map/MapTestSupport.h"
#include "support/FixtureDatabase.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using ortolan::map::BackgroundPicture;
using ortolan::map::MapRenderer;
using ortolan::map::RecordsLayer;
using ortolan::map::ZoneGeometry;

namespace {

const QString kCarabusOlympiae = QStringLiteral("044.00101.001.0");
const QString kCarabus = QStringLiteral("044.00101.");
// A species of the fixture whose records carry bad square codes.
const QString kBadCodes = QStringLiteral("044.00101.009.0");

class RecordsOnTheMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fixture = std::make_unique<ortolan::test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        fixture->insert("Specie", {{"codice_sp", "044.00101.009.0"}, {"nome_sp", "Carabus erraticus"},
                                   {"codice_gr", "044.001.001.001"}});
        for (const char *code : {"ug12", "", "ZZ99", "NF0", "UG13"})
            fixture->insert("Stazioni", {{"CODICE_SP", "044.00101.009.0"}, {"UTM", code}, {"LOC", "Test"}});
        connection = ortolan::data::Connection::open(fixture->path(), fixture->connectString());
        language = ortolan::settings().CurrentLanguage;
        ortolan::settings().setLanguage(QStringLiteral("Inglese"));
    }
    void TearDown() override { ortolan::settings().setLanguage(language); }

    QTemporaryDir dir;
    std::unique_ptr<ortolan::test::FixtureDatabase> fixture;
    std::unique_ptr<ortolan::data::Connection> connection;
    QString language;
};

QStringList codes(const RecordsLayer &layer)
{
    QStringList list;
    for (const auto &square : layer.squares())
        list << square.taxonCode + QStringLiteral(" ") + square.squareCode;
    return list;
}

TEST_F(RecordsOnTheMap, LoadsTheDistinctSquaresOfATaxonAndItsSubordinateTaxa)
{
    RecordsLayer layer;
    layer.load(*connection, kCarabusOlympiae);
    // Grouped by taxon and square: UG12 is listed for the species and its subspecies.
    EXPECT_EQ(codes(layer), (QStringList{QStringLiteral("044.00101.001.0 NF00"), QStringLiteral("044.00101.001.0 UG12"),
                                         QStringLiteral("044.00101.001.01 UG12"),
                                         QStringLiteral("044.00101.001.01 WA00")}));
    layer.load(*connection, kCarabus);
    EXPECT_EQ(layer.count(), 4 + 1 + 5);
    // A record without a square is not loaded.
    layer.load(*connection, QStringLiteral("037.00101.001.0"));
    EXPECT_EQ(codes(layer), QStringList{QStringLiteral("037.00101.001.0 NF00")});
    // A taxon without records leaves no rows.
    layer.load(*connection, QStringLiteral("001.00102.001.0"));
    EXPECT_EQ(layer.count(), 0);
}

TEST_F(RecordsOnTheMap, LoadsThroughTheSettingsDatabase)
{
    ortolan::settings().DatabasePath = fixture->path();
    ortolan::settings().DatabasePassword = ortolan::test::FixtureDatabase::password();
    RecordsLayer layer;
    layer.load(kCarabusOlympiae);
    EXPECT_EQ(layer.count(), 4);
    ortolan::settings().DatabasePath = dir.filePath(QStringLiteral("missing.mde"));
    EXPECT_THROW(layer.load(kCarabusOlympiae), ortolan::data::DataError);
}

TEST_F(RecordsOnTheMap, BadSquareCodesGiveOneMessagePerRow)
{
    RecordsLayer layer;
    layer.load(*connection, kBadCodes);
    ASSERT_EQ(layer.count(), 5);
    const ZoneGeometry geometry(8000.0 * 110.0 / 146.0, 8000.0);
    QStringList messages = layer.locate(geometry);
    messages.sort();
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Data error: "), QStringLiteral("Data error: NF0"),
                                     QStringLiteral("Data error: ZZ99"), QStringLiteral("Data error: ug12")}));
    int located = 0;
    for (const auto &square : layer.squares()) {
        EXPECT_EQ(square.located, square.squareCode == QStringLiteral("UG13")) << square.squareCode.toStdString();
        located += square.located;
    }
    EXPECT_EQ(located, 1);

    ortolan::settings().setLanguage(QStringLiteral("Italiano"));
    EXPECT_TRUE(layer.locate(geometry).contains(QStringLiteral("Errore nei dati: ZZ99")));
    // No geometry, no messages: nothing can be located.
    EXPECT_TRUE(layer.locate(ZoneGeometry(0.0, 0.0)).isEmpty());
}

TEST(RecordsLayer, DotsCoverHalfASquareLessATouch)
{
    const ZoneGeometry geometry(1000.0 * 110.0 / 146.0, 1000.0);
    const double radius = RecordsLayer::dotRadius(geometry);
    EXPECT_DOUBLE_EQ(radius, geometry.hundredKm() / 20.0 - 0.3);

    RecordsLayer layer;
    layer.setRows({{QStringLiteral("a"), QStringLiteral("UG12")}, {QStringLiteral("b"), QStringLiteral("UG12")},
                   {QStringLiteral("a"), QStringLiteral("UG13")}, {QStringLiteral("a"), QStringLiteral("XX00")}});
    EXPECT_EQ(layer.locate(geometry).size(), 1);
    const QPointF centre = geometry.locate(u"UG12")->centre;
    EXPECT_EQ(layer.dotsAt(centre, radius), QStringList{QStringLiteral("UG12")});
    EXPECT_EQ(layer.dotsAt(centre + QPointF(radius * 0.99, 0.0), radius), QStringList{QStringLiteral("UG12")});
    EXPECT_TRUE(layer.dotsAt(centre + QPointF(0.0, radius * 1.05), radius).isEmpty());
    EXPECT_EQ(layer.dotsAt(centre + QPointF(0.0, radius * 1.05), radius, radius * 0.1).size(), 1);
    // Between the two neighbouring squares' dots.
    const QPointF next = geometry.locate(u"UG13")->centre;
    EXPECT_TRUE(layer.dotsAt((centre + next) / 2.0, radius).isEmpty());
}

// --- Drawing -----------------------------------------------------------------------------------

class RenderedMap : public RecordsOnTheMap {
protected:
    void SetUp() override
    {
        RecordsOnTheMap::SetUp();
        renderer.setBackground(BackgroundPicture(ortolan::metafile::MetafilePicture::fromData(ortolan::test::smallMapWmf())));
        ASSERT_FALSE(renderer.background().isNull());
        renderer.setGeometry(geometry);
        layer.load(*connection, kCarabus);
        layer.locate(geometry);
        renderer.setDots(layer);
    }
    QImage render(const MapRenderer::View &view, QSize size = QSize(kW, kH))
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        renderer.render(painter, QRectF(QPointF(0, 0), QSizeF(size)), view);
        return image;
    }
    static constexpr int kW = 551;
    static constexpr int kH = 731;
    const ZoneGeometry geometry{double(kW), double(kH)};
    RecordsLayer layer;
    MapRenderer renderer;
};

bool isDotRed(const QColor &c) { return c == QColor(255, 0, 0); }

TEST_F(RenderedMap, EachSquareCentreIsRedAndTheSeaIsNot)
{
    const MapRenderer::View view{QSizeF(kW, kH), QRectF(0, 0, kW, kH), true, false};
    const QImage image = render(view);
    // The genus has four distinct squares with good codes: NF00, UG12, WA00 and UG13.
    EXPECT_EQ(renderer.dots().size(), 4u);
    for (const auto &square : layer.squares()) {
        if (!square.located)
            continue;
        const QPoint p = square.centre.toPoint();
        EXPECT_TRUE(isDotRed(image.pixelColor(p))) << square.squareCode.toStdString();
    }
    // Far from any dot: background colours only (the top-left corner is sea).
    const QColor corner = image.pixelColor(3, 3);
    EXPECT_FALSE(isDotRed(corner));
    EXPECT_EQ(corner, ortolan::test::TestSea);
    // The outline of a dot is dark, near its radius.
    const QPointF c = geometry.locate(u"UG12")->centre;
    int darkest = 3 * 255;
    for (double d = renderer.dotRadius() - 1.0; d <= renderer.dotRadius() + 1.0; d += 0.25) {
        const QColor rim = image.pixelColor((c + QPointF(d, 0.0)).toPoint());
        darkest = std::min(darkest, rim.red() + rim.green() + rim.blue());
    }
    EXPECT_LT(darkest, 3 * 128);
}

TEST_F(RenderedMap, GridLinesAreDrawnOnlyWhenTheGridIsOn)
{
    // A point on the 12° E boundary, away from dots.
    const QPointF on(geometry.boundaryX(12, 50.0), 50.0);
    MapRenderer::View view{QSizeF(kW, kH), QRectF(0, 0, kW, kH), true, false};
    const QColor withGrid = render(view).pixelColor(on.toPoint());
    view.grid = false;
    const QColor without = render(view).pixelColor(on.toPoint());
    EXPECT_NE(withGrid, without);
}

TEST_F(RenderedMap, ZoomedViewsMoveAndEnlargeTheDots)
{
    const QPointF c = geometry.locate(u"UG12")->centre;
    // Level 2: a quarter of the world in each direction, around the dot.
    const QRectF viewRect(c.x() - kW / 8.0, c.y() - kH / 8.0, kW / 4.0, kH / 4.0);
    const MapRenderer::View view{QSizeF(kW, kH), viewRect, false, false};
    const QImage image = render(view);
    const QTransform t = MapRenderer::worldToTarget(viewRect, QRectF(0, 0, kW, kH));
    const QPointF at = t.map(c);
    EXPECT_NEAR(at.x(), kW / 2.0, 1e-9);
    // Four times larger: a point at 3 radii of the old size is still on the dot.
    EXPECT_TRUE(isDotRed(image.pixelColor(at.toPoint())));
    EXPECT_TRUE(isDotRed(image.pixelColor((at + QPointF(renderer.dotRadius() * 3.0, 0)).toPoint())));
    EXPECT_FALSE(isDotRed(image.pixelColor((at + QPointF(renderer.dotRadius() * 4.5, 0)).toPoint())));
}

TEST_F(RenderedMap, AreaViewsGetAFrame)
{
    MapRenderer::View view{QSizeF(kW, kH), QRectF(100, 100, 200, 200), false, true};
    QImage image = render(view, QSize(300, 300));
    EXPECT_EQ(image.pixelColor(0, 150), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(299, 150), QColor(Qt::black));
    view.areaFrame = false;
    image = render(view, QSize(300, 300));
    EXPECT_NE(image.pixelColor(0, 150), QColor(Qt::black));
}

TEST_F(RenderedMap, NoGeometryDrawsWhitePaper)
{
    const QImage image = render(MapRenderer::View{QSizeF(), QRectF(), true, false});
    EXPECT_EQ(image.pixelColor(kW / 2, kH / 2), QColor(Qt::white));
}

// --- Background ----------------------------------------------------------------------------------

TEST(BackgroundPicture, DrawingFromPiecesMatchesThePlayer)
{
    const auto picture = ortolan::metafile::MetafilePicture::fromData(ortolan::test::smallMapWmf());
    const BackgroundPicture background(picture);
    // The coast of 400 points, closed: 400 segments in runs of 40.
    ASSERT_EQ(background.splitCounts().outlineRuns, 10);
    ASSERT_GT(background.splitCounts().fillPieces, 16);
    EXPECT_NEAR(background.naturalSizeTwips().width(), 110.0 / 25.4 * 1440.0, 1e-6);
    EXPECT_NEAR(background.naturalSizeTwips().height(), 146.0 / 25.4 * 1440.0, 1e-6);
    // The whole picture and an enlarged corner of it, drawn both ways.
    for (const QRectF &source : {QRectF(0, 0, 11000, 14600), QRectF(5000, 2000, 1375, 1825)}) {
        const QImage fast = background.image(QSize(300, 398), source);
        const QImage played = picture.toImage(QSize(300, 398), source);
        ASSERT_EQ(fast.size(), played.size());
        long difference = 0;
        for (int y = 0; y < fast.height(); ++y)
            for (int x = 0; x < fast.width(); ++x) {
                const QColor a = fast.pixelColor(x, y);
                const QColor b = played.pixelColor(x, y);
                difference += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            }
        EXPECT_LT(double(difference) / (fast.width() * fast.height()), 1.0);
    }
}

TEST(BackgroundPicture, RepeatedViewsComeFromTheCache)
{
    const BackgroundPicture background(ortolan::metafile::MetafilePicture::fromData(ortolan::test::smallMapWmf()));
    const QRectF source(1000, 1000, 5000, 6000);
    const QImage first = background.image(QSize(200, 240), source);
    EXPECT_EQ(background.image(QSize(200, 240), source).cacheKey(), first.cacheKey());
    EXPECT_NE(background.image(QSize(201, 240), source).cacheKey(), first.cacheKey());
    EXPECT_TRUE(BackgroundPicture().image(QSize(10, 10), source).isNull());
    QString error;
    EXPECT_TRUE(BackgroundPicture::load(QStringLiteral("/nonexistent/ItaliaNEW.wmf"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(BackgroundPicture, AnImageStillHeldIsNeverDrawnOver)
{
    // The cache draws new views over the pixels of its oldest image, but only
    // when nobody else holds that image any more.
    const BackgroundPicture background(ortolan::metafile::MetafilePicture::fromData(ortolan::test::smallMapWmf()));
    const QSize pixels(120, 160);
    const QImage held = background.image(pixels, QRectF(0, 0, 11000, 14600));
    const QImage before = held.copy();
    for (int k = 1; k <= 6; ++k)
        background.image(pixels, QRectF(500 * k, 700 * k, 3000, 4000));
    EXPECT_EQ(held, before);
    // A view drawn over a reused image is the view, not a mix with the old one.
    const QRectF corner(0, 0, 2000, 2600);
    const QImage reused = background.image(pixels, corner).copy();
    const BackgroundPicture fresh(ortolan::metafile::MetafilePicture::fromData(ortolan::test::smallMapWmf()));
    EXPECT_EQ(reused, fresh.image(pixels, corner));
}

TEST(DotOutline, StaysWithinATenthOfAPixelOfTheCircle)
{
    for (const double r : {0.5, 2.0, 4.7, 12.0, 60.0, 300.0}) {
        const QPolygonF dot = MapRenderer::dotOutline(r, r);
        ASSERT_GE(dot.size(), 8) << r;
        for (qsizetype i = 0; i < dot.size(); ++i) {
            // Corners on the circle, and the middle of each side no more than
            // a tenth of a pixel inside it.
            EXPECT_NEAR(std::hypot(dot[i].x(), dot[i].y()), r, 1e-9);
            const QPointF mid = (dot[i] + dot[(i + 1) % dot.size()]) / 2.0;
            EXPECT_LE(r - std::hypot(mid.x(), mid.y()), 0.1 + 1e-9) << r;
        }
    }
    // Ellipses of a stretched view keep both radii.
    const QPolygonF ellipse = MapRenderer::dotOutline(3.0, 6.0);
    EXPECT_DOUBLE_EQ(ellipse.boundingRect().width(), 6.0);
    EXPECT_NEAR(ellipse.boundingRect().height(), 12.0, 1e-9);
}

}  // namespace
