#pragma once

#include "map/BackgroundPicture.h"
#include "map/GridLines.h"
#include "map/ZoneGeometry.h"

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;

namespace ortolan::map {

class RecordsLayer;

// Draws the distribution map onto any QPainter: the screen's canvas, an
// exported bitmap, the clipboard image and the command-line renderer share
// this one path. A map is white paper, the visible part of the background
// picture stretched over the target, the UTM grid in a light grey, one red dot
// with a black outline per occupied square on top, and a thin black frame
// around a zoom-area view.
//
// On raster targets the background comes from the picture's image cache, so a
// repeated view costs a copy of pixels; on vector targets it is drawn as vector.
class MapRenderer {
public:
    // What to draw: the world of the full view (W x H), the world rectangle
    // shown on the target, and the overlays.
    struct View {
        QSizeF world;
        QRectF viewRect;
        bool grid = true;
        bool areaFrame = false;
    };

    static QColor gridColour() { return QColor(150, 150, 150); }
    // Colour 255 of the old colour numbers: pure red.
    static QColor dotColour() { return QColor(255, 0, 0); }
    static QColor dotOutlineColour() { return QColor(0, 0, 0); }

    void setBackground(const BackgroundPicture &background) { m_background = background; }
    const BackgroundPicture &background() const { return m_background; }
    // The grid and the dot size follow the zone geometry of the fitted map.
    void setGeometry(const ZoneGeometry &geometry);
    // The located squares of a records layer (each place once).
    void setDots(const RecordsLayer &records);
    const std::vector<QPointF> &dots() const { return m_dots; }
    double dotRadius() const { return m_dotRadius; }

    void render(QPainter &painter, const QRectF &target, const View &view) const;

    // The world-to-target mapping of a view: what render() does to every world point.
    static QTransform worldToTarget(const QRectF &viewRect, const QRectF &target);
    // The outline of a dot of radii rx, ry (target pixels) around (0, 0): a
    // polygon within a tenth of a pixel of the ellipse.
    static QPolygonF dotOutline(double rx, double ry);

private:
    void drawBackground(QPainter &painter, const QRectF &target, const View &view) const;

    BackgroundPicture m_background;
    GridLines m_grid{ZoneGeometry(0.0, 0.0)};
    std::vector<QPointF> m_dots;
    double m_dotRadius = 0.0;
};

}  // namespace ortolan::map
