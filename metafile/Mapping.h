#pragma once

#include "metafile/GdiTypes.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

namespace ortolan::metafile {

// The logical-to-device mapping of a device context: map mode, window,
// viewport and world transform. Shared by the writer (to accumulate bounds in
// device pixels) and the readers (to place what they draw).
struct Mapping {
    MapMode mapMode = MapMode::Text;
    QPointF winOrg, vpOrg;
    QSizeF winExt{1, 1}, vpExt{1, 1};
    QTransform world;

    // device = page(world(p)). Fixed map modes need the device's pixels per mm.
    // With a fixed viewport (how metafiles of the old format are played) the
    // window maps onto that rectangle whatever the map mode.
    QTransform transform(double pxPerMmX, double pxPerMmY, const QRectF *fixedViewport = nullptr) const;
};

}  // namespace ortolan::metafile
