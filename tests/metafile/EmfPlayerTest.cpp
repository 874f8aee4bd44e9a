#include "PixelCheck.h"
#include "WmfBuilder.h"

#include "metafile/EmfReader.h"
#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace ortolan::metafile;
using namespace ortolan::metafile::test;

namespace {

// 254 dpi on a 100 x 100 mm surface: one device pixel is 0.1 mm, and rendering
// the frame into a 1000 x 1000 image makes image pixels device pixels.
EmfWriter page()
{
    return EmfWriter(EmfReferenceDevice::forPage(254, 254, QSizeF(100, 100)), QRect(QPoint(0, 0), QPoint(10000, 10000)));
}

QImage play(EmfWriter &w, const QString &name, QSize size = QSize(1000, 1000))
{
    QString error;
    const MetafilePicture p = EmfReader::read(w.finish(), &error);
    EXPECT_FALSE(p.isNull()) << error.toStdString();
    EXPECT_EQ(p.naturalRect().size(), QSizeF(size) * 10);  // the frame in 0.01 mm
    const QImage image = p.toImage(size);
    if (::testing::Test::HasFailure())
        image.save(QStringLiteral("failed-") + name + QStringLiteral(".png"));
    return image;
}

int countMatching(const QImage &image, const QRect &area, const std::function<bool(QColor)> &test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                ++n;
    return n;
}

bool dark(QColor c) { return c.lightness() < 128; }

}  // namespace

TEST(EmfPlay, ShapesFillAndOutline)
{
    EmfWriter w = page();
    w.selectObject(w.createPen(PenStyle::Solid, 10, rgb(0, 0, 0)));
    w.selectObject(w.createSolidBrush(rgb(255, 0, 0)));
    w.rectangle(QRect(QPoint(100, 100), QPoint(300, 200)));
    w.ellipse(QRect(QPoint(400, 100), QPoint(600, 300)));
    w.roundRect(QRect(QPoint(100, 400), QPoint(300, 600)), QSize(100, 100));
    const QImage image = play(w, QStringLiteral("emf-shapes"));
    EXPECT_TRUE(pixelIs(image, 200, 150, Qt::red));
    EXPECT_TRUE(pixelIs(image, 100, 150, Qt::black));  // outline centred on the edge
    EXPECT_TRUE(pixelIs(image, 500, 200, Qt::red));
    EXPECT_TRUE(pixelIs(image, 415, 115, Qt::white));  // corner of the ellipse's box
    EXPECT_TRUE(pixelIs(image, 200, 500, Qt::red));
    EXPECT_TRUE(pixelIs(image, 108, 408, Qt::white));  // rounded corner
}

TEST(EmfPlay, ArcChordAndPieFollowTheRadialPointsCounterClockwise)
{
    EmfWriter w = page();
    w.selectObject(w.createSolidBrush(rgb(0, 0, 255)));
    w.selectStockObject(StockObject::NullPen);
    // From the right (0 degrees) counter-clockwise to the top (90 degrees).
    w.pie(QRect(QPoint(300, 300), QPoint(700, 700)), QPoint(700, 500), QPoint(500, 300));
    w.chord(QRect(QPoint(100, 750), QPoint(300, 950)), QPoint(100, 850), QPoint(300, 850));  // lower half
    const QImage image = play(w, QStringLiteral("emf-pie"));
    EXPECT_TRUE(pixelIs(image, 600, 400, Qt::blue));
    EXPECT_TRUE(pixelIs(image, 400, 400, Qt::white));
    EXPECT_TRUE(pixelIs(image, 600, 600, Qt::white));
    EXPECT_TRUE(pixelIs(image, 200, 900, Qt::blue));
    EXPECT_TRUE(pixelIs(image, 200, 800, Qt::white));
}

TEST(EmfPlay, HatchBrushDrawsLinesAndLeavesGapsWhenTransparent)
{
    EmfWriter w = page();
    w.setBkMode(BkMode::Transparent);
    w.selectStockObject(StockObject::NullPen);
    w.selectObject(w.createHatchBrush(HatchStyle::Horizontal, rgb(0, 0, 255)));
    w.rectangle(QRect(QPoint(100, 100), QPoint(400, 400)));
    w.setBkMode(BkMode::Opaque);
    w.setBkColor(rgb(255, 255, 0));
    w.rectangle(QRect(QPoint(500, 100), QPoint(800, 400)));
    const QImage image = play(w, QStringLiteral("emf-hatch"));
    const int blue = countMatching(image, QRect(150, 150, 200, 200), [](QColor c) { return c.blue() > 200 && c.red() < 80; });
    const int white = countMatching(image, QRect(150, 150, 200, 200), [](QColor c) { return c == QColor(Qt::white); });
    EXPECT_GT(blue, 2000);
    EXPECT_GT(white, 20000);
    // Horizontal lines: a whole row is blue or a whole row is not.
    for (int y = 150; y < 170; ++y) {
        const bool first = image.pixelColor(150, y).blue() > 200 && image.pixelColor(150, y).red() < 80;
        for (int x = 151; x < 350; x += 37)
            EXPECT_EQ(first, image.pixelColor(x, y).blue() > 200 && image.pixelColor(x, y).red() < 80) << x << "," << y;
    }
    // Opaque background fills the gaps with the background colour.
    const int yellow = countMatching(image, QRect(550, 150, 200, 200), [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; });
    EXPECT_GT(yellow, 20000);
}

TEST(EmfPlay, MaskPenAndsThePenWithWhatLiesBeneath)
{
    EmfWriter w = page();
    w.selectStockObject(StockObject::NullPen);
    w.selectObject(w.createSolidBrush(rgb(0, 0, 255)));
    w.rectangle(QRect(QPoint(0, 0), QPoint(500, 1000)));  // left half blue
    w.selectStockObject(StockObject::WhiteBrush);
    w.selectObject(w.createPen(PenStyle::Solid, 20, rgb(255, 0, 255)));
    w.setRop2(Rop2::MaskPen);
    w.ellipse(QRect(QPoint(200, 200), QPoint(800, 800)));
    w.setRop2(Rop2::CopyPen);
    const QImage image = play(w, QStringLiteral("emf-maskpen"));
    EXPECT_TRUE(pixelIs(image, 200, 500, QColor(0, 0, 255)));    // magenta AND blue = blue
    EXPECT_TRUE(pixelIs(image, 800, 500, QColor(255, 0, 255)));  // magenta AND white = magenta
    EXPECT_TRUE(pixelIs(image, 400, 500, QColor(0, 0, 255)));    // white brush AND blue: unchanged
    EXPECT_TRUE(pixelIs(image, 600, 500, Qt::white));            // white brush AND white: unchanged
}

TEST(EmfPlay, ClipRegionsLimitDrawingUntilRestored)
{
    EmfWriter w = page();
    w.selectStockObject(StockObject::NullPen);
    w.selectObject(w.createSolidBrush(rgb(0, 160, 0)));
    w.saveDC();
    w.selectClipRegion(EmfRegion::ellipse(QRect(100, 100, 400, 400)), RegionMode::And);
    w.rectangle(QRect(QPoint(0, 0), QPoint(1000, 500)));
    w.restoreDC(-1);
    w.rectangle(QRect(QPoint(0, 600), QPoint(1000, 700)));  // after the restore: unclipped
    w.saveDC();
    w.selectClipRegion(EmfRegion::polygon(QPolygon({QPoint(600, 100), QPoint(900, 100), QPoint(600, 400)})), RegionMode::Copy);
    w.intersectClipRect(QRect(QPoint(0, 0), QPoint(700, 1000)));
    w.rectangle(QRect(QPoint(500, 0), QPoint(1000, 500)));
    w.restoreDC(-1);
    w.saveDC();
    w.beginPath();
    w.ellipse(QRect(QPoint(100, 750), QPoint(300, 950)));
    w.endPath();
    w.selectClipPath(RegionMode::And);
    w.rectangle(QRect(QPoint(0, 720), QPoint(1000, 1000)));
    w.restoreDC(-1);
    const QImage image = play(w, QStringLiteral("emf-clip"));
    const QColor green(0, 160, 0);
    EXPECT_TRUE(pixelIs(image, 300, 300, green));
    EXPECT_TRUE(pixelIs(image, 120, 120, Qt::white));  // inside the box, outside the ellipse
    EXPECT_TRUE(pixelIs(image, 700, 30, Qt::white));
    EXPECT_TRUE(pixelIs(image, 950, 650, green));
    EXPECT_TRUE(pixelIs(image, 650, 150, green));
    EXPECT_TRUE(pixelIs(image, 750, 150, Qt::white));  // in the triangle, cut by the rectangle
    EXPECT_TRUE(pixelIs(image, 620, 300, green));
    EXPECT_TRUE(pixelIs(image, 200, 850, green));
    EXPECT_TRUE(pixelIs(image, 110, 760, Qt::white));
    EXPECT_TRUE(pixelIs(image, 500, 850, Qt::white));
}

TEST(EmfPlay, MappingModesAndWorldTransforms)
{
    EmfWriter w = page();
    w.selectStockObject(StockObject::NullPen);
    w.selectObject(w.createSolidBrush(rgb(255, 0, 0)));
    w.saveDC();
    w.setMapMode(MapMode::LoMetric);  // 0.1 mm = 1 pixel here, y upwards
    w.setViewportOrg(QPoint(0, 1000));
    w.rectangle(QRect(QPoint(100, 100), QPoint(200, 200)));  // device y 800..900
    w.restoreDC(-1);
    w.setWorldTransform(QTransform::fromScale(2, 2) * QTransform::fromTranslate(300, 0));
    w.rectangle(QRect(QPoint(100, 100), QPoint(150, 150)));  // device 500..600, 200..300
    w.modifyWorldTransform(QTransform(), ModifyWorldTransformMode::Identity);
    w.setMapMode(MapMode::Anisotropic);
    w.setWindowExt(QSize(100, 100));
    w.setViewportExt(QSize(1000, 1000));
    w.ellipse(QRect(QPoint(40, 40), QPoint(60, 60)));  // device 400..600
    const QImage image = play(w, QStringLiteral("emf-mapping"));
    EXPECT_TRUE(pixelIs(image, 150, 850, Qt::red));
    EXPECT_TRUE(pixelIs(image, 150, 150, Qt::white));
    EXPECT_TRUE(pixelIs(image, 550, 250, Qt::red));
    EXPECT_TRUE(pixelIs(image, 450, 250, Qt::white));
    EXPECT_TRUE(pixelIs(image, 500, 500, Qt::red));
    EXPECT_TRUE(pixelIs(image, 500, 380, Qt::white));
}

TEST(EmfPlay, PathsAndBeziersFillAndStroke)
{
    EmfWriter w = page();
    w.selectObject(w.createSolidBrush(rgb(255, 0, 0)));
    w.selectObject(w.createPen(PenStyle::Solid, 8, rgb(0, 0, 0)));
    w.beginPath();
    w.moveTo(QPoint(100, 400));
    w.lineTo(QPoint(300, 100));
    w.lineTo(QPoint(500, 400));
    w.closeFigure();
    w.endPath();
    w.strokeAndFillPath();
    w.polyBezier(QPolygon({QPoint(600, 500), QPoint(600, 300), QPoint(900, 300), QPoint(900, 500)}));
    const QImage image = play(w, QStringLiteral("emf-path"));
    EXPECT_TRUE(pixelIs(image, 300, 300, Qt::red));
    EXPECT_TRUE(pixelIs(image, 300, 400, Qt::black));
    EXPECT_TRUE(pixelIs(image, 120, 120, Qt::white));
    // The Bezier's top lies at y = 500 - 0.75 * 200 = 350 in the middle.
    EXPECT_TRUE(pixelIs(image, 750, 350, Qt::black));
    EXPECT_TRUE(pixelIs(image, 750, 400, Qt::white));  // stroked only
}

TEST(EmfPlay, TextSitsAtItsReferencePointAndTurnsWithItsEscapement)
{
    EmfWriter w = page();
    w.setBkMode(BkMode::Transparent);
    LogFont f;
    f.height = -50;
    f.faceName = QStringLiteral("Arial");
    const auto flat = w.createFont(f);
    f.escapement = f.orientation = 900;
    const auto up = w.createFont(f);
    w.selectObject(flat);
    w.textOut(QPoint(100, 100), QStringLiteral("HHHHHH"));
    w.selectObject(up);
    w.setTextAlign(TextAlign::Baseline);
    w.textOut(QPoint(500, 900), QStringLiteral("HHHHHH"));
    const QImage image = play(w, QStringLiteral("emf-text"));
    const qint64 width = [&] {
        qint64 s = 0;
        for (const qint32 a : w.advancesFor(f, QStringLiteral("HHHHHH")))
            s += a;
        return s;
    }();
    // Horizontal run: from x = 100 for `width` pixels, below y = 100.
    EXPECT_GT(countMatching(image, QRect(100, 100, int(width), 50), dark), 1000);
    EXPECT_EQ(countMatching(image, QRect(0, 0, 1000, 97), dark), 0);
    EXPECT_EQ(countMatching(image, QRect(int(100 + width + 5), 80, 300, 80), dark), 0);
    // Turned 90 degrees counter-clockwise: runs upwards from (500, 900), glyphs left of x = 500.
    EXPECT_GT(countMatching(image, QRect(455, int(900 - width), 45, int(width)), dark), 1000);
    EXPECT_EQ(countMatching(image, QRect(505, 500, 100, 500), dark), 0);
    EXPECT_EQ(countMatching(image, QRect(400, 905, 200, 95), dark), 0);
}

TEST(EmfPlay, BitmapsStretchIntoTheirRectangle)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    EmfWriter w = page();
    w.stretchDIBits(QRect(100, 100, 200, 200), image);
    const QImage out = play(w, QStringLiteral("emf-dib"));
    EXPECT_TRUE(pixelIs(out, 130, 130, Qt::red));
    EXPECT_TRUE(pixelIs(out, 270, 130, Qt::green));
    EXPECT_TRUE(pixelIs(out, 130, 270, Qt::blue));
    EXPECT_TRUE(pixelIs(out, 90, 90, Qt::white));
}

TEST(EmfPlay, WrappedTextBoxAlignsEveryLine)
{
    EmfWriter w = page();
    w.setBkMode(BkMode::Transparent);
    LogFont f;
    f.height = -40;
    f.faceName = QStringLiteral("Arial");
    w.selectObject(w.createFont(f));
    const QRect box(QPoint(100, 100), QPoint(500, 600));
    const QString text = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa");
    const int height = w.drawText(box, text, DrawTextFlag::Center | DrawTextFlag::WordBreak);
    EXPECT_GT(height, 2 * 40);  // wrapped onto several lines
    w.drawText(QRect(QPoint(600, 100), QPoint(900, 900)), QStringLiteral("right"), DrawTextFlag::Right | DrawTextFlag::Bottom);
    const QImage image = play(w, QStringLiteral("emf-textbox"));
    // Every line is centred: the ink leaves margins of about the same size on both sides.
    int lines = 0;
    for (int y = 100; y + 46 <= 100 + height; y += 46) {
        const QRect band(100, y + 5, 401, 30);
        int left = 1000, right = -1;
        for (int yy = band.top(); yy <= band.bottom(); ++yy)
            for (int x = band.left(); x <= band.right(); ++x)
                if (dark(image.pixelColor(x, yy)))
                    left = std::min(left, x), right = std::max(right, x);
        if (right < 0)
            continue;
        ++lines;
        EXPECT_NEAR(left - 100, 500 - right, 12) << "line at " << y;
    }
    EXPECT_GE(lines, 2);
    EXPECT_EQ(countMatching(image, QRect(0, 610, 600, 390), dark), 0);  // nothing below the box text
    // Right and bottom aligned: ink ends at the box's right edge, near its bottom.
    EXPECT_GT(countMatching(image, QRect(800, 850, 100, 50), dark), 100);
    EXPECT_EQ(countMatching(image, QRect(600, 100, 300, 700), dark), 0);
}

TEST(EmfPlay, EmbeddedPictureRendersLikeTheOriginal)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, 0x0000FF).select(0).pen(0, 100, 0xFF0000).select(1);
    b.rectangle(1000, 1000, 5000, 4000).ellipse(6000, 8000, 10000, 13000);
    b.record(ortolan::metafile::wmf::META_SETBKMODE, {1}).font(-800, "Arial").select(2).textOut(1000, 5000, "Map");
    const MetafilePicture wmf = MetafilePicture::fromData(b.bytes());
    ASSERT_FALSE(wmf.isNull());

    // The 110 x 146 mm picture at natural size at (20 mm, 10 mm) of a page at 254 dpi.
    EmfWriter w(EmfReferenceDevice::forPage(254, 254, QSizeF(200, 200)), QRect(QPoint(0, 0), QPoint(20000, 20000)));
    w.drawPicture(wmf, QRect(200, 100, 1100, 1460));
    w.rectangle(QRect(QPoint(1500, 1500), QPoint(1600, 1600)));  // the caller's state is back afterwards
    const QImage viaEmf = play(w, QStringLiteral("emf-embedded"), QSize(2000, 2000));

    QImage direct(2000, 2000, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::white);
    QPainter painter(&direct);
    wmf.render(&painter, QRectF(200, 100, 1100, 1460));
    painter.end();
    int differing = 0;
    for (int y = 0; y < 1500; y += 3)
        for (int x = 0; x < 1500; x += 3)
            if (!pixelIs(viaEmf, x, y, direct.pixelColor(x, y), 60))
                ++differing;
    EXPECT_LT(differing, 500 * 500 / 200);  // edges may differ by a pixel
    EXPECT_TRUE(pixelIs(viaEmf, 200 + 300, 100 + 250, Qt::red));
    EXPECT_TRUE(pixelIs(viaEmf, 200 + 100, 100 + 250, Qt::blue));  // the thick blue outline
    EXPECT_TRUE(pixelIs(viaEmf, 1550, 1550, Qt::white));           // default white brush again
    EXPECT_TRUE(pixelIs(viaEmf, 1500, 1550, Qt::black, 130));      // default black pen again (1 px, antialiased)
    saveOnFailure(direct, QStringLiteral("emf-embedded-direct"));
}

// Regression: the font rasteriser crashed on glyphs thousands of pixels wide and
// two pixels tall (a damaged file, or an anisotropic mapping stretching text).
TEST(EmfPlay, SquashedTextIsDrawnAsOutlines)
{
    EmfWriter w = page();
    w.setBkMode(BkMode::Transparent);
    w.setMapMode(MapMode::Anisotropic);
    w.setWindowExt(QSize(100, 1000));
    w.setViewportExt(QSize(1000, 20));  // x times 10, y divided by 50
    LogFont f;
    f.height = -400;
    f.faceName = QStringLiteral("Arial");
    w.selectObject(w.createFont(f));
    w.textOut(QPoint(0, 20000), QStringLiteral("HH"));  // device y = 400
    const QImage image = play(w, QStringLiteral("emf-squashed"));
    EXPECT_GT(countMatching(image, QRect(0, 398, 1000, 14), dark), 200);
    EXPECT_EQ(countMatching(image, QRect(0, 0, 1000, 390), dark), 0);
}

// Regression: a world transform that shears text flat (rows of equal length but
// nearly parallel) passed for ordinary text, and the font rasteriser failed on
// the glyphs it was then asked for, crashing the toolkit. The glyph extents now
// come from the transform's singular values; such text is filled as outlines.
TEST(EmfPlay, ShearedFlatTextIsDrawnAsOutlines)
{
    EmfWriter w = page();
    w.setBkMode(BkMode::Transparent);
    w.setGraphicsMode(GraphicsMode::Advanced);
    w.setWorldTransform(QTransform(1, 0, 1, 0.005, 0, 0));  // x' = x + y, y' = y / 200
    LogFont f;
    f.height = -600;
    f.faceName = QStringLiteral("Liberation Sans");
    w.selectObject(w.createFont(f));
    w.setTextAlign(TextAlign::Baseline);
    w.textOut(QPoint(-79900, 80000), QStringLiteral("HOW"));  // baseline at device (100, 400)
    QString error;
    const MetafilePicture p = EmfReader::read(w.finish(), &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    for (int size = 100; size <= 1000; size += 75)
        EXPECT_FALSE(p.toImage(QSize(size, size)).isNull()) << size;
    // The glyphs lie flat in the three pixel rows above the baseline.
    const QImage image = p.toImage(QSize(1000, 1000));
    EXPECT_GT(countMatching(image, QRect(0, 395, 1000, 6), dark), 50);
    EXPECT_EQ(countMatching(image, QRect(0, 0, 1000, 390), dark), 0);
    EXPECT_EQ(countMatching(image, QRect(0, 402, 1000, 598), dark), 0);
    saveOnFailure(image, QStringLiteral("emf-sheared-text"));
}
