#pragma once

#include "metafile/ByteReader.h"
#include "metafile/EmfReader.h"
#include "metafile/EmfRecords.h"
#include "metafile/MetafilePicture.h"
#include "metafile/PixelCheck.h"
#include "print/OTprint.h"
#include "print/OTprintPrinter.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace ortolan::print::test {

using metafile::test::pixelIs;
using metafile::test::saveOnFailure;

// A printer of chosen resolution. At 254 dpi one printer pixel is one tenth of a
// millimetre, so drawing units and metafile coordinates are the same numbers.
class TestPrinter : public OTprintPrinter {
public:
    explicit TestPrinter(int dpiX = 254, int dpiY = 254) : m_res(dpiX, dpiY) {}
    bool isInstalled() const override { return true; }
    QSize resolution() const override { return m_res; }
    // 100 x 150 mm paper, printable 90 x 140 mm.
    QSizeF paperSizeMm() const override
    {
        return orientation() == QPageLayout::Landscape ? QSizeF(150, 100) : QSizeF(100, 150);
    }
    QSizeF printableAreaTwips() const override
    {
        const QSizeF mm = orientation() == QPageLayout::Landscape ? QSizeF(140, 90) : QSizeF(90, 140);
        return mm * (1440 / 25.4);
    }
    QString fontName() const override { return QStringLiteral("DejaVu Sans"); }
    int fontSize() const override { return 12; }

private:
    QSize m_res;
};

// One record of a metafile: its type and its parameters (after type and size).
struct Record {
    quint32 type = 0;
    QByteArray params;

    metafile::ByteReader reader() const { return metafile::ByteReader(params); }
    // The first four integers as left, top, right, bottom.
    QRect rect(int offset = 0) const
    {
        metafile::ByteReader r(params);
        r.skip(offset);
        const qint32 l = r.i32(), t = r.i32(), rr = r.i32(), b = r.i32();
        return QRect(QPoint(l, t), QPoint(rr, b));
    }
    // The points of a poly record (16- or 32-bit).
    QPolygon points() const
    {
        using namespace metafile::emf;
        metafile::ByteReader r(params);
        r.skip(16);  // bounds
        const quint32 n = r.u32();
        const bool small = type >= EMR_POLYBEZIER16 && type <= EMR_POLYLINETO16;
        QPolygon out;
        for (quint32 i = 0; i < n && r.ok(); ++i) {
            if (small) {
                const qint16 x = r.i16(), y = r.i16();
                out << QPoint(x, y);
            } else {
                const qint32 x = r.i32(), y = r.i32();
                out << QPoint(x, y);
            }
        }
        return out;
    }
    quint32 u32(int offset) const
    {
        metafile::ByteReader r(params);
        r.skip(offset);
        return r.u32();
    }
    qint32 i32(int offset) const { return qint32(u32(offset)); }
};

// The records of a metafile between its header and its end.
inline std::vector<Record> recordsOf(const QByteArray &bytes)
{
    metafile::EmfDocument doc;
    QString error;
    EXPECT_TRUE(metafile::EmfReader::parse(bytes, &doc, &error)) << error.toStdString();
    std::vector<Record> out;
    for (size_t i = 1; i + 1 < doc.records.size(); ++i) {
        const metafile::EmfRecord &r = doc.records[i];
        out.push_back(Record{r.type, doc.data.mid(r.offset + 8, r.size - 8)});
    }
    return out;
}

inline std::vector<Record> ofType(const std::vector<Record> &records, quint32 type)
{
    std::vector<Record> out;
    for (const Record &r : records)
        if (r.type == type)
            out.push_back(r);
    return out;
}

inline bool isShape(quint32 type)
{
    using namespace metafile::emf;
    switch (type) {
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_ROUNDRECT:
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIER:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIER16:
        return true;
    default:
        return false;
    }
}

// The shape records in order.
inline std::vector<Record> shapesOf(const std::vector<Record> &records)
{
    std::vector<Record> out;
    for (const Record &r : records)
        if (isShape(r.type))
            out.push_back(r);
    return out;
}

// A page of 100 x 100 mm drawn by body on an engine at the given resolution, in
// memory; returns the finished metafile.
inline QByteArray drawPage(const std::function<void(OTprint &)> &body, int dpi = 254,
                           QRect frame = QRect(QPoint(0, 0), QPoint(10000, 10000)))
{
    OTprint engine(std::make_shared<TestPrinter>(dpi, dpi));
    EXPECT_TRUE(engine.OpenMeta(QString(), frame.left(), frame.top(), frame.right(), frame.bottom()));
    body(engine);
    EXPECT_TRUE(engine.CloseMeta());
    return engine.lastMetafile();
}

// Plays a 100 x 100 mm page of 254 dpi into a 1000 x 1000 image: image pixels
// are printer pixels and tenths of a millimetre.
inline QImage render(const QByteArray &bytes, QSize size = QSize(1000, 1000))
{
    QString error;
    const metafile::MetafilePicture picture = metafile::MetafilePicture::fromData(bytes, &error);
    EXPECT_FALSE(picture.isNull()) << error.toStdString();
    return picture.toImage(size);
}

}  // namespace ortolan::print::test
