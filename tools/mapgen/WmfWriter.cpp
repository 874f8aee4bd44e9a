#include "tools/mapgen/WmfWriter.h"

#include <QtEndian>

namespace ortolan::mapgen {

namespace {

// Record functions.
constexpr quint16 kEof = 0x0000;
constexpr quint16 kSetBkMode = 0x0102;
constexpr quint16 kSetMapMode = 0x0103;
constexpr quint16 kSetPolyFillMode = 0x0106;
constexpr quint16 kSetWindowOrg = 0x020B;
constexpr quint16 kSetWindowExt = 0x020C;
constexpr quint16 kSelectObject = 0x012D;
constexpr quint16 kDeleteObject = 0x01F0;
constexpr quint16 kCreatePenIndirect = 0x02FA;
constexpr quint16 kCreateBrushIndirect = 0x02FC;
constexpr quint16 kPolygon = 0x0324;
constexpr quint16 kPolyline = 0x0325;
constexpr quint16 kPolyPolygon = 0x0538;

constexpr quint16 kMapModeAnisotropic = 8;
constexpr quint16 kBkModeTransparent = 1;
constexpr quint16 kPenSolid = 0;
constexpr quint16 kPenNull = 5;
constexpr quint16 kBrushSolid = 0;
constexpr quint16 kBrushNull = 1;

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putS16(QByteArray &out, int v) { put16(out, quint16(qint16(std::clamp(v, -32768, 32767)))); }

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// COLORREF: red, green, blue, then a zero byte.
void putColour(QByteArray &out, const QColor &c)
{
    out.append(char(c.red()));
    out.append(char(c.green()));
    out.append(char(c.blue()));
    out.append('\0');
}

void putPoints(QByteArray &out, const std::vector<QPoint> &points)
{
    for (const QPoint &p : points) {
        putS16(out, p.x());
        putS16(out, p.y());
    }
}

}  // namespace

WmfWriter::WmfWriter(int width, int height, int unitsPerInch)
    : m_width(width), m_height(height), m_unitsPerInch(unitsPerInch)
{
    QByteArray p;
    put16(p, kMapModeAnisotropic);
    record(kSetMapMode, p);
    p.clear();
    putS16(p, 0);  // y, then x
    putS16(p, 0);
    record(kSetWindowOrg, p);
    p.clear();
    putS16(p, height);
    putS16(p, width);
    record(kSetWindowExt, p);
    p.clear();
    put16(p, kBkModeTransparent);
    record(kSetBkMode, p);
}

int WmfWriter::allocateObject()
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (!m_objects[i]) {
            m_objects[i] = true;
            return int(i);
        }
    }
    m_objects.push_back(true);
    return int(m_objects.size() - 1);
}

int WmfWriter::createPen(const QColor &colour, int width)
{
    QByteArray p;
    put16(p, kPenSolid);
    putS16(p, width);  // width as a point: x is the width, y unused
    putS16(p, 0);
    putColour(p, colour);
    record(kCreatePenIndirect, p);
    return allocateObject();
}

int WmfWriter::createNullPen()
{
    QByteArray p;
    put16(p, kPenNull);
    putS16(p, 0);
    putS16(p, 0);
    putColour(p, Qt::black);
    record(kCreatePenIndirect, p);
    return allocateObject();
}

int WmfWriter::createBrush(const QColor &colour)
{
    QByteArray p;
    put16(p, kBrushSolid);
    putColour(p, colour);
    put16(p, 0);  // hatch, unused for solid brushes
    record(kCreateBrushIndirect, p);
    return allocateObject();
}

int WmfWriter::createNullBrush()
{
    QByteArray p;
    put16(p, kBrushNull);
    putColour(p, Qt::black);
    put16(p, 0);
    record(kCreateBrushIndirect, p);
    return allocateObject();
}

void WmfWriter::selectObject(int index)
{
    QByteArray p;
    put16(p, quint16(index));
    record(kSelectObject, p);
}

void WmfWriter::deleteObject(int index)
{
    QByteArray p;
    put16(p, quint16(index));
    record(kDeleteObject, p);
    if (index >= 0 && size_t(index) < m_objects.size())
        m_objects[size_t(index)] = false;
}

void WmfWriter::setPolyFillMode(FillMode mode)
{
    QByteArray p;
    put16(p, quint16(mode));
    record(kSetPolyFillMode, p);
}

void WmfWriter::polygon(const std::vector<QPoint> &points)
{
    if (points.size() < 3 || points.size() > size_t(kMaxPoints))
        return;
    QByteArray p;
    putS16(p, int(points.size()));
    putPoints(p, points);
    record(kPolygon, p);
}

void WmfWriter::polyPolygon(const std::vector<std::vector<QPoint>> &rings)
{
    std::vector<const std::vector<QPoint> *> kept;
    for (const auto &ring : rings)
        if (ring.size() >= 3 && ring.size() <= size_t(kMaxPoints))
            kept.push_back(&ring);
    if (kept.empty() || kept.size() > 0xFFFF)
        return;
    QByteArray p;
    put16(p, quint16(kept.size()));
    for (const auto *ring : kept)
        put16(p, quint16(ring->size()));
    for (const auto *ring : kept)
        putPoints(p, *ring);
    record(kPolyPolygon, p);
}

void WmfWriter::polyline(const std::vector<QPoint> &points)
{
    if (points.size() < 2 || points.size() > size_t(kMaxPoints))
        return;
    QByteArray p;
    putS16(p, int(points.size()));
    putPoints(p, points);
    record(kPolyline, p);
}

void WmfWriter::record(quint16 function, const QByteArray &params)
{
    // Size in 16-bit words, the 6-byte record header included; parameters are whole words.
    const quint32 words = 3 + quint32(params.size() + 1) / 2;
    put32(m_records, words);
    put16(m_records, function);
    m_records.append(params);
    if (params.size() % 2)
        m_records.append('\0');
    m_maxRecordWords = std::max(m_maxRecordWords, words);
}

QByteArray WmfWriter::finish()
{
    record(kEof, QByteArray());

    QByteArray out;
    // Placeable header; its checksum is the XOR of its first ten 16-bit words.
    QByteArray placeable;
    put32(placeable, kPlaceableKey);
    put16(placeable, 0);  // no metafile handle
    putS16(placeable, 0);
    putS16(placeable, 0);
    putS16(placeable, m_width);
    putS16(placeable, m_height);
    put16(placeable, quint16(m_unitsPerInch));
    put32(placeable, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(placeable.constData() + 2 * i);
    put16(placeable, checksum);
    out.append(placeable);

    // Metafile header: in-memory type, 9-word header, version 3.0, sizes in words.
    constexpr quint32 kHeaderWords = 9;
    put16(out, 1);
    put16(out, quint16(kHeaderWords));
    put16(out, 0x0300);
    put32(out, kHeaderWords + quint32(m_records.size() / 2));
    put16(out, quint16(m_objects.size()));
    put32(out, m_maxRecordWords);
    put16(out, 0);
    out.append(m_records);
    return out;
}

}  // namespace ortolan::mapgen
