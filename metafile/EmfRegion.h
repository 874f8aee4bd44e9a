#pragma once

#include "metafile/GdiTypes.h"

#include <QList>
#include <QPolygon>
#include <QRect>
#include <QRegion>

namespace ortolan::metafile {

// A clip region as an enhanced metafile stores it: a list of rectangles in
// reference-device pixels (regions are never in logical units). Shapes that are
// not rectangles are broken into horizontal bands of whole pixels, as the
// platform does when it builds a region.
class EmfRegion {
public:
    EmfRegion() = default;
    explicit EmfRegion(const QRegion &deviceRegion);

    static EmfRegion rectangle(const QRect &device);
    // The ellipse inscribed in the rectangle.
    static EmfRegion ellipse(const QRect &device);
    // A rectangle with corners rounded by an ellipse of corner.width() x corner.height().
    static EmfRegion roundRect(const QRect &device, const QSize &corner);
    static EmfRegion polygon(const QPolygon &device, PolyFillMode mode = PolyFillMode::Alternate);

    const QRegion &region() const { return m_region; }
    QList<QRect> rects() const;
    QRect bounds() const { return m_region.boundingRect(); }
    bool isEmpty() const { return m_region.isEmpty(); }

private:
    QRegion m_region;
};

}  // namespace ortolan::metafile
