#pragma once

#include "print/OTprintResult.h"

#include <QPointF>
#include <QPolygonF>
#include <QPoint>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <vector>

namespace ortolan::map {
class RecordsLayer;
class ZoneGeometry;
}  // namespace ortolan::map

namespace ortolan::print {

class OTprint;

// Everything the printed map page is drawn from, gathered from a species window
// (or built headless by the command line).
struct MapPageInput {
    // The map's world: width W, height H (the full view) and the 100-km length S.
    QSizeF world;
    double hundredKm = 0.0;
    // The UTM grid overlay in world units (map::GridLines::polylines()).
    std::vector<QPolygonF> gridLines;
    // The world centre of every row of the square table; rows never located
    // sit at y = 0 and give no dot.
    std::vector<QPointF> squareCentres;
    // The background picture file, already chosen for the colour mode.
    QString backgroundPath;
    bool blackWhite = false;
    bool grid = true;
    QString caption;
    // The metafile written; print pages and exports differ in frame and origin.
    QString target;
    bool forPrint = true;

    // The map part of the input: world, 100-km length, grid lines and square
    // centres of a located square table, for the geometry of a world of `world`.
    void setMap(QSizeF world, const map::ZoneGeometry &geometry, const map::RecordsLayer &records);
};

// The page layout of the printed map, in tenths of a millimetre (frames in
// hundredths, as metafile frames are given).
namespace MapPage {

// A print page is a portrait sheet of 200 x 280 mm with the map 45 mm from the
// left and 30 mm from the top; an export is just the map, 110 x 146 mm.
inline constexpr QSize PrintFrame{20000, 28000};
inline constexpr QSize ExportFrame{11000, 14600};
inline constexpr QPoint PrintOrigin{450, 300};
inline constexpr QPoint ExportOrigin{0, 0};
inline constexpr int MapWidth = 1100;
inline constexpr int MapHeight = 1460;
// The title sits 5 mm below the map frame.
inline constexpr int TitleGap = 50;
inline constexpr int GridColour = 229 | (229 << 8) | (229 << 16);
inline constexpr int Red = 255;
inline constexpr int Black = 0;
inline constexpr int FramePen = 6;

// The temporary page the print preview shows: the user folder's "ItaliaST.emf".
QString printPagePath();

// The dot radius on the page: kx * S / 20 - 0.3, rounded (halves to even).
int dotRadius(const MapPageInput &input);

// Draws the page into engine: opens the metafile input.target, draws the
// background at the map origin at its natural size, the grid in light grey
// when input.grid, the frame, one dot per row with world y not 0 (red, or
// black in black and white), the caption below the map, and closes the
// metafile. The first failure stops the page and is returned; the engine's
// metafile may then stay open until its next OpenMeta.
OTprintResult writeMapPage(const MapPageInput &input, OTprint &engine);

}  // namespace MapPage

}  // namespace ortolan::print
