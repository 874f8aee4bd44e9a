#pragma once

#include "metafile/ByteWriter.h"
#include "metafile/WmfRecords.h"

#include <QByteArray>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <initializer_list>

namespace ortolan::metafile::test {

// Writes small Windows metafiles for the reader's tests: a placeable header (or
// none), the metafile header, records given as 16-bit words, and the EOF record.
class WmfBuilder {
public:
    explicit WmfBuilder(bool placeable = true, QRect bbox = QRect(QPoint(0, 0), QPoint(11000, 14600)),
                        quint16 unitsPerInch = 2540, quint16 objects = 8)
        : m_placeable(placeable), m_bbox(bbox), m_inch(unitsPerInch), m_objects(objects)
    {
    }

    // One record: function and parameter words as they are stored.
    WmfBuilder &record(quint16 function, std::initializer_list<qint32> words)
    {
        m_body.u32(quint32(3 + words.size()));
        m_body.u16(function);
        for (const qint32 w : words)
            m_body.u16(quint16(w));
        m_maxRecord = std::max<quint32>(m_maxRecord, quint32(3 + words.size()));
        return *this;
    }
    // A record with raw parameter bytes (padded to whole words).
    WmfBuilder &raw(quint16 function, QByteArray params)
    {
        if (params.size() % 2)
            params.append('\0');
        m_body.u32(quint32(3 + params.size() / 2));
        m_body.u16(function);
        m_body.raw(params);
        return *this;
    }

    WmfBuilder &window(int x, int y, int w, int h)
    {
        record(wmf::META_SETWINDOWORG, {y, x});
        return record(wmf::META_SETWINDOWEXT, {h, w});
    }
    WmfBuilder &pen(int style, int width, quint32 colour)
    {
        return record(wmf::META_CREATEPENINDIRECT, {style, width, 0, qint32(colour & 0xFFFF), qint32(colour >> 16)});
    }
    WmfBuilder &brush(int style, quint32 colour, int hatch = 0)
    {
        return record(wmf::META_CREATEBRUSHINDIRECT, {style, qint32(colour & 0xFFFF), qint32(colour >> 16), hatch});
    }
    WmfBuilder &select(int index) { return record(wmf::META_SELECTOBJECT, {index}); }
    WmfBuilder &remove(int index) { return record(wmf::META_DELETEOBJECT, {index}); }
    WmfBuilder &rectangle(int l, int t, int r, int b) { return record(wmf::META_RECTANGLE, {b, r, t, l}); }
    WmfBuilder &ellipse(int l, int t, int r, int b) { return record(wmf::META_ELLIPSE, {b, r, t, l}); }
    WmfBuilder &polygon(const QPolygon &p) { return poly(wmf::META_POLYGON, p); }
    WmfBuilder &polyline(const QPolygon &p) { return poly(wmf::META_POLYLINE, p); }
    WmfBuilder &poly(quint16 function, const QPolygon &p)
    {
        ByteWriter w;
        w.i16(qint16(p.size()));
        for (const QPoint &q : p) {
            w.i16(qint16(q.x()));
            w.i16(qint16(q.y()));
        }
        return raw(function, w.take());
    }
    WmfBuilder &textOut(int x, int y, const QByteArray &text)
    {
        ByteWriter w;
        w.i16(qint16(text.size()));
        w.raw(text);
        if (text.size() % 2)
            w.u8(0);
        w.i16(qint16(y));
        w.i16(qint16(x));
        return raw(wmf::META_TEXTOUT, w.take());
    }
    WmfBuilder &font(int height, const QByteArray &face, int escapement = 0)
    {
        ByteWriter w;
        w.i16(qint16(height));
        w.i16(0);
        w.i16(qint16(escapement));
        w.i16(qint16(escapement));
        w.i16(400);
        w.zeros(8);
        QByteArray f = face.left(31);
        f.append(QByteArray(32 - f.size(), '\0'));
        w.raw(f);
        return raw(wmf::META_CREATEFONTINDIRECT, w.take());
    }

    // The whole file; withEof = false leaves the end-of-file record out.
    QByteArray bytes(bool withEof = true) const
    {
        ByteWriter out;
        if (m_placeable) {
            out.u32(wmf::PlaceableKey);
            out.u16(0);
            out.i16(qint16(m_bbox.left()));
            out.i16(qint16(m_bbox.top()));
            out.i16(qint16(m_bbox.right()));
            out.i16(qint16(m_bbox.bottom()));
            out.u16(m_inch);
            out.u32(0);
            quint16 sum = 0;
            for (int i = 0; i < 10; ++i)
                sum ^= quint16(uchar(out.bytes()[2 * i]) | (uchar(out.bytes()[2 * i + 1]) << 8));
            out.u16(sum);
        }
        const qsizetype words = (wmf::HeaderSize + m_body.size()) / 2 + (withEof ? 3 : 0);
        out.u16(2);
        out.u16(9);
        out.u16(0x300);
        out.u32(quint32(words));
        out.u16(m_objects);
        out.u32(m_maxRecord);
        out.u16(0);
        out.raw(m_body.bytes());
        if (withEof) {
            out.u32(3);
            out.u16(wmf::META_EOF);
        }
        return out.take();
    }

private:
    bool m_placeable;
    QRect m_bbox;
    quint16 m_inch;
    quint16 m_objects;
    quint32 m_maxRecord = 3;
    ByteWriter m_body;
};

}  // namespace ortolan::metafile::test
