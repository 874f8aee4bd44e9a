#include "metafile/DisplayList.h"

namespace ortolan::metafile {

namespace {

// Raster operations for which drawing a pixel twice gives what drawing it once
// does, so overlapping strokes may be joined into one path.
bool idempotent(Rop2 rop)
{
    switch (rop) {
    case Rop2::CopyPen:
    case Rop2::MaskPen:
    case Rop2::MergePen:
    case Rop2::Black:
    case Rop2::White:
    case Rop2::NotCopyPen:
        return true;
    default:
        return false;
    }
}

constexpr size_t MaxRunShapes = 64;

}  // namespace

int DisplayList::internPen(const PenSpec &pen)
{
    for (size_t i = pens.size(); i-- > 0;)
        if (pens[i] == pen)
            return int(i);
    pens.push_back(pen);
    return int(pens.size() - 1);
}

int DisplayList::internBrush(const BrushSpec &brush)
{
    for (size_t i = brushes.size(); i-- > 0;)
        if (brushes[i] == brush)
            return int(i);
    brushes.push_back(brush);
    return int(brushes.size() - 1);
}

void DisplayList::mergeRuns()
{
    std::vector<DisplayOp> merged;
    merged.reserve(ops.size());
    std::vector<QRectF> runShapes;  // bounds of the shapes joined into merged.back()
    for (DisplayOp &op : ops) {
        PathOp *next = std::get_if<PathOp>(&op);
        PathOp *run = merged.empty() ? nullptr : std::get_if<PathOp>(&merged.back());
        bool join = next && run && run->pen == next->pen && run->brush == next->brush && run->rop == next->rop
                    && idempotent(next->rop) && runShapes.size() < MaxRunShapes;
        if (join && next->brush >= 0) {
            // Fills join only when the shapes are apart: each keeps its own fill rule.
            join = run->path.fillRule() == next->path.fillRule();
            for (size_t i = 0; join && i < runShapes.size(); ++i)
                join = !runShapes[i].intersects(next->bounds);
        }
        if (join) {
            run->path.addPath(next->path);
            run->bounds = run->bounds.united(next->bounds);
            runShapes.push_back(next->bounds);
            continue;
        }
        runShapes.clear();
        if (next)
            runShapes.push_back(next->bounds);
        merged.push_back(std::move(op));
    }
    ops = std::move(merged);
}

}  // namespace ortolan::metafile
