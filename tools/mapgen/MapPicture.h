#pragma once

#include "tools/mapgen/WmfWriter.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRectF>

#include <vector>

namespace ortolan::mapgen {

using PointList = std::vector<QPoint>;

// A background map as a list of drawing steps in picture units (0.01 mm,
// y downwards), kept so that one drawing can be written as a metafile and
// rendered for a preview alike.
class MapPicture {
public:
    MapPicture(int width, int height) : m_width(width), m_height(height) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Fills rings with one brush and no outline. Together (one polypolygon)
    // the fill mode decides holes; separately, each ring is its own polygon.
    void fill(const QColor &colour, const std::vector<PointList> &rings, WmfWriter::FillMode mode, bool together);
    // Draws open lines with a solid pen of a width in picture units.
    void stroke(const QColor &colour, int width, const std::vector<PointList> &lines);

    // The placeable metafile: bounding box (0, 0)-(width, height) at unitsPerInch.
    QByteArray toWmf(int unitsPerInch) const;
    // Renders the part `source` of the picture (picture units) into an image of the given size.
    QImage render(const QSize &size, const QRectF &source) const;

    // Number of points drawn, for size reports.
    qsizetype pointCount() const;

private:
    struct Step {
        bool isFill = true;
        QColor colour;
        int penWidth = 0;
        WmfWriter::FillMode mode = WmfWriter::Alternate;
        bool together = false;
        std::vector<PointList> parts;
    };

    int m_width;
    int m_height;
    std::vector<Step> m_steps;
};

}  // namespace ortolan::mapgen
