#include "metafile/WmfReader.h"

#include "metafile/ByteReader.h"
#include "metafile/DeviceContext.h"
#include "metafile/Dib.h"
#include "metafile/WmfRecords.h"

#include <QSet>

#include <array>

namespace ortolan::metafile {

using namespace wmf;

namespace {

void setError(QString *error, const QString &why)
{
    if (error)
        *error = why;
}

// Coordinates of most records come last-first: read them into a small array.
template <int N>
std::array<qint16, N> words(ByteReader &r)
{
    std::array<qint16, N> a{};
    for (int i = 0; i < N; ++i)
        a[size_t(i)] = r.i16();
    return a;
}

QRectF ltrb(qint16 left, qint16 top, qint16 right, qint16 bottom)
{
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

bool readPoints(ByteReader &r, qint64 count, QPolygonF *out)
{
    if (count < 0 || count * 4 > r.remaining())
        return false;
    out->reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint16 x = r.i16(), y = r.i16();
        out->append(QPointF(x, y));
    }
    return r.ok();
}

// WMF text is in the system's 8-bit code page; Windows-1252 is what the atlas's
// files use.
QString decode8bit(const QByteArray &bytes)
{
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString s(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        s[i] = (c >= 0x80 && c < 0xA0) ? QChar(high[c - 0x80]) : QChar(char16_t(c));
    }
    return s;
}

}  // namespace

bool WmfReader::readHeader(const QByteArray &data, WmfHeader *h, QString *error)
{
    ByteReader r(data);
    *h = WmfHeader();
    if (r.u32() == PlaceableKey) {
        h->placeable = true;
        r.u16();
        const qint16 l = r.i16(), t = r.i16(), rr = r.i16(), b = r.i16();
        h->boundingBox = QRect(QPoint(l, t), QPoint(rr, b));
        h->unitsPerInch = r.u16();
        r.u32();
        const quint16 checksum = r.u16();
        if (!r.ok()) {
            setError(error, QStringLiteral("placeable header truncated"));
            return false;
        }
        ByteReader c(data);
        quint16 x = 0;
        for (int i = 0; i < 10; ++i)
            x ^= c.u16();
        h->checksumOk = (x == checksum);
        h->firstRecord = PlaceableHeaderSize;
    }
    r.seek(h->firstRecord);
    h->type = r.u16();
    const quint16 headerWords = r.u16();
    h->version = r.u16();
    h->sizeWords = r.u32();
    h->objects = r.u16();
    h->maxRecordWords = r.u32();
    r.u16();
    if (!r.ok()) {
        setError(error, QStringLiteral("metafile header truncated"));
        return false;
    }
    if ((h->type != 1 && h->type != 2) || headerWords != 9) {
        setError(error, QStringLiteral("not a Windows metafile header (type %1, %2 words)").arg(h->type).arg(headerWords));
        return false;
    }
    h->firstRecord += HeaderSize;
    return true;
}

MetafilePicture WmfReader::read(const QByteArray &data, QString *error)
{
    WmfHeader h;
    if (!readHeader(data, &h, error))
        return MetafilePicture();

    DisplayList list;
    DeviceContext dc(&list);
    QRectF frame;
    double unitsPerInch = PlainUnitsPerInch;
    if (h.placeable) {
        frame = QRectF(QPointF(h.boundingBox.left(), h.boundingBox.top()),
                       QPointF(h.boundingBox.right(), h.boundingBox.bottom()))
                    .normalized();
        if (frame.width() <= 0 || frame.height() <= 0) {
            setError(error, QStringLiteral("placeable bounding box is empty"));
            return MetafilePicture();
        }
        if (h.unitsPerInch == 0)
            dc.warn(QStringLiteral("placeable header without units per inch; %1 assumed").arg(PlainUnitsPerInch));
        else
            unitsPerInch = h.unitsPerInch;
        if (!h.checksumOk)
            dc.warn(QStringLiteral("placeable header checksum does not match"));
        dc.setFixedViewport(frame);
    }

    // Objects: lowest free slot first. A table of the header's size; files that
    // state 0 but create objects get room as they go, up to the 16-bit index limit.
    std::vector<GdiObject> objects(h.objects);
    QSet<quint16> unknown;
    QString failure;
    bool plainWindowSet = false;
    QPointF plainOrg;

    auto place = [&](const GdiObject &o) {
        for (GdiObject &slot : objects) {
            if (slot.kind == GdiObject::Kind::Empty) {
                slot = o;
                return;
            }
        }
        if (objects.size() >= 65535 || (h.objects > 0 && objects.size() >= h.objects)) {
            failure = QStringLiteral("object table of %1 entries is full").arg(objects.size());
            return;
        }
        objects.push_back(o);
    };
    auto objectAt = [&](quint16 index) -> GdiObject * {
        if (index >= objects.size()) {
            failure = QStringLiteral("object index %1 outside the table of %2").arg(index).arg(objects.size());
            return nullptr;
        }
        return &objects[index];
    };

    qsizetype offset = h.firstRecord;
    bool sawEof = false;
    int n = 0;
    while (failure.isEmpty()) {
        if (offset >= data.size())
            break;
        ByteReader head(data.constData() + offset, data.size() - offset);
        const quint32 sizeWords = head.u32();
        const quint16 function = head.u16();
        if (!head.ok()) {
            failure = QStringLiteral("record header cut off");
            break;
        }
        if (sizeWords < 3 || qint64(sizeWords) * 2 > data.size() - offset) {
            failure = QStringLiteral("record size of %1 words").arg(sizeWords);
            break;
        }
        ByteReader r(data.constData() + offset + RecordHeaderSize, qsizetype(sizeWords) * 2 - RecordHeaderSize);
        const qsizetype recordOffset = offset;
        offset += qsizetype(sizeWords) * 2;
        ++n;
        if (function == META_EOF) {
            sawEof = true;
            break;
        }
        switch (function) {
        case META_SETBKMODE:
            dc.setBkMode(r.u16());
            break;
        case META_SETMAPMODE:
            dc.setMapMode(MapMode(r.u16()));
            break;
        case META_SETROP2:
            dc.setRop2(r.u16());
            break;
        case META_SETPOLYFILLMODE:
            dc.setPolyFillMode(r.u16());
            break;
        case META_SETTEXTALIGN:
            dc.setTextAlign(r.u16());
            break;
        case META_SETBKCOLOR:
            dc.setBkColor(r.u32() & 0xFFFFFF);
            break;
        case META_SETTEXTCOLOR:
            dc.setTextColor(r.u32() & 0xFFFFFF);
            break;
        case META_SETWINDOWORG: {
            const auto [y, x] = words<2>(r);
            if (!h.placeable && !plainWindowSet)
                plainOrg = QPointF(x, y);
            dc.setWindowOrg(QPointF(x, y));
            break;
        }
        case META_SETWINDOWEXT: {
            const auto [y, x] = words<2>(r);
            if (!r.ok())
                break;
            if (!h.placeable && !plainWindowSet && x != 0 && y != 0) {
                // A plain file's first window is its frame, drawn at one unit per unit.
                plainWindowSet = true;
                frame = QRectF(plainOrg, QSizeF(x, y)).normalized();
                dc.setFixedViewport(QRectF(plainOrg, QSizeF(x, y)));
            }
            dc.setWindowExt(QSizeF(x, y));
            break;
        }
        case META_SETVIEWPORTORG: {
            const auto [y, x] = words<2>(r);
            dc.setViewportOrg(QPointF(x, y));
            break;
        }
        case META_SETVIEWPORTEXT: {
            const auto [y, x] = words<2>(r);
            dc.setViewportExt(QSizeF(x, y));
            break;
        }
        case META_OFFSETWINDOWORG: {
            const auto [y, x] = words<2>(r);
            dc.offsetWindowOrg(QPointF(x, y));
            break;
        }
        case META_OFFSETVIEWPORTORG: {
            const auto [y, x] = words<2>(r);
            dc.offsetViewportOrg(QPointF(x, y));
            break;
        }
        case META_SCALEWINDOWEXT:
        case META_SCALEVIEWPORTEXT: {
            const auto [yd, yn, xd, xn] = words<4>(r);
            if (function == META_SCALEWINDOWEXT)
                dc.scaleWindowExt(xn, xd, yn, yd);
            else
                dc.scaleViewportExt(xn, xd, yn, yd);
            break;
        }
        case META_LINETO: {
            const auto [y, x] = words<2>(r);
            dc.lineTo(QPointF(x, y));
            break;
        }
        case META_MOVETO: {
            const auto [y, x] = words<2>(r);
            dc.moveTo(QPointF(x, y));
            break;
        }
        case META_EXCLUDECLIPRECT:
        case META_INTERSECTCLIPRECT: {
            const auto [b, rr, t, l] = words<4>(r);
            if (!r.ok())
                break;
            if (function == META_INTERSECTCLIPRECT)
                dc.intersectClipRect(ltrb(l, t, rr, b));
            else
                dc.excludeClipRect(ltrb(l, t, rr, b));
            break;
        }
        case META_OFFSETCLIPRGN: {
            const auto [y, x] = words<2>(r);
            dc.offsetClip(QPointF(x, y));
            break;
        }
        case META_ELLIPSE:
        case META_RECTANGLE: {
            const auto [b, rr, t, l] = words<4>(r);
            if (!r.ok())
                break;
            if (function == META_ELLIPSE)
                dc.ellipse(ltrb(l, t, rr, b));
            else
                dc.rectangle(ltrb(l, t, rr, b));
            break;
        }
        case META_ROUNDRECT: {
            const auto [ch, cw, b, rr, t, l] = words<6>(r);
            if (r.ok())
                dc.roundRect(ltrb(l, t, rr, b), QSizeF(cw, ch));
            break;
        }
        case META_ARC:
        case META_PIE:
        case META_CHORD: {
            const auto [ye, xe, ys, xs, b, rr, t, l] = words<8>(r);
            if (!r.ok())
                break;
            const auto kind = function == META_ARC   ? DeviceContext::ArcKind::Arc
                              : function == META_PIE ? DeviceContext::ArcKind::Pie
                                                     : DeviceContext::ArcKind::Chord;
            dc.arc(kind, ltrb(l, t, rr, b), QPointF(xs, ys), QPointF(xe, ye));
            break;
        }
        case META_SETPIXEL: {
            const quint32 c = r.u32();
            const auto [y, x] = words<2>(r);
            if (r.ok())
                dc.setPixel(QPointF(x, y), c & 0xFFFFFF);
            break;
        }
        case META_POLYGON:
        case META_POLYLINE: {
            const qint16 count = r.i16();
            QPolygonF pts;
            if (!readPoints(r, count, &pts)) {
                failure = QStringLiteral("%1 points do not fit the record").arg(count);
                break;
            }
            if (function == META_POLYGON)
                dc.polygon(pts);
            else
                dc.polyline(pts);
            break;
        }
        case META_POLYPOLYGON: {
            const quint16 polys = r.u16();
            if (qint64(polys) * 2 > r.remaining()) {
                failure = QStringLiteral("%1 polygons do not fit the record").arg(polys);
                break;
            }
            std::vector<quint16> counts(polys);
            qint64 total = 0;
            for (quint16 &c : counts) {
                c = r.u16();
                total += c;
            }
            if (total * 4 > r.remaining()) {
                failure = QStringLiteral("%1 points do not fit the record").arg(total);
                break;
            }
            QList<QPolygonF> shapes;
            for (const quint16 c : counts) {
                QPolygonF pts;
                readPoints(r, c, &pts);
                shapes.append(pts);
            }
            dc.polyPolygon(shapes);
            break;
        }
        case META_TEXTOUT: {
            const qint16 length = r.i16();
            if (length < 0 || (qint64(length) + 1) / 2 * 2 + 4 > r.remaining()) {
                failure = QStringLiteral("text of %1 bytes does not fit the record").arg(length);
                break;
            }
            const QByteArray bytes = r.bytes(length);
            r.skip(length & 1);
            const auto [y, x] = words<2>(r);
            dc.textOut(QPointF(x, y), decode8bit(bytes), {}, 0, QRectF());
            break;
        }
        case META_EXTTEXTOUT: {
            const auto [y, x] = words<2>(r);
            const qint16 length = r.i16();
            const quint16 options = r.u16();
            QRectF rect;
            if (options & (TextOutOption::Opaque | TextOutOption::Clipped)) {
                const auto [l, t, rr, b] = words<4>(r);
                rect = ltrb(l, t, rr, b);
            }
            if (!r.ok() || length < 0 || (qint64(length) + 1) / 2 * 2 > r.remaining()) {
                failure = QStringLiteral("text of %1 bytes does not fit the record").arg(length);
                break;
            }
            const QByteArray bytes = r.bytes(length);
            r.skip(length & 1);
            QList<double> dx;
            if (r.remaining() >= qint64(length) * 2) {
                for (qint16 i = 0; i < length; ++i)
                    dx.append(r.i16());
            }
            dc.textOut(QPointF(x, y), decode8bit(bytes), dx, options, rect);
            break;
        }
        case META_SAVEDC:
            dc.saveDC();
            break;
        case META_RESTOREDC:
            dc.restoreDC(r.i16());
            break;
        case META_CREATEPENINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Kind::Pen;
            const quint16 style = r.u16();
            o.pen.width = std::abs(r.i16());
            r.i16();
            o.pen.color = r.u32() & 0xFFFFFF;
            if (!r.ok())
                break;
            const quint16 dash = style & 0xF;
            o.pen.style = dash <= 6 ? PenStyle(dash) : PenStyle::Solid;
            place(o);
            break;
        }
        case META_CREATEBRUSHINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            const quint16 style = r.u16();
            o.brush.color = r.u32() & 0xFFFFFF;
            o.brush.hatch = HatchStyle(r.u16());
            if (!r.ok())
                break;
            o.brush.style = style == 1 ? BrushStyle::Null : (style == 2 ? BrushStyle::Hatched : BrushStyle::Solid);
            place(o);
            break;
        }
        case META_CREATEFONTINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Kind::Font;
            LogFont &f = o.font;
            f.height = r.i16();
            f.width = r.i16();
            f.escapement = r.i16();
            f.orientation = r.i16();
            f.weight = r.i16();
            f.italic = r.u8();
            f.underline = r.u8();
            f.strikeOut = r.u8();
            f.charSet = r.u8();
            f.outPrecision = r.u8();
            f.clipPrecision = r.u8();
            f.quality = r.u8();
            f.pitchAndFamily = r.u8();
            if (!r.ok())
                break;
            QByteArray face = r.bytes(std::min<qsizetype>(r.remaining(), FontFaceSize));
            const qsizetype nul = face.indexOf('\0');
            if (nul >= 0)
                face.truncate(nul);
            f.faceName = decode8bit(face);
            place(o);
            break;
        }
        case META_DIBCREATEPATTERNBRUSH: {
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            r.u16();
            r.u16();
            QString why;
            o.brush.pattern = Dib::decodePacked(r.sub(r.position(), r.remaining()), &why);
            o.brush.style = o.brush.pattern.isNull() ? BrushStyle::Solid : BrushStyle::DibPattern;
            if (o.brush.pattern.isNull()) {
                o.brush.color = rgb(128, 128, 128);
                dc.warn(QStringLiteral("pattern brush skipped: ") + why);
            }
            r.skip(r.remaining());
            place(o);
            break;
        }
        case META_CREATEPATTERNBRUSH:
        case META_CREATEPALETTE:
        case META_CREATEREGION: {
            // Kept in the table so later indices stay right; not drawn.
            GdiObject o;
            o.kind = GdiObject::Kind::Other;
            if (function == META_CREATEPATTERNBRUSH) {
                o.kind = GdiObject::Kind::Brush;
                o.brush.color = rgb(128, 128, 128);
            }
            r.skip(r.remaining());
            place(o);
            break;
        }
        case META_SELECTOBJECT: {
            const quint16 index = r.u16();
            if (!r.ok())
                break;
            GdiObject *o = objectAt(index);
            if (!o)
                break;
            dc.selectObject(*o, index);
            break;
        }
        case META_DELETEOBJECT: {
            const quint16 index = r.u16();
            if (!r.ok())
                break;
            if (GdiObject *o = objectAt(index))
                *o = GdiObject();
            break;
        }
        case META_SELECTPALETTE:
        case META_SELECTCLIPREGION: {
            const quint16 index = r.u16();
            if (r.ok() && objectAt(index) && function == META_SELECTCLIPREGION)
                dc.warn(QStringLiteral("clip regions of WMF files are not applied"));
            break;
        }
        case META_PATBLT: {
            const quint32 rop = r.u32();
            const auto [ht, w, y, x] = words<4>(r);
            if (!r.ok())
                break;
            const QRectF box(x, y, w, ht);
            if (rop == 0x00000042)
                dc.fillRect(box, 0);
            else if (rop == 0x00FF0062)
                dc.fillRect(box, rgb(255, 255, 255));
            else
                dc.fillRect(box);
            break;
        }
        case META_STRETCHDIB:
        case META_DIBSTRETCHBLT:
        case META_DIBBITBLT: {
            const quint32 rop = r.u32();
            if (function == META_STRETCHDIB)
                r.u16();  // colour usage
            qint16 sh = 0, sw = 0, sy = 0, sx = 0, dh = 0, dw = 0, dy = 0, dx = 0;
            if (function == META_DIBBITBLT) {
                sy = r.i16(), sx = r.i16(), dh = r.i16(), dw = r.i16(), dy = r.i16(), dx = r.i16();
                sh = dh, sw = dw;
            } else {
                sh = r.i16(), sw = r.i16(), sy = r.i16(), sx = r.i16();
                dh = r.i16(), dw = r.i16(), dy = r.i16(), dx = r.i16();
            }
            if (!r.ok())
                break;
            if (r.remaining() < 40) {  // no bitmap: a pattern fill of the destination
                dc.fillRect(QRectF(dx, dy, dw, dh));
                r.skip(r.remaining());
                break;
            }
            ByteReader packed = r.sub(r.position(), r.remaining());
            r.skip(r.remaining());
            QString why;
            const QImage image = Dib::decodePacked(packed, &why);
            if (image.isNull()) {
                dc.warn(QStringLiteral("bitmap skipped: ") + why);
                break;
            }
            ByteReader probe = packed;
            probe.u32();
            probe.i32();
            const bool up = probe.i32() > 0;
            const double top = up ? image.height() - sy - sh : sy;
            dc.drawImage(image, QRectF(sx, top, sw, sh), QRectF(dx, dy, dw, dh), rop);
            break;
        }
        case META_REALIZEPALETTE:
        case META_SETPALENTRIES:
        case META_RESIZEPALETTE:
        case META_ANIMATEPALETTE:
        case META_SETRELABS:
        case META_SETSTRETCHBLTMODE:
        case META_SETTEXTCHAREXTRA:
        case META_SETTEXTJUSTIFICATION:
        case META_SETMAPPERFLAGS:
        case META_SETLAYOUT:
        case META_ESCAPE:
            break;  // no effect on what is drawn here
        default:
            if (!unknown.contains(function)) {
                unknown.insert(function);
                dc.warn(QStringLiteral("record function 0x%1 skipped").arg(function, 4, 16, QLatin1Char('0')));
            }
            break;
        }
        if (failure.isEmpty() && !r.ok())
            failure = QStringLiteral("parameters longer than the record");
        if (!failure.isEmpty())
            failure = QStringLiteral("record %1 (function 0x%2) at byte %3: %4")
                          .arg(n)
                          .arg(function, 4, 16, QLatin1Char('0'))
                          .arg(recordOffset)
                          .arg(failure);
    }
    if (!failure.isEmpty()) {
        setError(error, failure);
        return MetafilePicture();
    }
    if (!sawEof)
        dc.warn(QStringLiteral("no end-of-file record"));

    if (!h.placeable) {
        list.deviceToPicture = QTransform();
        if (!plainWindowSet)
            frame = list.deviceBounds;
    }
    if (frame.width() <= 0 || frame.height() <= 0) {
        setError(error, QStringLiteral("the picture has no size"));
        return MetafilePicture();
    }
    return MetafilePicture::fromDisplayList(std::move(list),
                                            h.placeable ? MetafilePicture::Format::PlaceableWmf
                                                        : MetafilePicture::Format::Wmf,
                                            frame, unitsPerInch, dc.warnings());
}

}  // namespace ortolan::metafile
