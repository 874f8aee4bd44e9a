#include "PixelCheck.h"
#include "WmfBuilder.h"

#include "metafile/MetafilePicture.h"
#include "metafile/WmfReader.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan::metafile;
using namespace ortolan::metafile::test;
using namespace ortolan::metafile::wmf;

namespace {

constexpr quint32 Red = 0x0000FF;
constexpr quint32 Blue = 0xFF0000;

MetafilePicture load(const QByteArray &bytes)
{
    QString error;
    MetafilePicture p = MetafilePicture::fromData(bytes, &error);
    EXPECT_FALSE(p.isNull()) << error.toStdString();
    return p;
}

int countColoured(const QImage &image, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                ++n;
    return n;
}

}  // namespace

TEST(WmfHeader, PlaceableBoxAndUnitsGiveTheNaturalSize)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600);
    const QByteArray bytes = b.bytes();
    WmfHeader h;
    ASSERT_TRUE(WmfReader::readHeader(bytes, &h));
    EXPECT_TRUE(h.placeable);
    EXPECT_TRUE(h.checksumOk);
    EXPECT_EQ(h.unitsPerInch, 2540);
    EXPECT_EQ(h.boundingBox, QRect(QPoint(0, 0), QPoint(11000, 14600)));
    EXPECT_EQ(h.firstRecord, PlaceableHeaderSize + HeaderSize);

    const MetafilePicture p = load(bytes);
    EXPECT_EQ(p.format(), MetafilePicture::Format::PlaceableWmf);
    EXPECT_EQ(p.naturalRect(), QRectF(0, 0, 11000, 14600));
    EXPECT_DOUBLE_EQ(p.naturalSizeMm().width(), 110.0);
    EXPECT_DOUBLE_EQ(p.naturalSizeMm().height(), 146.0);
}

TEST(WmfHeader, PlainFileTakesItsFirstWindowAsFrame)
{
    WmfBuilder b(false);
    b.window(-500, 200, 4000, 3000).brush(0, Red).select(0).rectangle(0, 500, 1000, 1500);
    const MetafilePicture p = load(b.bytes());
    EXPECT_EQ(p.format(), MetafilePicture::Format::Wmf);
    EXPECT_EQ(p.naturalRect(), QRectF(-500, 200, 4000, 3000));
    EXPECT_EQ(p.unitsPerInch(), WmfReader::PlainUnitsPerInch);
}

TEST(WmfHeader, BadChecksumIsOnlyAWarning)
{
    QByteArray bytes = WmfBuilder().bytes();
    bytes[20] = char(bytes[20] ^ 0x55);
    const MetafilePicture p = load(bytes);
    EXPECT_TRUE(p.warnings().join(QLatin1Char(' ')).contains(QStringLiteral("checksum")));
}

TEST(WmfPlay, FilledRectangleLandsWhereItsUnitsSay)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, Red).select(0).pen(5, 0, 0).select(1).rectangle(1000, 1000, 5000, 3000);
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    EXPECT_TRUE(pixelIs(image, 300, 200, Qt::red));
    EXPECT_TRUE(pixelIs(image, 102, 102, Qt::red));
    EXPECT_TRUE(pixelIs(image, 97, 200, Qt::white));
    EXPECT_TRUE(pixelIs(image, 503, 200, Qt::white));
    EXPECT_TRUE(pixelIs(image, 300, 303, Qt::white));
    saveOnFailure(image, QStringLiteral("wmf-rectangle"));
}

TEST(WmfPlay, SourceRectangleZoomsOntoTheTarget)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, Red).select(0).pen(5, 0, 0).select(1);
    b.ellipse(1900, 1900, 2100, 2100).ellipse(5900, 7900, 6100, 8100);
    const MetafilePicture p = load(b.bytes());

    // Zoom x2 on the top-left quarter: picture (2000, 2000) -> pixel (400, 400).
    const QRectF quarter(0, 0, 5500, 7300);
    QImage image = p.toImage(QSize(1100, 1460), quarter);
    EXPECT_TRUE(pixelIs(image, 400, 400, Qt::red));
    EXPECT_TRUE(pixelIs(image, 430, 400, Qt::white));  // 150 units away, radius 100
    const QPointF mapped = MetafilePicture::pictureToTarget(quarter, QRectF(0, 0, 1100, 1460)).map(QPointF(2000, 2000));
    EXPECT_DOUBLE_EQ(mapped.x(), 400);
    EXPECT_DOUBLE_EQ(mapped.y(), 400);

    // The bottom-right quarter: picture (6000, 8000) -> pixel (100, 140); the
    // first ellipse is outside the source and must not be drawn.
    image = p.toImage(QSize(1100, 1460), QRectF(5500, 7300, 5500, 7300));
    EXPECT_TRUE(pixelIs(image, 100, 140, Qt::red));
    EXPECT_EQ(countColoured(image, image.rect()), countColoured(image, QRect(70, 110, 61, 61)));

    // A target that is not at the origin: drawing stays clipped to it.
    QImage framed(600, 600, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::white);
    QPainter painter(&framed);
    p.render(&painter, QRectF(100, 100, 200, 200), QRectF(1500, 1500, 1000, 1000));
    painter.end();
    EXPECT_TRUE(pixelIs(framed, 200, 200, Qt::red));  // centre of the source
    EXPECT_EQ(countColoured(framed, framed.rect()), countColoured(framed, QRect(100, 100, 200, 200)));
    saveOnFailure(framed, QStringLiteral("wmf-zoom"));
}

TEST(WmfPlay, WindowIsMappedOntoTheBoundingBox)
{
    // Logical window of 1100 x 1460 units at (100, 100) stretched over a box of
    // 11000 x 14600: logical (650, 830) is the centre of the picture.
    WmfBuilder b;
    b.window(100, 100, 1100, 1460).brush(0, Red).select(0).pen(5, 0, 0).select(1).ellipse(640, 820, 660, 840);
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    EXPECT_TRUE(pixelIs(image, 550, 730, Qt::red));
    EXPECT_TRUE(pixelIs(image, 550, 760, Qt::white));
}

TEST(WmfPlay, CreatedObjectsTakeTheLowestFreeSlot)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600);
    b.pen(5, 0, 0);          // slot 0
    b.brush(0, Red);         // slot 1
    b.select(0).remove(0);   // slot 0 free again (the pen stays selected)
    b.brush(0, Blue);        // slot 0
    b.select(0).rectangle(1000, 1000, 3000, 3000);
    b.select(1).rectangle(4000, 1000, 6000, 3000);
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    EXPECT_TRUE(pixelIs(image, 200, 200, Qt::blue));
    EXPECT_TRUE(pixelIs(image, 500, 200, Qt::red));
}

TEST(WmfPlay, PolygonFillModeDecidesTheStarCentre)
{
    const QPolygon star({QPoint(5500, 2000), QPoint(7500, 9000), QPoint(2000, 4500), QPoint(9000, 4500),
                         QPoint(3500, 9000)});
    for (const int mode : {1, 2}) {
        WmfBuilder b;
        b.window(0, 0, 11000, 14600).brush(0, Red).select(0).pen(5, 0, 0).select(1);
        b.record(META_SETPOLYFILLMODE, {mode}).polygon(star);
        const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
        const QColor centre = mode == 1 ? QColor(Qt::white) : QColor(Qt::red);
        EXPECT_TRUE(pixelIs(image, 550, 560, centre)) << "fill mode " << mode;
        EXPECT_TRUE(pixelIs(image, 550, 300, Qt::red)) << "fill mode " << mode;  // a point of the star
    }
}

TEST(WmfPlay, PenWidthsAreInPictureUnitsAndZeroIsOnePixel)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600);
    b.pen(0, 200, 0).select(0).polyline(QPolygon({QPoint(0, 5000), QPoint(11000, 5000)}));
    b.pen(0, 0, 0).select(1).polyline(QPolygon({QPoint(0, 10000), QPoint(11000, 10000)}));
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    EXPECT_TRUE(pixelIs(image, 550, 500, Qt::black));
    EXPECT_TRUE(pixelIs(image, 550, 508, Qt::black));  // 200 units = 20 pixels wide
    EXPECT_TRUE(pixelIs(image, 550, 513, Qt::white));
    const QColor thin = image.pixelColor(550, 1000).lightness() < image.pixelColor(550, 999).lightness()
                            ? image.pixelColor(550, 1000)
                            : image.pixelColor(550, 999);
    EXPECT_LT(thin.lightness(), 160);  // visible
    EXPECT_TRUE(pixelIs(image, 550, 1003, Qt::white));
    saveOnFailure(image, QStringLiteral("wmf-pens"));
}

TEST(WmfPlay, HatchAndNullBrushes)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).record(META_SETBKMODE, {1});
    b.brush(2, Blue, 4).select(0).pen(0, 0, 0).select(1).rectangle(1000, 1000, 5000, 5000);
    b.brush(1, 0).select(2).rectangle(6000, 1000, 10000, 5000);
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    const int inside = countColoured(image, QRect(110, 110, 280, 280));
    EXPECT_GT(inside, 280 * 280 / 10);  // cross hatch lines
    EXPECT_LT(inside, 280 * 280 / 2);   // with gaps left as they were
    EXPECT_EQ(countColoured(image, QRect(610, 110, 380, 380)), 0);  // null brush: only the outline
    EXPECT_TRUE(pixelIs(image, 600, 300, Qt::black, 130));  // one pixel wide, antialiased
}

TEST(WmfPlay, RestoreDCBringsBackTheSelectedBrush)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, Red).brush(0, Blue).pen(5, 0, 0).select(2);
    b.select(0).record(META_SAVEDC, {}).select(1).record(META_RESTOREDC, {-1}).rectangle(1000, 1000, 3000, 3000);
    const QImage image = load(b.bytes()).toImage(QSize(1100, 1460));
    EXPECT_TRUE(pixelIs(image, 200, 200, Qt::red));
}

TEST(WmfPlay, UnknownRecordsAreSkippedWithAWarning)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).record(0x0999, {1, 2, 3, 4}).brush(0, Red).select(0).rectangle(1000, 1000, 3000, 3000);
    const MetafilePicture p = load(b.bytes());
    EXPECT_TRUE(p.warnings().join(QLatin1Char(' ')).contains(QStringLiteral("0x0999")));
    EXPECT_TRUE(pixelIs(p.toImage(QSize(1100, 1460)), 200, 200, Qt::red));
}

TEST(WmfPlay, TextIsDrawnBelowAndRightOfItsTopLeftPoint)
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).record(META_SETBKMODE, {1}).font(-600, "Arial").select(0);
    b.textOut(2000, 3000, "HHHH");
    const MetafilePicture p = load(b.bytes());
    const QImage image = p.toImage(QSize(1100, 1460));
    // Cap height of a 60-pixel font is about 43 pixels; four H are about 170 wide.
    EXPECT_GT(countColoured(image, QRect(200, 300, 200, 60)), 500);
    EXPECT_EQ(countColoured(image, QRect(0, 0, 1100, 295)), 0);
    EXPECT_EQ(countColoured(image, QRect(0, 0, 195, 1460)), 0);
    EXPECT_EQ(countColoured(image, QRect(420, 0, 680, 1460)), 0);
    saveOnFailure(image, QStringLiteral("wmf-text"));
}

TEST(WmfLoad, AFileLoadedAgainUnchangedIsNotReadAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.wmf"));
    auto write = [&](const QByteArray &bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    WmfBuilder small;
    small.window(0, 0, 11000, 14600);
    write(small.bytes());
    const MetafilePicture first = MetafilePicture::load(path);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(MetafilePicture::load(path).id(), first.id());

    WmfBuilder other(true, QRect(QPoint(0, 0), QPoint(4101, 5428)), 1000);
    other.window(0, 0, 4101, 5428).rectangle(0, 0, 10, 10);
    write(other.bytes());  // another size: read again
    const MetafilePicture second = MetafilePicture::load(path);
    EXPECT_NE(second.id(), first.id());
    EXPECT_EQ(second.naturalRect(), QRectF(0, 0, 4101, 5428));

    QString error;
    EXPECT_TRUE(MetafilePicture::load(dir.filePath(QStringLiteral("none.wmf")), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("none.wmf")));
}
