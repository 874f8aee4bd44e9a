#include "tools/mapgen/WorldProjector.h"

#include "tools/mapgen/UtmProjection.h"

#include <cmath>

namespace ortolan::mapgen {

namespace {

// Longest edge in degrees drawn as a straight line on the map.
constexpr double kMaxEdgeDegrees = 0.05;
constexpr double kMeridians[] = {12.0, 18.0};

}  // namespace

QPointF WorldProjector::pointInZone(QPointF lonLat, int zone) const
{
    const QPointF utm = m_projection.toUtm(zone, lonLat);
    return m_geometry.worldPoint(zone, utm.x(), utm.y());
}

QPointF WorldProjector::point(QPointF lonLat) const
{
    return pointInZone(lonLat, UtmProjection::zoneOfLongitude(lonLat.x()));
}

std::vector<QPointF> WorldProjector::path(const Ring &lonLat, bool closed) const
{
    std::vector<QPointF> out;
    if (lonLat.empty())
        return out;
    const Ring dense = densified(lonLat, kMaxEdgeDegrees, closed);
    const size_t n = dense.size();
    out.reserve(n + 8);
    out.push_back(point(dense[0]));
    const size_t edges = closed ? n : n - 1;
    for (size_t i = 0; i < edges; ++i) {
        const QPointF a = dense[i];
        const QPointF b = dense[(i + 1) % n];
        const int za = UtmProjection::zoneOfLongitude(a.x());
        const int zb = UtmProjection::zoneOfLongitude(b.x());
        if (za != zb) {
            // Meridians crossed, in the order of travel.
            std::vector<double> crossed;
            for (double m : kMeridians)
                if ((a.x() < m) != (b.x() < m))
                    crossed.push_back(m);
            if (b.x() < a.x())
                std::reverse(crossed.begin(), crossed.end());
            for (double m : crossed) {
                const double t = (m - a.x()) / (b.x() - a.x());
                const QPointF c(m, a.y() + t * (b.y() - a.y()));
                const int west = UtmProjection::zoneOfLongitude(m - 1e-9);
                const int east = UtmProjection::zoneOfLongitude(m);
                const bool eastwards = b.x() > a.x();
                out.push_back(pointInZone(c, eastwards ? west : east));
                out.push_back(pointInZone(c, eastwards ? east : west));
            }
        }
        if (closed && i + 1 == n)
            break;  // back at the first vertex
        out.push_back(point(b));
    }
    return out;
}

}  // namespace ortolan::mapgen
