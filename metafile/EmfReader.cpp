#include "metafile/EmfReader.h"

#include "metafile/DeviceContext.h"
#include "metafile/Dib.h"
#include "metafile/EmfRecords.h"

#include <QSet>

#include <cmath>

#include <variant>

namespace ortolan::metafile {

using namespace emf;

namespace {

constexpr quint32 MaxObjects = 65535;

void setError(QString *error, const QString &why)
{
    if (error)
        *error = why;
}

QRectF readRect(ByteReader &r)
{
    const qint32 l = r.i32(), t = r.i32(), rr = r.i32(), b = r.i32();
    return QRectF(QPointF(l, t), QPointF(rr, b));
}

QPointF readPoint(ByteReader &r)
{
    const qint32 x = r.i32(), y = r.i32();
    return QPointF(x, y);
}

QSizeF readSize(ByteReader &r)
{
    const qint32 w = r.i32(), h = r.i32();
    return QSizeF(w, h);
}

QTransform readXform(ByteReader &r)
{
    const float m11 = r.f32(), m12 = r.f32(), m21 = r.f32(), m22 = r.f32(), dx = r.f32(), dy = r.f32();
    for (const float f : {m11, m12, m21, m22, dx, dy})
        if (!std::isfinite(f))
            r.fail();
    return QTransform(m11, m12, m21, m22, dx, dy);
}

LogFont readLogFontW(ByteReader &r)
{
    LogFont f;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32();
    f.orientation = r.i32();
    f.weight = r.i32();
    f.italic = r.u8();
    f.underline = r.u8();
    f.strikeOut = r.u8();
    f.charSet = r.u8();
    f.outPrecision = r.u8();
    f.clipPrecision = r.u8();
    f.quality = r.u8();
    f.pitchAndFamily = r.u8();
    QString face = r.utf16(32);
    const qsizetype nul = face.indexOf(QChar(0));
    if (nul >= 0)
        face.truncate(nul);
    f.faceName = face;
    return f;
}

// Region data (header + rectangles) as a device-space path.
bool readRegion(ByteReader r, QPainterPath *path)
{
    const quint32 headerSize = r.u32();
    const quint32 type = r.u32();
    const quint32 count = r.u32();
    r.u32();
    readRect(r);
    if (!r.ok() || headerSize != RegionDataHeaderSize || type != RdhRectangles || qint64(count) * 16 > r.remaining())
        return false;
    path->setFillRule(Qt::WindingFill);
    for (quint32 i = 0; i < count; ++i) {
        const QRectF rect = readRect(r);
        if (rect.width() > 0 && rect.height() > 0)
            path->addRect(rect);
    }
    return r.ok();
}

// Reads count points, 16- or 32-bit. False when the record is too short.
bool readPoints(ByteReader &r, quint32 count, bool small, QPolygonF *out)
{
    if (qint64(count) * (small ? 4 : 8) > r.remaining())
        return false;
    out->reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        if (small) {
            const qint16 x = r.i16(), y = r.i16();
            out->append(QPointF(x, y));
        } else {
            out->append(readPoint(r));
        }
    }
    return r.ok();
}

// A bitmap embedded in a record at offsets counted from the record's start.
QImage recordBitmap(const EmfDocument &doc, const EmfRecord &rec, quint32 offBmi, quint32 cbBmi, quint32 offBits,
                    quint32 cbBits, QString *why)
{
    ByteReader whole(doc.data.constData() + rec.offset, rec.size);
    ByteReader info = whole.sub(offBmi, cbBmi);
    ByteReader bits = whole.sub(offBits, cbBits);
    if (!whole.ok()) {
        *why = QStringLiteral("bitmap outside its record");
        return QImage();
    }
    return Dib::decode(info, bits, why);
}

bool bottomUp(const EmfDocument &doc, const EmfRecord &rec, quint32 offBmi)
{
    ByteReader r(doc.data.constData() + rec.offset, rec.size);
    r.seek(offBmi);
    const quint32 size = r.u32();
    if (size == 12) {
        r.u16();
        return r.i16() > 0;
    }
    r.i32();
    return r.i32() > 0;
}

QString recordName(quint32 type)
{
    return QStringLiteral("record type %1").arg(type);
}

}  // namespace

bool EmfReader::parse(const QByteArray &data, EmfDocument *doc, QString *error)
{
    ByteReader r(data);
    EmfHeader &h = doc->header;
    doc->data = data;
    doc->records.clear();
    const quint32 type = r.u32();
    h.headerSize = r.u32();
    if (!r.ok() || type != EMR_HEADER) {
        setError(error, QStringLiteral("not an enhanced metafile (no header record)"));
        return false;
    }
    if (h.headerSize < quint32(header::BaseSize) || h.headerSize % 4 != 0 || h.headerSize > quint32(data.size())) {
        setError(error, QStringLiteral("header size %1 is invalid").arg(h.headerSize));
        return false;
    }
    ByteReader hr = r.sub(0, h.headerSize);
    hr.seek(header::Bounds);
    {
        const qint32 l = hr.i32(), t = hr.i32(), rr = hr.i32(), b = hr.i32();
        h.bounds = QRect(QPoint(l, t), QPoint(rr, b));
        const qint32 fl = hr.i32(), ft = hr.i32(), fr = hr.i32(), fb = hr.i32();
        h.frame = QRect(QPoint(fl, ft), QPoint(fr, fb));
    }
    if (hr.u32() != Signature) {
        setError(error, QStringLiteral("enhanced metafile signature missing"));
        return false;
    }
    hr.u32();  // version: any is accepted
    h.bytes = hr.u32();
    h.records = hr.u32();
    h.handles = hr.u16();
    hr.u16();
    const quint32 descLength = hr.u32();
    const quint32 descOffset = hr.u32();
    h.paletteEntries = hr.u32();
    {
        const qint32 w = hr.i32(), ht = hr.i32();
        h.devicePixels = QSize(w, ht);
        const qint32 mw = hr.i32(), mh = hr.i32();
        h.deviceMillimeters = QSize(mw, mh);
    }
    if (h.headerSize >= quint32(header::Size)) {
        hr.seek(header::Micrometers);
        const qint32 w = hr.i32(), ht = hr.i32();
        h.deviceMicrometers = QSize(w, ht);
    }
    if (!hr.ok()) {
        setError(error, QStringLiteral("truncated header"));
        return false;
    }
    if (descLength > 0) {
        ByteReader d(data);
        if (descOffset < quint32(header::BaseSize) || !d.seek(descOffset) || !d.has(qint64(descLength) * 2)) {
            setError(error, QStringLiteral("description outside the file"));
            return false;
        }
        h.description = d.utf16(descLength);
    }
    if (h.devicePixels.width() <= 0 || h.devicePixels.height() <= 0 || h.deviceMillimeters.width() <= 0
        || h.deviceMillimeters.height() <= 0) {
        setError(error, QStringLiteral("reference device of %1 x %2 pixels, %3 x %4 mm")
                            .arg(h.devicePixels.width())
                            .arg(h.devicePixels.height())
                            .arg(h.deviceMillimeters.width())
                            .arg(h.deviceMillimeters.height()));
        return false;
    }

    qsizetype offset = 0;
    for (;;) {
        if (offset + 8 > data.size()) {
            setError(error, QStringLiteral("file ends at byte %1 before the end-of-file record").arg(data.size()));
            return false;
        }
        ByteReader rec(data.constData() + offset, 8);
        EmfRecord record;
        record.type = rec.u32();
        record.size = rec.u32();
        record.offset = offset;
        if (record.size < 8 || record.size % 4 != 0 || qint64(record.size) > data.size() - offset) {
            setError(error, QStringLiteral("record %1 at byte %2 has the bad size %3")
                                .arg(doc->records.size())
                                .arg(offset)
                                .arg(record.size));
            return false;
        }
        if (offset == 0 && record.type != EMR_HEADER) {
            setError(error, QStringLiteral("first record is not the header"));
            return false;
        }
        doc->records.push_back(record);
        offset += record.size;
        if (record.type == EMR_EOF)
            break;
    }
    return true;
}

MetafilePicture EmfReader::read(const QByteArray &data, QString *error)
{
    EmfDocument doc;
    if (!parse(data, &doc, error))
        return MetafilePicture();
    return compile(doc, error);
}

MetafilePicture EmfReader::compile(const EmfDocument &doc, QString *error)
{
    const EmfHeader &h = doc.header;
    DisplayList list;
    DeviceContext dc(&list);
    double pxPerMmX = double(h.devicePixels.width()) / h.deviceMillimeters.width();
    double pxPerMmY = double(h.devicePixels.height()) / h.deviceMillimeters.height();
    if (h.deviceMicrometers.width() > 0 && h.deviceMicrometers.height() > 0) {
        pxPerMmX = h.devicePixels.width() * 1000.0 / h.deviceMicrometers.width();
        pxPerMmY = h.devicePixels.height() * 1000.0 / h.deviceMicrometers.height();
    }
    dc.setDevicePixelsPerMm(pxPerMmX, pxPerMmY);
    list.deviceToPicture = QTransform::fromScale(100 / pxPerMmX, 100 / pxPerMmY);

    std::vector<GdiObject> objects(std::max<size_t>(h.handles, 1));
    QSet<quint32> unknown;
    QString failure;

    auto objectAt = [&](quint32 index) -> GdiObject * {
        if (index == 0 || index > MaxObjects) {
            failure = QStringLiteral("object index %1 outside the object table").arg(index);
            return nullptr;
        }
        if (index >= objects.size()) {
            dc.warn(QStringLiteral("object index %1 beyond the header's %2 handles").arg(index).arg(h.handles));
            objects.resize(index + 1);
        }
        return &objects[index];
    };

    for (size_t n = 1; n < doc.records.size() && failure.isEmpty(); ++n) {
        const EmfRecord &rec = doc.records[n];
        ByteReader r = doc.parameters(rec);
        switch (rec.type) {
        case EMR_HEADER:
            failure = QStringLiteral("a second header record");
            break;
        case EMR_EOF:
            break;
        case EMR_POLYBEZIER:
        case EMR_POLYGON:
        case EMR_POLYLINE:
        case EMR_POLYBEZIERTO:
        case EMR_POLYLINETO:
        case EMR_POLYBEZIER16:
        case EMR_POLYGON16:
        case EMR_POLYLINE16:
        case EMR_POLYBEZIERTO16:
        case EMR_POLYLINETO16: {
            readRect(r);
            const quint32 count = r.u32();
            QPolygonF pts;
            if (!readPoints(r, count, rec.type >= EMR_POLYBEZIER16, &pts)) {
                failure = QStringLiteral("%1 points do not fit the record").arg(count);
                break;
            }
            switch (rec.type) {
            case EMR_POLYBEZIER:
            case EMR_POLYBEZIER16:
                dc.polyBezier(pts);
                break;
            case EMR_POLYGON:
            case EMR_POLYGON16:
                dc.polygon(pts);
                break;
            case EMR_POLYLINE:
            case EMR_POLYLINE16:
                dc.polyline(pts);
                break;
            case EMR_POLYBEZIERTO:
            case EMR_POLYBEZIERTO16:
                dc.polyBezierTo(pts);
                break;
            default:
                dc.polylineTo(pts);
                break;
            }
            break;
        }
        case EMR_POLYPOLYLINE:
        case EMR_POLYPOLYGON:
        case EMR_POLYPOLYLINE16:
        case EMR_POLYPOLYGON16: {
            readRect(r);
            const quint32 polys = r.u32();
            const quint32 total = r.u32();
            const bool small = rec.type >= EMR_POLYPOLYLINE16;
            if (!r.ok() || qint64(polys) * 4 + qint64(total) * (small ? 4 : 8) > r.remaining()) {
                failure = QStringLiteral("%1 polygons of %2 points do not fit the record").arg(polys).arg(total);
                break;
            }
            std::vector<quint32> counts(polys);
            quint64 sum = 0;
            for (quint32 &c : counts) {
                c = r.u32();
                sum += c;
            }
            if (sum != total) {
                failure = QStringLiteral("polygon point counts add up to %1, not %2").arg(sum).arg(total);
                break;
            }
            QList<QPolygonF> shapes;
            for (const quint32 c : counts) {
                QPolygonF pts;
                readPoints(r, c, small, &pts);
                shapes.append(pts);
            }
            if (rec.type == EMR_POLYPOLYGON || rec.type == EMR_POLYPOLYGON16)
                dc.polyPolygon(shapes);
            else
                dc.polyPolyline(shapes);
            break;
        }
        case EMR_SETWINDOWEXTEX:
            dc.setWindowExt(readSize(r));
            break;
        case EMR_SETWINDOWORGEX:
            dc.setWindowOrg(readPoint(r));
            break;
        case EMR_SETVIEWPORTEXTEX:
            dc.setViewportExt(readSize(r));
            break;
        case EMR_SETVIEWPORTORGEX:
            dc.setViewportOrg(readPoint(r));
            break;
        case EMR_SETPIXELV: {
            const QPointF p = readPoint(r);
            dc.setPixel(p, r.u32());
            break;
        }
        case EMR_SETMAPMODE:
            dc.setMapMode(MapMode(r.u32()));
            break;
        case EMR_SETBKMODE:
            dc.setBkMode(r.u32());
            break;
        case EMR_SETPOLYFILLMODE:
            dc.setPolyFillMode(r.u32());
            break;
        case EMR_SETROP2:
            dc.setRop2(r.u32());
            break;
        case EMR_SETTEXTALIGN:
            dc.setTextAlign(r.u32());
            break;
        case EMR_SETTEXTCOLOR:
            dc.setTextColor(r.u32());
            break;
        case EMR_SETBKCOLOR:
            dc.setBkColor(r.u32());
            break;
        case EMR_OFFSETCLIPRGN:
            dc.offsetClip(readPoint(r));
            break;
        case EMR_MOVETOEX:
            dc.moveTo(readPoint(r));
            break;
        case EMR_EXCLUDECLIPRECT:
            dc.excludeClipRect(readRect(r));
            break;
        case EMR_INTERSECTCLIPRECT:
            dc.intersectClipRect(readRect(r));
            break;
        case EMR_SCALEVIEWPORTEXTEX:
        case EMR_SCALEWINDOWEXTEX: {
            const qint32 xn = r.i32(), xd = r.i32(), yn = r.i32(), yd = r.i32();
            if (rec.type == EMR_SCALEWINDOWEXTEX)
                dc.scaleWindowExt(xn, xd, yn, yd);
            else
                dc.scaleViewportExt(xn, xd, yn, yd);
            break;
        }
        case EMR_SAVEDC:
            dc.saveDC();
            break;
        case EMR_RESTOREDC:
            dc.restoreDC(r.i32());
            break;
        case EMR_SETWORLDTRANSFORM:
            dc.setWorldTransform(readXform(r));
            break;
        case EMR_MODIFYWORLDTRANSFORM: {
            const QTransform t = readXform(r);
            dc.modifyWorldTransform(t, r.u32());
            break;
        }
        case EMR_SELECTOBJECT: {
            const quint32 index = r.u32();
            if (!r.ok())
                break;
            if (index & StockObjectFlag) {
                if (!dc.selectStockObject(index & ~StockObjectFlag))
                    dc.warn(QStringLiteral("unknown stock object %1").arg(index & ~StockObjectFlag));
                break;
            }
            GdiObject *o = objectAt(index);
            if (!o)
                break;
            dc.selectObject(*o, index);
            break;
        }
        case EMR_CREATEPEN: {
            const quint32 index = r.u32();
            LogPen pen;
            pen.style = PenStyle(r.u32() & 0xF);
            pen.width = r.i32();
            r.i32();
            pen.color = r.u32() & 0xFFFFFF;
            if (int(pen.style) > int(PenStyle::InsideFrame))
                pen.style = PenStyle::Solid;
            pen.width = std::abs(pen.width);
            if (!r.ok())
                break;
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::of(pen);
            }
            break;
        }
        case EMR_EXTCREATEPEN: {
            const quint32 index = r.u32();
            r.skip(16);  // bitmap of pattern pens: not drawn, the colour stands in
            const quint32 style = r.u32();
            const quint32 width = r.u32();
            const quint32 brushStyle = r.u32();
            const quint32 color = r.u32();
            if (!r.ok())
                break;
            LogPen pen;
            const quint32 dash = style & 0xF;
            pen.style = dash <= 6 ? PenStyle(dash) : (dash == 8 ? PenStyle::Dot : PenStyle::Solid);
            if (brushStyle == quint32(BrushStyle::Null))
                pen.style = PenStyle::Null;
            pen.extended = true;
            pen.cosmetic = (style & 0xF0000) == 0;
            pen.width = pen.cosmetic ? 0 : width;
            pen.color = color & 0xFFFFFF;
            const quint32 cap = style & 0xF00, join = style & 0xF000;
            pen.cap = cap == 0x100 ? Qt::SquareCap : (cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
            pen.join = join == 0x1000 ? Qt::BevelJoin : (join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::of(pen);
            }
            break;
        }
        case EMR_CREATEBRUSHINDIRECT: {
            const quint32 index = r.u32();
            LogBrush brush;
            const quint32 style = r.u32();
            brush.color = r.u32() & 0xFFFFFF;
            brush.hatch = HatchStyle(r.u32());
            if (!r.ok())
                break;
            brush.style = style == 1 ? BrushStyle::Null : (style == 2 ? BrushStyle::Hatched : BrushStyle::Solid);
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::of(brush);
            }
            break;
        }
        case EMR_CREATEMONOBRUSH:
        case EMR_CREATEDIBPATTERNBRUSHPT: {
            const quint32 index = r.u32();
            r.u32();
            const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            if (!r.ok())
                break;
            QString why;
            LogBrush brush;
            brush.style = BrushStyle::DibPattern;
            brush.pattern = recordBitmap(doc, rec, offBmi, cbBmi, offBits, cbBits, &why);
            if (brush.pattern.isNull()) {
                dc.warn(QStringLiteral("pattern brush skipped: ") + why);
                brush.style = BrushStyle::Solid;
                brush.color = rgb(128, 128, 128);
            }
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::of(brush);
            }
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
            const quint32 index = r.u32();
            const LogFont font = readLogFontW(r);
            if (!r.ok())
                break;
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::of(font);
            }
            break;
        }
        case EMR_CREATEPALETTE:
        case EMR_CREATECOLORSPACE:
        case EMR_CREATECOLORSPACEW: {
            const quint32 index = r.u32();
            if (!r.ok())
                break;
            if (GdiObject *o = objectAt(index)) {
                *o = GdiObject::other();
            }
            break;
        }
        case EMR_DELETEOBJECT: {
            const quint32 index = r.u32();
            if (!r.ok() || (index & StockObjectFlag))
                break;
            if (GdiObject *o = objectAt(index))
                *o = GdiObject();
            break;
        }
        case EMR_ANGLEARC: {
            const QPointF c = readPoint(r);
            const quint32 radius = r.u32();
            const float start = r.f32(), sweep = r.f32();
            if (r.ok())
                dc.angleArc(c, radius, start, sweep);
            break;
        }
        case EMR_ELLIPSE:
            dc.ellipse(readRect(r));
            break;
        case EMR_RECTANGLE:
            dc.rectangle(readRect(r));
            break;
        case EMR_ROUNDRECT: {
            const QRectF box = readRect(r);
            dc.roundRect(box, readSize(r));
            break;
        }
        case EMR_ARC:
        case EMR_CHORD:
        case EMR_PIE:
        case EMR_ARCTO: {
            const QRectF box = readRect(r);
            const QPointF a = readPoint(r), b = readPoint(r);
            if (!r.ok())
                break;
            const auto kind = rec.type == EMR_ARC     ? DeviceContext::ArcKind::Arc
                              : rec.type == EMR_CHORD ? DeviceContext::ArcKind::Chord
                              : rec.type == EMR_PIE   ? DeviceContext::ArcKind::Pie
                                                      : DeviceContext::ArcKind::ArcTo;
            dc.arc(kind, box, a, b);
            break;
        }
        case EMR_LINETO:
            dc.lineTo(readPoint(r));
            break;
        case EMR_SETARCDIRECTION:
            dc.setArcDirection(r.u32());
            break;
        case EMR_BEGINPATH:
            dc.beginPath();
            break;
        case EMR_ENDPATH:
            dc.endPath();
            break;
        case EMR_CLOSEFIGURE:
            dc.closeFigure();
            break;
        case EMR_FILLPATH:
            dc.fillPath();
            break;
        case EMR_STROKEANDFILLPATH:
            dc.strokeAndFillPath();
            break;
        case EMR_STROKEPATH:
            dc.strokePath();
            break;
        case EMR_FLATTENPATH:
            dc.flattenPath();
            break;
        case EMR_SELECTCLIPPATH:
            dc.selectClipPath(r.u32());
            break;
        case EMR_ABORTPATH:
            dc.abortPath();
            break;
        case EMR_GDICOMMENT: {
            const quint32 size = r.u32();
            if (r.ok() && qint64(size) > r.remaining())
                failure = QStringLiteral("comment of %1 bytes does not fit the record").arg(size);
            break;
        }
        case EMR_FILLRGN:
        case EMR_PAINTRGN: {
            readRect(r);
            const quint32 cb = r.u32();
            const quint32 brushIndex = rec.type == EMR_FILLRGN ? r.u32() : 0;
            QPainterPath region;
            if (!r.ok() || !readRegion(r.sub(r.position(), cb), &region)) {
                failure = QStringLiteral("region data does not fit the record");
                break;
            }
            if (rec.type == EMR_PAINTRGN) {
                dc.fillRegion(region);
                break;
            }
            if (brushIndex & StockObjectFlag) {
                dc.warn(QStringLiteral("region filled with a stock brush drawn grey"));
                const LogBrush grey{BrushStyle::Solid, rgb(128, 128, 128), {}, {}};
                dc.fillRegion(region, &grey);
            } else if (GdiObject *o = objectAt(brushIndex); o && o->kind == GdiObject::Kind::Brush) {
                dc.fillRegion(region, &o->brush);
            }
            break;
        }
        case EMR_EXTSELECTCLIPRGN: {
            const quint32 cb = r.u32();
            const quint32 mode = r.u32();
            if (!r.ok())
                break;
            QPainterPath region;
            if (cb == 0) {
                if (mode == quint32(RegionMode::Copy))
                    dc.selectClipRegion(QPainterPath(), mode);
                break;
            }
            if (!readRegion(r.sub(r.position(), cb), &region)) {
                failure = QStringLiteral("clip region data does not fit the record");
                break;
            }
            dc.selectClipRegion(region, mode);
            break;
        }
        case EMR_BITBLT:
        case EMR_STRETCHBLT: {
            readRect(r);
            const qint32 xDest = r.i32(), yDest = r.i32(), cxDest = r.i32(), cyDest = r.i32();
            const quint32 rop = r.u32();
            const qint32 xSrc = r.i32(), ySrc = r.i32();
            readXform(r);
            r.u32();
            r.u32();
            const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            qint32 cxSrc = cxDest, cySrc = cyDest;
            if (rec.type == EMR_STRETCHBLT) {
                cxSrc = r.i32();
                cySrc = r.i32();
            }
            if (!r.ok()) {
                failure = QStringLiteral("bit-block transfer record too short");
                break;
            }
            const QRectF dest(xDest, yDest, cxDest, cyDest);
            if (cbBmi == 0) {  // no source bitmap: a pattern fill
                if (rop == 0x00000042)
                    dc.fillRect(dest, 0);
                else if (rop == 0x00FF0062)
                    dc.fillRect(dest, rgb(255, 255, 255));
                else if (rop == PatCopy)
                    dc.fillRect(dest);
                else
                    dc.warn(QStringLiteral("pattern transfer with raster operation %1 skipped").arg(rop, 0, 16));
                break;
            }
            QString why;
            const QImage image = recordBitmap(doc, rec, offBmi, cbBmi, offBits, cbBits, &why);
            if (image.isNull()) {
                dc.warn(QStringLiteral("bitmap skipped: ") + why);
                break;
            }
            dc.drawImage(image, QRectF(xSrc, ySrc, cxSrc, cySrc), dest, rop);
            break;
        }
        case EMR_STRETCHDIBITS:
        case EMR_SETDIBITSTODEVICE: {
            readRect(r);
            const qint32 xDest = r.i32(), yDest = r.i32(), xSrc = r.i32(), ySrc = r.i32(), cxSrc = r.i32(),
                         cySrc = r.i32();
            const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            r.u32();  // colour usage
            quint32 rop = SrcCopy;
            qint32 cxDest = cxSrc, cyDest = cySrc;
            if (rec.type == EMR_STRETCHDIBITS) {
                rop = r.u32();
                cxDest = r.i32();
                cyDest = r.i32();
            }
            if (!r.ok()) {
                failure = QStringLiteral("bitmap record too short");
                break;
            }
            QString why;
            const QImage image = recordBitmap(doc, rec, offBmi, cbBmi, offBits, cbBits, &why);
            if (image.isNull()) {
                dc.warn(QStringLiteral("bitmap skipped: ") + why);
                break;
            }
            // Source rows of a bottom-up bitmap count from its bottom edge.
            // (In floating point: the stated source may lie anywhere in the 32-bit range.)
            const double top = bottomUp(doc, rec, offBmi) ? double(image.height()) - ySrc - cySrc : ySrc;
            dc.drawImage(image, QRectF(xSrc, top, cxSrc, cySrc), QRectF(xDest, yDest, cxDest, cyDest), rop);
            break;
        }
        case EMR_EXTTEXTOUTA:
        case EMR_EXTTEXTOUTW: {
            readRect(r);
            const quint32 graphicsMode = r.u32();
            r.f32();
            r.f32();
            const QPointF ref = readPoint(r);
            const quint32 chars = r.u32();
            const quint32 offString = r.u32();
            const quint32 options = r.u32();
            QRectF rect;
            if (!(options & TextOutOption::NoRect))
                rect = readRect(r);
            const quint32 offDx = r.u32();
            if (!r.ok()) {
                failure = QStringLiteral("text record too short");
                break;
            }
            ByteReader whole(doc.data.constData() + rec.offset, rec.size);
            const bool wide = rec.type == EMR_EXTTEXTOUTW;
            ByteReader str = whole.sub(offString, qint64(chars) * (wide ? 2 : 1));
            if (!whole.ok()) {
                failure = QStringLiteral("text of %1 characters outside its record").arg(chars);
                break;
            }
            const QString text = wide ? str.utf16(chars) : QString::fromLatin1(str.bytes(chars));
            QList<double> dx;
            const int perChar = (options & TextOutOption::Pdy) ? 2 : 1;
            if (offDx != 0 && chars > 0) {
                ByteReader adv = whole.sub(offDx, qint64(chars) * 4 * perChar);
                if (whole.ok()) {
                    dx.reserve(chars);
                    for (quint32 i = 0; i < chars; ++i) {
                        dx.append(adv.i32());
                        if (perChar == 2)
                            adv.i32();
                    }
                } else {
                    dc.warn(QStringLiteral("character advances outside their record ignored"));
                }
            }
            if (options & TextOutOption::GlyphIndex) {
                dc.warn(QStringLiteral("text given as glyph indices skipped"));
                break;
            }
            dc.setGraphicsMode(graphicsMode);
            dc.textOut(ref, text, dx, options, rect);
            dc.setGraphicsMode(quint32(GraphicsMode::Compatible));
            break;
        }
        case EMR_SETBRUSHORGEX:
        case EMR_SETMAPPERFLAGS:
        case EMR_SETSTRETCHBLTMODE:
        case EMR_SETCOLORADJUSTMENT:
        case EMR_SETMETARGN:
        case EMR_SELECTPALETTE:
        case EMR_SETPALETTEENTRIES:
        case EMR_RESIZEPALETTE:
        case EMR_REALIZEPALETTE:
        case EMR_SETMITERLIMIT:
        case EMR_SETICMMODE:
        case EMR_SETLAYOUT:
        case EMR_SETCOLORSPACE:
        case EMR_DELETECOLORSPACE:
            break;  // no effect on what is drawn here
        default:
            if (!unknown.contains(rec.type)) {
                unknown.insert(rec.type);
                dc.warn(QStringLiteral("%1 skipped").arg(recordName(rec.type)));
            }
            break;
        }
        if (failure.isEmpty() && !r.ok())
            failure = QStringLiteral("parameters longer than the record");
        if (!failure.isEmpty())
            failure = QStringLiteral("record %1 (type %2) at byte %3: %4").arg(n).arg(rec.type).arg(rec.offset).arg(failure);
    }
    if (!failure.isEmpty()) {
        setError(error, failure);
        return MetafilePicture();
    }

    // A frame stated with its corners swapped still gives the page its size.
    QRectF natural = QRectF(QPointF(h.frame.left(), h.frame.top()), QPointF(h.frame.right(), h.frame.bottom()))
                         .normalized();
    if (natural.width() <= 0 || natural.height() <= 0) {
        // The stated bounds are inclusive device pixels; their extent is taken in
        // floating point, as the corners may lie anywhere in the 32-bit range.
        const QRectF stated(QPointF(h.bounds.left(), h.bounds.top()),
                            QPointF(qreal(h.bounds.right()) + 1, qreal(h.bounds.bottom()) + 1));
        const QRectF b = stated.width() > 0 && stated.height() > 0 ? stated : list.deviceBounds;
        natural = list.deviceToPicture.mapRect(b);
    }
    if (natural.width() <= 0 || natural.height() <= 0) {
        setError(error, QStringLiteral("the picture has no size"));
        return MetafilePicture();
    }
    return MetafilePicture::fromDisplayList(std::move(list), MetafilePicture::Format::Emf, natural, 2540,
                                            dc.warnings());
}

}  // namespace ortolan::metafile
