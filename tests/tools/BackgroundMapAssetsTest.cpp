// The shipped background maps (assets/maps/*.wmf): placeable metafiles of
// 110 x 146 mm whose records are well formed from the header to the end record.
#include "support/TestSupport.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

quint16 u16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 s16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<qint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }

class BackgroundMapFile : public ::testing::TestWithParam<const char *> {};

TEST_P(BackgroundMapFile, PlaceableHeaderAndRecords)
{
    QFile file(ortolan::test::sourceDir() + QStringLiteral("/assets/maps/") + QString::fromLatin1(GetParam()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam();
    const QByteArray b = file.readAll();
    ASSERT_GT(b.size(), 22 + 18);
    // A few hundred KB: detailed, but quick to load and draw.
    EXPECT_GT(b.size(), 50 * 1024);
    EXPECT_LT(b.size(), 600 * 1024);

    // Placeable header: key, no handle, bounding box (0, 0)-(11000, 14600) at
    // 2540 units per inch (110 x 146 mm), checksum over its first ten words.
    EXPECT_EQ(u32(b, 0), 0x9AC6CDD7u);
    EXPECT_EQ(u16(b, 4), 0);
    EXPECT_EQ(s16(b, 6), 0);
    EXPECT_EQ(s16(b, 8), 0);
    EXPECT_EQ(s16(b, 10), 11000);
    EXPECT_EQ(s16(b, 12), 14600);
    EXPECT_EQ(u16(b, 14), 2540);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= u16(b, 2 * i);
    EXPECT_EQ(u16(b, 20), checksum);

    // Metafile header: memory metafile, 9 words, version 3.0, size in words.
    const qsizetype h = 22;
    EXPECT_EQ(u16(b, h), 1);
    EXPECT_EQ(u16(b, h + 2), 9);
    EXPECT_EQ(u16(b, h + 4), 0x0300);
    EXPECT_EQ(qsizetype(u32(b, h + 6)) * 2, b.size() - h);
    const quint32 maxRecord = u32(b, h + 12);

    // Records: each whole, no bigger than the header says, the window set to
    // the picture's size, and the last one the end record.
    qsizetype at = h + 18;
    quint32 biggest = 0;
    bool windowSet = false;
    int polygons = 0;
    while (at + 6 <= b.size()) {
        const quint32 words = u32(b, at);
        const quint16 function = u16(b, at + 4);
        ASSERT_GE(words, 3u);
        ASSERT_LE(at + qsizetype(words) * 2, b.size());
        biggest = std::max(biggest, words);
        if (function == 0x020C) {  // window extent: y, then x
            EXPECT_EQ(s16(b, at + 6), 14600);
            EXPECT_EQ(s16(b, at + 8), 11000);
            windowSet = true;
        }
        if (function == 0x0324 || function == 0x0538)
            ++polygons;
        if (function == 0x0000) {
            EXPECT_EQ(words, 3u);
            at += 6;
            break;
        }
        at += qsizetype(words) * 2;
    }
    EXPECT_EQ(at, b.size()) << "the end record closes the file";
    EXPECT_EQ(biggest, maxRecord);
    EXPECT_TRUE(windowSet);
    EXPECT_GT(polygons, 20);
}

INSTANTIATE_TEST_SUITE_P(Shipped, BackgroundMapFile,
                         ::testing::Values("ItaliaNEW.wmf", "ItaliaREGIONI.wmf", "ItaliaNEW_BW.wmf"),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.chopped(4).toStdString();
                         });

}  // namespace
