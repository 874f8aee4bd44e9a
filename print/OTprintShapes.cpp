// The shape members of the drawing engine: circles, ellipses, arcs, boxes,
// rotated rectangles, decorated boxes, polygons, stars, lines and grids.
#include "print/OTprint.h"

#include "metafile/EmfRegion.h"
#include "metafile/EmfWriter.h"
#include "print/OTprintFault.h"
#include "print/OTprintGeometry.h"

#include <cstdlib>

namespace ortolan::print {

using namespace metafile;
using G = OTprintGeometry;

namespace {

qint64 magnitude(int v)
{
    return std::llabs(qint64(v));
}

// The GDI box (left, top, right, bottom; right and bottom excluded) as a QRect.
QRect gdiRect(const QRect &box)
{
    const int l = std::min(box.left(), box.right()), r = std::max(box.left(), box.right());
    const int t = std::min(box.top(), box.bottom()), b = std::max(box.top(), box.bottom());
    return QRect(l, t, r - l, b - t);
}

}  // namespace

// --- circles and ellipses ------------------------------------------------------------------

void OTprint::drawCircleShape(Family family, int x, int y, int r, int pw, int pc, int ps, int fill)
{
    recordShape(family, QStringLiteral("Circle"), pw, pc, ps, fill, x, y, r);
    if (m_closed)
        return;
    const QPoint centre = pt(x, y);
    const QRect square = G::square(centre, py(r));
    if (family == Family::Line) {
        const qint64 m = magnitude(r);
        fillGradientInside(x - m, y - m, x + m, y + m, [&] { return clipEllipse(square); });
    }
    withFamily(family, pw, pc, ps, fill, family == Family::Line, [&] { m_writer->ellipse(square); });
}

OTprintResult OTprint::L_Circle(int x, int y, int r, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawCircleShape(Family::Line, x, y, r, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::F_Circle(int x, int y, int r, int fillColor)
{
    return guarded([&] { drawCircleShape(Family::Fill, x, y, r, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::LF_Circle(int x, int y, int r, int penWidth, int penColor, int penStyle, int fillColor)
{
    return guarded([&] { drawCircleShape(Family::LineFill, x, y, r, penWidth, penColor, penStyle, fillColor); });
}

void OTprint::drawEllipseShape(Family family, int x1, int y1, int x2, int y2, int d, int pw, int pc, int ps, int fill)
{
    recordShape(family, QStringLiteral("Ellipse"), pw, pc, ps, fill, x1, y1, x2, y2, d);
    if (m_closed)
        return;
    const QRect box = G::inflated(pt(x1, y1), pt(x2, y2), py(d));
    if (family == Family::Line) {
        const qint64 m = magnitude(d);
        fillGradientInside(x1 - m, y1 - m, x2 + m, y2 + m, [&] { return clipEllipse(box); });
    }
    withFamily(family, pw, pc, ps, fill, family == Family::Line, [&] { m_writer->ellipse(box); });
}

OTprintResult OTprint::L_Ellipse(int x1, int y1, int x2, int y2, int d, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawEllipseShape(Family::Line, x1, y1, x2, y2, d, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::F_Ellipse(int x1, int y1, int x2, int y2, int d, int fillColor)
{
    return guarded([&] { drawEllipseShape(Family::Fill, x1, y1, x2, y2, d, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::LF_Ellipse(int x1, int y1, int x2, int y2, int d, int penWidth, int penColor, int penStyle,
                                  int fillColor)
{
    return guarded(
        [&] { drawEllipseShape(Family::LineFill, x1, y1, x2, y2, d, penWidth, penColor, penStyle, fillColor); });
}

// --- arcs, chords and pies ----------------------------------------------------------------------

void OTprint::drawArcShape(ArcKind kind, Family family, int x, int y, int r, float a1, float a2, int pw, int pc, int ps,
                           int fill)
{
    const QString name = kind == ArcKind::Arc ? QStringLiteral("Arc")
                         : kind == ArcKind::Chord ? QStringLiteral("Chord")
                                                  : QStringLiteral("Pie");
    recordShape(family, name, pw, pc, ps, fill, x, y, r, a1, a2);
    if (m_closed)
        return;
    const QPoint centre = pt(x, y);
    const qint32 radius = py(r);
    const QRect square = G::square(centre, radius);
    // The platform draws counter-clockwise from the first radial point to the
    // second; starting at a2 and ending at a1 covers a1 clockwise to a2 on the page.
    const QPoint first = G::radial(centre, radius, a2);
    const QPoint second = G::radial(centre, radius, a1);
    withFamily(family, pw, pc, ps, fill, family == Family::Line, [&] {
        switch (kind) {
        case ArcKind::Arc:
            m_writer->arc(square, first, second);
            break;
        case ArcKind::Chord:
            m_writer->chord(square, first, second);
            break;
        case ArcKind::Pie:
            m_writer->pie(square, first, second);
            break;
        }
    });
}

OTprintResult OTprint::L_Arc(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawArcShape(ArcKind::Arc, Family::Line, x, y, r, a1, a2, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::L_Chord(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle)
{
    return guarded(
        [&] { drawArcShape(ArcKind::Chord, Family::Line, x, y, r, a1, a2, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::LF_Chord(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle,
                                int fillColor)
{
    return guarded([&] {
        drawArcShape(ArcKind::Chord, Family::LineFill, x, y, r, a1, a2, penWidth, penColor, penStyle, fillColor);
    });
}

OTprintResult OTprint::F_Chord(int x, int y, int r, float a1, float a2, int fillColor)
{
    return guarded([&] { drawArcShape(ArcKind::Chord, Family::Fill, x, y, r, a1, a2, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::L_Pie(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawArcShape(ArcKind::Pie, Family::Line, x, y, r, a1, a2, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::LF_Pie(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle,
                              int fillColor)
{
    return guarded([&] {
        drawArcShape(ArcKind::Pie, Family::LineFill, x, y, r, a1, a2, penWidth, penColor, penStyle, fillColor);
    });
}

OTprintResult OTprint::F_Pie(int x, int y, int r, float a1, float a2, int fillColor)
{
    return guarded([&] { drawArcShape(ArcKind::Pie, Family::Fill, x, y, r, a1, a2, 0, 0, 0, fillColor); });
}

// --- boxes ------------------------------------------------------------------------------------------

void OTprint::drawBoxShape(Family family, int x1, int y1, int x2, int y2, int pw, int pc, int ps, int fill)
{
    recordShape(family, QStringLiteral("Box"), pw, pc, ps, fill, x1, y1, x2, y2);
    if (m_closed)
        return;
    const QPoint p1 = pt(x1, y1), p2 = pt(x2, y2);
    if (family != Family::Line) {
        withFamily(family, pw, pc, ps, fill, false, [&] { m_writer->rectangle(QRect(p1, p2)); });
        return;
    }
    const QPolygon outline{p1, QPoint(p2.x(), p1.y()), p2, QPoint(p1.x(), p2.y()), p1};
    fillGradientInside(x1, y1, x2, y2, [&] { return EmfRegion::rectangle(gdiRect(QRect(p1, p2))); });
    withFamily(family, pw, pc, ps, fill, false, [&] { m_writer->polyline(outline); });
}

OTprintResult OTprint::LF_Box(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle, int fillColor)
{
    return guarded([&] { drawBoxShape(Family::LineFill, x1, y1, x2, y2, penWidth, penColor, penStyle, fillColor); });
}

OTprintResult OTprint::F_Box(int x1, int y1, int x2, int y2, int fillColor)
{
    return guarded([&] { drawBoxShape(Family::Fill, x1, y1, x2, y2, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::L_Box(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawBoxShape(Family::Line, x1, y1, x2, y2, penWidth, penColor, penStyle, 0); });
}

void OTprint::drawRoundBoxShape(Family family, int x1, int y1, int x2, int y2, int ew, int eh, int pw, int pc, int ps,
                                int fill)
{
    recordShape(family, QStringLiteral("RoundBox"), pw, pc, ps, fill, x1, y1, x2, y2, ew, eh);
    if (m_closed)
        return;
    const QRect box(pt(x1, y1), pt(x2, y2));
    const QSize corner(px(ew), py(eh));
    if (family == Family::Line)
        fillGradientInside(x1, y1, x2, y2, [&] { return clipRoundRect(box, corner); });
    withFamily(family, pw, pc, ps, fill, family == Family::Line, [&] { m_writer->roundRect(box, corner); });
}

OTprintResult OTprint::L_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int penWidth,
                                  int penColor, int penStyle)
{
    return guarded([&] {
        drawRoundBoxShape(Family::Line, x1, y1, x2, y2, cornerWidth, cornerHeight, penWidth, penColor, penStyle, 0);
    });
}

OTprintResult OTprint::F_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int fillColor)
{
    return guarded(
        [&] { drawRoundBoxShape(Family::Fill, x1, y1, x2, y2, cornerWidth, cornerHeight, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::LF_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int penWidth,
                                   int penColor, int penStyle, int fillColor)
{
    return guarded([&] {
        drawRoundBoxShape(Family::LineFill, x1, y1, x2, y2, cornerWidth, cornerHeight, penWidth, penColor, penStyle,
                          fillColor);
    });
}

// --- rotated rectangles -----------------------------------------------------------------------------

void OTprint::drawRectangleShape(Family family, int x1, int y1, int x2, int y2, float angle, int pw, int pc, int ps,
                                 int fill)
{
    recordShape(family, QStringLiteral("Rectangle"), pw, pc, ps, fill, x1, y1, x2, y2, angle);
    if (m_closed)
        return;
    const QPolygon corners = G::rotatedRectangle(pt(x1, y1), pt(x2, y2), angle);
    withFamily(family, pw, pc, ps, fill, false, [&] {
        if (family == Family::Line)
            m_writer->polyline(corners);
        else
            m_writer->polygon(corners);
    });
}

OTprintResult OTprint::F_Rectangle(int x1, int y1, int x2, int y2, float angle, int fillColor)
{
    return guarded([&] { drawRectangleShape(Family::Fill, x1, y1, x2, y2, angle, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::LF_Rectangle(int x1, int y1, int x2, int y2, float angle, int penWidth, int penColor,
                                    int penStyle, int fillColor)
{
    return guarded([&] {
        drawRectangleShape(Family::LineFill, x1, y1, x2, y2, angle, penWidth, penColor, penStyle, fillColor);
    });
}

OTprintResult OTprint::L_Rectangle(int x1, int y1, int x2, int y2, float angle, int penWidth, int penColor,
                                   int penStyle)
{
    return guarded([&] { drawRectangleShape(Family::Line, x1, y1, x2, y2, angle, penWidth, penColor, penStyle, 0); });
}

// --- decorated boxes ----------------------------------------------------------------------------------

void OTprint::drawDecoBoxShape(Family family, int x1, int y1, int x2, int y2, const QString &mask,
                               const QString &style, int dx, int dy)
{
    const QString keyword = family == Family::Line   ? QStringLiteral("LDecoBox")
                            : family == Family::Fill ? QStringLiteral("FDecoBox")
                                                     : QStringLiteral("LFDecoBox");
    record(keyword, x1, y1, x2, y2, mask, style, dx, dy);
    if (mask.size() <= 3 || style.size() <= 3 || m_closed)
        return;
    const QPolygon path = G::decoBox(pt(x1, y1), pt(x2, y2), mask, style, px(dx), py(dy));
    auto tracePath = [&] {
        m_writer->beginPath();
        m_writer->polyBezier(path);
        m_writer->endPath();
    };
    switch (family) {
    case Family::Line:
        if (m_gradientFill) {
            // Negative corner sizes reach outside the box; the gradient follows them.
            const qint64 gx1 = dx < 0 ? qint64(x1) + dx : x1, gx2 = dx < 0 ? qint64(x2) - dx : x2;
            const qint64 gy1 = dy < 0 ? qint64(y1) + dy : y1, gy2 = dy < 0 ? qint64(y2) - dy : y2;
            const GradientBox g = gradientBox(gx1, gy1, gx2, gy2);
            if (g.steps > 0) {
                ClipScope scope(*m_writer, nullptr);
                tracePath();
                m_writer->selectClipPath(RegionMode::And);
                drawGradient(g);
            }
        }
        // The line properties draw the outline.
        withFamily(Family::Line, 0, 0, 0, 0, false, [&] { m_writer->polyBezier(path); });
        break;
    case Family::LineFill:
        withFamily(Family::LineFill, 0, 0, 0, 0, false, [&] {
            tracePath();
            m_writer->strokeAndFillPath();
        });
        break;
    case Family::Fill:
        withFamily(Family::Fill, 0, 0, 0, 0, false, [&] {
            tracePath();
            m_writer->fillPath();
        });
        break;
    }
}

OTprintResult OTprint::L_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx,
                                 int dy)
{
    return guarded([&] { drawDecoBoxShape(Family::Line, x1, y1, x2, y2, mask, style, dx, dy); });
}

OTprintResult OTprint::LF_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx,
                                  int dy)
{
    return guarded([&] { drawDecoBoxShape(Family::LineFill, x1, y1, x2, y2, mask, style, dx, dy); });
}

OTprintResult OTprint::F_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx,
                                 int dy)
{
    return guarded([&] { drawDecoBoxShape(Family::Fill, x1, y1, x2, y2, mask, style, dx, dy); });
}

// --- polygons and stars -------------------------------------------------------------------------------

void OTprint::drawPolygonShape(Family family, int x, int y, int n, int r, float angle, int pw, int pc, int ps,
                               int fill)
{
    if (n < 3 || n > 30)
        return;
    recordShape(family, QStringLiteral("Polygon"), pw, pc, ps, fill, x, y, n, r, angle);
    if (m_closed)
        return;
    const QPolygon vertices = G::polygon(pt(x, y), n, py(r), angle);
    if (family == Family::Line) {
        const qint64 m = magnitude(r);
        fillGradientInside(x - m, y - m, x + m, y + m, [&] { return clipPolygon(vertices); });
    }
    withFamily(family, pw, pc, ps, fill, false, [&] {
        if (family == Family::Line)
            m_writer->polyline(vertices);
        else
            m_writer->polygon(vertices);
    });
}

OTprintResult OTprint::L_Polygon(int x, int y, int n, int r, float angle, int penWidth, int penColor, int penStyle)
{
    return guarded([&] { drawPolygonShape(Family::Line, x, y, n, r, angle, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::F_Polygon(int x, int y, int n, int r, float angle, int fillColor)
{
    return guarded([&] { drawPolygonShape(Family::Fill, x, y, n, r, angle, 0, 0, 0, fillColor); });
}

OTprintResult OTprint::LF_Polygon(int x, int y, int n, int r, float angle, int penWidth, int penColor, int penStyle,
                                  int fillColor)
{
    return guarded(
        [&] { drawPolygonShape(Family::LineFill, x, y, n, r, angle, penWidth, penColor, penStyle, fillColor); });
}

void OTprint::drawStarShape(Family family, int x, int y, int n, int r1, int r2, float angle, int pw, int pc, int ps,
                            int fill)
{
    if (n < 3 || n > 20)
        return;
    recordShape(family, QStringLiteral("Star"), pw, pc, ps, fill, x, y, n, r1, r2, angle);
    if (m_closed)
        return;
    const QPolygon vertices = G::star(pt(x, y), n, py(r1), py(r2), angle);
    if (family == Family::Line) {
        const qint64 m = magnitude(r1);
        fillGradientInside(x - m, y - m, x + m, y + m, [&] { return clipPolygon(vertices); });
    }
    withFamily(family, pw, pc, ps, fill, false, [&] {
        if (family == Family::Line)
            m_writer->polyline(vertices);
        else
            m_writer->polygon(vertices);
    });
}

OTprintResult OTprint::L_Star(int x, int y, int n, int r1, int r2, float angle, int penWidth, int penColor,
                              int penStyle)
{
    return guarded([&] { drawStarShape(Family::Line, x, y, n, r1, r2, angle, penWidth, penColor, penStyle, 0); });
}

OTprintResult OTprint::LF_Star(int x, int y, int n, int r1, int r2, float angle, int penWidth, int penColor,
                               int penStyle, int fillColor)
{
    return guarded(
        [&] { drawStarShape(Family::LineFill, x, y, n, r1, r2, angle, penWidth, penColor, penStyle, fillColor); });
}

OTprintResult OTprint::F_Star(int x, int y, int n, int r1, int r2, float angle, int fillColor)
{
    return guarded([&] { drawStarShape(Family::Fill, x, y, n, r1, r2, angle, 0, 0, 0, fillColor); });
}

// --- lines and grids -------------------------------------------------------------------------------------

OTprintResult OTprint::L_Line(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle)
{
    record(QStringLiteral("LLine"), x1, y1, x2, y2, penWidth, penColor, penStyle);
    return guarded([&] {
        if (m_closed)
            return;
        const QPolygon line{pt(x1, y1), pt(x2, y2)};
        withFamily(Family::Line, penWidth, penColor, penStyle, 0, false, [&] { m_writer->polyline(line); });
    });
}

OTprintResult OTprint::Vector(int x, int y, int length, float angle, int penWidth, int penColor, int penStyle)
{
    record(QStringLiteral("Vector"), x, y, length, angle, penWidth, penColor, penStyle);
    return guarded([&] {
        if (m_closed)
            return;
        const QPoint start = pt(x, y);
        const QPolygon line{start, G::radial(start, py(length), angle)};
        withFamily(Family::Line, penWidth, penColor, penStyle, 0, false, [&] { m_writer->polyline(line); });
    });
}

OTprintResult OTprint::L_Grid(int x, int y, int width, int height, int columns, int rows, int penWidth, int penColor,
                              int penStyle)
{
    record(QStringLiteral("LGrid"), x, y, width, height, columns, rows, penWidth, penColor, penStyle);
    return guarded([&] {
        if (m_closed)
            return;
        const int c = std::max(columns, 1), r = std::max(rows, 1);
        if (c > MaxCount || r > MaxCount)
            throw OTprintFault::overflow(QStringLiteral("grid of %1 x %2 cells").arg(c).arg(r));
        const QPoint origin = pt(x, y);
        // Whole-pixel cells: the grid may end short of width x height.
        const qint32 cellW = px(width) / c, cellH = py(height) / r;
        const qint32 right = G::add(origin.x(), qint64(c) * cellW);
        const qint32 bottom = G::add(origin.y(), qint64(r) * cellH);
        if (m_gradientFill)
            drawGradient(gradientBox(x, y, qint64(x) + width, qint64(y) + height));
        withFamily(Family::Line, penWidth, penColor, penStyle, 0, false,
                   [&] { drawRuling(origin, c, r, cellW, cellH, QPoint(right, bottom)); });
    });
}

}  // namespace ortolan::print
