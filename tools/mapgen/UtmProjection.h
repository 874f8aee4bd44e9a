#pragma once

#include <QPointF>
#include <QString>

#include <map>

struct pj_ctx;
struct PJconsts;

namespace ortolan::mapgen {

// WGS84 longitude/latitude (degrees, longitude first) to and from the UTM
// zones 32, 33 and 34 north (EPSG:32632..32634, metres), through PROJ.
class UtmProjection {
public:
    UtmProjection();
    ~UtmProjection();
    UtmProjection(const UtmProjection &) = delete;
    UtmProjection &operator=(const UtmProjection &) = delete;

    // Empty when PROJ could build every transformation; otherwise what failed.
    QString error() const { return m_error; }

    QPointF toUtm(int zone, QPointF lonLat) const;
    QPointF toLonLat(int zone, QPointF utm) const;
    // A position of one zone in another zone's coordinates.
    QPointF between(int fromZone, int toZone, QPointF utm) const { return toUtm(toZone, toLonLat(fromZone, utm)); }

    // The zone's coordinate reference system as WKT in the ESRI flavour (for a .prj file).
    QString esriWkt(int zone) const;

    // UTM zone of a longitude among 32, 33 and 34: 32 west of 12° E, 34 from 18° E on.
    static int zoneOfLongitude(double lon) { return lon < 12.0 ? 32 : (lon < 18.0 ? 33 : 34); }

private:
    pj_ctx *m_context = nullptr;
    std::map<int, PJconsts *> m_toUtm;  // by zone
    QString m_error;
};

}  // namespace ortolan::mapgen
