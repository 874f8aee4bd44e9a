#include "metafile/ByteReader.h"
#include "metafile/ByteWriter.h"

#include <gtest/gtest.h>

using namespace ortolan::metafile;

TEST(ByteIo, WrittenValuesReadBackLittleEndian)
{
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.i16(-2);
    w.u32(0xDEADBEEF);
    w.i32(-123456);
    w.f32(1.5f);
    w.utf16(QStringLiteral("è€"));
    EXPECT_EQ(w.bytes().left(3), QByteArray::fromHex("ab3412"));

    ByteReader r(w.bytes());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.i32(), -123456);
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.utf16(2), QStringLiteral("è€"));
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteIo, ReadsPastTheEndFailWithoutMoving)
{
    const QByteArray three = QByteArray::fromHex("010203");
    ByteReader r(three);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_EQ(r.u32(), 0u);  // only one byte left
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.position(), 2);
    EXPECT_EQ(r.u8(), 3);  // the byte that is there can still be read
    EXPECT_FALSE(r.ok());  // but the failure stays

    ByteReader s(three);
    EXPECT_FALSE(s.seek(4));
    EXPECT_FALSE(s.ok());
    ByteReader t(three);
    EXPECT_TRUE(t.bytes(-1).isEmpty());
    EXPECT_FALSE(t.ok());
    ByteReader u(three);
    EXPECT_TRUE(u.utf16(qsizetype(1) << 40).isEmpty());  // a huge count allocates nothing
    EXPECT_FALSE(u.ok());
}

TEST(ByteIo, SubRangesStayInsideTheirParent)
{
    const QByteArray data = QByteArray::fromHex("0001020304050607");
    ByteReader r(data);
    ByteReader inner = r.sub(2, 4);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(inner.size(), 4);
    EXPECT_EQ(inner.u32(), 0x05040302u);
    EXPECT_FALSE(inner.has(1));

    ByteReader bad = r.sub(6, 4);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(bad.size(), 0);
    EXPECT_FALSE(bad.ok());
    ByteReader r2(data);
    r2.sub(qsizetype(1) << 62, qsizetype(1) << 62);  // no overflow in the range check
    EXPECT_FALSE(r2.ok());
}

TEST(ByteIo, PatchesOverwriteInPlace)
{
    ByteWriter w;
    w.u32(0);
    w.u16(0);
    w.u8(7);
    w.align4();
    EXPECT_EQ(w.size(), 8);
    w.putU32At(0, 0x11223344);
    w.putU16At(4, 0xBEEF);
    ByteReader r(w.bytes());
    EXPECT_EQ(r.u32(), 0x11223344u);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u8(), 7);
}
