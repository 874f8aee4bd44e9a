#pragma once

#include "map/ZoneGeometry.h"
#include "tools/mapgen/PolygonOps.h"

namespace ortolan::mapgen {

class UtmProjection;

// Carries WGS84 longitude/latitude onto the map through the atlas's own zone
// geometry: each point goes to the UTM zone of its longitude (32 west of
// 12° E, 33 up to 18° E, 34 beyond), then to the world point the square
// locator would give for that easting and northing. So dots, grid and
// background agree by construction.
class WorldProjector {
public:
    WorldProjector(const map::ZoneGeometry &geometry, const UtmProjection &projection)
        : m_geometry(geometry), m_projection(projection) {}

    QPointF point(QPointF lonLat) const;
    // A point mapped with a given zone, wherever its longitude lies.
    QPointF pointInZone(QPointF lonLat, int zone) const;

    // A line or ring on the map. Long edges are split first (they are
    // straight in longitude/latitude, not on the map); an edge crossing 12° E
    // or 18° E is cut at the meridian, each side drawn with its own zone, and
    // the two images of the crossing are joined by a short step, so rings stay closed.
    std::vector<QPointF> path(const Ring &lonLat, bool closed) const;

    const map::ZoneGeometry &geometry() const { return m_geometry; }

private:
    const map::ZoneGeometry &m_geometry;
    const UtmProjection &m_projection;
};

}  // namespace ortolan::mapgen
