#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

// Values shared by the two metafile formats (WMF and EMF) and by the drawing
// engine: the numeric codes are those stored in the files, so a value can be
// written to a record as it stands.
namespace ortolan::metafile {

// A colour as the files store it: red in bits 0-7, green 8-15, blue 16-23.
using ColorRef = quint32;

constexpr ColorRef rgb(int r, int g, int b)
{
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
inline QColor toQColor(ColorRef c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
inline ColorRef fromQColor(const QColor &c) { return rgb(c.red(), c.green(), c.blue()); }

enum class PenStyle : quint32 {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
    Null = 5,
    InsideFrame = 6,
};

enum class BrushStyle : quint32 {
    Solid = 0,
    Null = 1,  // also called "hollow"
    Hatched = 2,
    Pattern = 3,
    DibPattern = 5,
    DibPatternPt = 6,
};

enum class HatchStyle : quint32 {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,   // top-left to bottom-right
    BackwardDiagonal = 3,  // bottom-left to top-right
    Cross = 4,
    DiagonalCross = 5,
};

// Binary raster operations for pen and brush drawing (SetROP2).
enum class Rop2 : quint32 {
    Black = 1,
    NotMergePen = 2,
    MaskNotPen = 3,
    NotCopyPen = 4,
    MaskPenNot = 5,
    Not = 6,
    XorPen = 7,
    NotMaskPen = 8,
    MaskPen = 9,  // pen colour AND destination
    NotXorPen = 10,
    Nop = 11,
    MergeNotPen = 12,
    CopyPen = 13,  // the default
    MergePenNot = 14,
    MergePen = 15,
    White = 16,
};

enum class BkMode : quint32 { Transparent = 1, Opaque = 2 };

enum class PolyFillMode : quint32 { Alternate = 1, Winding = 2 };

enum class MapMode : quint32 {
    Text = 1,        // one logical unit = one device pixel, y down
    LoMetric = 2,    // 0.1 mm, y up
    HiMetric = 3,    // 0.01 mm, y up
    LoEnglish = 4,   // 0.01 inch, y up
    HiEnglish = 5,   // 0.001 inch, y up
    Twips = 6,       // 1/1440 inch, y up
    Isotropic = 7,   // window/viewport, equal scales on both axes
    Anisotropic = 8, // window/viewport, free scales
};

// How a new clip region combines with the current one.
enum class RegionMode : quint32 { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

enum class GraphicsMode : quint32 { Compatible = 1, Advanced = 2 };

enum class ArcDirection : quint32 { CounterClockwise = 1, Clockwise = 2 };

enum class ModifyWorldTransformMode : quint32 { Identity = 1, LeftMultiply = 2, RightMultiply = 3, Set = 4 };

// Objects every device context has without creating them (SelectObject with the
// high bit set in a metafile).
enum class StockObject : quint32 {
    WhiteBrush = 0,
    LtGrayBrush = 1,
    GrayBrush = 2,
    DkGrayBrush = 3,
    BlackBrush = 4,
    NullBrush = 5,
    WhitePen = 6,
    BlackPen = 7,
    NullPen = 8,
    OemFixedFont = 10,
    AnsiFixedFont = 11,
    AnsiVarFont = 12,
    SystemFont = 13,
    DeviceDefaultFont = 14,
    DefaultPalette = 15,
    SystemFixedFont = 16,
    DefaultGuiFont = 17,
    DcBrush = 18,
    DcPen = 19,
};

// Text alignment flags (SetTextAlign). Horizontal: Left, Center, Right.
// Vertical: Top, Bottom, Baseline. UpdateCp draws at and advances the current position.
namespace TextAlign {
constexpr quint32 NoUpdateCp = 0;
constexpr quint32 UpdateCp = 1;
constexpr quint32 Left = 0;
constexpr quint32 Right = 2;
constexpr quint32 Center = 6;
constexpr quint32 Top = 0;
constexpr quint32 Bottom = 8;
constexpr quint32 Baseline = 24;
constexpr quint32 HorizontalMask = 6;
constexpr quint32 VerticalMask = 24;
}  // namespace TextAlign

// ExtTextOut options.
namespace TextOutOption {
constexpr quint32 Opaque = 0x0002;   // fill the rectangle with the background colour
constexpr quint32 Clipped = 0x0004;  // clip the text to the rectangle
constexpr quint32 GlyphIndex = 0x0010;
constexpr quint32 NoRect = 0x0100;
constexpr quint32 Pdy = 0x2000;  // the advances come in x/y pairs
}  // namespace TextOutOption

// Flags of text drawn into a rectangle (the drawing engine's text boxes).
// Horizontal: Left, Center, Right; vertical: Top, VCenter, Bottom.
namespace DrawTextFlag {
constexpr quint32 Left = 0x0000;
constexpr quint32 Center = 0x0001;
constexpr quint32 Right = 0x0002;
constexpr quint32 Top = 0x0000;
constexpr quint32 VCenter = 0x0004;
constexpr quint32 Bottom = 0x0008;
constexpr quint32 WordBreak = 0x0010;
constexpr quint32 SingleLine = 0x0020;
constexpr quint32 ExpandTabs = 0x0040;
constexpr quint32 NoClip = 0x0100;
constexpr quint32 ExternalLeading = 0x0200;
constexpr quint32 NoPrefix = 0x0800;
}  // namespace DrawTextFlag

// A logical font as both formats describe it. Height < 0: character (em) height,
// > 0: cell height (ascent + descent), 0: a default size; in logical units.
// Escapement and orientation in tenths of a degree, counter-clockwise on the page.
struct LogFont {
    qint32 height = 0;
    qint32 width = 0;
    qint32 escapement = 0;
    qint32 orientation = 0;
    qint32 weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint8 charSet = 1;        // DEFAULT_CHARSET
    quint8 outPrecision = 7;   // TrueType only
    quint8 clipPrecision = 0;
    quint8 quality = 0;
    quint8 pitchAndFamily = 0;
    QString faceName;  // at most 31 characters are stored

    bool operator==(const LogFont &) const = default;
};

}  // namespace ortolan::metafile
