#pragma once

#include <QPointF>
#include <QString>

#include <cmath>
#include <optional>

namespace ortolan::map {

// The cursor read-out of a map point: UTM zone, easting and northing in km and
// the code of the 10-km square (which may hold letters the locator does not
// know, e.g. "K" west of 300 km in zone 32).
struct UtmReadout {
    int zone = 0;
    double eastingKm = 0.0;
    double northingKm = 0.0;
    QString squareCode;
};

// Where the square locator puts a square code: the zone and the square's
// centre in world units.
struct SquareLocation {
    int zone = 0;
    QPointF centre;
};

// The straight-line model of the UTM zones 32, 33 and 34 on the map of Italy.
//
// World coordinates run from 0 to width rightwards and from 0 to height
// downwards. The construction works in the map frame, x rightwards and
// y' = height - y upwards from the bottom edge; every point returned here is in
// world coordinates (convert with yUp() where a y' is wanted). Lengths are
// built from the map unit u = height / 537, which stands for 2.5 km, so
// S = 40 u is 100 km; angles are radians, measured from the x axis
// anticlockwise in the map frame.
//
// Each zone is an oblique Cartesian grid: its axis (the northward direction)
// makes the angle theta with the x axis and the easting direction is at right
// angles to it. The 12° E boundary (zones 32 | 33) and the 18° E boundary
// (33 | 34) are straight lines between fixed points of the bottom and top
// edges. A point on a boundary line belongs to the zone east of it.
class ZoneGeometry {
public:
    ZoneGeometry(double width, double height);

    // False when the frame gives no usable geometry (a zero or non-finite size).
    bool isValid() const { return m_valid; }

    double width() const { return m_width; }
    double height() const { return m_height; }
    double unit() const { return m_u; }        // u, 2.5 km
    double hundredKm() const { return m_s; }   // S = 40 u
    double yUp(double worldY) const { return m_height - worldY; }

    // Boundary lines: x at the bottom (y = height) and top (y = 0) edges.
    double boundary12Bottom() const { return 175.25 * m_u; }
    double boundary12Top() const { return 175.3 * m_u; }
    double boundary18Bottom() const { return 392.5 * m_u; }
    double boundary18Top() const { return 356.5 * m_u; }
    // x of a boundary line (12 or 18 for the meridian) at a world height y.
    double boundaryX(int meridian, double worldY) const;

    double beta12() const { return m_beta12; }
    double beta18() const { return m_beta18; }
    double theta32() const { return m_theta32; }
    double theta33() const { return m_theta33; }
    double theta34() const { return m_theta34; }
    double theta(int zone) const;

    // Crossing of the two boundary lines (far below the map).
    QPointF pole() const { return toWorld(m_pole); }
    // Bottom-edge (c) and top-edge (t) crossings of the zone axes of 32 and 33,
    // and the top-edge crossing of the zone-34 line through R.
    double c32() const { return m_c32; }
    double c33() const { return m_c33; }
    double t32() const { return m_c32 + m_height / std::tan(m_theta32); }
    double t33() const { return m_c33 + m_height / std::tan(m_theta33); }
    double t34() const { return m_t34; }

    // The northing baseline: the left-edge point 499 u below the top edge,
    // standing for northing 4000 km; baselineY() is its world y.
    double baselineY() const { return 499.0 * m_u; }
    QPointF baselinePoint() const { return QPointF(0.0, baselineY()); }

    QPointF pointO32() const { return toWorld(m_o32); }
    QPointF pointQ12() const { return toWorld(m_q12); }
    QPointF pointO33() const { return toWorld(m_o33); }
    QPointF pointT33() const { return toWorld(m_t33); }
    QPointF pointQ18() const { return toWorld(m_q18); }
    QPointF pointR() const { return toWorld(m_r); }
    QPointF pointF34() const { return toWorld(m_f34); }
    QPointF pointO34() const { return toWorld(m_o34); }
    // Start point of a zone's squares: O32, T33 or O34.
    QPointF zoneStart(int zone) const;

    // Zone of a world point by the boundary lines (32, 33 or 34; 0 if invalid).
    int zoneAt(QPointF world) const;

    // World point of a UTM position (metres) of zone 32, 33 or 34; the same
    // formula as the square locator, continuous over the whole plane, so any
    // position, not only square centres, can be drawn.
    QPointF worldPoint(int zone, double eastingMetres, double northingMetres) const;

    // Square locator: the centre of a square code in world units, or no value
    // for a bad code (a letter missing from the tables, or an invalid geometry).
    std::optional<SquareLocation> locate(QStringView code) const;

    // Cursor read-out: the zone by the boundary lines, then easting, northing
    // and square code in that zone.
    UtmReadout readout(QPointF world) const;
    // The same in a given zone, wherever the point lies.
    UtmReadout readoutInZone(QPointF world, int zone) const;

private:
    QPointF toWorld(QPointF frame) const { return QPointF(frame.x(), m_height - frame.y()); }
    QPointF frameStart(int zone) const;
    QPointF fromOffsets(int zone, double eastHundredKm, double northHundredKm) const;

    double m_width = 0.0;
    double m_height = 0.0;
    double m_u = 0.0;
    double m_s = 0.0;
    double m_beta12 = 0.0;
    double m_beta18 = 0.0;
    double m_theta32 = 0.0;
    double m_theta33 = 0.0;
    double m_theta34 = 0.0;
    double m_c32 = 0.0;
    double m_c33 = 0.0;
    double m_t34 = 0.0;
    // Points in the map frame (x, y').
    QPointF m_pole, m_o32, m_q12, m_o33, m_t33, m_q18, m_r, m_f34, m_o34;
    bool m_valid = false;
};

}  // namespace ortolan::map
