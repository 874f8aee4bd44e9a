#include "map/MapTestSupport.h"

#include "app/Settings.h"

#include <QFile>
#include <QList>
#include <QPoint>

namespace ortolan::test {

namespace {

// Little-endian record writer for the few WMF records the test picture needs.
class WmfBuilder {
public:
    void u16(quint16 v) { m_bytes.append(char(v & 0xFF)).append(char(v >> 8)); }
    void u32(quint32 v)
    {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    }
    void colour(const QColor &c) { u32(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16)); }

    // A record: size in words (header included), function, parameters.
    void record(quint16 function, const QList<quint16> &params)
    {
        u32(quint32(3 + params.size()));
        u16(function);
        for (quint16 p : params)
            u16(p);
        m_maxRecord = std::max<quint32>(m_maxRecord, quint32(3 + params.size()));
    }
    void brush(const QColor &c)
    {
        u32(7);
        u16(0x02FC);  // META_CREATEBRUSHINDIRECT
        u16(0);       // solid
        colour(c);
        u16(0);
        m_maxRecord = std::max<quint32>(m_maxRecord, 7);
    }
    void pen(const QColor &c, quint16 width)
    {
        u32(8);
        u16(0x02FA);  // META_CREATEPENINDIRECT
        u16(0);       // solid
        u16(width);
        u16(0);
        colour(c);
        m_maxRecord = std::max<quint32>(m_maxRecord, 8);
    }
    void polygon(const QList<QPoint> &points)
    {
        QList<quint16> params{quint16(points.size())};
        for (const QPoint &p : points)
            params << quint16(p.x()) << quint16(p.y());
        record(0x0324, params);  // META_POLYGON
    }

    QByteArray finish()
    {
        record(0x0000, {});  // META_EOF
        QByteArray file;
        const auto put16 = [&file](quint16 v) { file.append(char(v & 0xFF)).append(char(v >> 8)); };
        // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
        const quint16 placeable[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 11000, 14600, 2540, 0, 0};
        quint16 checksum = 0;
        for (quint16 w : placeable) {
            put16(w);
            checksum ^= w;
        }
        put16(checksum);
        // Metafile header: type, header words, version, size in words, objects, largest record, unused.
        const quint32 words = quint32(9 + m_bytes.size() / 2);
        put16(1);
        put16(9);
        put16(0x0300);
        put16(quint16(words & 0xFFFF));
        put16(quint16(words >> 16));
        put16(4);
        put16(quint16(m_maxRecord & 0xFFFF));
        put16(quint16(m_maxRecord >> 16));
        put16(0);
        return file + m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_maxRecord = 0;
};

}  // namespace

QByteArray smallMapWmf(const QColor &landColour)
{
    WmfBuilder w;
    w.record(0x020B, {0, 0});          // META_SETWINDOWORG (y, x)
    w.record(0x020C, {14600, 11000});  // META_SETWINDOWEXT (height, width)
    w.brush(TestSea);
    w.record(0x012D, {0});  // META_SELECTOBJECT
    w.pen(TestSea, 0);
    w.record(0x012D, {1});
    w.record(0x041B, {14600, 11000, 0, 0});  // META_RECTANGLE (bottom, right, top, left)
    w.brush(landColour);
    w.record(0x012D, {2});
    w.pen(TestCoast, 20);
    w.record(0x012D, {3});
    w.polygon({{1500, 1000}, {6500, 1000}, {9500, 12500}, {6500, 13500}});
    return w.finish();
}

MapFolder::MapFolder(bool hydrography, bool regions)
{
    m_previousFolder = settings().ApplicationFolder;
    settings().ApplicationFolder = m_dir.path();
    const auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    };
    if (hydrography) {
        write(QStringLiteral("ItaliaNEW.wmf"), smallMapWmf());
        write(QStringLiteral("ItaliaNEW_BW.wmf"), smallMapWmf(Qt::white));
    }
    if (regions)
        write(QStringLiteral("ItaliaREGIONI.wmf"), smallMapWmf(QColor(200, 200, 200)));
}

MapFolder::~MapFolder() { settings().ApplicationFolder = m_previousFolder; }

}  // namespace ortolan::test
