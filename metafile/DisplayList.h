#pragma once

#include "metafile/GdiTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>

#include <variant>
#include <vector>

namespace ortolan::metafile {

// A metafile compiled once into drawing operations in the picture's DEVICE space
// (for an EMF the reference device's pixels, for a WMF its placeable frame units),
// with every mapping mode, window, viewport and world transform already applied.
// Playing it is then only a matter of one painter transform per render, so a map
// can be redrawn at any zoom without decoding records again.

struct PenSpec {
    PenStyle style = PenStyle::Solid;
    double width = 0;  // device units; 0 = one output pixel whatever the scale
    QColor color = Qt::black;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    bool operator==(const PenSpec &) const = default;
};

struct BrushSpec {
    BrushStyle style = BrushStyle::Solid;  // Solid, Hatched or DibPattern
    QColor color = Qt::white;
    HatchStyle hatch = HatchStyle::Horizontal;
    bool opaqueBackground = false;  // hatch gaps filled with background (BkMode opaque)
    QColor background = Qt::white;
    QImage pattern;  // DibPattern only
    bool operator==(const BrushSpec &o) const
    {
        return style == o.style && color == o.color && hatch == o.hatch && opaqueBackground == o.opaqueBackground
               && background == o.background && pattern.cacheKey() == o.pattern.cacheKey();
    }
};

// Fill and/or stroke one shape. pen/brush index into DisplayList::pens/brushes, -1 none.
// A shape of one figure of straight lines (most of what metafiles hold) is kept as
// a polygon, which the painter draws faster than a path; anything else as a path.
struct PathOp {
    QPainterPath path;       // empty when polygon holds the shape
    QPolygonF polygon;       // device
    bool closed = false;     // polygon: filled and outlined as closed
    Qt::FillRule fillRule = Qt::OddEvenFill;  // the polygon fill mode in force
    int pen = -1;
    int brush = -1;
    Rop2 rop = Rop2::CopyPen;
    QRectF bounds;  // device, including the pen

    QPainterPath toPath() const;
};

// One run of text. Text space: x along the baseline from the run's start, y down,
// in units of `unit` text-space units per font pixel; positions[i] is where code
// unit i starts. transform maps text space to device space.
struct TextOp {
    QString text;
    QList<qreal> positions;  // text-space x of each UTF-16 code unit
    qreal width = 0;          // text-space advance of the whole run
    QFont font;               // pixel size TextOp::FontPixels
    qreal scale = 1;          // text-space units per font pixel
    QTransform transform;     // text space -> device
    QColor color = Qt::black;
    bool opaque = false;      // fill background rectangle first
    QColor background = Qt::white;
    QRectF backgroundRect;    // text space
    bool clipped = false;
    QPainterPath clip;        // device space, when clipped
    Rop2 rop = Rop2::CopyPen;
    // Fonts are built at this pixel size and scaled by the transform, so sizes of a
    // fraction of a unit keep their proportions.
    static constexpr int FontPixels = 256;
    LogFont logFont;  // the font as the metafile described it (for re-emission)
    QRectF bounds;    // device
};

// A bitmap: source (image pixels) mapped by transform to device space.
struct ImageOp {
    QImage image;
    QRectF source;
    QTransform transform;  // image pixel space -> device
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    QRectF bounds;  // device
};

// The clip from here on: none (reset), or a path in device space.
struct ClipOp {
    bool reset = true;
    QPainterPath path;
};

using DisplayOp = std::variant<PathOp, TextOp, ImageOp, ClipOp>;

struct DisplayList {
    std::vector<PenSpec> pens;
    std::vector<BrushSpec> brushes;
    std::vector<DisplayOp> ops;
    QTransform deviceToPicture;  // device space -> picture units
    QRectF deviceBounds;         // union of what the operations touch (device)

    // Index of an equal pen or brush, added when new: a file that creates a pen
    // per shape still plays with a handful of QPen objects.
    int internPen(const PenSpec &pen);
    int internBrush(const BrushSpec &brush);
};

}  // namespace ortolan::metafile
