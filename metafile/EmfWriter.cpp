#include "metafile/EmfWriter.h"

#include "metafile/ByteWriter.h"
#include "metafile/DeviceContext.h"
#include "metafile/Dib.h"
#include "metafile/EmfRecords.h"
#include "metafile/Mapping.h"
#include "metafile/MetafilePicture.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ortolan::metafile {

using namespace emf;

EmfReferenceDevice EmfReferenceDevice::forPage(int dpiX, int dpiY, QSizeF pageMm)
{
    EmfReferenceDevice d;
    d.dpiX = std::max(dpiX, 1);
    d.dpiY = std::max(dpiY, 1);
    d.pixels = QSize(int(std::lround(pageMm.width() * d.dpiX / 25.4)), int(std::lround(pageMm.height() * d.dpiY / 25.4)));
    d.millimeters = QSize(int(std::lround(pageMm.width())), int(std::lround(pageMm.height())));
    return d;
}

double EmfReferenceDevice::pixelsPerMmX() const { return dpiX / 25.4; }
double EmfReferenceDevice::pixelsPerMmY() const { return dpiY / 25.4; }

namespace {

qint32 toI32(double v)
{
    if (!std::isfinite(v))
        return 0;
    return qint32(std::clamp(std::nearbyint(v), double(std::numeric_limits<qint32>::min()),
                             double(std::numeric_limits<qint32>::max())));
}

bool fits16(const QPolygon &points)
{
    for (const QPoint &p : points)
        if (p.x() < -32768 || p.x() > 32767 || p.y() < -32768 || p.y() > 32767)
            return false;
    return true;
}

// QRect keeps left/top/right/bottom as given; records store exactly those.
QRectF asRectF(const QRect &r)
{
    return QRectF(QPointF(r.left(), r.top()), QPointF(r.right(), r.bottom()));
}

}  // namespace

struct EmfWriter::State {
    Mapping map;
    bool advanced = false;
    quint32 textAlign = 0;
    QPointF cp;
    double penWidth = 0;  // logical
    bool penNull = false;
    LogFont font;
};

class EmfWriter::Impl {
public:
    struct Slot {
        enum class Kind { Free, Pen, Brush, Font } kind = Kind::Free;
        double penWidth = 0;
        bool penNull = false;
        LogFont font;
    };

    ByteWriter out;
    State s;
    std::vector<State> stack;
    std::vector<Slot> objects{Slot()};  // index 0 is the metafile itself
    quint32 highWater = 0;
    QRectF bounds;
    qsizetype recordStart = 0;
    double pxPerMmX = 600 / 25.4, pxPerMmY = 600 / 25.4;

    quint32 *records = nullptr;  // the writer's record count

    QTransform transform() const { return s.map.transform(pxPerMmX, pxPerMmY); }

    // Starts a record; end() pads it to four bytes, patches its size and counts it.
    void begin(quint32 type)
    {
        recordStart = out.size();
        out.u32(type);
        out.u32(0);
    }
    void end()
    {
        out.align4();
        out.putU32At(recordStart + 4, quint32(out.size() - recordStart));
        ++*records;
    }
    void emptyRecord(quint32 type)
    {
        begin(type);
        end();
    }
    void u32Record(quint32 type, quint32 value)
    {
        begin(type);
        out.u32(value);
        end();
    }
    // Path drawing records carry the bounds drawn so far.
    void boundedRecord(quint32 type)
    {
        begin(type);
        rect(bounds.isNull() ? QRectF(0, 0, 0, 0) : bounds);
        end();
    }
    void arcRecord(quint32 type, const QRect &box, const QPoint &start, const QPoint &end_)
    {
        begin(type);
        rectL(box);
        point(start);
        point(end_);
        end();
        grow(deviceBox(QPolygonF(QRectF(QPointF(box.left(), box.top()), QPointF(box.right(), box.bottom()))), true));
    }

    // Device-pixel rectangle of logical points, widened by half the pen.
    QRectF deviceBox(const QPolygonF &logical, bool withPen) const
    {
        QRectF r = transform().map(logical).boundingRect();
        if (withPen && !s.penNull) {
            const QTransform t = transform();
            const double w = s.penWidth > 0 ? QLineF(t.map(QPointF(0, 0)), t.map(QPointF(s.penWidth, 0))).length() : 1;
            r.adjust(-w / 2, -w / 2, w / 2, w / 2);
        }
        return r;
    }

    void grow(const QRectF &device)
    {
        if (device.isNull())
            return;
        bounds = bounds.isNull() ? device : bounds.united(device);
    }

    void rect(const QRectF &device)
    {
        out.i32(toI32(std::floor(device.left())));
        out.i32(toI32(std::floor(device.top())));
        out.i32(toI32(std::ceil(device.right())));
        out.i32(toI32(std::ceil(device.bottom())));
    }

    void rectL(const QRect &r)
    {
        out.i32(r.left());
        out.i32(r.top());
        out.i32(r.right());
        out.i32(r.bottom());
    }

    void point(const QPoint &p)
    {
        out.i32(p.x());
        out.i32(p.y());
    }

    void xform(const QTransform &t)
    {
        for (const double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
            out.f32(float(v));
    }

    quint32 allocate(Slot slot)
    {
        for (quint32 i = 1; i < objects.size(); ++i) {
            if (objects[i].kind == Slot::Kind::Free) {
                objects[i] = slot;
                return i;
            }
        }
        objects.push_back(slot);
        highWater = std::max(highWater, quint32(objects.size() - 1));
        return quint32(objects.size() - 1);
    }
};

EmfWriter::EmfWriter(const EmfReferenceDevice &device, const QRect &frame, const QString &description)
    : m_device(device), m_frame(frame), d(std::make_unique<Impl>())
{
    d->records = &m_records;
    d->pxPerMmX = device.pixelsPerMmX();
    d->pxPerMmY = device.pixelsPerMmY();
    d->out.reserve(64 * 1024);
    QString desc = description;
    if (!desc.isEmpty())
        desc += QChar(0) + QString(QChar(0));
    const quint32 descBytes = quint32(desc.size() * 2);
    ByteWriter &o = d->out;
    o.u32(EMR_HEADER);
    o.u32(quint32(header::Size) + ((descBytes + 3) & ~3u));
    o.zeros(16);  // bounds, patched by finish()
    d->rectL(frame);
    o.u32(Signature);
    o.u32(Version);
    o.u32(0);  // bytes
    o.u32(0);  // records
    o.u16(0);  // handles
    o.u16(0);
    o.u32(quint32(desc.size()));
    o.u32(desc.isEmpty() ? 0 : quint32(header::Size));
    o.u32(0);  // palette entries
    o.i32(device.pixels.width());
    o.i32(device.pixels.height());
    o.i32(device.millimeters.width());
    o.i32(device.millimeters.height());
    o.u32(0);  // pixel format
    o.u32(0);
    o.u32(0);  // no OpenGL
    o.i32(int(std::lround(device.pixels.width() * 25400.0 / device.dpiX)));
    o.i32(int(std::lround(device.pixels.height() * 25400.0 / device.dpiY)));
    o.utf16(desc);
    o.align4();
    m_records = 1;
}

EmfWriter::~EmfWriter() = default;

// --- record framing -------------------------------------------------------------

// --- objects ---------------------------------------------------------------------

EmfWriter::Handle EmfWriter::createPen(PenStyle style, int width, ColorRef color)
{
    if (m_finished)
        return 0;
    Impl::Slot slot;
    slot.kind = Impl::Slot::Kind::Pen;
    slot.penWidth = std::abs(double(width));
    slot.penNull = style == PenStyle::Null;
    const quint32 h = d->allocate(slot);
    d->begin(EMR_CREATEPEN);
    d->out.u32(h);
    d->out.u32(quint32(style));
    d->out.i32(width == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : std::abs(width));
    d->out.i32(0);
    d->out.u32(color & 0xFFFFFF);
    d->end();
    return h;
}

EmfWriter::Handle EmfWriter::createBrush(BrushStyle style, ColorRef color, HatchStyle hatch)
{
    if (m_finished)
        return 0;
    Impl::Slot slot;
    slot.kind = Impl::Slot::Kind::Brush;
    const quint32 h = d->allocate(slot);
    d->begin(EMR_CREATEBRUSHINDIRECT);
    d->out.u32(h);
    d->out.u32(quint32(style));
    d->out.u32(color & 0xFFFFFF);
    d->out.u32(style == BrushStyle::Hatched ? quint32(hatch) : 0);
    d->end();
    return h;
}

EmfWriter::Handle EmfWriter::createFont(const LogFont &font)
{
    if (m_finished)
        return 0;
    Impl::Slot slot;
    slot.kind = Impl::Slot::Kind::Font;
    slot.font = font;
    slot.font.faceName.truncate(31);
    const quint32 h = d->allocate(slot);
    d->begin(EMR_EXTCREATEFONTINDIRECTW);
    ByteWriter &o = d->out;
    o.u32(h);
    o.i32(font.height);
    o.i32(font.width);
    o.i32(font.escapement);
    o.i32(font.orientation);
    o.i32(font.weight);
    o.u8(font.italic);
    o.u8(font.underline);
    o.u8(font.strikeOut);
    o.u8(font.charSet);
    o.u8(font.outPrecision);
    o.u8(font.clipPrecision);
    o.u8(font.quality);
    o.u8(font.pitchAndFamily);
    o.utf16(slot.font.faceName);
    o.zeros(2 * (32 - slot.font.faceName.size()));
    d->end();
    return h;
}

void EmfWriter::selectObject(Handle handle)
{
    if (m_finished)
        return;
    d->begin(EMR_SELECTOBJECT);
    d->out.u32(handle);
    d->end();
    if (handle < d->objects.size()) {
        const Impl::Slot &slot = d->objects[handle];
        if (slot.kind == Impl::Slot::Kind::Pen) {
            d->s.penWidth = slot.penWidth;
            d->s.penNull = slot.penNull;
        } else if (slot.kind == Impl::Slot::Kind::Font) {
            d->s.font = slot.font;
        }
    }
}

void EmfWriter::selectStockObject(StockObject object)
{
    if (m_finished)
        return;
    d->begin(EMR_SELECTOBJECT);
    d->out.u32(StockObjectFlag | quint32(object));
    d->end();
    switch (object) {
    case StockObject::NullPen:
        d->s.penNull = true;
        d->s.penWidth = 0;
        break;
    case StockObject::BlackPen:
    case StockObject::WhitePen:
    case StockObject::DcPen:
        d->s.penNull = false;
        d->s.penWidth = 0;
        break;
    case StockObject::SystemFont:
    case StockObject::DefaultGuiFont:
    case StockObject::AnsiVarFont:
    case StockObject::DeviceDefaultFont:
        d->s.font = LogFont();
        break;
    default:
        break;
    }
}

void EmfWriter::deleteObject(Handle handle)
{
    if (m_finished)
        return;
    d->begin(EMR_DELETEOBJECT);
    d->out.u32(handle);
    d->end();
    if (handle > 0 && handle < d->objects.size())
        d->objects[handle] = Impl::Slot();
}

// --- state ------------------------------------------------------------------------

void EmfWriter::setRop2(Rop2 mode) { if (!m_finished)
        d->u32Record(EMR_SETROP2, quint32(mode)); }
void EmfWriter::setBkMode(BkMode mode) { if (!m_finished)
        d->u32Record(EMR_SETBKMODE, quint32(mode)); }
void EmfWriter::setBkColor(ColorRef color) { if (!m_finished)
        d->u32Record(EMR_SETBKCOLOR, color & 0xFFFFFF); }
void EmfWriter::setTextColor(ColorRef color) { if (!m_finished)
        d->u32Record(EMR_SETTEXTCOLOR, color & 0xFFFFFF); }
void EmfWriter::setPolyFillMode(PolyFillMode mode) { if (!m_finished)
        d->u32Record(EMR_SETPOLYFILLMODE, quint32(mode)); }
void EmfWriter::setArcDirection(ArcDirection direction) { if (!m_finished)
        d->u32Record(EMR_SETARCDIRECTION, quint32(direction)); }

void EmfWriter::setTextAlign(quint32 textAlignFlags)
{
    if (!m_finished)
        d->u32Record(EMR_SETTEXTALIGN, textAlignFlags);
    d->s.textAlign = textAlignFlags;
}

void EmfWriter::setMapMode(MapMode mode)
{
    if (!m_finished)
        d->u32Record(EMR_SETMAPMODE, quint32(mode));
    d->s.map.mapMode = mode;
}

void EmfWriter::setWindowExt(const QSize &extent)
{
    if (m_finished)
        return;
    d->begin(EMR_SETWINDOWEXTEX);
    d->out.i32(extent.width());
    d->out.i32(extent.height());
    d->end();
    if (extent.width() != 0 && extent.height() != 0)
        d->s.map.winExt = QSizeF(extent);
}

void EmfWriter::setWindowOrg(const QPoint &origin)
{
    if (m_finished)
        return;
    d->begin(EMR_SETWINDOWORGEX);
    d->point(origin);
    d->end();
    d->s.map.winOrg = origin;
}

void EmfWriter::setViewportExt(const QSize &extent)
{
    if (m_finished)
        return;
    d->begin(EMR_SETVIEWPORTEXTEX);
    d->out.i32(extent.width());
    d->out.i32(extent.height());
    d->end();
    if (extent.width() != 0 && extent.height() != 0)
        d->s.map.vpExt = QSizeF(extent);
}

void EmfWriter::setViewportOrg(const QPoint &origin)
{
    if (m_finished)
        return;
    d->begin(EMR_SETVIEWPORTORGEX);
    d->point(origin);
    d->end();
    d->s.map.vpOrg = origin;
}

void EmfWriter::setGraphicsMode(GraphicsMode mode)
{
    // Enhanced metafiles have no record for this: it only marks text records.
    d->s.advanced = mode == GraphicsMode::Advanced;
}

void EmfWriter::setWorldTransform(const QTransform &transform)
{
    if (m_finished)
        return;
    d->begin(EMR_SETWORLDTRANSFORM);
    d->xform(transform);
    d->end();
    d->s.advanced = true;
    if (transform.isInvertible())
        d->s.map.world = transform;
}

void EmfWriter::modifyWorldTransform(const QTransform &transform, ModifyWorldTransformMode mode)
{
    if (m_finished)
        return;
    d->begin(EMR_MODIFYWORLDTRANSFORM);
    d->xform(transform);
    d->out.u32(quint32(mode));
    d->end();
    d->s.advanced = true;
    switch (mode) {
    case ModifyWorldTransformMode::Identity:
        d->s.map.world = QTransform();
        break;
    case ModifyWorldTransformMode::LeftMultiply:
        d->s.map.world = transform * d->s.map.world;
        break;
    case ModifyWorldTransformMode::RightMultiply:
        d->s.map.world = d->s.map.world * transform;
        break;
    case ModifyWorldTransformMode::Set:
        d->s.map.world = transform;
        break;
    }
}

void EmfWriter::saveDC()
{
    if (m_finished)
        return;
    d->begin(EMR_SAVEDC);
    d->end();
    d->stack.push_back(d->s);
}

void EmfWriter::restoreDC(int relative)
{
    if (m_finished)
        return;
    d->begin(EMR_RESTOREDC);
    d->out.i32(relative);
    d->end();
    const qsizetype target = relative < 0 ? qsizetype(d->stack.size()) + relative : relative - 1;
    if (relative != 0 && target >= 0 && target < qsizetype(d->stack.size())) {
        d->s = d->stack[size_t(target)];
        d->stack.resize(size_t(target));
    }
}

// --- lines and shapes ---------------------------------------------------------------

void EmfWriter::moveTo(const QPoint &p)
{
    if (m_finished)
        return;
    d->begin(EMR_MOVETOEX);
    d->point(p);
    d->end();
    d->s.cp = p;
}

void EmfWriter::lineTo(const QPoint &p)
{
    if (m_finished)
        return;
    d->begin(EMR_LINETO);
    d->point(p);
    d->end();
    d->grow(d->deviceBox(QPolygonF() << d->s.cp << QPointF(p), true));
    d->s.cp = p;
}

void EmfWriter::rectangle(const QRect &box)
{
    if (m_finished)
        return;
    d->begin(EMR_RECTANGLE);
    d->rectL(box);
    d->end();
    d->grow(d->deviceBox(QPolygonF(asRectF(box)), true));
}

void EmfWriter::roundRect(const QRect &box, const QSize &corner)
{
    if (m_finished)
        return;
    d->begin(EMR_ROUNDRECT);
    d->rectL(box);
    d->out.i32(corner.width());
    d->out.i32(corner.height());
    d->end();
    d->grow(d->deviceBox(QPolygonF(asRectF(box)), true));
}

void EmfWriter::ellipse(const QRect &box)
{
    if (m_finished)
        return;
    d->begin(EMR_ELLIPSE);
    d->rectL(box);
    d->end();
    d->grow(d->deviceBox(QPolygonF(asRectF(box)), true));
}

void EmfWriter::arc(const QRect &box, const QPoint &start, const QPoint &end)
{
    if (!m_finished)
        d->arcRecord(EMR_ARC, box, start, end);
}

void EmfWriter::chord(const QRect &box, const QPoint &start, const QPoint &end)
{
    if (!m_finished)
        d->arcRecord(EMR_CHORD, box, start, end);
}

void EmfWriter::pie(const QRect &box, const QPoint &start, const QPoint &end)
{
    if (!m_finished)
        d->arcRecord(EMR_PIE, box, start, end);
}

namespace {
// The 16-bit variant of each point record is its type + 83.
constexpr quint32 Small = EMR_POLYBEZIER16 - EMR_POLYBEZIER;
}  // namespace

void EmfWriter::polygon(const QPolygon &points)
{
    polyPoints(EMR_POLYGON, points);
}

void EmfWriter::polyline(const QPolygon &points)
{
    polyPoints(EMR_POLYLINE, points);
}

void EmfWriter::polylineTo(const QPolygon &points)
{
    polyPoints(EMR_POLYLINETO, points);
}

void EmfWriter::polyBezier(const QPolygon &points)
{
    polyPoints(EMR_POLYBEZIER, points);
}

void EmfWriter::polyBezierTo(const QPolygon &points)
{
    polyPoints(EMR_POLYBEZIERTO, points);
}

void EmfWriter::polyPoints(quint32 type, const QPolygon &points)
{
    if (m_finished || points.isEmpty())
        return;
    const bool small = fits16(points);
    QPolygonF touched(points);
    const bool continues = type == EMR_POLYLINETO || type == EMR_POLYBEZIERTO;
    if (continues)
        touched.prepend(d->s.cp);
    const QRectF box = d->deviceBox(touched, true);
    d->begin(small ? type + Small : type);
    d->rect(box);
    d->out.u32(quint32(points.size()));
    for (const QPoint &p : points) {
        if (small) {
            d->out.i16(qint16(p.x()));
            d->out.i16(qint16(p.y()));
        } else {
            d->point(p);
        }
    }
    d->end();
    d->grow(box);
    if (continues)
        d->s.cp = points.last();
}

void EmfWriter::polyPolygon(const QList<QPolygon> &polygons)
{
    polyPolyPoints(EMR_POLYPOLYGON, polygons);
}

void EmfWriter::polyPolyline(const QList<QPolygon> &polylines)
{
    polyPolyPoints(EMR_POLYPOLYLINE, polylines);
}

void EmfWriter::polyPolyPoints(quint32 type, const QList<QPolygon> &shapes)
{
    if (m_finished || shapes.isEmpty())
        return;
    bool small = true;
    QPolygonF all;
    quint32 total = 0;
    for (const QPolygon &p : shapes) {
        small = small && fits16(p);
        all += QPolygonF(p);
        total += quint32(p.size());
    }
    const QRectF box = d->deviceBox(all, true);
    d->begin(small ? type + Small : type);
    d->rect(box);
    d->out.u32(quint32(shapes.size()));
    d->out.u32(total);
    for (const QPolygon &p : shapes)
        d->out.u32(quint32(p.size()));
    for (const QPolygon &poly : shapes) {
        for (const QPoint &p : poly) {
            if (small) {
                d->out.i16(qint16(p.x()));
                d->out.i16(qint16(p.y()));
            } else {
                d->point(p);
            }
        }
    }
    d->end();
    d->grow(box);
}

// --- paths ------------------------------------------------------------------------------

void EmfWriter::beginPath()
{
    if (!m_finished)
        d->emptyRecord(EMR_BEGINPATH);
}

void EmfWriter::endPath()
{
    if (!m_finished)
        d->emptyRecord(EMR_ENDPATH);
}

void EmfWriter::closeFigure()
{
    if (!m_finished)
        d->emptyRecord(EMR_CLOSEFIGURE);
}

void EmfWriter::abortPath()
{
    if (!m_finished)
        d->emptyRecord(EMR_ABORTPATH);
}


void EmfWriter::fillPath() 
{
    if (!m_finished)
        d->boundedRecord(EMR_FILLPATH);
}
void EmfWriter::strokeAndFillPath() 
{
    if (!m_finished)
        d->boundedRecord(EMR_STROKEANDFILLPATH);
}
void EmfWriter::strokePath() 
{
    if (!m_finished)
        d->boundedRecord(EMR_STROKEPATH);
}
void EmfWriter::selectClipPath(RegionMode mode) { if (!m_finished)
        d->u32Record(EMR_SELECTCLIPPATH, quint32(mode)); }

// --- clipping ---------------------------------------------------------------------------

void EmfWriter::selectClipRegion(const EmfRegion &region, RegionMode mode)
{
    const QList<QRect> rects = region.rects();
    if (m_finished)
        return;
    d->begin(EMR_EXTSELECTCLIPRGN);
    d->out.u32(quint32(RegionDataHeaderSize + 16 * rects.size()));
    d->out.u32(quint32(mode));
    d->out.u32(RegionDataHeaderSize);
    d->out.u32(RdhRectangles);
    d->out.u32(quint32(rects.size()));
    d->out.u32(quint32(16 * rects.size()));
    const QRect b = region.bounds();
    // Region rectangles are stored with exclusive right and bottom edges.
    d->out.i32(b.left());
    d->out.i32(b.top());
    d->out.i32(b.left() + b.width());
    d->out.i32(b.top() + b.height());
    for (const QRect &r : rects) {
        d->out.i32(r.left());
        d->out.i32(r.top());
        d->out.i32(r.left() + r.width());
        d->out.i32(r.top() + r.height());
    }
    d->end();
}

void EmfWriter::resetClipRegion()
{
    if (m_finished)
        return;
    d->begin(EMR_EXTSELECTCLIPRGN);
    d->out.u32(0);
    d->out.u32(quint32(RegionMode::Copy));
    d->end();
}

void EmfWriter::intersectClipRect(const QRect &box)
{
    if (m_finished)
        return;
    d->begin(EMR_INTERSECTCLIPRECT);
    d->rectL(box);
    d->end();
}

void EmfWriter::excludeClipRect(const QRect &box)
{
    if (m_finished)
        return;
    d->begin(EMR_EXCLUDECLIPRECT);
    d->rectL(box);
    d->end();
}

// --- text ---------------------------------------------------------------------------------

LogFont EmfWriter::selectedFont() const { return d->s.font; }

QList<qint32> EmfWriter::advancesFor(const LogFont &font, const QString &text) const
{
    const QList<qreal> exact = DeviceContext::measureAdvances(font, text);
    QList<qint32> out;
    out.reserve(exact.size());
    qreal sum = 0;
    qint64 placed = 0;
    for (const qreal a : exact) {
        sum += a;
        const qint64 next = std::llround(sum);
        out.append(qint32(next - placed));
        placed = next;
    }
    return out;
}

void EmfWriter::textOut(const QPoint &p, const QString &text, quint32 options, const QRect &rect)
{
    extTextOut(p, text, advancesFor(d->s.font, text), options, rect);
}

void EmfWriter::extTextOut(const QPoint &p, const QString &text, const QList<qint32> &advances, quint32 options,
                           const QRect &rect)
{
    if (m_finished)
        return;
    options &= ~(TextOutOption::NoRect | TextOutOption::Pdy | TextOutOption::GlyphIndex);
    const quint32 chars = quint32(text.size());
    const bool withDx = advances.size() >= text.size() && chars > 0;

    // Bounds: the text cell in device pixels.
    qreal ascent = 0, descent = 0;
    DeviceContext::measureAdvances(d->s.font, QString(), &ascent, &descent);
    qint64 width = 0;
    for (qsizetype i = 0; i < advances.size() && i < text.size(); ++i)
        width += advances[i];
    QRectF cell(0, 0, qreal(width), ascent + descent);
    switch (d->s.textAlign & TextAlign::HorizontalMask) {
    case TextAlign::Center:
        cell.moveLeft(-qreal(width) / 2);
        break;
    case TextAlign::Right:
        cell.moveLeft(-qreal(width));
        break;
    }
    if ((d->s.textAlign & TextAlign::VerticalMask) == TextAlign::Baseline)
        cell.moveTop(-ascent);
    else if ((d->s.textAlign & TextAlign::VerticalMask) == TextAlign::Bottom)
        cell.moveTop(-ascent - descent);
    QTransform rot;
    rot.rotate(-(d->s.font.escapement / 10.0));
    const QPointF ref = (d->s.textAlign & TextAlign::UpdateCp) ? d->s.cp : QPointF(p);
    QPolygonF cellPoly = (rot * QTransform::fromTranslate(ref.x(), ref.y())).map(QPolygonF(cell));
    QRectF box = d->deviceBox(cellPoly, false);
    if (options & TextOutOption::Opaque)
        box = box.united(d->deviceBox(QPolygonF(asRectF(rect)), false));

    d->begin(EMR_EXTTEXTOUTW);
    ByteWriter &o = d->out;
    d->rect(box);
    o.u32(d->s.advanced ? quint32(GraphicsMode::Advanced) : quint32(GraphicsMode::Compatible));
    o.f32(float(100 / d->pxPerMmX));
    o.f32(float(100 / d->pxPerMmY));
    d->point(p);
    o.u32(chars);
    const quint32 offString = ExtTextOutHeaderSize;
    const quint32 stringBytes = (chars * 2 + 3) & ~3u;
    o.u32(chars ? offString : 0);
    o.u32(options);
    if (rect.isNull())
        d->rectL(QRect(QPoint(0, 0), QPoint(-1, -1)));
    else
        d->rectL(rect);
    o.u32(withDx ? offString + stringBytes : 0);
    o.utf16(text);
    o.align4();
    if (withDx)
        for (quint32 i = 0; i < chars; ++i)
            o.i32(advances[i]);
    d->end();
    d->grow(box);
    if (d->s.textAlign & TextAlign::UpdateCp)
        d->s.cp.rx() += width;
}

int EmfWriter::drawText(const QRect &box, const QString &text, quint32 flags)
{
    if (m_finished)
        return 0;
    const LogFont font = d->s.font;
    qreal ascent = 0, descent = 0, leading = 0;
    DeviceContext::measureAdvances(font, QString(), &ascent, &descent, &leading);
    const qreal lineHeight = std::ceil(ascent + descent + ((flags & DrawTextFlag::ExternalLeading) ? leading : 0));
    const qreal boxWidth = box.right() - box.left();

    auto widthOf = [&](const QString &s) {
        qint64 w = 0;
        for (const qint32 a : advancesFor(font, s))
            w += a;
        return qreal(w);
    };

    // Lines: paragraphs split at hard breaks, then wrapped at spaces.
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QStringList lines;
    if (flags & DrawTextFlag::SingleLine) {
        lines << body.replace(QLatin1Char('\n'), QLatin1Char(' '));
    } else {
        for (const QString &paragraph : body.split(QLatin1Char('\n'))) {
            if (!(flags & DrawTextFlag::WordBreak)) {
                lines << paragraph;
                continue;
            }
            const QStringList wordsOf = paragraph.split(QLatin1Char(' '));
            QString line;
            for (const QString &word : wordsOf) {
                const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
                if (!line.isEmpty() && widthOf(candidate) > boxWidth) {
                    lines << line;
                    line = word;
                } else {
                    line = candidate;
                }
            }
            lines << line;
        }
    }

    const qreal total = lineHeight * lines.size();
    qreal y = box.top();
    const qreal boxHeight = box.bottom() - box.top();
    if (flags & DrawTextFlag::Bottom)
        y = box.bottom() - total;
    else if (flags & DrawTextFlag::VCenter)
        y = box.top() + (boxHeight - total) / 2;

    const quint32 savedAlign = d->s.textAlign;
    if (savedAlign != (TextAlign::Left | TextAlign::Top))
        setTextAlign(TextAlign::Left | TextAlign::Top);
    QTransform rot;
    rot.rotate(-(font.escapement / 10.0));
    const QPointF origin = box.topLeft();
    const bool clip = !(flags & DrawTextFlag::NoClip) && font.escapement == 0;
    for (const QString &line : lines) {
        const QList<qint32> adv = advancesFor(font, line);
        qreal w = 0;
        for (const qint32 a : adv)
            w += a;
        qreal x = box.left();
        if (flags & DrawTextFlag::Right)
            x = box.right() - w;
        else if (flags & DrawTextFlag::Center)
            x = box.left() + (boxWidth - w) / 2;
        const QPointF at = origin + rot.map(QPointF(x, y) - origin);
        if (!line.trimmed().isEmpty())
            extTextOut(QPoint(toI32(at.x()), toI32(at.y())), line, adv, clip ? TextOutOption::Clipped : 0,
                       clip ? box : QRect());
        y += lineHeight;
    }
    if (savedAlign != (TextAlign::Left | TextAlign::Top))
        setTextAlign(savedAlign);
    return int(std::ceil(total));
}

// --- pictures -----------------------------------------------------------------------------

void EmfWriter::stretchDIBits(const QRect &dest, const QImage &image, DibFormat format)
{
    if (m_finished || image.isNull())
        return;
    const int bitCount = format == DibFormat::Rgb32 ? 32 : 24;
    const QByteArray info = Dib::infoHeader(image, bitCount);
    const QByteArray bits = Dib::bits(image, bitCount);
    const QRectF box = d->deviceBox(QPolygonF(QRectF(dest)), false);
    d->begin(EMR_STRETCHDIBITS);
    ByteWriter &o = d->out;
    d->rect(box);
    o.i32(dest.x());
    o.i32(dest.y());
    o.i32(0);
    o.i32(0);
    o.i32(image.width());
    o.i32(image.height());
    o.u32(StretchDibitsHeaderSize);
    o.u32(quint32(info.size()));
    o.u32(quint32(StretchDibitsHeaderSize + info.size()));
    o.u32(quint32(bits.size()));
    o.u32(DibRgbColors);
    o.u32(SrcCopy);
    o.i32(dest.width());
    o.i32(dest.height());
    o.raw(info);
    o.raw(bits);
    d->end();
    d->grow(box);
}

void EmfWriter::comment(const QByteArray &data)
{
    if (m_finished)
        return;
    d->begin(EMR_GDICOMMENT);
    d->out.u32(quint32(data.size()));
    d->out.raw(data);
    d->end();
}

// --- output ---------------------------------------------------------------------------------

QRect EmfWriter::bounds() const
{
    if (d->bounds.isNull())
        return QRect();
    // Shapes far outside any page (coordinates of a bad script) are cut at
    // +-(2^30 - 1) pixels, where QRect's own arithmetic (isNull, width:
    // right - left + 1) still fits an int.
    constexpr double limit = double((1 << 30) - 1);
    const auto corner = [limit](double v) { return toI32(std::clamp(v, -limit, limit)); };
    return QRect(QPoint(corner(std::floor(d->bounds.left())), corner(std::floor(d->bounds.top()))),
                 QPoint(corner(std::ceil(d->bounds.right())), corner(std::ceil(d->bounds.bottom()))));
}

quint16 EmfWriter::handleCount() const
{
    return quint16(std::min<quint32>(d->highWater + 1, 0xFFFF));
}

QByteArray EmfWriter::finish()
{
    if (!m_finished) {
        d->begin(EMR_EOF);
        d->out.u32(0);   // palette entries
        d->out.u32(16);  // offset of the (empty) palette
        d->out.u32(EofSize);
        d->end();
        m_finished = true;
        const QRect b = bounds();
        if (b.isNull()) {
            d->out.putI32At(header::Bounds, 0);
            d->out.putI32At(header::Bounds + 4, 0);
            d->out.putI32At(header::Bounds + 8, -1);
            d->out.putI32At(header::Bounds + 12, -1);
        } else {
            d->out.putI32At(header::Bounds, b.left());
            d->out.putI32At(header::Bounds + 4, b.top());
            d->out.putI32At(header::Bounds + 8, b.right());
            d->out.putI32At(header::Bounds + 12, b.bottom());
        }
        d->out.putU32At(header::Bytes, quint32(d->out.size()));
        d->out.putU32At(header::Records, m_records);
        d->out.putU16At(header::Handles, handleCount());
    }
    return d->out.bytes();
}

bool EmfWriter::save(const QString &path, QString *error)
{
    const QByteArray bytes = finish();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace ortolan::metafile

namespace ortolan::metafile {

namespace {

struct Figure {
    QPolygon points;          // start point, then the points of each segment
    std::vector<bool> curve;  // per point after the first: part of a cubic segment
    bool closed = false;
    bool hasCurves = false;
};

std::vector<Figure> figuresOf(const QPainterPath &path)
{
    std::vector<Figure> out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPoint p(toI32(e.x), toI32(e.y));
        if (e.isMoveTo() || out.empty()) {
            if (!out.empty() && out.back().points.size() > 1 && out.back().points.first() == out.back().points.last())
                out.back().closed = true;
            out.push_back(Figure());
            out.back().points << p;
            continue;
        }
        Figure &f = out.back();
        f.points << p;
        const bool curve = !e.isLineTo();
        f.curve.push_back(curve);
        f.hasCurves = f.hasCurves || curve;
    }
    if (!out.empty() && out.back().points.size() > 1 && out.back().points.first() == out.back().points.last())
        out.back().closed = true;
    return out;
}

}  // namespace

void EmfWriter::emitPath(const QPainterPath &path, bool fill, bool stroke, bool bracketOnly)
{
    std::vector<Figure> figures = figuresOf(path);
    bool curves = false, open = false;
    for (const Figure &f : figures) {
        curves = curves || f.hasCurves;
        open = open || !f.closed;
    }
    if (!bracketOnly && !curves && !(fill && stroke && open)) {
        QList<QPolygon> shapes;
        for (Figure &f : figures) {
            if (f.points.size() < 2)
                continue;
            if (fill && f.closed)
                f.points.removeLast();  // polygons close themselves
            shapes << f.points;
        }
        if (shapes.isEmpty())
            return;
        if (fill)
            shapes.size() == 1 ? polygon(shapes.first()) : polyPolygon(shapes);
        else
            shapes.size() == 1 ? polyline(shapes.first()) : polyPolyline(shapes);
        return;
    }
    beginPath();
    for (const Figure &f : figures) {
        if (f.points.isEmpty())
            continue;
        moveTo(f.points.first());
        QPolygon run;
        bool runCurve = false;
        auto flush = [&] {
            if (run.isEmpty())
                return;
            runCurve ? polyBezierTo(run) : polylineTo(run);
            run.clear();
        };
        for (qsizetype i = 1; i < f.points.size(); ++i) {
            const bool c = f.curve[size_t(i - 1)];
            if (c != runCurve)
                flush();
            runCurve = c;
            run << f.points[i];
        }
        flush();
        if (f.closed)
            closeFigure();
    }
    endPath();
    if (bracketOnly)
        return;
    if (fill && stroke)
        strokeAndFillPath();
    else if (fill)
        fillPath();
    else
        strokePath();
}

namespace {

// The records of the last picture drawn, for drawing it again: a page-per-taxon
// atlas puts the same background map on every page. The block depends on the
// picture, where it goes, the resolution and which object slots are in use.
struct PictureBlock {
    quint64 picture = 0;
    QRect dest;
    QRectF source;
    double pxPerMmX = 0, pxPerMmY = 0;
    std::vector<bool> slotsInUse;
    QByteArray bytes;
    quint32 records = 0;
    QRectF bounds;
    size_t slotsAfter = 0;
    quint32 highWaterAfter = 0;
};

thread_local PictureBlock lastPicture;

}  // namespace

void EmfWriter::drawPicture(const MetafilePicture &picture, const QRect &dest, const QRectF &source)
{
    if (m_finished || picture.isNull())
        return;
    const QRectF src = source.isNull() ? picture.naturalRect() : source;
    if (src.width() == 0 || src.height() == 0)
        return;
    std::vector<bool> inUse;
    for (const Impl::Slot &slot : d->objects)
        inUse.push_back(slot.kind != Impl::Slot::Kind::Free);
    PictureBlock &cache = lastPicture;
    if (cache.picture == picture.id() && cache.dest == dest && cache.source == src && cache.pxPerMmX == d->pxPerMmX
        && cache.pxPerMmY == d->pxPerMmY && cache.slotsInUse == inUse) {
        d->out.raw(cache.bytes);
        m_records += cache.records;
        d->grow(cache.bounds);
        d->objects.resize(std::max(d->objects.size(), cache.slotsAfter));
        d->highWater = std::max(d->highWater, cache.highWaterAfter);
        return;
    }
    const qsizetype start = d->out.size();
    const quint32 recordsBefore = m_records;
    const QRectF boundsBefore = d->bounds;
    d->bounds = QRectF();
    emitPicture(picture, dest, src);
    cache.picture = picture.id();
    cache.dest = dest;
    cache.source = src;
    cache.pxPerMmX = d->pxPerMmX;
    cache.pxPerMmY = d->pxPerMmY;
    cache.slotsInUse = std::move(inUse);
    cache.bytes = d->out.bytes().mid(start);
    cache.records = m_records - recordsBefore;
    cache.bounds = d->bounds;
    cache.slotsAfter = d->objects.size();
    cache.highWaterAfter = d->highWater;
    const QRectF drawn = d->bounds;
    d->bounds = boundsBefore;
    d->grow(drawn);
}

void EmfWriter::emitPicture(const MetafilePicture &picture, const QRect &dest, const QRectF &src)
{
    const DisplayList &list = picture.displayList();
    const QTransform m = list.deviceToPicture * MetafilePicture::pictureToTarget(src, asRectF(dest));
    const double scale = std::sqrt(std::abs(m.determinant()));

    saveDC();
    intersectClipRect(dest);
    saveDC();

    // What this block has selected and set; -2 = pen/brush unknown, -1 any other
    // value unknown (after a RestoreDC everything is back to the caller's state).
    std::map<int, Handle> pens, brushes;
    std::vector<std::pair<LogFont, Handle>> fonts;
    int pen = -2, brush = -2;
    Handle font = 0;
    qint64 rop = -1, winding = -1, opaque = -1, bk = -1, textColour = -1, align = -1;
    auto forget = [&] {
        pen = brush = -2;
        font = 0;
        rop = winding = opaque = bk = textColour = align = -1;
    };
    auto useRop = [&](Rop2 r) {
        if (rop != qint64(r))
            setRop2(r);
        rop = qint64(r);
    };
    auto useBackground = [&](bool isOpaque, const QColor &c) {
        if (opaque != qint64(isOpaque))
            setBkMode(isOpaque ? BkMode::Opaque : BkMode::Transparent);
        opaque = isOpaque;
        if (isOpaque && bk != qint64(fromQColor(c))) {
            setBkColor(fromQColor(c));
            bk = fromQColor(c);
        }
    };

    for (const DisplayOp &any : list.ops) {
        if (const auto *op = std::get_if<PathOp>(&any)) {
            if (op->pen != pen) {
                if (op->pen < 0) {
                    selectStockObject(StockObject::NullPen);
                } else {
                    auto it = pens.find(op->pen);
                    if (it == pens.end()) {
                        const PenSpec &wanted = list.pens[size_t(op->pen)];
                        it = pens.emplace(op->pen, createPen(wanted.style, toI32(wanted.width * scale), fromQColor(wanted.color)))
                                 .first;
                    }
                    selectObject(it->second);
                }
                pen = op->pen;
            }
            if (op->brush != brush) {
                if (op->brush < 0) {
                    selectStockObject(StockObject::NullBrush);
                } else {
                    auto it = brushes.find(op->brush);
                    if (it == brushes.end()) {
                        const BrushSpec &wanted = list.brushes[size_t(op->brush)];
                        const Handle h = wanted.style == BrushStyle::Hatched
                                             ? createHatchBrush(wanted.hatch, fromQColor(wanted.color))
                                             : createSolidBrush(fromQColor(wanted.color));
                        it = brushes.emplace(op->brush, h).first;
                    }
                    selectObject(it->second);
                }
                brush = op->brush;
            }
            if (op->brush >= 0) {
                const BrushSpec &wanted = list.brushes[size_t(op->brush)];
                if (wanted.style == BrushStyle::Hatched)
                    useBackground(wanted.opaqueBackground, wanted.background);
            }
            useRop(op->rop);
            const bool w = op->fillRule == Qt::WindingFill;
            if (op->brush >= 0 && winding != qint64(w)) {
                setPolyFillMode(w ? PolyFillMode::Winding : PolyFillMode::Alternate);
                winding = w;
            }
            emitPath(m.map(op->toPath()), op->brush >= 0, op->pen >= 0);
        } else if (const auto *op = std::get_if<TextOp>(&any)) {
            const QTransform t = op->transform * m;
            const QPointF origin = t.map(QPointF(0, 0));
            const QPointF ux = t.map(QPointF(1, 0)) - origin, uy = t.map(QPointF(0, 1)) - origin;
            const double sx = std::hypot(ux.x(), ux.y()), sy = std::hypot(uy.x(), uy.y());
            const double angle = std::atan2(-ux.y(), ux.x()) * 180 / M_PI;
            LogFont lf = op->logFont;
            lf.height = -std::max(1, toI32(op->scale * TextOp::FontPixels * sy));
            lf.width = 0;
            lf.escapement = lf.orientation = toI32(angle * 10);
            Handle h = 0;
            for (const auto &[known, handle] : fonts)
                if (known == lf)
                    h = handle;
            if (!h) {
                h = createFont(lf);
                fonts.emplace_back(lf, h);
            }
            if (font != h)
                selectObject(h);
            font = h;
            useRop(op->rop);
            useBackground(op->opaque, op->background);
            if (textColour != qint64(fromQColor(op->color)))
                setTextColor(fromQColor(op->color));
            textColour = fromQColor(op->color);
            if (align != qint64(TextAlign::Left | TextAlign::Baseline))
                setTextAlign(TextAlign::Left | TextAlign::Baseline);
            align = TextAlign::Left | TextAlign::Baseline;
            QList<qint32> dx;
            qint64 placed = 0;
            for (qsizetype i = 0; i < op->text.size(); ++i) {
                const qreal end = (i + 1 < op->positions.size() ? op->positions[i + 1] : op->width) * sx;
                const qint64 next = std::llround(end);
                dx.append(qint32(next - placed));
                placed = next;
            }
            extTextOut(QPoint(toI32(origin.x()), toI32(origin.y())), op->text, dx);
        } else if (const auto *op = std::get_if<ImageOp>(&any)) {
            const QTransform t = op->transform * m;
            if (std::abs(t.m12()) > 1e-9 || std::abs(t.m21()) > 1e-9)
                continue;  // rotated bitmaps are not re-emitted
            const QRectF target = t.mapRect(op->source);
            const QImage part = op->image.copy(op->source.toAlignedRect());
            useRop(Rop2::CopyPen);
            stretchDIBits(QRect(QPoint(toI32(target.left()), toI32(target.top())),
                                QPoint(toI32(target.right()) - 1, toI32(target.bottom()) - 1)),
                          part.mirrored(t.m11() < 0, t.m22() < 0));
        } else if (const auto *op = std::get_if<ClipOp>(&any)) {
            restoreDC(-1);
            saveDC();
            forget();
            if (!op->reset) {
                emitPath(m.map(op->path), false, false, true);
                selectClipPath(RegionMode::And);
            }
        }
    }
    restoreDC(-1);
    restoreDC(-1);
    for (const auto &[index, h] : pens)
        deleteObject(h);
    for (const auto &[index, h] : brushes)
        deleteObject(h);
    for (const auto &[lf, h] : fonts)
        deleteObject(h);
}

}  // namespace ortolan::metafile
