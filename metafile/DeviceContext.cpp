#include "metafile/DeviceContext.h"

#include <QFontMetricsF>
#include <QLineF>

#include <cmath>

namespace ortolan::metafile {

namespace {

// Stands for "everything" when a clip must be subtracted from no clip at all.
const QRectF HugeRect(-1e7, -1e7, 2e7, 2e7);

double axisLength(const QTransform &t, double dx, double dy)
{
    const QPointF a = t.map(QPointF(0, 0));
    const QPointF b = t.map(QPointF(dx, dy));
    return QLineF(a, b).length();
}

QTransform linearPart(const QTransform &t)
{
    return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
}

}  // namespace

DeviceContext::DeviceContext(DisplayList *out) : m_out(out) {}

void DeviceContext::setDevicePixelsPerMm(double x, double y)
{
    if (std::isfinite(x) && x > 0)
        m_pxPerMmX = x;
    if (std::isfinite(y) && y > 0)
        m_pxPerMmY = y;
}

void DeviceContext::setFixedViewport(const QRectF &frame)
{
    m_fixedViewport = frame;
    m_s.map.mapMode = MapMode::Anisotropic;
    m_s.map.winOrg = frame.topLeft();
    m_s.map.winExt = frame.size();
}

bool DeviceContext::selectStockObject(quint32 index)
{
    switch (StockObject(index)) {
    case StockObject::WhiteBrush:
        m_s.brush = LogBrush{BrushStyle::Solid, rgb(255, 255, 255), {}, {}};
        return true;
    case StockObject::LtGrayBrush:
        m_s.brush = LogBrush{BrushStyle::Solid, rgb(192, 192, 192), {}, {}};
        return true;
    case StockObject::GrayBrush:
        m_s.brush = LogBrush{BrushStyle::Solid, rgb(128, 128, 128), {}, {}};
        return true;
    case StockObject::DkGrayBrush:
        m_s.brush = LogBrush{BrushStyle::Solid, rgb(64, 64, 64), {}, {}};
        return true;
    case StockObject::BlackBrush:
    case StockObject::DcBrush:
        m_s.brush = LogBrush{BrushStyle::Solid, 0, {}, {}};
        return true;
    case StockObject::NullBrush:
        m_s.brush = LogBrush{BrushStyle::Null, 0, {}, {}};
        return true;
    case StockObject::WhitePen:
        m_s.pen = LogPen{PenStyle::Solid, 0, rgb(255, 255, 255)};
        return true;
    case StockObject::BlackPen:
    case StockObject::DcPen:
        m_s.pen = LogPen{PenStyle::Solid, 0, 0};
        return true;
    case StockObject::NullPen:
        m_s.pen = LogPen{PenStyle::Null, 0, 0};
        return true;
    case StockObject::OemFixedFont:
    case StockObject::AnsiFixedFont:
    case StockObject::SystemFixedFont:
        m_s.font = LogFont();
        m_s.font.faceName = QStringLiteral("Courier New");
        return true;
    case StockObject::AnsiVarFont:
    case StockObject::SystemFont:
    case StockObject::DeviceDefaultFont:
    case StockObject::DefaultGuiFont:
        m_s.font = LogFont();
        return true;
    case StockObject::DefaultPalette:
        return true;
    }
    return false;
}

void DeviceContext::selectObject(const GdiObject &object, quint32 index)
{
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        selectPen(object.pen);
        break;
    case GdiObject::Kind::Brush:
        selectBrush(object.brush);
        break;
    case GdiObject::Kind::Font:
        selectFont(object.font);
        break;
    case GdiObject::Kind::Other:
        break;
    case GdiObject::Kind::Empty:
        warn(QStringLiteral("selection of the empty object %1").arg(index));
        break;
    }
}

// --- mapping -----------------------------------------------------------------

void DeviceContext::setMapMode(MapMode mode)
{
    if (m_fixedViewport)
        return;
    if (quint32(mode) < 1 || quint32(mode) > 8) {
        warn(QStringLiteral("unknown map mode %1 ignored").arg(quint32(mode)));
        return;
    }
    m_s.map.mapMode = mode;
}

void DeviceContext::setWindowOrg(const QPointF &p) { m_s.map.winOrg = p; }
void DeviceContext::setWindowExt(const QSizeF &s)
{
    if (s.width() == 0 || s.height() == 0) {
        warn(QStringLiteral("window extent of zero ignored"));
        return;
    }
    m_s.map.winExt = s;
}

void DeviceContext::setViewportOrg(const QPointF &p)
{
    if (!m_fixedViewport)
        m_s.map.vpOrg = p;
}

void DeviceContext::setViewportExt(const QSizeF &s)
{
    if (m_fixedViewport)
        return;
    if (s.width() == 0 || s.height() == 0) {
        warn(QStringLiteral("viewport extent of zero ignored"));
        return;
    }
    m_s.map.vpExt = s;
}

void DeviceContext::offsetWindowOrg(const QPointF &d) { m_s.map.winOrg += d; }
void DeviceContext::offsetViewportOrg(const QPointF &d)
{
    if (!m_fixedViewport)
        m_s.map.vpOrg += d;
}

void DeviceContext::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0)
        return;
    m_s.map.winExt = QSizeF(m_s.map.winExt.width() * xNum / xDenom, m_s.map.winExt.height() * yNum / yDenom);
}

void DeviceContext::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (m_fixedViewport || xDenom == 0 || yDenom == 0 || xNum == 0 || yNum == 0)
        return;
    m_s.map.vpExt = QSizeF(m_s.map.vpExt.width() * xNum / xDenom, m_s.map.vpExt.height() * yNum / yDenom);
}

void DeviceContext::setWorldTransform(const QTransform &t)
{
    if (!t.isInvertible()) {
        warn(QStringLiteral("singular world transform ignored"));
        return;
    }
    m_s.map.world = t;
}

void DeviceContext::modifyWorldTransform(const QTransform &t, quint32 mode)
{
    switch (ModifyWorldTransformMode(mode)) {
    case ModifyWorldTransformMode::Identity:
        m_s.map.world = QTransform();
        return;
    case ModifyWorldTransformMode::LeftMultiply:
        if (t.isInvertible())
            m_s.map.world = t * m_s.map.world;
        return;
    case ModifyWorldTransformMode::RightMultiply:
        if (t.isInvertible())
            m_s.map.world = m_s.map.world * t;
        return;
    case ModifyWorldTransformMode::Set:
        setWorldTransform(t);
        return;
    }
    warn(QStringLiteral("unknown world transform mode %1 ignored").arg(mode));
}

QTransform DeviceContext::transform() const
{
    return m_s.map.transform(m_pxPerMmX, m_pxPerMmY, m_fixedViewport ? &*m_fixedViewport : nullptr);
}

void DeviceContext::setRop2(quint32 r)
{
    if (r < 1 || r > 16) {
        warn(QStringLiteral("unknown raster operation %1 ignored").arg(r));
        return;
    }
    m_s.rop = Rop2(r);
}

void DeviceContext::saveDC()
{
    if (m_stack.size() >= 4096) {
        warn(QStringLiteral("too many saved states"));
        return;
    }
    m_stack.push_back(m_s);
}

bool DeviceContext::restoreDC(int n)
{
    const qsizetype depth = qsizetype(m_stack.size());
    qsizetype target;  // stack size after the restore
    if (n < 0)
        target = depth + n;
    else if (n > 0)
        target = n - 1;
    else
        return false;
    if (target < 0 || target >= depth) {
        warn(QStringLiteral("RestoreDC(%1) with %2 saved states ignored").arg(n).arg(depth));
        return false;
    }
    const std::optional<QPainterPath> before = m_s.clip;
    m_s = m_stack[size_t(target)];
    m_stack.resize(size_t(target));
    if (before != m_s.clip)
        setClip(m_s.clip);
    return true;
}

void DeviceContext::warn(const QString &w)
{
    if (m_warnings.size() < 100)
        m_warnings.append(w);
}

// --- styles ---------------------------------------------------------------------

int DeviceContext::currentPen()
{
    const LogPen &p = m_s.pen;
    if (p.style == PenStyle::Null)
        return -1;
    PenSpec wanted;
    wanted.style = p.style == PenStyle::InsideFrame ? PenStyle::Solid : p.style;
    wanted.color = toQColor(p.color);
    wanted.cap = p.cap;
    wanted.join = p.join;
    if (!p.cosmetic && p.width > 0)
        wanted.width = p.width * axisLength(transform(), 1, 0);
    // The platform draws wide pens of the simple kind solid, whatever their style.
    if (!p.extended && p.width > 1 && int(p.style) <= int(PenStyle::DashDotDot))
        wanted.style = PenStyle::Solid;
    return m_out->internPen(wanted);
}

int DeviceContext::currentBrush()
{
    const LogBrush &b = m_s.brush;
    BrushSpec wanted;
    switch (b.style) {
    case BrushStyle::Null:
        return -1;
    case BrushStyle::Solid:
        wanted.style = BrushStyle::Solid;
        break;
    case BrushStyle::Hatched:
        if (quint32(b.hatch) > quint32(HatchStyle::DiagonalCross)) {
            wanted.style = BrushStyle::Solid;
            break;
        }
        wanted.style = BrushStyle::Hatched;
        wanted.hatch = b.hatch;
        wanted.opaqueBackground = m_s.bkOpaque;
        wanted.background = toQColor(m_s.bkColor);
        break;
    case BrushStyle::Pattern:
    case BrushStyle::DibPattern:
    case BrushStyle::DibPatternPt:
        if (b.pattern.isNull()) {
            wanted.style = BrushStyle::Solid;
            break;
        }
        wanted.style = BrushStyle::DibPattern;
        wanted.pattern = b.pattern;
        break;
    }
    wanted.color = toQColor(b.color);
    return m_out->internBrush(wanted);
}

void DeviceContext::grow(const QRectF &r)
{
    m_out->deviceBounds = m_out->deviceBounds.isNull() ? r : m_out->deviceBounds.united(r);
}

void DeviceContext::emitPath(const QPainterPath &devicePath, bool closed)
{
    if (m_s.rop == Rop2::Nop)
        return;
    const int pen = currentPen();
    const int brush = closed ? currentBrush() : -1;
    if (pen < 0 && brush < 0)
        return;
    PathOp op;
    op.fillRule = m_s.winding ? Qt::WindingFill : Qt::OddEvenFill;
    bool simple = devicePath.elementCount() >= 2;
    for (int i = 1; simple && i < devicePath.elementCount(); ++i)
        simple = devicePath.elementAt(i).isLineTo();
    if (simple) {
        op.polygon.reserve(devicePath.elementCount());
        for (int i = 0; i < devicePath.elementCount(); ++i)
            op.polygon.append(devicePath.elementAt(i));
        op.closed = closed;
    } else {
        op.path = devicePath;
        op.path.setFillRule(op.fillRule);
    }
    op.pen = pen;
    op.brush = brush;
    op.rop = m_s.rop;
    QRectF r = devicePath.boundingRect();
    if (pen >= 0) {
        const double w = m_out->pens[size_t(pen)].width / 2 + 1;
        r.adjust(-w, -w, w, w);
    }
    op.bounds = r;
    grow(r);
    m_out->ops.emplace_back(std::move(op));
}

void DeviceContext::addToPath(const QPainterPath &devicePath, bool connect)
{
    if (connect && m_path.elementCount() > 0 && devicePath.elementCount() > 0) {
        // Continue the open figure: a line to the first point instead of a move.
        for (int i = 0; i < devicePath.elementCount(); ++i) {
            const QPainterPath::Element e = devicePath.elementAt(i);
            if (e.isMoveTo() && i == 0)
                m_path.lineTo(e);
            else if (e.isMoveTo())
                m_path.moveTo(e);
            else if (e.isLineTo())
                m_path.lineTo(e);
            else if (e.isCurveTo() && i + 2 < devicePath.elementCount()) {
                m_path.cubicTo(e, devicePath.elementAt(i + 1), devicePath.elementAt(i + 2));
                i += 2;
            }
        }
        return;
    }
    m_path.addPath(devicePath);
}

// --- drawing -----------------------------------------------------------------------

void DeviceContext::moveTo(const QPointF &p)
{
    m_cp = p;
    if (m_inPath)
        m_path.moveTo(transform().map(p));
}

void DeviceContext::lineTo(const QPointF &p)
{
    polylineTo(QPolygonF() << p);
}

void DeviceContext::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    const QTransform t = transform();
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(t.map(m_cp));
        for (const QPointF &p : points)
            m_path.lineTo(t.map(p));
    } else {
        QPainterPath path(t.map(m_cp));
        for (const QPointF &p : points)
            path.lineTo(t.map(p));
        emitPath(path, false);
    }
    m_cp = points.last();
}

void DeviceContext::polyBezierTo(const QPolygonF &points)
{
    const qsizetype n = points.size() / 3 * 3;
    if (n == 0)
        return;
    const QTransform t = transform();
    QPainterPath path(t.map(m_cp));
    for (qsizetype i = 0; i < n; i += 3)
        path.cubicTo(t.map(points[i]), t.map(points[i + 1]), t.map(points[i + 2]));
    if (m_inPath)
        addToPath(path, true);
    else
        emitPath(path, false);
    m_cp = points[n - 1];
}

void DeviceContext::polyBezier(const QPolygonF &points)
{
    if (points.size() < 4)
        return;
    const QTransform t = transform();
    QPainterPath path(t.map(points[0]));
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(t.map(points[i]), t.map(points[i + 1]), t.map(points[i + 2]));
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, false);
}

void DeviceContext::polygon(const QPolygonF &points)
{
    polyPolygon(QList<QPolygonF>() << points);
}

void DeviceContext::polyPolygon(const QList<QPolygonF> &polygons)
{
    const QTransform t = transform();
    QPainterPath path;
    for (const QPolygonF &poly : polygons) {
        if (poly.size() < 2)
            continue;
        path.addPolygon(t.map(poly));
        path.closeSubpath();
    }
    if (path.isEmpty())
        return;
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, true);
}

void DeviceContext::polyline(const QPolygonF &points)
{
    polyPolyline(QList<QPolygonF>() << points);
}

void DeviceContext::polyPolyline(const QList<QPolygonF> &polylines)
{
    const QTransform t = transform();
    QPainterPath path;
    for (const QPolygonF &line : polylines) {
        if (line.size() < 2)
            continue;
        path.addPolygon(t.map(line));
    }
    if (path.isEmpty())
        return;
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, false);
}

void DeviceContext::rectangle(const QRectF &box)
{
    QPainterPath path;
    path.addPolygon(transform().map(QPolygonF(box.normalized())));
    path.closeSubpath();
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, true);
}

void DeviceContext::roundRect(const QRectF &box, const QSizeF &corner)
{
    const QRectF r = box.normalized();
    QPainterPath path;
    path.addRoundedRect(r, std::min(std::abs(corner.width()) / 2, r.width() / 2),
                        std::min(std::abs(corner.height()) / 2, r.height() / 2));
    path = transform().map(path);
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, true);
}

void DeviceContext::ellipse(const QRectF &box)
{
    QPainterPath path;
    path.addEllipse(box.normalized());
    path = transform().map(path);
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, true);
}

QPainterPath DeviceContext::arcPath(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end) const
{
    const QRectF r = box.normalized();
    const QPointF c = r.center();
    const double rx = std::max(r.width() / 2, 1e-9), ry = std::max(r.height() / 2, 1e-9);
    // Angles of the radial points on the ellipse, in the painter's convention:
    // degrees, counter-clockwise on a y-down page, parametric on the ellipse.
    auto angleOf = [&](const QPointF &p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / M_PI;
    };
    const double a1 = angleOf(start), a2 = angleOf(end);
    double sweep;
    if (!m_s.clockwise) {
        sweep = std::fmod(a2 - a1 + 720, 360);
        if (sweep < 1e-9)
            sweep = 360;
    } else {
        sweep = std::fmod(a1 - a2 + 720, 360);
        if (sweep < 1e-9)
            sweep = 360;
        sweep = -sweep;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(r, a1, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, a1);
        path.arcTo(r, a1, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

void DeviceContext::arc(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end)
{
    const QTransform t = transform();
    QPainterPath path = t.map(arcPath(kind, box, start, end));
    if (kind == ArcKind::ArcTo) {
        QPainterPath joined(t.map(m_cp));
        joined.connectPath(path);
        path = joined;
        const int last = path.elementCount() - 1;
        if (last >= 0) {
            const QPointF endDevice = path.elementAt(last);
            m_cp = t.inverted().map(endDevice);
        }
        if (m_inPath)
            addToPath(path, true);
        else
            emitPath(path, false);
        return;
    }
    if (m_inPath)
        addToPath(path, false);
    else
        emitPath(path, kind != ArcKind::Arc);
}

void DeviceContext::angleArc(const QPointF &centre, double radius, double startDeg, double sweepDeg)
{
    if (!std::isfinite(radius) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg))
        return;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    const QTransform t = transform();
    QPainterPath arcPart;
    arcPart.arcMoveTo(box, startDeg);
    arcPart.arcTo(box, startDeg, sweepDeg);
    QPainterPath path(t.map(m_cp));
    path.connectPath(t.map(arcPart));
    m_cp = arcPart.currentPosition();
    if (m_inPath)
        addToPath(path, true);
    else
        emitPath(path, false);
}

void DeviceContext::setPixel(const QPointF &p, ColorRef c)
{
    const QPointF d = transform().map(p);
    QPainterPath path;
    path.addRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1));
    const LogBrush saved = m_s.brush;
    const LogPen savedPen = m_s.pen;
    m_s.brush = LogBrush{BrushStyle::Solid, c, {}, {}};
    m_s.pen.style = PenStyle::Null;
    emitPath(path, true);
    m_s.brush = saved;
    m_s.pen = savedPen;
}

void DeviceContext::fillRect(const QRectF &box, std::optional<ColorRef> colour)
{
    const LogBrush saved = m_s.brush;
    const LogPen savedPen = m_s.pen;
    if (colour)
        m_s.brush = LogBrush{BrushStyle::Solid, *colour, {}, {}};
    m_s.pen.style = PenStyle::Null;
    emitPath(deviceRect(box), true);
    m_s.brush = saved;
    m_s.pen = savedPen;
}

void DeviceContext::fillRegion(const QPainterPath &devicePath, const LogBrush *brush)
{
    const LogBrush saved = m_s.brush;
    const LogPen savedPen = m_s.pen;
    if (brush)
        m_s.brush = *brush;
    m_s.pen.style = PenStyle::Null;
    emitPath(devicePath, true);
    m_s.brush = saved;
    m_s.pen = savedPen;
}

QPainterPath DeviceContext::deviceRect(const QRectF &logical) const
{
    QPainterPath path;
    path.addPolygon(transform().map(QPolygonF(logical.normalized())));
    path.closeSubpath();
    return path;
}

// --- text ---------------------------------------------------------------------------

QFont DeviceContext::qtFont(const LogFont &lf, qreal *emHeight)
{
    QFont f(lf.faceName.isEmpty() ? QStringLiteral("Arial") : lf.faceName);
    f.setPixelSize(TextOp::FontPixels);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setWeight(QFont::Weight(std::clamp(lf.weight <= 0 ? 400 : int(lf.weight), 100, 900)));
    f.setItalic(lf.italic);
    f.setUnderline(lf.underline);
    f.setStrikeOut(lf.strikeOut);
    f.setKerning(false);
    const QFontMetricsF fm(f);
    qreal em;
    if (lf.height < 0)
        em = -qreal(lf.height);
    else if (lf.height > 0)
        em = qreal(lf.height) * TextOp::FontPixels / std::max<qreal>(fm.ascent() + fm.descent(), 1);
    else
        em = 16;
    if (lf.width != 0 && fm.averageCharWidth() > 0) {
        const qreal natural = fm.averageCharWidth() * em / TextOp::FontPixels;
        const double stretch = 100.0 * std::abs(double(lf.width)) / natural;
        f.setStretch(int(std::clamp(stretch, 1.0, 4000.0)));
    }
    if (emHeight)
        *emHeight = em;
    return f;
}

QList<qreal> DeviceContext::measureAdvances(const LogFont &font, const QString &text, qreal *ascent, qreal *descent,
                                            qreal *leading)
{
    qreal em = 0;
    const QFont f = qtFont(font, &em);
    const QFontMetricsF fm(f);
    const qreal k = em / TextOp::FontPixels;
    if (ascent)
        *ascent = fm.ascent() * k;
    if (descent)
        *descent = fm.descent() * k;
    if (leading)
        *leading = fm.leading() * k;
    QList<qreal> out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(fm.horizontalAdvance(text.mid(i, 2)) * k);
            out.append(0);
            ++i;
        } else {
            out.append(fm.horizontalAdvance(c) * k);
        }
    }
    return out;
}

void DeviceContext::textOut(const QPointF &p, const QString &text, const QList<double> &dx, quint32 options,
                            const QRectF &rect)
{
    const QTransform t = transform();
    // Writers put (0, 0, -1, -1) where there is no rectangle.
    const bool hasRect = rect.width() != 0 && rect.height() != 0 && rect != QRectF(QPointF(0, 0), QPointF(-1, -1));
    if ((options & TextOutOption::Opaque) && hasRect)
        fillRect(rect, m_s.bkColor);
    if (text.isEmpty() || m_s.rop == Rop2::Nop)
        return;

    qreal ascent = 0, descent = 0;
    QList<qreal> advances = measureAdvances(m_s.font, text, &ascent, &descent);
    if (dx.size() >= text.size()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            advances[i] = dx[i];
    }
    TextOp op;
    op.text = text;
    op.positions.reserve(text.size());
    qreal x = 0;
    for (const qreal a : advances) {
        op.positions.append(x);
        x += a;
    }
    op.width = x;
    qreal em = 0;
    op.font = qtFont(m_s.font, &em);
    op.scale = em / TextOp::FontPixels;
    op.logFont = m_s.font;

    const bool updateCp = m_s.textAlign & TextAlign::UpdateCp;
    const QPointF ref = updateCp ? m_cp : p;
    qreal x0 = 0;
    switch (m_s.textAlign & TextAlign::HorizontalMask) {
    case TextAlign::Center:
        x0 = -op.width / 2;
        break;
    case TextAlign::Right:
        x0 = -op.width;
        break;
    default:
        break;
    }
    qreal y0 = ascent;  // top alignment: the reference point is the top of the cell
    switch (m_s.textAlign & TextAlign::VerticalMask) {
    case TextAlign::Baseline:
        y0 = 0;
        break;
    case TextAlign::Bottom:
        y0 = -descent;
        break;
    default:
        break;
    }
    const QPointF origin = t.map(ref);
    QTransform linear;
    if (m_s.advanced) {
        linear = linearPart(t);
        if (linear.m22() < 0 && linear.determinant() < 0)  // keep glyphs upright on y-up pages
            linear = QTransform::fromScale(1, -1) * linear;
    } else {
        linear = QTransform::fromScale(axisLength(t, 1, 0), axisLength(t, 0, 1));
    }
    QTransform rotate;
    rotate.rotate(-(m_s.font.escapement / 10.0));
    op.transform = QTransform::fromTranslate(x0, y0) * rotate * linear * QTransform::fromTranslate(origin.x(), origin.y());
    op.color = toQColor(m_s.textColor);
    op.rop = m_s.rop;
    if (m_s.bkOpaque) {
        op.opaque = true;
        op.background = toQColor(m_s.bkColor);
        op.backgroundRect = QRectF(0, -ascent, op.width, ascent + descent);
    }
    if ((options & TextOutOption::Clipped) && hasRect) {
        op.clipped = true;
        op.clip = deviceRect(rect);
    }
    op.bounds = op.transform.mapRect(QRectF(0, -ascent - descent, op.width, ascent + 3 * descent));
    grow(op.bounds);
    if (updateCp) {
        if ((m_s.textAlign & TextAlign::HorizontalMask) == TextAlign::Left)
            m_cp.rx() += op.width;
        else if ((m_s.textAlign & TextAlign::HorizontalMask) == TextAlign::Right)
            m_cp.rx() -= op.width;
    }
    m_out->ops.emplace_back(std::move(op));
}

// --- bitmaps ----------------------------------------------------------------------

void DeviceContext::drawImage(const QImage &image, const QRectF &source, const QRectF &dest, quint32 rasterOp)
{
    if (image.isNull() || source.width() <= 0 || source.height() <= 0 || dest.width() == 0 || dest.height() == 0)
        return;
    ImageOp op;
    op.image = image;
    op.source = source;
    const double sx = dest.width() / source.width(), sy = dest.height() / source.height();
    const QTransform toLogical(sx, 0, 0, sy, dest.left() - source.left() * sx, dest.top() - source.top() * sy);
    op.transform = toLogical * transform();
    switch (rasterOp) {
    case 0x008800C6:  // SRCAND
        op.mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case 0x00EE0086:  // SRCPAINT
        op.mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case 0x00660046:  // SRCINVERT
        op.mode = QPainter::RasterOp_SourceXorDestination;
        break;
    default:
        op.mode = QPainter::CompositionMode_SourceOver;
        break;
    }
    op.bounds = op.transform.mapRect(source);
    grow(op.bounds);
    m_out->ops.emplace_back(std::move(op));
}

// --- paths ------------------------------------------------------------------------

void DeviceContext::beginPath()
{
    m_path = QPainterPath();
    m_inPath = true;
}

void DeviceContext::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

void DeviceContext::abortPath()
{
    m_path = QPainterPath();
    m_inPath = false;
}

void DeviceContext::fillPath()
{
    const LogPen saved = m_s.pen;
    m_s.pen.style = PenStyle::Null;
    emitPath(m_path, true);
    m_s.pen = saved;
    m_path = QPainterPath();
}

void DeviceContext::strokePath()
{
    emitPath(m_path, false);
    m_path = QPainterPath();
}

void DeviceContext::strokeAndFillPath()
{
    emitPath(m_path, true);
    m_path = QPainterPath();
}

void DeviceContext::flattenPath()
{
    QPainterPath flat;
    for (const QPolygonF &poly : m_path.toSubpathPolygons())
        flat.addPolygon(poly);
    m_path = flat;
}

void DeviceContext::selectClipPath(quint32 mode)
{
    QPainterPath path = m_path;
    path.setFillRule(m_s.winding ? Qt::WindingFill : Qt::OddEvenFill);
    m_path = QPainterPath();
    m_inPath = false;
    selectClipRegion(path, mode);
}

// --- clipping ----------------------------------------------------------------------

void DeviceContext::setClip(std::optional<QPainterPath> clip)
{
    m_s.clip = std::move(clip);
    ClipOp op;
    op.reset = !m_s.clip.has_value();
    if (m_s.clip)
        op.path = *m_s.clip;
    if (!m_out->ops.empty() && std::holds_alternative<ClipOp>(m_out->ops.back()))
        m_out->ops.back() = std::move(op);
    else
        m_out->ops.emplace_back(std::move(op));
}

void DeviceContext::intersectClipRect(const QRectF &logical)
{
    selectClipRegion(deviceRect(logical), quint32(RegionMode::And));
}

void DeviceContext::excludeClipRect(const QRectF &logical)
{
    selectClipRegion(deviceRect(logical), quint32(RegionMode::Diff));
}

void DeviceContext::selectClipRegion(const QPainterPath &device, quint32 mode)
{
    const std::optional<QPainterPath> &cur = m_s.clip;
    QPainterPath everything;
    everything.addRect(HugeRect);
    switch (RegionMode(mode)) {
    case RegionMode::Copy:
        if (device.isEmpty())
            setClip(std::nullopt);
        else
            setClip(device);
        return;
    case RegionMode::And:
        setClip(cur ? cur->intersected(device) : device);
        return;
    case RegionMode::Or:
        if (cur)
            setClip(cur->united(device));
        return;
    case RegionMode::Xor: {
        const QPainterPath base = cur ? *cur : everything;
        setClip(base.united(device).subtracted(base.intersected(device)));
        return;
    }
    case RegionMode::Diff:
        setClip((cur ? *cur : everything).subtracted(device));
        return;
    }
    warn(QStringLiteral("unknown clip mode %1 ignored").arg(mode));
}

void DeviceContext::offsetClip(const QPointF &logical)
{
    if (!m_s.clip)
        return;
    const QTransform t = transform();
    const QPointF d = t.map(logical) - t.map(QPointF(0, 0));
    setClip(m_s.clip->translated(d));
}

}  // namespace ortolan::metafile
