#include "WmfBuilder.h"

#include "metafile/ByteWriter.h"
#include "metafile/EmfReader.h"
#include "metafile/EmfRecords.h"
#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"

#include <gtest/gtest.h>

#include <random>

using namespace ortolan::metafile;
using namespace ortolan::metafile::test;

namespace {

// An EMF using most record families, to cut and damage.
QByteArray sampleEmf()
{
    EmfWriter w(EmfReferenceDevice::forPage(300, 300, QSizeF(50, 50)), QRect(QPoint(0, 0), QPoint(5000, 5000)));
    w.selectObject(w.createPen(PenStyle::Dash, 3, rgb(1, 2, 3)));
    w.selectObject(w.createHatchBrush(HatchStyle::Cross, rgb(200, 0, 0)));
    LogFont f;
    f.height = -40;
    f.faceName = QStringLiteral("Arial");
    w.selectObject(w.createFont(f));
    w.saveDC();
    w.selectClipRegion(EmfRegion::ellipse(QRect(10, 10, 300, 300)), RegionMode::And);
    w.polygon(QPolygon({QPoint(10, 10), QPoint(200, 30), QPoint(50, 300)}));
    w.polyPolyline({QPolygon({QPoint(0, 0), QPoint(9, 9)}), QPolygon({QPoint(5, 0), QPoint(0, 5)})});
    w.restoreDC(-1);
    w.pie(QRect(100, 100, 200, 200), QPoint(300, 200), QPoint(200, 100));
    w.textOut(QPoint(20, 400), QStringLiteral("Ortolan"));
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::green);
    w.stretchDIBits(QRect(300, 300, 40, 40), img);
    return w.finish();
}

QByteArray sampleWmf()
{
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).pen(0, 10, 0).brush(0, 0xFF).select(0).select(1);
    b.polygon(QPolygon({QPoint(10, 10), QPoint(2000, 300), QPoint(500, 3000)}));
    b.font(-300, "Arial").select(2).textOut(100, 100, "abc");
    return b.bytes();
}

void putU32(QByteArray &data, qsizetype offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        data[offset + i] = char((v >> (8 * i)) & 0xFF);
}

// Offset of the first record of a type in a written EMF.
qsizetype emfRecordOffset(const QByteArray &data, quint32 type)
{
    EmfDocument doc;
    EmfReader::parse(data, &doc);
    for (const EmfRecord &r : doc.records)
        if (r.type == type)
            return r.offset;
    return -1;
}

::testing::AssertionResult rejected(const QByteArray &data, const char *contains = nullptr)
{
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(data, &error);
    if (!p.isNull())
        return ::testing::AssertionFailure() << "accepted";
    if (error.isEmpty())
        return ::testing::AssertionFailure() << "rejected without a reason";
    if (contains && !error.contains(QString::fromUtf8(contains)))
        return ::testing::AssertionFailure() << "reason \"" << error.toStdString() << "\" lacks \"" << contains << "\"";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(MalformedEmf, EveryTruncationIsRejected)
{
    const QByteArray full = sampleEmf();
    ASSERT_FALSE(MetafilePicture::fromData(full).isNull());
    for (qsizetype n = 0; n < full.size(); n += (n < 200 ? 1 : 7))
        EXPECT_TRUE(rejected(full.left(n))) << "cut at " << n;
}

TEST(MalformedEmf, BadRecordSizesAreRejected)
{
    const QByteArray full = sampleEmf();
    const qsizetype at = emfRecordOffset(full, emf::EMR_POLYGON16);
    ASSERT_GT(at, 0);
    for (const quint32 size : {0u, 4u, 6u, 0x7FFFFFFCu, 0xFFFFFFF0u}) {
        QByteArray bad = full;
        putU32(bad, at + 4, size);
        EXPECT_TRUE(rejected(bad, "size")) << size;
    }
    QByteArray header = full;
    putU32(header, 4, 0xFFFFFF00u);
    EXPECT_TRUE(rejected(header, "header size"));
    QByteArray device = full;
    putU32(device, emf::header::Device, 0);
    EXPECT_TRUE(rejected(device, "reference device"));
}

TEST(MalformedEmf, CountsBeyondTheRecordAreRejected)
{
    const QByteArray full = sampleEmf();
    QByteArray points = full;
    putU32(points, emfRecordOffset(full, emf::EMR_POLYGON16) + 24, 0x7FFFFFFF);
    EXPECT_TRUE(rejected(points, "points"));

    QByteArray polys = full;
    const qsizetype pp = emfRecordOffset(full, emf::EMR_POLYPOLYLINE16);
    putU32(polys, pp + 24, 0x40000000);  // polygon count
    EXPECT_TRUE(rejected(polys));
    QByteArray sum = full;
    putU32(sum, pp + 32, 0xFFFFFFFF);  // first polygon's count no longer adds up
    EXPECT_TRUE(rejected(sum, "add up"));

    QByteArray region = full;
    const qsizetype rg = emfRecordOffset(full, emf::EMR_EXTSELECTCLIPRGN);
    putU32(region, rg + 8 + 8 + 8, 0x10000000);  // rectangle count of the region
    EXPECT_TRUE(rejected(region, "region"));

    QByteArray text = full;
    const qsizetype tx = emfRecordOffset(full, emf::EMR_EXTTEXTOUTW);
    putU32(text, tx + 44, 0x7FFFFFFF);  // character count
    EXPECT_TRUE(rejected(text, "text"));
}

TEST(MalformedEmf, ObjectIndicesOutsideTheTableAreRejected)
{
    const QByteArray full = sampleEmf();
    QByteArray bad = full;
    putU32(bad, emfRecordOffset(full, emf::EMR_SELECTOBJECT) + 8, 0x7FFFFFF0);
    EXPECT_TRUE(rejected(bad, "object index"));
    QByteArray zero = full;
    putU32(zero, emfRecordOffset(full, emf::EMR_CREATEPEN) + 8, 0);
    EXPECT_TRUE(rejected(zero, "object index"));
}

TEST(MalformedEmf, HugeBitmapIsSkippedNotAllocated)
{
    const QByteArray full = sampleEmf();
    QByteArray bad = full;
    const qsizetype at = emfRecordOffset(full, emf::EMR_STRETCHDIBITS);
    putU32(bad, at + emf::StretchDibitsHeaderSize + 4, 1000000);  // width
    putU32(bad, at + emf::StretchDibitsHeaderSize + 8, 1000000);  // height
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(bad, &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    EXPECT_TRUE(p.warnings().join(QLatin1Char(' ')).contains(QStringLiteral("bitmap")));
}

// Regression (found by fuzzing): a picture without a frame takes its size from
// the header's bounds; bounds from one end of the 32-bit range to the other
// overflowed the integer height, and the picture fell back to the extent of its
// drawing instead of the size the header states.
TEST(MalformedEmf, BoundsAcrossTheWholeIntegerRangeGiveThePictureItsSize)
{
    QByteArray data = sampleEmf();
    for (int k = 0; k < 4; ++k)
        putU32(data, emf::header::Frame + 4 * k, 0);  // no frame
    const qint32 far = 2000000000;
    putU32(data, emf::header::Bounds, quint32(-far));
    putU32(data, emf::header::Bounds + 4, quint32(-far));
    putU32(data, emf::header::Bounds + 8, quint32(far));
    putU32(data, emf::header::Bounds + 12, quint32(far));
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(data, &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    const QRectF natural = p.naturalRect();
    EXPECT_DOUBLE_EQ(natural.width(), natural.height());
    EXPECT_GT(natural.height(), 2.0 * far);  // hundredths of a mm: several per device pixel
    EXPECT_LT(natural.top(), -double(far));
}

// Regression (found by fuzzing; caught by the sanitizer build): a bitmap record
// whose source row is the lowest 32-bit number overflowed the integer sum that
// turns the rows of a bottom-up bitmap around.
TEST(MalformedEmf, BitmapSourceRowsAtTheEndOfTheIntegerRangePlay)
{
    const QByteArray data = QByteArray::fromHex(
        "010000006c000000faffffff020000005e0100005e0100bc0000000000000000b80b0000b80b000020454d4600000100"
        "6c0300081b000000010000000000000000000000000000004f0200004f02000032000000320000000000000000000000"
        "0000000076c3000076c3000051000000b80000000a0000000a0000006e0000005a0000000a0000000a00000000000000"
        "0000008005000000040000005000000028000000780000004000000000000000cc002064000000005000000028000000"
        "0500000004000000010018000000000040000000960000005d0100005d0100004b00000010000000003f000000000000"
        "960000000a0000001000000005000000050000000c000000100000000a0000000a000000460000001000000004000000"
        "6e6f74650e00000008000000");
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(data, &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    EXPECT_FALSE(p.toImage(QSize(48, 48)).isNull());
}

TEST(MalformedEmf, AFrameWithSwappedCornersStillSizesThePicture)
{
    const QByteArray full = sampleEmf();  // frame (0, 0)-(5000, 5000)
    QByteArray swapped = full;
    putU32(swapped, emf::header::Frame, 5000);
    putU32(swapped, emf::header::Frame + 8, 0);
    putU32(swapped, emf::header::Frame + 4, 5000);
    putU32(swapped, emf::header::Frame + 12, 0);
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(swapped, &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    EXPECT_EQ(p.naturalRect(), QRectF(0, 0, 5000, 5000));
    EXPECT_EQ(p.naturalRect(), MetafilePicture::fromData(full).naturalRect());
}

TEST(MalformedWmf, TruncationsNeverCrashAndCutRecordsAreRejected)
{
    const QByteArray full = sampleWmf();
    ASSERT_FALSE(MetafilePicture::fromData(full).isNull());
    for (qsizetype n = 0; n < full.size(); ++n) {
        QString error;
        const MetafilePicture p = MetafilePicture::fromData(full.left(n), &error);
        if (p.isNull())
            EXPECT_FALSE(error.isEmpty()) << "cut at " << n;
        else  // cut exactly between records: accepted, but the missing end is noted
            EXPECT_TRUE(p.warnings().join(QLatin1Char(' ')).contains(QStringLiteral("end-of-file"))) << n;
    }
    EXPECT_TRUE(rejected(full.left(wmf::PlaceableHeaderSize + 10), "header"));
}

TEST(MalformedWmf, RecordSizesBelowThreeWordsAreRejected)
{
    for (const qint32 size : {0, 1, 2}) {
        WmfBuilder b;
        b.window(0, 0, 100, 100);
        QByteArray bytes = b.bytes();
        // The first record after both headers.
        putU32(bytes, wmf::PlaceableHeaderSize + wmf::HeaderSize, quint32(size));
        EXPECT_TRUE(rejected(bytes, "size")) << size;
    }
}

TEST(MalformedWmf, CountsAndIndicesOutsideTheirRecordOrTableAreRejected)
{
    {
        WmfBuilder b;
        b.record(wmf::META_POLYGON, {32767, 0, 0, 10, 10});  // claims 32767 points
        EXPECT_TRUE(rejected(b.bytes(), "points"));
    }
    {
        WmfBuilder b;
        b.record(wmf::META_POLYPOLYGON, {2, 30000, 30000, 0, 0});
        EXPECT_TRUE(rejected(b.bytes(), "points"));
    }
    {
        WmfBuilder b;
        b.record(wmf::META_TEXTOUT, {5000, 0x4141});
        EXPECT_TRUE(rejected(b.bytes(), "text"));
    }
    {
        WmfBuilder b(true, QRect(QPoint(0, 0), QPoint(100, 100)), 1440, 2);
        b.pen(0, 1, 0).select(7);
        EXPECT_TRUE(rejected(b.bytes(), "object index"));
    }
    {
        WmfBuilder b(true, QRect(QPoint(0, 0), QPoint(100, 100)), 1440, 2);
        b.pen(0, 1, 0).pen(0, 1, 0).pen(0, 1, 0);
        EXPECT_TRUE(rejected(b.bytes(), "full"));
    }
    {
        WmfBuilder b(true, QRect(QPoint(0, 0), QPoint(0, 100)));
        EXPECT_TRUE(rejected(b.bytes(), "bounding box"));
    }
}

// ORTOLAN_FUZZ_ROUNDS and ORTOLAN_FUZZ_SEED run longer or other rounds (best
// in a sanitizer build).
// Regression (found by fuzzing): a font record 14336 units wide asks for a font
// stretched 4000%, and a window that widens text again made the glyphs over a
// thousand pixels wide and a few tall; the font rasteriser failed on them and
// the toolkit crashed copying the missing glyph. Such text is filled as outlines.
TEST(MalformedWmf, TextOfAnExtremeFontWidthPlaysAtEverySize)
{
    const QByteArray data = QByteArray::fromHex(
        "0200090000036f003c003c003c3200003c00050000000c02e8030e021c000000"
        "fb02ff00003800000000900100000000000000004c696265726174696f6e2053"
        "616e730000000000000000000000000000000000040000002d0100000b000000"
        "210509004f72746f6c612d0101002e010000");
    QString error;
    const MetafilePicture p = MetafilePicture::fromData(data, &error);
    ASSERT_FALSE(p.isNull()) << error.toStdString();
    for (int width = 16; width <= 240; width += 2)
        EXPECT_FALSE(p.toImage(QSize(width, width / 2)).isNull()) << width;
}

TEST(MalformedInput, RandomAndMutatedBytesNeverCrash)
{
    const int rounds = qEnvironmentVariableIsSet("ORTOLAN_FUZZ_ROUNDS") ? qEnvironmentVariableIntValue("ORTOLAN_FUZZ_ROUNDS") : 600;
    std::mt19937 random(qEnvironmentVariableIsSet("ORTOLAN_FUZZ_SEED") ? quint32(qEnvironmentVariableIntValue("ORTOLAN_FUZZ_SEED")) : 20240611u);
    const QByteArray samples[] = {sampleEmf(), sampleWmf()};
    int accepted = 0;
    for (int round = 0; round < rounds; ++round) {
        QByteArray data;
        if (round % 3 == 0) {
            data.resize(qsizetype(random() % 400));
            for (char &c : data)
                c = char(random());
        } else {
            data = samples[round % 2];
            const int flips = 1 + int(random() % 8);
            for (int i = 0; i < flips; ++i)
                data[qsizetype(random() % quint32(data.size()))] = char(random());
        }
        QString error;
        const MetafilePicture p = MetafilePicture::fromData(data, &error);
        if (p.isNull()) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        ++accepted;
        const QImage image = p.toImage(QSize(64, 64));  // playing a damaged picture is safe too
        EXPECT_FALSE(image.isNull());
    }
    EXPECT_GT(accepted, rounds / 60);  // many single-byte changes leave a valid file
}
