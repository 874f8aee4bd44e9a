#include "map/GridLines.h"

#include <cmath>

namespace ortolan::map {

GridLines::GridLines(const ZoneGeometry &g)
{
    if (!g.isValid())
        return;
    const double H = g.height();
    const double W = g.width();
    const double S = g.hundredKm();
    const double tb12 = std::tan(g.beta12());
    const double tb18 = std::tan(g.beta18());
    const double t32 = std::tan(g.theta32());
    const double t33 = std::tan(g.theta33());
    const double t34 = std::tan(g.theta34());
    const double s32 = std::sin(g.theta32());
    const double s33 = std::sin(g.theta33());
    const double b12 = g.boundary12Bottom();
    const double b18 = g.boundary18Bottom();

    // Northing lines; y' is measured upwards from the bottom edge.
    for (int i = 0; i <= 12; ++i) {
        const QPointF a(0.0, g.baselineY() - S * i / s32);
        const double xB = ((H - a.y()) + b12 * tb12) / (tb12 + 1.0 / t32);
        const double yB = (xB - b12) * tb12;
        const double xC = (yB + b18 * tb18 + xB / t33) / (tb18 + 1.0 / t33);
        const double yC = (xC - b18) * tb18;
        const double yD = yC - (W - xC) / t34;
        m_northing.push_back(QPolygonF{a, QPointF(xB, H - yB), QPointF(xC, H - yC), QPointF(W, H - yD)});
    }

    // Easting lines of zones 32 and 33, parallel to their axes.
    for (int j = -2; j <= 2; ++j) {
        const double shift32 = S * j / s32;
        const QPointF top32(g.t32() + shift32, 0.0);
        if (j == -2) {
            // West of the map's bottom-left corner: the line leaves through the left edge.
            m_easting32.emplace_back(top32, QPointF(0.0, H + (g.c32() + shift32) * t32));
        } else {
            m_easting32.emplace_back(top32, QPointF(g.c32() + shift32, H));
        }
        const double shift33 = S * j / s33;
        m_easting33.emplace_back(QPointF(g.t33() + shift33, 0.0), QPointF(g.c33() + shift33, H));
    }

    // Easting 300 km of zone 34: the line through R, from the top edge to the right edge.
    const QPointF r = g.pointR();
    const double yR = g.yUp(r.y());
    m_easting34.emplace_back(QPointF(g.t34(), 0.0), QPointF(W, H - (yR + (W - r.x()) * t34)));

    m_boundaries.emplace_back(QPointF(g.boundary12Top(), 0.0), QPointF(b12, H));
    m_boundaries.emplace_back(QPointF(g.boundary18Top(), 0.0), QPointF(b18, H));
}

std::vector<QPolygonF> GridLines::polylines() const
{
    std::vector<QPolygonF> all = m_northing;
    for (const auto *lines : {&m_easting32, &m_easting33, &m_easting34, &m_boundaries})
        for (const QLineF &line : *lines)
            all.push_back(QPolygonF{line.p1(), line.p2()});
    return all;
}

}  // namespace ortolan::map
