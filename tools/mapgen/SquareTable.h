#pragma once

#include "tools/mapgen/AdminAreas.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace ortolan::mapgen {

class UtmProjection;

// One UTM 10-km square that touches Italian land within its own zone's band
// of longitude (zone 32: 6-12° E, 33: 12-18° E, 34: 18-24° E). Along 12° E and
// 18° E the truncated squares of both neighbouring zones are listed, as in the MGRS.
struct SquareRow {
    QString code;          // MGRS 100-km letters + easting and northing digit, e.g. "UG12"
    int zone = 0;
    double westEasting = 0.0;    // south-west corner in the square's own zone, metres
    double southNorthing = 0.0;
    double eastingUtm32 = 0.0;   // centre in zone 32 (EPSG:32632), metres
    double northingUtm32 = 0.0;
    double lon = 0.0;            // centre, WGS84 degrees
    double lat = 0.0;
    QString region;              // region with the most land in the square
    QString province;            // province of that region with the most land in the square
    double landShare = 0.0;      // share of the square's area that is Italian land in the band, 0..1
};

class SquareTable {
public:
    // All squares touching the regions' land, sorted by zone and code. Empty
    // with *error set when a square falls outside the atlas's letter tables.
    static std::vector<SquareRow> build(const std::vector<AdminArea> &regions, const std::vector<AdminArea> &provinces,
                                        const UtmProjection &projection, QString *error);

    // UTF-8 CSV with the header UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share.
    static QByteArray toCsv(const std::vector<SquareRow> &rows);

    static constexpr double kSquareMetres = 10000.0;
};

}  // namespace ortolan::mapgen
