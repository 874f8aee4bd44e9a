#pragma once

#include "tools/mapgen/AdminAreas.h"
#include "tools/mapgen/GmtSegments.h"
#include "tools/mapgen/MapPicture.h"
#include "tools/mapgen/SquareTable.h"

namespace ortolan::mapgen {

class UtmProjection;
class WorldProjector;

// The geographic inputs of the background maps, in WGS84 longitude/latitude.
struct MapSources {
    std::vector<Ring> landPieces;  // GSHHG level-1 shorelines as GMT dumps them (open at the box)
    std::vector<Ring> lakePieces;  // GSHHG level-2 shorelines (lakes)
    std::vector<Ring> rivers;      // GSHHG major permanent rivers
    std::vector<Ring> borders;     // GSHHG national borders
    std::vector<AdminArea> regions;  // ISTAT regions
};

// The three background pictures of the atlas, drawn through the map's zone
// geometry on a picture of 110 x 146 mm in units of 0.01 mm: the
// hydrography map in colour and in greys, and the map of the regions.
class BackgroundMaps {
public:
    static constexpr int kWidth = 11000;
    static constexpr int kHeight = 14600;
    static constexpr int kUnitsPerInch = 2540;

    // tolerance: Douglas-Peucker tolerance in picture units.
    BackgroundMaps(const WorldProjector &projector, double tolerance);

    // The longitude/latitude box that holds everything the picture shows, with
    // a margin, so that GMT's cuts at the box stay outside the picture.
    static GeoBox sourceBox(const WorldProjector &projector, const UtmProjection &projection);

    // Turns the sources into picture geometry; false with *error set on failure.
    bool prepare(const MapSources &sources, const GeoBox &box, QString *error);

    MapPicture hydrography() const;
    MapPicture hydrographyGreys() const;
    MapPicture regions() const;

    // Checks that the square table agrees with the drawn land: every square's
    // centre lies on land or within reach of the coast. Returns a report line;
    // *ok is false when a square is off.
    QString checkSquares(const std::vector<SquareRow> &squares, bool *ok) const;

private:
    struct Palette;
    MapPicture hydrographyIn(const Palette &palette) const;
    // Longitude/latitude lines or rings on the map (world units).
    std::vector<Ring> onMap(const std::vector<Ring> &lonLat, bool closed) const;
    // Map rings and lines simplified, clipped to the picture and rounded to picture units.
    std::vector<PointList> ringsOnPicture(const std::vector<Ring> &world, double minArea) const;
    std::vector<PointList> linesOnPicture(const std::vector<Ring> &world, bool closed) const;
    // The parts of lines that run over land (or within a km of the coast).
    static std::vector<Ring> overLand(const std::vector<Ring> &lines, const std::vector<Ring> &land);

    const WorldProjector &m_projector;
    double m_tolerance;
    std::vector<PointList> m_land;         // GSHHG land, filled
    std::vector<PointList> m_coast;        // GSHHG shorelines, drawn
    std::vector<PointList> m_lakes;
    std::vector<PointList> m_lakeShores;
    std::vector<PointList> m_rivers;
    std::vector<PointList> m_borders;
    std::vector<PointList> m_italy;        // outline of the union of the regions (with enclaves as holes)
    std::vector<std::vector<PointList>> m_regionRings;  // per region
    std::vector<PointList> m_regionBoundaries;          // lines between two regions
};

}  // namespace ortolan::mapgen
