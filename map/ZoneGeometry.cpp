#include "map/ZoneGeometry.h"

#include "map/SquareCode.h"

namespace ortolan::map {

namespace {

// The map's height in map units; one unit is 2.5 km.
constexpr double kUnitsPerHeight = 537.0;
// Units between the top edge and the northing baseline (4000 km).
constexpr double kBaselineUnits = 499.0;

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

}  // namespace

ZoneGeometry::ZoneGeometry(double width, double height)
    : m_width(width), m_height(height)
{
    if (!(height > 0.0) || !(width > 0.0) || !std::isfinite(width) || !std::isfinite(height))
        return;
    const double H = height;
    const double u = H / kUnitsPerHeight;
    const double pi = 4.0 * std::atan(1.0);
    m_u = u;
    m_s = 40.0 * u;
    const double S = m_s;
    const double b12 = boundary12Bottom();
    const double b18 = boundary18Bottom();

    // Boundary and axis angles: the zone-33 axis halves the angle between the
    // two boundaries; the axes of 32 and 34 turn by the same step outwards.
    m_beta12 = std::atan(H / (boundary12Top() - b12));
    m_beta18 = std::atan(H / (boundary18Top() - b18)) + pi;
    m_theta33 = (m_beta12 + m_beta18) / 2.0;
    m_theta32 = (3.0 * m_beta12 - m_beta18) / 2.0;
    m_theta34 = 2.0 * m_beta18 - m_theta33;
    const double tb12 = std::tan(m_beta12);
    const double tb18 = std::tan(m_beta18);
    const double t32 = std::tan(m_theta32);
    const double t33 = std::tan(m_theta33);
    const double t34 = std::tan(m_theta34);

    // The axes of zones 32 and 33 meet the boundaries' crossing (the pole).
    const double px = (b12 * tb12 - b18 * tb18) / (tb12 - tb18);
    m_pole = QPointF(px, (px - b12) * tb12);
    m_c32 = px - m_pole.y() / t32;
    m_c33 = px - m_pole.y() / t33;

    // O32: foot of the perpendicular from the baseline point onto the zone-32 axis.
    const double yB = H - kBaselineUnits * u;
    {
        const double x = (yB + m_c32 * t32) / (t32 + 1.0 / t32);
        m_o32 = QPointF(x, (x - m_c32) * t32);
    }
    // Q12: the 4000-km northing line of zone 32 meets the 12° E boundary.
    {
        const double x = (yB + b12 * tb12) / (tb12 + 1.0 / t32);
        m_q12 = QPointF(x, (x - b12) * tb12);
    }
    // O33: foot of the perpendicular from Q12 onto the zone-33 axis.
    {
        const double x = (m_q12.y() + m_c33 * t33 + m_q12.x() / t33) / (t33 + 1.0 / t33);
        m_o33 = QPointF(x, (x - m_c33) * t33);
    }
    // Q18: the 4000-km northing line of zone 33 meets the 18° E boundary.
    {
        const double x = (m_q12.y() + b18 * tb18 + m_q12.x() / t33) / (tb18 + 1.0 / t33);
        m_q18 = QPointF(x, (x - b18) * tb18);
    }
    // R: the 18° E boundary meets the zone-33 parallel 200 km east of its axis.
    {
        const double c = m_c33 + 2.0 * S / std::sin(m_theta33);
        const double x = (b18 * tb18 - c * t33) / (tb18 - t33);
        m_r = QPointF(x, (x - b18) * tb18);
    }
    // The zone-34 line runs through R at theta34.
    m_t34 = m_r.x() + (H - m_r.y()) / t34;
    // F34: foot of the perpendicular from Q18 onto that line; O34 lies 100 km
    // west of it (the line stands for 300 km, O34 for 200 km).
    {
        const double x = (m_t34 * t34 - (H - m_q18.y()) + m_q18.x() / t34) / (t34 + 1.0 / t34);
        m_f34 = QPointF(x, H + (x - m_t34) * t34);
        m_o34 = QPointF(x - S * std::sin(m_theta34), m_f34.y() + S * std::cos(m_theta34));
    }
    // T33, the start of the zone-33 squares: at the height of O33, with the x
    // of the foot of the perpendicular from the left edge at that height onto
    // the zone-33 axis.
    {
        const double s = std::sin(m_theta33);
        const double c = std::cos(m_theta33);
        m_t33 = QPointF(s * s * m_c33 + s * c * m_o33.y(), m_o33.y());
    }

    m_valid = std::isfinite(m_theta32) && std::isfinite(m_theta34) && std::isfinite(m_t34) && finite(m_pole)
              && finite(m_o32) && finite(m_q12) && finite(m_o33) && finite(m_t33) && finite(m_q18) && finite(m_r)
              && finite(m_f34) && finite(m_o34);
}

double ZoneGeometry::boundaryX(int meridian, double worldY) const
{
    const double yUpValue = m_height - worldY;
    if (meridian == 12)
        return (boundary12Bottom() * std::tan(m_beta12) + yUpValue) / std::tan(m_beta12);
    return (boundary18Bottom() * std::tan(m_beta18) + yUpValue) / std::tan(m_beta18);
}

double ZoneGeometry::theta(int zone) const
{
    switch (zone) {
    case 32: return m_theta32;
    case 33: return m_theta33;
    case 34: return m_theta34;
    default: return 0.0;
    }
}

QPointF ZoneGeometry::frameStart(int zone) const
{
    switch (zone) {
    case 32: return m_o32;
    case 33: return m_t33;
    case 34: return m_o34;
    default: return QPointF();
    }
}

QPointF ZoneGeometry::zoneStart(int zone) const { return toWorld(frameStart(zone)); }

int ZoneGeometry::zoneAt(QPointF world) const
{
    if (!m_valid)
        return 0;
    if (world.x() < boundaryX(12, world.y()))
        return 32;
    if (world.x() < boundaryX(18, world.y()))
        return 33;
    return 34;
}

QPointF ZoneGeometry::worldPoint(int zone, double eastingMetres, double northingMetres) const
{
    return fromOffsets(zone, (eastingMetres / 1000.0 - SquareCode::referenceEastingKm(zone)) / 100.0,
                       (northingMetres / 1000.0 - SquareCode::referenceNorthingKm) / 100.0);
}

QPointF ZoneGeometry::fromOffsets(int zone, double e, double n) const
{
    // e and n: hundreds of km from the zone's start point along the easting
    // direction (sin, cos) and the northing direction (cos, -sin), y downwards.
    const double th = theta(zone);
    const QPointF start = zoneStart(zone);
    return QPointF(start.x() + m_s * e * std::sin(th) + m_s * n * std::cos(th),
                   start.y() + m_s * e * std::cos(th) - m_s * n * std::sin(th));
}

std::optional<SquareLocation> ZoneGeometry::locate(QStringView text) const
{
    const auto code = SquareCode::parse(text);
    if (!code || !m_valid)
        return std::nullopt;
    return SquareLocation{code->zone(), fromOffsets(code->zone(), code->eastingOffset(), code->northingOffset())};
}

UtmReadout ZoneGeometry::readout(QPointF world) const
{
    return readoutInZone(world, zoneAt(world));
}

UtmReadout ZoneGeometry::readoutInZone(QPointF world, int zone) const
{
    if (!m_valid || (zone != 32 && zone != 33 && zone != 34))
        return UtmReadout();
    const QPointF o = frameStart(zone);
    const double th = theta(zone);
    const double dx = world.x() - o.x();
    const double dy = (m_height - world.y()) - o.y();
    const double dE = std::sin(th) * dx - std::cos(th) * dy;
    const double dN = std::cos(th) * dx + std::sin(th) * dy;
    UtmReadout r;
    r.zone = zone;
    r.eastingKm = SquareCode::referenceEastingKm(zone) + 100.0 * dE / m_s;
    r.northingKm = SquareCode::referenceNorthingKm + 100.0 * dN / m_s;
    r.squareCode = SquareCode::fromUtm(zone, r.eastingKm, r.northingKm);
    return r;
}

}  // namespace ortolan::map
