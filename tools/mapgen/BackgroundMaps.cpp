#include "tools/mapgen/BackgroundMaps.h"

#include "map/ZoneGeometry.h"
#include "tools/mapgen/ShorelineAssembler.h"
#include "tools/mapgen/UtmProjection.h"
#include "tools/mapgen/WorldProjector.h"

#include <cmath>
#include <map>
#include <set>

namespace ortolan::mapgen {

namespace {

// Smallest features kept, in square picture units (1 km² is about 118).
constexpr double kMinIslandArea = 12.0;
constexpr double kMinLakeArea = 240.0;
// Margin of the GMT box around the picture's frame, in degrees.
constexpr double kBoxMargin = 0.3;
// A point in the open Tyrrhenian Sea, to tell the water side of open shorelines.
const QPointF kSeaPoint(12.5, 39.5);

const QRectF kFrame(0, 0, BackgroundMaps::kWidth, BackgroundMaps::kHeight);

// Smallest hole in the union of the regions drawn as a foreign enclave.
constexpr double kMinEnclaveKm2 = 20.0;

// Area of a longitude/latitude ring in km², near enough for small rings.
double areaKm2(const Ring &ring)
{
    constexpr double kKmPerDegree = 111.32;
    const double lat = boundingRect(ring).center().y();
    return std::abs(signedArea(ring)) * kKmPerDegree * kKmPerDegree * std::cos(lat * M_PI / 180.0);
}

PointList rounded(const std::vector<QPointF> &points)
{
    PointList out;
    out.reserve(points.size());
    for (const QPointF &p : points) {
        const QPoint q(int(std::lround(p.x())), int(std::lround(p.y())));
        if (out.empty() || out.back() != q)
            out.push_back(q);
    }
    return out;
}

// Exact ordering of positions, for matching the vertices the regions share.
struct PointLess {
    bool operator()(QPointF a, QPointF b) const { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); }
};
using Edge = std::pair<QPointF, QPointF>;
struct EdgeLess {
    bool operator()(const Edge &a, const Edge &b) const
    {
        PointLess less;
        if (a.first != b.first)
            return less(a.first, b.first);
        return less(a.second, b.second);
    }
};
Edge undirected(QPointF a, QPointF b) { return PointLess()(a, b) ? Edge{a, b} : Edge{b, a}; }

}  // namespace

struct BackgroundMaps::Palette {
    QColor sea, neighbours, italy, lakeShore, coast, river, border;
    int coastWidth, riverWidth, borderWidth;
};

BackgroundMaps::BackgroundMaps(const WorldProjector &projector, double tolerance)
    : m_projector(projector), m_tolerance(tolerance)
{
}

GeoBox BackgroundMaps::sourceBox(const WorldProjector &projector, const UtmProjection &projection)
{
    const map::ZoneGeometry &g = projector.geometry();
    GeoBox box{1e9, 1e9, -1e9, -1e9};
    const auto take = [&](QPointF world) {
        const map::UtmReadout r = g.readout(world);
        const QPointF lonLat = projection.toLonLat(r.zone, {r.eastingKm * 1000.0, r.northingKm * 1000.0});
        box.west = std::min(box.west, lonLat.x());
        box.east = std::max(box.east, lonLat.x());
        box.south = std::min(box.south, lonLat.y());
        box.north = std::max(box.north, lonLat.y());
    };
    for (int i = 0; i <= 100; ++i) {
        const double fx = g.width() * i / 100.0;
        const double fy = g.height() * i / 100.0;
        take({fx, 0.0});
        take({fx, g.height()});
        take({0.0, fy});
        take({g.width(), fy});
    }
    // Tenths of a degree, outwards, with a margin.
    box.west = std::floor((box.west - kBoxMargin) * 10.0) / 10.0;
    box.south = std::floor((box.south - kBoxMargin) * 10.0) / 10.0;
    box.east = std::ceil((box.east + kBoxMargin) * 10.0) / 10.0;
    box.north = std::ceil((box.north + kBoxMargin) * 10.0) / 10.0;
    return box;
}

std::vector<Ring> BackgroundMaps::onMap(const std::vector<Ring> &lonLat, bool closed) const
{
    std::vector<Ring> out;
    out.reserve(lonLat.size());
    for (const Ring &line : lonLat)
        out.push_back(m_projector.path(line, closed));
    return out;
}

std::vector<PointList> BackgroundMaps::ringsOnPicture(const std::vector<Ring> &world, double minArea) const
{
    std::vector<PointList> out;
    for (const Ring &ring : world) {
        if (!boundingRect(ring).intersects(kFrame) || std::abs(signedArea(ring)) < minArea)
            continue;
        const Ring clipped = clipRingToRect(simplifiedRing(ring, m_tolerance), kFrame);
        PointList points = rounded(clipped);
        while (points.size() > 1 && points.front() == points.back())
            points.pop_back();
        if (points.size() >= 3)
            out.push_back(std::move(points));
    }
    return out;
}

std::vector<PointList> BackgroundMaps::linesOnPicture(const std::vector<Ring> &world, bool closed) const
{
    std::vector<PointList> out;
    for (const Ring &line : world) {
        if (!boundingRect(line).intersects(kFrame))
            continue;
        std::vector<QPointF> simple;
        if (closed) {
            simple = simplifiedRing(line, m_tolerance);
            simple.push_back(simple.front());
        } else {
            simple = simplified(line, m_tolerance);
        }
        for (const auto &part : clipLineToRect(simple, kFrame)) {
            PointList points = rounded(part);
            if (points.size() >= 2)
                out.push_back(std::move(points));
        }
    }
    return out;
}

std::vector<Ring> BackgroundMaps::overLand(const std::vector<Ring> &lines, const std::vector<Ring> &land)
{
    // How far off the coast a border still counts as on land, in picture units (about 1 km).
    constexpr double kCoastReach = 11.0;
    std::vector<QRectF> boxes;
    for (const Ring &ring : land)
        boxes.push_back(boundingRect(ring));
    const auto onLand = [&](QPointF p) {
        for (size_t i = 0; i < land.size(); ++i)
            if (boxes[i].contains(p) && contains(Polygon{{land[i]}}, p))
                return true;
        for (size_t i = 0; i < land.size(); ++i) {
            if (!boxes[i].adjusted(-kCoastReach, -kCoastReach, kCoastReach, kCoastReach).contains(p))
                continue;
            const Ring &ring = land[i];
            for (size_t k = 0; k < ring.size(); ++k)
                if (distanceToSegment(p, ring[k], ring[(k + 1) % ring.size()]) <= kCoastReach)
                    return true;
        }
        return false;
    };
    std::vector<Ring> out;
    for (const Ring &line : lines) {
        Ring run;
        for (const QPointF &p : line) {
            if (onLand(p)) {
                run.push_back(p);
            } else {
                if (run.size() >= 2)
                    out.push_back(run);
                run.clear();
            }
        }
        if (run.size() >= 2)
            out.push_back(run);
    }
    return out;
}

bool BackgroundMaps::prepare(const MapSources &sources, const GeoBox &box, QString *error)
{
    // The GMT box's edges must fall outside the picture, or land closed along them would show.
    for (int i = 0; i <= 200; ++i) {
        const double fx = box.west + (box.east - box.west) * i / 200.0;
        const double fy = box.south + (box.north - box.south) * i / 200.0;
        for (const QPointF &p : {QPointF(fx, box.south), QPointF(fx, box.north), QPointF(box.west, fy), QPointF(box.east, fy)}) {
            if (kFrame.contains(m_projector.point(p))) {
                *error = QStringLiteral("the GMT box %1 does not cover the picture").arg(box.gmtRegion());
                return false;
            }
        }
    }

    const std::vector<Ring> land = ShorelineAssembler::landRings(sources.landPieces, box, kSeaPoint, error);
    if (land.empty()) {
        if (error->isEmpty())
            *error = QStringLiteral("no land in the shoreline dump");
        return false;
    }
    for (const Ring &ring : land) {
        if (contains(Polygon{{ring}}, kSeaPoint)) {
            *error = QStringLiteral("closing the shorelines along the box put the Tyrrhenian Sea on land");
            return false;
        }
    }
    const std::vector<Ring> lakes = ShorelineAssembler::lakeRings(sources.lakePieces, box);

    const std::vector<Ring> landOnMap = onMap(land, true);
    m_land = ringsOnPicture(landOnMap, kMinIslandArea);
    m_coast = linesOnPicture(landOnMap, true);
    std::vector<Ring> lakesOnMap;
    for (Ring &lake : onMap(lakes, true))
        if (std::abs(signedArea(lake)) >= kMinLakeArea)
            lakesOnMap.push_back(std::move(lake));
    m_lakes = ringsOnPicture(lakesOnMap, 0.0);
    m_lakeShores = linesOnPicture(lakesOnMap, true);
    m_rivers = linesOnPicture(onMap(sources.rivers, false), false);
    // GSHHG's borders run on at sea (maritime boundaries); only their parts on land are drawn.
    m_borders = linesOnPicture(overLand(onMap(sources.borders, false), landOnMap), false);

    // Regions: outlines anticlockwise and holes clockwise, so that the edges
    // two regions share run in opposite directions and cancel in the union.
    std::map<Edge, std::set<size_t>, EdgeLess> owners;
    std::map<Edge, int, EdgeLess> uses;
    std::vector<std::vector<Ring>> oriented(sources.regions.size());
    for (size_t r = 0; r < sources.regions.size(); ++r) {
        for (const Polygon &polygon : sources.regions[r].polygons) {
            for (size_t k = 0; k < polygon.rings.size(); ++k) {
                Ring ring = polygon.rings[k];
                if ((signedArea(ring) > 0.0) != (k == 0))
                    std::reverse(ring.begin(), ring.end());
                for (size_t i = 0; i < ring.size(); ++i) {
                    const Edge e = undirected(ring[i], ring[(i + 1) % ring.size()]);
                    owners[e].insert(r);
                    ++uses[e];
                }
                oriented[r].push_back(std::move(ring));
            }
        }
    }
    // Region fills: a small hole that no other region fills is a gap in the
    // limits' data (unassigned lake shores), filled with the region itself.
    const auto holdsAnotherRegion = [&](const Ring &hole, size_t r) {
        for (size_t other = 0; other < sources.regions.size(); ++other)
            if (other != r)
                for (const Polygon &polygon : sources.regions[other].polygons)
                    if (contains(Polygon{{hole}}, polygon.rings.front().front()))
                        return true;
        return false;
    };
    m_regionRings.clear();
    for (size_t r = 0; r < sources.regions.size(); ++r) {
        std::vector<Ring> fill;
        for (const Polygon &polygon : sources.regions[r].polygons)
            for (size_t k = 0; k < polygon.rings.size(); ++k)
                if (k == 0 || areaKm2(polygon.rings[k]) >= kMinEnclaveKm2 || holdsAnotherRegion(polygon.rings[k], r))
                    fill.push_back(polygon.rings[k]);
        m_regionRings.push_back(ringsOnPicture(onMap(fill, true), 0.0));
    }

    // The union's outline: the directed edges used once, chained end to start.
    std::multimap<QPointF, QPointF, PointLess> outlineEdges;
    // Lines between regions: runs of shared edges, taken from the region with the lower index.
    std::vector<Ring> boundaries;
    for (size_t r = 0; r < oriented.size(); ++r) {
        for (const Ring &ring : oriented[r]) {
            const size_t n = ring.size();
            const auto drawnHere = [&](size_t i) {
                const auto &o = owners[undirected(ring[i], ring[(i + 1) % n])];
                return o.size() > 1 && *o.begin() == r;
            };
            size_t start = 0;  // begin the runs after an edge that is not drawn here
            while (start < n && drawnHere(start))
                ++start;
            Ring run;
            for (size_t s = 0; s <= n; ++s) {
                const size_t i = (start + s) % n;
                if (s < n && drawnHere(i)) {
                    if (run.empty())
                        run.push_back(ring[i]);
                    run.push_back(ring[(i + 1) % n]);
                } else if (!run.empty()) {
                    boundaries.push_back(std::move(run));
                    run.clear();
                }
            }
            for (size_t i = 0; i < n; ++i)
                if (uses[undirected(ring[i], ring[(i + 1) % n])] == 1)
                    outlineEdges.insert({ring[i], ring[(i + 1) % n]});
        }
    }
    std::vector<Ring> italy;
    while (!outlineEdges.empty()) {
        auto it = outlineEdges.begin();
        const QPointF first = it->first;
        Ring ring;
        while (it != outlineEdges.end()) {
            ring.push_back(it->first);
            const QPointF next = it->second;
            outlineEdges.erase(it);
            if (next == first)
                break;
            it = outlineEdges.find(next);
        }
        // Holes in the union are foreign enclaves (San Marino) or gaps in the
        // limits' data (unassigned lake shores of a few km²): keep only the
        // former; the Vatican City is too small to show anyway.
        if (ring.size() >= 3 && (signedArea(ring) > 0.0 || areaKm2(ring) >= kMinEnclaveKm2))
            italy.push_back(std::move(ring));
    }
    m_italy = ringsOnPicture(onMap(italy, true), 0.0);
    m_regionBoundaries = linesOnPicture(onMap(boundaries, false), false);
    return true;
}

MapPicture BackgroundMaps::hydrographyIn(const Palette &c) const
{
    MapPicture picture(kWidth, kHeight);
    const PointList frame{{0, 0}, {kWidth, 0}, {kWidth, kHeight}, {0, kHeight}};
    // Land everywhere, Italy over it, then the sea over everything that is
    // not GSHHG land: the frame with the land rings as holes.
    picture.fill(c.neighbours, {frame}, WmfWriter::Alternate, false);
    picture.fill(c.italy, m_italy, WmfWriter::Alternate, true);
    std::vector<PointList> sea{frame};
    sea.insert(sea.end(), m_land.begin(), m_land.end());
    picture.fill(c.sea, sea, WmfWriter::Alternate, true);
    picture.fill(c.sea, m_lakes, WmfWriter::Alternate, false);
    picture.stroke(c.river, c.riverWidth, m_rivers);
    picture.stroke(c.lakeShore, c.riverWidth, m_lakeShores);
    picture.stroke(c.coast, c.coastWidth, m_coast);
    picture.stroke(c.border, c.borderWidth, m_borders);
    return picture;
}

MapPicture BackgroundMaps::hydrography() const
{
    const Palette colour{QColor(190, 222, 242), QColor(228, 228, 222), QColor(250, 240, 212),
                         QColor(70, 130, 185), QColor(60, 110, 160), QColor(55, 125, 205), QColor(125, 105, 105),
                         8, 7, 9};
    return hydrographyIn(colour);
}

MapPicture BackgroundMaps::hydrographyGreys() const
{
    const Palette greys{QColor(232, 232, 232), QColor(200, 200, 200), QColor(255, 255, 255),
                        QColor(60, 60, 60), QColor(0, 0, 0), QColor(95, 95, 95), QColor(70, 70, 70),
                        7, 5, 9};
    return hydrographyIn(greys);
}

MapPicture BackgroundMaps::regions() const
{
    // Pastel fills in the order of the regions' ISTAT codes, neighbours apart in tone.
    static const QColor fills[20] = {
        {246, 212, 212}, {212, 232, 202}, {212, 222, 246}, {250, 236, 192}, {232, 210, 240},
        {202, 236, 228}, {250, 220, 192}, {222, 240, 198}, {240, 218, 236}, {204, 230, 246},
        {250, 212, 202}, {252, 242, 198}, {214, 212, 244}, {200, 234, 238}, {244, 208, 224},
        {214, 238, 210}, {250, 226, 204}, {210, 226, 240}, {246, 230, 202}, {226, 214, 244},
    };
    const QColor sea(190, 222, 242);
    MapPicture picture(kWidth, kHeight);
    const PointList frame{{0, 0}, {kWidth, 0}, {kWidth, kHeight}, {0, kHeight}};
    picture.fill(QColor(228, 228, 222), {frame}, WmfWriter::Alternate, false);
    for (size_t r = 0; r < m_regionRings.size(); ++r)
        picture.fill(fills[r % 20], m_regionRings[r], WmfWriter::Alternate, true);
    std::vector<PointList> seaRings{frame};
    seaRings.insert(seaRings.end(), m_land.begin(), m_land.end());
    picture.fill(sea, seaRings, WmfWriter::Alternate, true);
    picture.fill(sea, m_lakes, WmfWriter::Alternate, false);
    picture.stroke(QColor(70, 130, 185), 5, m_lakeShores);
    picture.stroke(QColor(120, 120, 120), 6, m_regionBoundaries);
    picture.stroke(QColor(60, 110, 160), 7, m_coast);
    picture.stroke(QColor(90, 80, 80), 9, m_borders);
    return picture;
}

QString BackgroundMaps::checkSquares(const std::vector<SquareRow> &squares, bool *ok) const
{
    const map::ZoneGeometry &g = m_projector.geometry();
    // Half the diagonal of a square: a square touching land has its centre at
    // most that far from it; and a little for the drawing's simplification.
    const double reach = 0.1 * g.hundredKm() * std::sqrt(0.5) + 3.0 * m_tolerance;
    // Squares with less land than this may hold islets that GSHHG lacks or
    // that are too small to draw; they are counted, not checked.
    constexpr double kSmallestCheckedShare = 0.02;
    // Squares almost all land lie inland: their centres fall on drawn land,
    // but for the few in lagoons that ISTAT counts as land and GSHHG as sea.
    constexpr double kAllLandShare = 0.9;
    constexpr double kAllLandOnLand = 0.99;
    std::vector<Polygon> land;
    for (const PointList &ring : m_land) {
        Ring r;
        for (const QPoint &p : ring)
            r.emplace_back(p);
        land.push_back(Polygon{{r}});
    }
    int onLand = 0, nearCoast = 0, islets = 0, allLand = 0, allLandOnLand = 0;
    QStringList offs;
    for (const SquareRow &s : squares) {
        const auto at = g.locate(s.code);
        if (!at) {
            offs << s.code;
            continue;
        }
        const QPointF c = at->centre;
        bool inside = false;
        for (const Polygon &p : land) {
            if (boundingRect(p.rings[0]).contains(c) && contains(p, c)) {
                inside = true;
                break;
            }
        }
        if (s.landShare >= kAllLandShare) {
            ++allLand;
            allLandOnLand += inside ? 1 : 0;
        }
        if (inside) {
            ++onLand;
            continue;
        }
        double nearest = std::numeric_limits<double>::infinity();
        for (const PointList &line : m_coast)
            for (size_t i = 0; i + 1 < line.size(); ++i)
                nearest = std::min(nearest, distanceToSegment(c, line[i], line[i + 1]));
        if (nearest <= reach)
            ++nearCoast;
        else if (s.landShare < kSmallestCheckedShare)
            ++islets;
        else
            offs << s.code + QStringLiteral(" (%1 units from the coast, land share %2)").arg(nearest, 0, 'f', 0).arg(s.landShare);
    }
    const bool inlandOk = allLandOnLand >= kAllLandOnLand * allLand;
    *ok = offs.isEmpty() && inlandOk;
    QString report = QStringLiteral("square centres: %1 on land, %2 near the coast, %3 with islets not drawn, %4 off; "
                                    "%5 of %6 squares all land have their centre on land")
                         .arg(onLand).arg(nearCoast).arg(islets).arg(offs.size()).arg(allLandOnLand).arg(allLand);
    if (!offs.isEmpty())
        report += QStringLiteral(": ") + offs.mid(0, 8).join(QStringLiteral(", "));
    return report;
}

}  // namespace ortolan::mapgen
