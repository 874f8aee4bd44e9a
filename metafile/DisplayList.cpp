#include "metafile/DisplayList.h"

namespace ortolan::metafile {

QPainterPath PathOp::toPath() const
{
    if (polygon.isEmpty())
        return path;
    QPainterPath p;
    p.addPolygon(polygon);
    if (closed)
        p.closeSubpath();
    p.setFillRule(fillRule);
    return p;
}

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

}  // namespace ortolan::metafile
