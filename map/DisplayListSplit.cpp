#include "map/DisplayListSplit.h"

#include <QPainterPath>

#include <algorithm>
#include <variant>

namespace ortolan::map {

namespace {

using metafile::BrushStyle;
using metafile::DisplayList;
using metafile::PathOp;
using metafile::PenStyle;
using metafile::Rop2;

// Segments per outline run: short enough that a view at the deepest zoom (an
// eighth of the picture) strokes a small share of an outline, long enough that
// the number of runs stays in the low thousands.
constexpr qsizetype SegmentsPerRun = 40;
// Fills with more points than this are cut into pieces.
constexpr qsizetype PointsPerFill = 200;
// Cells per side of the grid the fills are cut on, and the pieces' overlap as
// a share of a cell.
constexpr int Cells = 16;
constexpr double Overlap = 0.02;

bool solidPen(const DisplayList &list, const PathOp &op)
{
    const PenStyle style = list.pens[size_t(op.pen)].style;
    return style == PenStyle::Solid || style == PenStyle::InsideFrame;
}

// The shape's closed outlines (a polygon, or the subpaths of a path).
QList<QPolygonF> outlinesOf(const PathOp &op)
{
    if (op.polygon.isEmpty())
        return op.path.toSubpathPolygons();
    QPolygonF outline = op.polygon;
    if (op.closed && outline.size() > 1 && outline.first() != outline.last())
        outline << outline.first();
    return {outline};
}

qsizetype pointCount(const QList<QPolygonF> &outlines)
{
    qsizetype points = 0;
    for (const QPolygonF &outline : outlines)
        points += outline.size();
    return points;
}

// One pass of polygon clipping against the half plane inside(p) (Sutherland-Hodgman).
template <typename Inside, typename Cross>
QPolygonF clipPass(const QPolygonF &polygon, Inside inside, Cross cross)
{
    QPolygonF out;
    if (polygon.isEmpty())
        return out;
    QPointF previous = polygon.last();
    bool previousIn = inside(previous);
    for (const QPointF &p : polygon) {
        const bool in = inside(p);
        if (in != previousIn)
            out << cross(previous, p);
        if (in)
            out << p;
        previous = p;
        previousIn = in;
    }
    return out;
}

// A closed polygon clipped to a rectangle. Where the polygon leaves and enters
// the rectangle again, the result runs along the rectangle's side; such runs
// come in pairs of opposite direction and fill nothing.
QPolygonF clipToRect(const QPolygonF &polygon, const QRectF &r)
{
    const auto atX = [](double x) {
        return [x](QPointF a, QPointF b) { return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x())); };
    };
    const auto atY = [](double y) {
        return [y](QPointF a, QPointF b) { return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y); };
    };
    QPolygonF p = clipPass(polygon, [&](QPointF q) { return q.x() >= r.left(); }, atX(r.left()));
    p = clipPass(p, [&](QPointF q) { return q.x() <= r.right(); }, atX(r.right()));
    p = clipPass(p, [&](QPointF q) { return q.y() >= r.top(); }, atY(r.top()));
    return clipPass(p, [&](QPointF q) { return q.y() <= r.bottom(); }, atY(r.bottom()));
}

void addFillPieces(DisplayList &out, const PathOp &op, const QList<QPolygonF> &outlines, const QRectF &frame,
                   SplitCounts &counts)
{
    const QRectF bounds = op.bounds.intersected(frame);
    const double cw = frame.width() / Cells;
    const double ch = frame.height() / Cells;
    const int firstColumn = std::max(0, int((bounds.left() - frame.left()) / cw));
    const int lastColumn = std::min(Cells - 1, int((bounds.right() - frame.left()) / cw));
    const int firstRow = std::max(0, int((bounds.top() - frame.top()) / ch));
    const int lastRow = std::min(Cells - 1, int((bounds.bottom() - frame.top()) / ch));
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            QRectF cell(frame.left() + column * cw, frame.top() + row * ch, cw, ch);
            // The outer cells reach beyond the frame, so nothing outside it is lost.
            cell.adjust(column == 0 ? -1e6 : -cw * Overlap, row == 0 ? -1e6 : -ch * Overlap,
                        column == Cells - 1 ? 1e6 : cw * Overlap, row == Cells - 1 ? 1e6 : ch * Overlap);
            QPainterPath piece;
            piece.setFillRule(op.polygon.isEmpty() ? op.path.fillRule() : op.fillRule);
            for (const QPolygonF &outline : outlines) {
                const QPolygonF clipped = clipToRect(outline, cell);
                if (clipped.size() >= 3) {
                    piece.addPolygon(clipped);
                    piece.closeSubpath();
                }
            }
            if (piece.isEmpty())
                continue;
            PathOp fill;
            fill.path = piece;
            fill.fillRule = piece.fillRule();
            fill.brush = op.brush;
            fill.rop = op.rop;
            fill.bounds = piece.boundingRect();
            out.ops.push_back(fill);
            ++counts.fillPieces;
        }
    }
}

void addOutlineRuns(DisplayList &out, const DisplayList &list, const PathOp &op, const QList<QPolygonF> &outlines,
                    SplitCounts &counts)
{
    const double margin = std::max(0.0, list.pens[size_t(op.pen)].width) + 1.0;
    for (const QPolygonF &outline : outlines) {
        for (qsizetype first = 0; first + 1 < outline.size(); first += SegmentsPerRun) {
            PathOp run;
            run.polygon = outline.mid(first, SegmentsPerRun + 1);
            run.pen = op.pen;
            run.rop = op.rop;
            run.bounds = run.polygon.boundingRect().adjusted(-margin, -margin, margin, margin);
            out.ops.push_back(run);
            ++counts.outlineRuns;
        }
    }
}

}  // namespace

DisplayList splitDisplayList(const DisplayList &list, SplitCounts *counts)
{
    SplitCounts local;
    SplitCounts &n = counts ? *counts : local;
    DisplayList out;
    out.pens = list.pens;
    // Round joins on lines a few pixels wide cannot be told from bevelled ones
    // but cost the stroker most of its time at the deeper zoom levels.
    for (metafile::PenSpec &pen : out.pens)
        if (pen.join == Qt::RoundJoin)
            pen.join = Qt::BevelJoin;
    out.brushes = list.brushes;
    out.deviceToPicture = list.deviceToPicture;
    out.deviceBounds = list.deviceBounds;
    const QRectF frame = list.deviceBounds;
    for (const metafile::DisplayOp &op : list.ops) {
        const PathOp *shape = std::get_if<PathOp>(&op);
        if (!shape || shape->rop != Rop2::CopyPen || frame.isEmpty()) {
            out.ops.push_back(op);
            continue;
        }
        const QList<QPolygonF> outlines = outlinesOf(*shape);
        const qsizetype points = pointCount(outlines);
        const bool cutFill = shape->brush >= 0 && points > PointsPerFill
                             && list.brushes[size_t(shape->brush)].style == BrushStyle::Solid;
        const bool cutOutline = shape->pen >= 0 && points > SegmentsPerRun + 1 && solidPen(list, *shape);
        if (!cutFill && !cutOutline) {
            out.ops.push_back(op);
            continue;
        }
        if (shape->brush >= 0) {
            if (cutFill) {
                addFillPieces(out, *shape, outlines, frame, n);
            } else {
                PathOp fill = *shape;
                fill.pen = -1;
                out.ops.push_back(fill);
            }
        }
        if (shape->pen >= 0) {
            if (cutOutline) {
                addOutlineRuns(out, list, *shape, outlines, n);
            } else {
                PathOp outline = *shape;
                outline.brush = -1;
                out.ops.push_back(outline);
            }
        }
    }
    return out;
}

}  // namespace ortolan::map
