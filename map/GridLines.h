#pragma once

#include "map/ZoneGeometry.h"

#include <QLineF>
#include <QPolygonF>

#include <vector>

namespace ortolan::map {

// The UTM grid overlay of the map (Reticolo) as world-coordinate lines: the
// 100-km northing lines of 4000 to 5200 km, each a polyline of three segments
// perpendicular to the axis of its zone (32 | 33 | 34, bending on the zone
// boundaries); the easting lines of 300 to 700 km of zones 32 and 33, drawn over
// the whole height of the map; the 300-km easting line of zone 34; and the two
// zone boundaries at 12° E and 18° E. The map view and the printed map draw
// the same lines.
class GridLines {
public:
    // The lines of a zone geometry; empty for an invalid one.
    explicit GridLines(const ZoneGeometry &geometry);

    // For i = 0..12: northing 4000 + 100 i km, points A (left edge), B (12° E
    // boundary), C (18° E boundary), D (right edge).
    const std::vector<QPolygonF> &northingLines() const { return m_northing; }
    // For j = -2..2: easting 500 + 100 j km of zones 32 and 33.
    const std::vector<QLineF> &eastingLines32() const { return m_easting32; }
    const std::vector<QLineF> &eastingLines33() const { return m_easting33; }
    const std::vector<QLineF> &eastingLines34() const { return m_easting34; }
    const std::vector<QLineF> &boundaries() const { return m_boundaries; }

    // Every line of the overlay: the northing polylines and, as two-point
    // polylines, the easting lines and the boundaries, in drawing order.
    std::vector<QPolygonF> polylines() const;
    bool isEmpty() const { return m_northing.empty(); }

private:
    std::vector<QPolygonF> m_northing;
    std::vector<QLineF> m_easting32;
    std::vector<QLineF> m_easting33;
    std::vector<QLineF> m_easting34;
    std::vector<QLineF> m_boundaries;
};

}  // namespace ortolan::map
