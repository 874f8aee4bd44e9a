#include "WmfBuilder.h"

#include "metafile/Dib.h"
#include "metafile/EmfReader.h"
#include "metafile/EmfRecords.h"
#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>
#include <set>

using namespace ortolan::metafile;
using namespace ortolan::metafile::emf;

namespace {

EmfReferenceDevice a4() { return EmfReferenceDevice::forPage(600, 600, QSizeF(210, 297)); }

EmfDocument parsed(EmfWriter &w)
{
    EmfDocument doc;
    QString error;
    EXPECT_TRUE(EmfReader::parse(w.finish(), &doc, &error)) << error.toStdString();
    return doc;
}

// The records between header and EOF.
std::vector<EmfRecord> body(const EmfDocument &doc)
{
    if (doc.records.size() < 2)
        return {};
    return std::vector<EmfRecord>(doc.records.begin() + 1, doc.records.end() - 1);
}

QRect readRect(ByteReader &r)
{
    const qint32 l = r.i32(), t = r.i32(), rr = r.i32(), b = r.i32();
    return QRect(QPoint(l, t), QPoint(rr, b));
}

}  // namespace

TEST(EmfHeader, FieldsDescribeTheWrittenFile)
{
    EmfWriter w(a4(), QRect(QPoint(0, 0), QPoint(20000, 28000)), QStringLiteral("Ortolan"));
    w.rectangle(QRect(QPoint(100, 100), QPoint(500, 300)));
    const QByteArray bytes = w.finish();
    EmfDocument doc;
    ASSERT_TRUE(EmfReader::parse(bytes, &doc));
    const EmfHeader &h = doc.header;
    EXPECT_EQ(h.headerSize % 4, 0u);
    EXPECT_GE(h.headerSize, quint32(header::Size));
    EXPECT_EQ(h.frame, QRect(QPoint(0, 0), QPoint(20000, 28000)));
    EXPECT_EQ(h.bytes, quint32(bytes.size()));
    EXPECT_EQ(h.records, quint32(doc.records.size()));
    EXPECT_EQ(h.records, 3u);
    EXPECT_EQ(h.handles, 1);  // only the metafile itself
    EXPECT_EQ(h.description, QStringLiteral("Ortolan") + QChar(0) + QChar(0));
    EXPECT_EQ(h.devicePixels, QSize(4961, 7016));
    EXPECT_EQ(h.deviceMillimeters, QSize(210, 297));
    EXPECT_NEAR(h.deviceMicrometers.width(), 210000, 50);
    // The default pen is one pixel wide: bounds reach half a pixel beyond the box.
    EXPECT_EQ(h.bounds, QRect(QPoint(99, 99), QPoint(501, 301)));
    EXPECT_EQ(doc.records.back().type, quint32(EMR_EOF));
    EXPECT_EQ(doc.records.back().size, quint32(EofSize));
}

TEST(EmfHeader, BoundsFollowTheMappingAndStayEmptyWhenNothingIsDrawn)
{
    EmfWriter empty(a4(), QRect(0, 0, 1000, 1000));
    EXPECT_EQ(parsed(empty).header.bounds, QRect(QPoint(0, 0), QPoint(-1, -1)));

    EmfWriter w(EmfReferenceDevice::forPage(254, 254, QSizeF(100, 100)), QRect(QPoint(0, 0), QPoint(10000, 10000)));
    w.setMapMode(MapMode::LoMetric);  // 0.1 mm = one pixel at 254 dpi, y upwards
    w.setViewportOrg(QPoint(0, 1000));
    w.selectStockObject(StockObject::NullPen);
    w.rectangle(QRect(QPoint(100, 100), QPoint(300, 200)));
    EXPECT_EQ(parsed(w).header.bounds, QRect(QPoint(100, 800), QPoint(300, 900)));
}

TEST(EmfHeader, BoundsOfShapesBeyondAnyPageAreCutWithoutOverflow)
{
    // A bad report script can draw at the ends of the 32-bit range; the header
    // bounds are cut at +-(2^30 - 1) pixels instead of reaching INT_MIN, where
    // the bounds rectangle's own arithmetic would overflow.
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    w.rectangle(QRect(QPoint(std::numeric_limits<int>::min(), std::numeric_limits<int>::min()),
                      QPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::max())));
    const int limit = (1 << 30) - 1;
    EXPECT_EQ(w.bounds(), QRect(QPoint(-limit, -limit), QPoint(limit, limit)));
    EXPECT_EQ(parsed(w).header.bounds, QRect(QPoint(-limit, -limit), QPoint(limit, limit)));
}

TEST(EmfHeader, HandleCountIsTheTablesHighWaterMark)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    EXPECT_EQ(w.createPen(PenStyle::Solid, 1, 0), 1u);
    EXPECT_EQ(w.createSolidBrush(0), 2u);
    w.deleteObject(1);
    LogFont f;
    f.faceName = QStringLiteral("Arial");
    EXPECT_EQ(w.createFont(f), 1u);  // the lowest free index again
    EXPECT_EQ(w.createHatchBrush(HatchStyle::Cross, 0), 3u);
    EXPECT_EQ(parsed(w).header.handles, 4);
}

TEST(EmfWriterRoundTrip, ObjectRecords)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    w.createPen(PenStyle::DashDot, 7, rgb(1, 2, 3));
    w.createBrush(BrushStyle::Hatched, rgb(4, 5, 6), HatchStyle::DiagonalCross);
    LogFont f;
    f.height = -120;
    f.escapement = f.orientation = 450;
    f.weight = 700;
    f.italic = true;
    f.underline = true;
    f.faceName = QStringLiteral("Liberation Sans");
    w.createFont(f);
    w.selectStockObject(StockObject::NullPen);
    w.deleteObject(2);
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    ASSERT_EQ(recs.size(), 5u);

    ByteReader pen = doc.parameters(recs[0]);
    EXPECT_EQ(recs[0].type, quint32(EMR_CREATEPEN));
    EXPECT_EQ(pen.u32(), 1u);
    EXPECT_EQ(pen.u32(), quint32(PenStyle::DashDot));
    EXPECT_EQ(pen.i32(), 7);
    EXPECT_EQ(pen.i32(), 0);
    EXPECT_EQ(pen.u32(), rgb(1, 2, 3));

    ByteReader brush = doc.parameters(recs[1]);
    EXPECT_EQ(recs[1].type, quint32(EMR_CREATEBRUSHINDIRECT));
    EXPECT_EQ(brush.u32(), 2u);
    EXPECT_EQ(brush.u32(), quint32(BrushStyle::Hatched));
    EXPECT_EQ(brush.u32(), rgb(4, 5, 6));
    EXPECT_EQ(brush.u32(), quint32(HatchStyle::DiagonalCross));

    ByteReader font = doc.parameters(recs[2]);
    EXPECT_EQ(recs[2].type, quint32(EMR_EXTCREATEFONTINDIRECTW));
    EXPECT_EQ(recs[2].size, quint32(12 + LogFontSize));
    EXPECT_EQ(font.u32(), 3u);
    EXPECT_EQ(font.i32(), -120);
    EXPECT_EQ(font.i32(), 0);
    EXPECT_EQ(font.i32(), 450);
    EXPECT_EQ(font.i32(), 450);
    EXPECT_EQ(font.i32(), 700);
    EXPECT_EQ(font.u8(), 1);
    EXPECT_EQ(font.u8(), 1);
    EXPECT_EQ(font.u8(), 0);
    font.skip(5);
    EXPECT_EQ(font.utf16(15), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.u16(), 0);

    EXPECT_EQ(recs[3].type, quint32(EMR_SELECTOBJECT));
    EXPECT_EQ(doc.parameters(recs[3]).u32(), StockObjectFlag | quint32(StockObject::NullPen));
    EXPECT_EQ(recs[4].type, quint32(EMR_DELETEOBJECT));
    EXPECT_EQ(doc.parameters(recs[4]).u32(), 2u);
}

TEST(EmfWriterRoundTrip, StateRecords)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    w.setRop2(Rop2::MaskPen);
    w.setBkMode(BkMode::Transparent);
    w.setBkColor(rgb(10, 20, 30));
    w.setTextColor(rgb(40, 50, 60));
    w.setTextAlign(TextAlign::Center | TextAlign::Baseline);
    w.setPolyFillMode(PolyFillMode::Winding);
    w.setMapMode(MapMode::Anisotropic);
    w.setWindowExt(QSize(1000, -2000));
    w.setWindowOrg(QPoint(-5, 6));
    w.setViewportExt(QSize(300, 400));
    w.setViewportOrg(QPoint(7, -8));
    w.saveDC();
    w.restoreDC(-1);
    w.setWorldTransform(QTransform(1, 0.5, -0.5, 1, 10, 20));
    w.modifyWorldTransform(QTransform(), ModifyWorldTransformMode::Identity);
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    const std::vector<std::pair<quint32, std::vector<qint32>>> expected = {
        {EMR_SETROP2, {9}},
        {EMR_SETBKMODE, {1}},
        {EMR_SETBKCOLOR, {qint32(rgb(10, 20, 30))}},
        {EMR_SETTEXTCOLOR, {qint32(rgb(40, 50, 60))}},
        {EMR_SETTEXTALIGN, {30}},
        {EMR_SETPOLYFILLMODE, {2}},
        {EMR_SETMAPMODE, {8}},
        {EMR_SETWINDOWEXTEX, {1000, -2000}},
        {EMR_SETWINDOWORGEX, {-5, 6}},
        {EMR_SETVIEWPORTEXTEX, {300, 400}},
        {EMR_SETVIEWPORTORGEX, {7, -8}},
        {EMR_SAVEDC, {}},
        {EMR_RESTOREDC, {-1}},
    };
    ASSERT_EQ(recs.size(), expected.size() + 2);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recs[i].type, expected[i].first) << "record " << i;
        EXPECT_EQ(recs[i].size, 8 + 4 * expected[i].second.size()) << "record " << i;
        ByteReader r = doc.parameters(recs[i]);
        for (const qint32 v : expected[i].second)
            EXPECT_EQ(r.i32(), v) << "record " << i;
    }
    ByteReader xf = doc.parameters(recs[expected.size()]);
    EXPECT_EQ(recs[expected.size()].type, quint32(EMR_SETWORLDTRANSFORM));
    for (const float v : {1.f, 0.5f, -0.5f, 1.f, 10.f, 20.f})
        EXPECT_EQ(xf.f32(), v);
    ByteReader mod = doc.parameters(recs.back());
    EXPECT_EQ(recs.back().type, quint32(EMR_MODIFYWORLDTRANSFORM));
    mod.skip(24);
    EXPECT_EQ(mod.u32(), quint32(ModifyWorldTransformMode::Identity));
}

TEST(EmfWriterRoundTrip, ShapeRecords)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    const QRect box(QPoint(10, 20), QPoint(110, 220));
    w.moveTo(QPoint(1, 2));
    w.lineTo(QPoint(3, 4));
    w.rectangle(box);
    w.roundRect(box, QSize(30, 40));
    w.ellipse(box);
    w.arc(box, QPoint(5, 6), QPoint(7, 8));
    w.chord(box, QPoint(5, 6), QPoint(7, 8));
    w.pie(box, QPoint(5, 6), QPoint(7, 8));
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    const std::vector<std::pair<quint32, std::vector<qint32>>> expected = {
        {EMR_MOVETOEX, {1, 2}},
        {EMR_LINETO, {3, 4}},
        {EMR_RECTANGLE, {10, 20, 110, 220}},
        {EMR_ROUNDRECT, {10, 20, 110, 220, 30, 40}},
        {EMR_ELLIPSE, {10, 20, 110, 220}},
        {EMR_ARC, {10, 20, 110, 220, 5, 6, 7, 8}},
        {EMR_CHORD, {10, 20, 110, 220, 5, 6, 7, 8}},
        {EMR_PIE, {10, 20, 110, 220, 5, 6, 7, 8}},
    };
    ASSERT_EQ(recs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recs[i].type, expected[i].first) << "record " << i;
        EXPECT_EQ(recs[i].size, 8 + 4 * expected[i].second.size()) << "record " << i;
        ByteReader r = doc.parameters(recs[i]);
        for (const qint32 v : expected[i].second)
            EXPECT_EQ(r.i32(), v) << "record " << i;
    }
}

TEST(EmfWriterRoundTrip, PointRecordsUseSixteenBitsWhenEveryPointFits)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    const QPolygon small({QPoint(0, 0), QPoint(100, -200), QPoint(32767, -32768)});
    const QPolygon large({QPoint(0, 0), QPoint(40000, 5)});
    w.polygon(small);
    w.polygon(large);
    w.polyline(small);
    w.polyBezier(QPolygon({QPoint(0, 0), QPoint(1, 1), QPoint(2, 2), QPoint(3, 3)}));
    w.polyBezierTo(QPolygon({QPoint(4, 4), QPoint(5, 5), QPoint(6, 6)}));
    w.polylineTo(QPolygon({QPoint(7, 7)}));
    w.polyPolygon({small, QPolygon({QPoint(1, 1), QPoint(2, 1), QPoint(2, 2)})});
    w.polyPolyline({large, small});
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    ASSERT_EQ(recs.size(), 8u);
    EXPECT_EQ(recs[0].type, quint32(EMR_POLYGON16));
    EXPECT_EQ(recs[1].type, quint32(EMR_POLYGON));
    EXPECT_EQ(recs[2].type, quint32(EMR_POLYLINE16));
    EXPECT_EQ(recs[3].type, quint32(EMR_POLYBEZIER16));
    EXPECT_EQ(recs[4].type, quint32(EMR_POLYBEZIERTO16));
    EXPECT_EQ(recs[5].type, quint32(EMR_POLYLINETO16));
    EXPECT_EQ(recs[6].type, quint32(EMR_POLYPOLYGON16));
    EXPECT_EQ(recs[7].type, quint32(EMR_POLYPOLYLINE));

    ByteReader r = doc.parameters(recs[0]);
    readRect(r);
    ASSERT_EQ(r.u32(), 3u);
    for (const QPoint &p : small) {
        EXPECT_EQ(r.i16(), p.x());
        EXPECT_EQ(r.i16(), p.y());
    }
    ByteReader big = doc.parameters(recs[1]);
    const QRect b = readRect(big);
    EXPECT_LE(b.left(), 0);
    EXPECT_GE(b.right(), 40000);  // record bounds in device pixels cover the points
    ASSERT_EQ(big.u32(), 2u);
    big.skip(8);
    EXPECT_EQ(big.i32(), 40000);
    EXPECT_EQ(big.i32(), 5);

    ByteReader pp = doc.parameters(recs[6]);
    readRect(pp);
    EXPECT_EQ(pp.u32(), 2u);
    EXPECT_EQ(pp.u32(), 6u);
    EXPECT_EQ(pp.u32(), 3u);
    EXPECT_EQ(pp.u32(), 3u);
    EXPECT_EQ(recs[6].size, quint32(PolyPolyHeaderSize + 2 * 4 + 6 * 4));
}

TEST(EmfWriterRoundTrip, PathAndClipRecords)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    w.beginPath();
    w.ellipse(QRect(0, 0, 100, 100));
    w.closeFigure();
    w.endPath();
    w.selectClipPath(RegionMode::And);
    w.beginPath();
    w.abortPath();
    w.fillPath();
    w.strokeAndFillPath();
    w.strokePath();
    const EmfRegion region = EmfRegion::ellipse(QRect(100, 100, 51, 31));
    w.selectClipRegion(region, RegionMode::And);
    w.resetClipRegion();
    w.intersectClipRect(QRect(QPoint(1, 2), QPoint(3, 4)));
    w.excludeClipRect(QRect(QPoint(5, 6), QPoint(7, 8)));
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    const std::vector<quint32> types = {EMR_BEGINPATH, EMR_ELLIPSE, EMR_CLOSEFIGURE, EMR_ENDPATH,
                                        EMR_SELECTCLIPPATH, EMR_BEGINPATH, EMR_ABORTPATH, EMR_FILLPATH,
                                        EMR_STROKEANDFILLPATH, EMR_STROKEPATH, EMR_EXTSELECTCLIPRGN,
                                        EMR_EXTSELECTCLIPRGN, EMR_INTERSECTCLIPRECT, EMR_EXCLUDECLIPRECT};
    ASSERT_EQ(recs.size(), types.size());
    for (size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(recs[i].type, types[i]) << "record " << i;
    EXPECT_EQ(doc.parameters(recs[4]).u32(), quint32(RegionMode::And));

    // The region's rectangles (right and bottom exclusive) rebuild the same region.
    ByteReader rgn = doc.parameters(recs[10]);
    const quint32 cb = rgn.u32();
    EXPECT_EQ(rgn.u32(), quint32(RegionMode::And));
    EXPECT_EQ(rgn.u32(), quint32(RegionDataHeaderSize));
    EXPECT_EQ(rgn.u32(), RdhRectangles);
    const quint32 count = rgn.u32();
    EXPECT_EQ(cb, RegionDataHeaderSize + 16 * count);
    EXPECT_EQ(rgn.u32(), 16 * count);
    rgn.skip(16);
    QRegion rebuilt;
    for (quint32 i = 0; i < count; ++i) {
        const qint32 l = rgn.i32(), t = rgn.i32(), r = rgn.i32(), b = rgn.i32();
        rebuilt += QRect(l, t, r - l, b - t);
    }
    EXPECT_TRUE(rgn.ok());
    EXPECT_EQ(rebuilt, region.region());
    EXPECT_GT(count, 5u);

    ByteReader reset = doc.parameters(recs[11]);
    EXPECT_EQ(reset.u32(), 0u);
    EXPECT_EQ(reset.u32(), quint32(RegionMode::Copy));
}

TEST(EmfWriterRoundTrip, TextRecordCarriesTheMeasuredAdvances)
{
    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    LogFont f;
    f.height = -100;
    f.faceName = QStringLiteral("Arial");
    w.selectObject(w.createFont(f));
    const QString text = QStringLiteral("Città 12");
    w.textOut(QPoint(50, 60), text, TextOutOption::Opaque, QRect(QPoint(40, 50), QPoint(500, 200)));
    const QList<qint32> dx = w.advancesFor(f, text);
    const EmfDocument doc = parsed(w);
    const auto recs = body(doc);
    ASSERT_EQ(recs.back().type, quint32(EMR_EXTTEXTOUTW));
    ByteReader r = doc.parameters(recs.back());
    readRect(r);
    EXPECT_EQ(r.u32(), quint32(GraphicsMode::Compatible));
    r.skip(8);
    EXPECT_EQ(r.i32(), 50);
    EXPECT_EQ(r.i32(), 60);
    EXPECT_EQ(r.u32(), quint32(text.size()));
    const quint32 offString = r.u32();
    EXPECT_EQ(r.u32(), TextOutOption::Opaque);
    EXPECT_EQ(readRect(r), QRect(QPoint(40, 50), QPoint(500, 200)));
    const quint32 offDx = r.u32();
    EXPECT_EQ(offString, quint32(ExtTextOutHeaderSize));
    ByteReader whole(doc.data.constData() + recs.back().offset, recs.back().size);
    whole.seek(offString);
    EXPECT_EQ(whole.utf16(text.size()), text);
    whole.seek(offDx);
    for (const qint32 a : dx)
        EXPECT_EQ(whole.i32(), a);
    EXPECT_TRUE(whole.ok());

    // The advances add up to the width the font measures (rounding carried along).
    qint64 sum = 0;
    for (const qint32 a : dx)
        sum += a;
    QFont qf(QStringLiteral("Arial"));
    qf.setPixelSize(256);
    qf.setHintingPreference(QFont::PreferNoHinting);
    qf.setKerning(false);
    qreal exact = 0;
    for (const QChar c : text)
        exact += QFontMetricsF(qf).horizontalAdvance(c) * 100 / 256;
    EXPECT_NEAR(double(sum), exact, 1.0);
    EXPECT_GT(sum, 300);
}

TEST(EmfWriterRoundTrip, BitmapRecordHoldsTheImage)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(1, 2, 3));
    image.setPixel(1, 1, qRgb(250, 251, 252));
    image.setPixel(2, 1, qRgb(9, 8, 7));
    for (const auto format : {EmfWriter::DibFormat::Rgb24, EmfWriter::DibFormat::Rgb32}) {
        EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
        w.stretchDIBits(QRect(10, 20, 300, 200), image, format);
        const EmfDocument doc = parsed(w);
        const EmfRecord rec = body(doc).at(0);
        ASSERT_EQ(rec.type, quint32(EMR_STRETCHDIBITS));
        ByteReader r = doc.parameters(rec);
        readRect(r);
        EXPECT_EQ(r.i32(), 10);
        EXPECT_EQ(r.i32(), 20);
        r.skip(8);
        EXPECT_EQ(r.i32(), 3);
        EXPECT_EQ(r.i32(), 2);
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        r.u32();
        EXPECT_EQ(r.u32(), SrcCopy);
        EXPECT_EQ(r.i32(), 300);
        EXPECT_EQ(r.i32(), 200);
        ByteReader whole(doc.data.constData() + rec.offset, rec.size);
        const QImage back = Dib::decode(whole.sub(offBmi, cbBmi), whole.sub(offBits, cbBits));
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
    }
}

TEST(EmfWriterOutput, SaveWritesTheFinishedBytesAtomically)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.emf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    EmfWriter w(a4(), QRect(0, 0, 1000, 1000));
    w.ellipse(QRect(0, 0, 10, 10));
    QString error;
    ASSERT_TRUE(w.save(path, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), w.finish());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left behind

    EXPECT_FALSE(w.save(dir.filePath(QStringLiteral("missing/page.emf")), &error));
    EXPECT_FALSE(error.isEmpty());
    const qsizetype size = w.finish().size();
    w.rectangle(QRect(0, 0, 5, 5));  // ignored once finished
    EXPECT_EQ(w.finish().size(), size);
}

TEST(EmfWriterPictures, DrawingTheSamePictureAgainWritesTheSameRecords)
{
    ortolan::metafile::test::WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, rgb(0, 200, 0)).select(0).pen(0, 20, 0).select(1);
    b.polygon(QPolygon({QPoint(100, 100), QPoint(9000, 2000), QPoint(5000, 12000)}));
    const MetafilePicture map = MetafilePicture::fromData(b.bytes());
    ASSERT_FALSE(map.isNull());
    const QRect dest(100, 200, 2598, 3449);

    EmfWriter first(a4(), QRect(0, 0, 21000, 29700));
    first.drawPicture(map, dest);
    EmfWriter again(a4(), QRect(0, 0, 21000, 29700));
    again.drawPicture(map, dest);
    EXPECT_EQ(again.finish(), first.finish());

    // With one of the caller's pens alive the block's objects take other slots,
    // and the caller's pen is still what the next shape uses.
    EmfWriter busy(a4(), QRect(0, 0, 21000, 29700));
    const auto pen = busy.createPen(PenStyle::Solid, 0, rgb(255, 0, 0));
    busy.selectObject(pen);
    busy.drawPicture(map, dest);
    busy.drawPicture(map, dest);  // the same state again: copied
    busy.polyline(QPolygon({QPoint(3000, 100), QPoint(3000, 200)}));
    const EmfDocument doc = parsed(busy);
    EXPECT_EQ(doc.header.records, quint32(doc.records.size()));
    EXPECT_EQ(doc.header.bounds, parsed(first).header.bounds.united(QRect(QPoint(2999, 99), QPoint(3001, 201))));
    std::set<quint32> created;
    for (const EmfRecord &r : doc.records)
        if (r.type == EMR_CREATEPEN || r.type == EMR_CREATEBRUSHINDIRECT)
            created.insert(doc.parameters(r).u32());
    EXPECT_EQ(created.count(1), 1u);  // only the caller's pen took slot 1
    const MetafilePicture played = MetafilePicture::fromData(busy.finish());
    ASSERT_FALSE(played.isNull());
    const auto &ops = played.displayList().ops;
    const auto *last = std::get_if<PathOp>(&ops.back());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(played.displayList().pens[size_t(last->pen)].color, QColor(Qt::red));
}
