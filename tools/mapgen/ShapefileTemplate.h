#pragma once

#include "tools/mapgen/SquareTable.h"

namespace ortolan::mapgen {

class StagedFiles;
class UtmProjection;

// The shapefile template of the map export: one polygon per square, in the
// order of the square table, in zone-32 coordinates (EPSG:32632): the four
// true corners of each square transformed from its own zone. Beside the
// geometry (qutm32.shp, .shx) go the projection (qutm32.prj) and a small
// attribute table with the square code (qutm32.dbf, field UTM).
class ShapefileTemplate {
public:
    static bool write(const std::vector<SquareRow> &rows, const UtmProjection &projection, StagedFiles &staged,
                      QString *error);

    // Corners of a square in zone-32 coordinates, clockwise as the shapefile
    // wants outer rings, closed (the first corner repeated at the end).
    static std::vector<QPointF> corners(const SquareRow &row, const UtmProjection &projection);
};

}  // namespace ortolan::mapgen
