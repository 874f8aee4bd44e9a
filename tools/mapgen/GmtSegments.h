#pragma once

#include "tools/mapgen/PolygonOps.h"

#include <QString>

namespace ortolan::mapgen {

// The multi-segment text that `gmt coast -M` (and `gmt connect`) writes: one
// "lon lat" pair per line, segments separated by header lines starting with
// '>'. Longitude and latitude in WGS84 degrees.
class GmtSegments {
public:
    // The segments of a dump; empty with *error set when the file cannot be
    // read or holds no segment.
    static std::vector<Ring> read(const QString &path, QString *error);
};

// A longitude/latitude box (degrees), the region given to GMT with -R.
struct GeoBox {
    double west = 0.0;
    double south = 0.0;
    double east = 0.0;
    double north = 0.0;

    bool contains(QPointF lonLat) const
    {
        return lonLat.x() >= west && lonLat.x() <= east && lonLat.y() >= south && lonLat.y() <= north;
    }
    // "west/east/south/north", as GMT's -R takes it.
    QString gmtRegion() const;
};

}  // namespace ortolan::mapgen
