#include "tools/mapgen/SquareTable.h"

#include "map/SquareCode.h"
#include "tools/mapgen/UtmProjection.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace ortolan::mapgen {

namespace {

struct Band {
    int zone;
    double west;  // degrees east
    double east;
};
constexpr Band kBands[] = {{32, 6.0, 12.0}, {33, 12.0, 18.0}, {34, 18.0, 24.0}};

// Longest edge, in degrees, left straight when land is carried into a zone's
// plane: the band edges that clipping adds along a meridian are long and
// curve slightly in UTM.
constexpr double kMaxEdgeDegrees = 0.01;

using SquareKey = std::pair<int, int>;  // easting and northing in units of 10 km

// Land of one area (region or province) per square, in square metres.
using AreaBySquare = std::map<SquareKey, double>;

// Adds the land of an area's polygons inside the band, per square of the zone's grid.
void accumulate(const AdminArea &area, const Band &band, const UtmProjection &projection, AreaBySquare &out)
{
    const double side = SquareTable::kSquareMetres;
    for (const Polygon &polygon : area.polygons) {
        for (size_t k = 0; k < polygon.rings.size(); ++k) {
            const Ring inBand = clipRingToXRange(polygon.rings[k], band.west, band.east);
            if (inBand.size() < 3)
                continue;
            Ring plane;
            for (const QPointF &p : densified(inBand, kMaxEdgeDegrees, true))
                plane.push_back(projection.toUtm(band.zone, p));
            const double whole = signedArea(plane);
            if (whole == 0.0)
                continue;
            // Outlines add land, holes (San Marino, Vatican City) take it away.
            const double sign = (whole > 0.0 ? 1.0 : -1.0) * (k == 0 ? 1.0 : -1.0);
            const QRectF box = boundingRect(plane);
            const int i0 = int(std::floor(box.left() / side)), i1 = int(std::floor(box.right() / side));
            const int j0 = int(std::floor(box.top() / side)), j1 = int(std::floor(box.bottom() / side));
            for (int i = i0; i <= i1; ++i) {
                for (int j = j0; j <= j1; ++j) {
                    const QRectF square(i * side, j * side, side, side);
                    const Ring piece = clipRingToRect(plane, square);
                    if (piece.size() >= 3)
                        out[{i, j}] += sign * signedArea(piece);
                }
            }
        }
    }
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QStringLiteral("\"") + quoted + QStringLiteral("\"");
}

// Squared distance from p to the nearest vertex of the area's polygons.
double nearestVertex(const std::vector<Ring> &rings, QPointF p)
{
    double best = std::numeric_limits<double>::infinity();
    for (const Ring &ring : rings)
        for (const QPointF &q : ring)
            best = std::min(best, (q.x() - p.x()) * (q.x() - p.x()) + (q.y() - p.y()) * (q.y() - p.y()));
    return best;
}

}  // namespace

std::vector<SquareRow> SquareTable::build(const std::vector<AdminArea> &regions,
                                          const std::vector<AdminArea> &provinces,
                                          const UtmProjection &projection, QString *error)
{
    // Smallest land area that counts as touching: a square metre, well below
    // anything the limits resolve, well above rounding noise.
    constexpr double kTouch = 1.0;
    std::vector<SquareRow> rows;
    for (const Band &band : kBands) {
        std::vector<AreaBySquare> regionLand(regions.size());
        for (size_t r = 0; r < regions.size(); ++r)
            accumulate(regions[r], band, projection, regionLand[r]);
        std::vector<AreaBySquare> provinceLand(provinces.size());
        for (size_t p = 0; p < provinces.size(); ++p)
            accumulate(provinces[p], band, projection, provinceLand[p]);

        std::map<SquareKey, double> land;
        for (const AreaBySquare &bySquare : regionLand)
            for (const auto &[key, area] : bySquare)
                land[key] += area;

        for (const auto &[key, area] : land) {
            if (area < kTouch)
                continue;
            const auto [i, j] = key;
            const QString letters = map::SquareCode::mgrsLetters(band.zone, int(std::floor(i / 10.0)),
                                                                 int(std::floor(j / 10.0)));
            const QString code = letters + QChar(u'0' + ((i % 10) + 10) % 10) + QChar(u'0' + ((j % 10) + 10) % 10);
            const auto parsed = map::SquareCode::parse(code);
            SquareRow row;
            row.code = code;
            row.zone = band.zone;
            row.westEasting = i * kSquareMetres;
            row.southNorthing = j * kSquareMetres;
            if (!parsed || parsed->zone() != band.zone || parsed->westEastingMetres() != row.westEasting
                || parsed->southNorthingMetres() != row.southNorthing) {
                *error = QStringLiteral("square ") + (code.size() == 4 ? code : QStringLiteral("?"))
                         + QStringLiteral(" of zone ") + QString::number(band.zone)
                         + QStringLiteral(" lies outside the atlas's letter tables");
                return {};
            }
            const QPointF centre(row.westEasting + kSquareMetres / 2, row.southNorthing + kSquareMetres / 2);
            const QPointF lonLat = projection.toLonLat(band.zone, centre);
            const QPointF utm32 = projection.toUtm(32, lonLat);
            row.lon = lonLat.x();
            row.lat = lonLat.y();
            row.eastingUtm32 = utm32.x();
            row.northingUtm32 = utm32.y();
            row.landShare = std::clamp(area / (kSquareMetres * kSquareMetres), 0.0, 1.0);

            double bestRegion = 0.0;
            for (size_t r = 0; r < regions.size(); ++r) {
                const auto it = regionLand[r].find(key);
                if (it != regionLand[r].end() && it->second > bestRegion) {
                    bestRegion = it->second;
                    row.region = regions[r].name;
                }
            }
            double bestProvince = 0.0;
            for (size_t p = 0; p < provinces.size(); ++p) {
                const auto it = provinceLand[p].find(key);
                if (provinces[p].regionName == row.region && it != provinceLand[p].end()
                    && it->second > bestProvince) {
                    bestProvince = it->second;
                    row.province = provinces[p].name;
                }
            }
            // The provinces are simplified and miss some islets: take the
            // region's province nearest to the square's centre.
            if (row.province.isEmpty()) {
                double nearest = std::numeric_limits<double>::infinity();
                for (const AdminArea &province : provinces) {
                    if (province.regionName != row.region)
                        continue;
                    for (const Polygon &polygon : province.polygons) {
                        const double d = nearestVertex(polygon.rings, lonLat);
                        if (d < nearest) {
                            nearest = d;
                            row.province = province.name;
                        }
                    }
                }
            }
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end(), [](const SquareRow &a, const SquareRow &b) {
        return a.zone != b.zone ? a.zone < b.zone : a.code < b.code;
    });
    return rows;
}

QByteArray SquareTable::toCsv(const std::vector<SquareRow> &rows)
{
    QString text = QStringLiteral("UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share\n");
    for (const SquareRow &r : rows) {
        text += r.code + QLatin1Char(',') + QString::number(r.zone) + QLatin1Char(',')
                + QString::number(r.eastingUtm32, 'f', 0) + QLatin1Char(',') + QString::number(r.northingUtm32, 'f', 0)
                + QLatin1Char(',') + QString::number(r.lon, 'f', 6) + QLatin1Char(',') + QString::number(r.lat, 'f', 6)
                + QLatin1Char(',') + csvField(r.region) + QLatin1Char(',') + csvField(r.province) + QLatin1Char(',')
                + QString::number(r.landShare, 'f', 3) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

}  // namespace ortolan::mapgen
