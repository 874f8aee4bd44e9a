#pragma once

#include "metafile/DisplayList.h"
#include "metafile/GdiTypes.h"
#include "metafile/Mapping.h"

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QTransform>

#include <map>
#include <optional>
#include <vector>

namespace ortolan::metafile {

// A logical pen or brush as the files describe them (widths in logical units).
struct LogPen {
    PenStyle style = PenStyle::Solid;
    double width = 0;
    ColorRef color = 0;
    bool cosmetic = false;  // cosmetic pens are one pixel wide whatever the mapping
    bool extended = false;  // an extended pen: dash styles keep at any width
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct LogBrush {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = 0xFFFFFF;
    HatchStyle hatch = HatchStyle::Horizontal;
    QImage pattern;
};

// An entry of a metafile's object table (the readers keep the table).
struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Other } kind = Kind::Empty;
    LogPen pen;
    LogBrush brush;
    LogFont font;

    static GdiObject of(const LogPen &p) { GdiObject o; o.kind = Kind::Pen; o.pen = p; return o; }
    static GdiObject of(const LogBrush &b) { GdiObject o; o.kind = Kind::Brush; o.brush = b; return o; }
    static GdiObject of(const LogFont &f) { GdiObject o; o.kind = Kind::Font; o.font = f; return o; }
    static GdiObject other() { GdiObject o; o.kind = Kind::Other; return o; }
};

// Emulates the state of a GDI device context while a metafile is decoded: the
// mapping (map mode, window, viewport, world transform), the selected pen, brush
// and font, colours and modes, the current position, the path bracket, the clip
// and the SaveDC stack. Drawing calls take logical coordinates and append
// operations in device space to a DisplayList. Both readers drive it.
class DeviceContext {
public:
    explicit DeviceContext(DisplayList *out);

    // Fixed mapping modes (LoMetric ...) need the device resolution.
    void setDevicePixelsPerMm(double x, double y);
    // WMF: the viewport is the picture frame; viewport records are ignored and the
    // map mode stays anisotropic, as the platform plays placeable files.
    void setFixedViewport(const QRectF &frame);

    // --- objects (the readers own the object table and pass values)
    void selectPen(const LogPen &pen) { m_s.pen = pen; }
    void selectBrush(const LogBrush &brush) { m_s.brush = brush; }
    void selectFont(const LogFont &font) { m_s.font = font; }
    // Selects a table entry; index only names it in the warning about an empty one.
    void selectObject(const GdiObject &object, quint32 index);
    // Returns false for an index that is no stock object.
    bool selectStockObject(quint32 index);

    // --- state
    void setMapMode(MapMode mode);
    void setWindowOrg(const QPointF &p);
    void setWindowExt(const QSizeF &s);
    void setViewportOrg(const QPointF &p);
    void setViewportExt(const QSizeF &s);
    void offsetWindowOrg(const QPointF &d);
    void offsetViewportOrg(const QPointF &d);
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform &t);
    void modifyWorldTransform(const QTransform &t, quint32 mode);
    void setGraphicsMode(quint32 mode) { m_s.advanced = (mode == quint32(GraphicsMode::Advanced)); }
    void setBkMode(quint32 mode) { m_s.bkOpaque = (mode == quint32(BkMode::Opaque)); }
    void setBkColor(ColorRef c) { m_s.bkColor = c; }
    void setTextColor(ColorRef c) { m_s.textColor = c; }
    void setTextAlign(quint32 a) { m_s.textAlign = a; }
    void setPolyFillMode(quint32 m) { m_s.winding = (m == quint32(PolyFillMode::Winding)); }
    void setRop2(quint32 r);
    void setArcDirection(quint32 d) { m_s.clockwise = (d == quint32(ArcDirection::Clockwise)); }
    void saveDC();
    // GDI semantics: n < 0 pops -n states, n > 0 returns to the n-th saved state.
    bool restoreDC(int n);

    // --- drawing (logical coordinates)
    void moveTo(const QPointF &p);
    void lineTo(const QPointF &p);
    void polylineTo(const QPolygonF &points);
    void polyBezierTo(const QPolygonF &points);
    void polygon(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyline(const QPolygonF &points);
    void polyPolyline(const QList<QPolygonF> &polylines);
    void polyBezier(const QPolygonF &points);
    void rectangle(const QRectF &box);
    void roundRect(const QRectF &box, const QSizeF &corner);
    void ellipse(const QRectF &box);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void arc(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end);
    void angleArc(const QPointF &centre, double radius, double startDeg, double sweepDeg);
    void setPixel(const QPointF &p, ColorRef c);
    // A rectangle filled with the current brush, or with colour when given (PatBlt-like).
    void fillRect(const QRectF &box, std::optional<ColorRef> colour = std::nullopt);
    // A device-space region filled with brush (the current brush when null).
    void fillRegion(const QPainterPath &devicePath, const LogBrush *brush = nullptr);

    // --- text: dx are logical advances per UTF-16 code unit (empty: measured).
    void textOut(const QPointF &p, const QString &text, const QList<double> &dx, quint32 options, const QRectF &rect);

    // --- bitmaps: source in image pixels drawn into dest (logical; negative sizes flip).
    void drawImage(const QImage &image, const QRectF &source, const QRectF &dest, quint32 rasterOp);

    // --- paths
    void beginPath();
    void endPath() { m_inPath = false; }
    void closeFigure();
    void abortPath();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(quint32 mode);
    void flattenPath();

    // --- clipping
    void intersectClipRect(const QRectF &logical);
    void excludeClipRect(const QRectF &logical);
    // A region in device units; an empty path with Copy resets the clip.
    void selectClipRegion(const QPainterPath &device, quint32 mode);
    void offsetClip(const QPointF &logical);

    // Logical -> device transform in force.
    QTransform transform() const;
    const QStringList &warnings() const { return m_warnings; }
    void warn(const QString &w);

    // Measures the advances of text in a font (logical units) as the writer does.
    static QList<qreal> measureAdvances(const LogFont &font, const QString &text, qreal *ascent = nullptr,
                                       qreal *descent = nullptr, qreal *leading = nullptr);
    static QFont qtFont(const LogFont &font, qreal *emHeight);

private:
    struct State {
        Mapping map;
        bool advanced = false;
        LogPen pen;
        LogBrush brush;
        LogFont font;
        bool bkOpaque = true;
        ColorRef bkColor = 0xFFFFFF;
        ColorRef textColor = 0;
        quint32 textAlign = 0;
        bool winding = false;
        Rop2 rop = Rop2::CopyPen;
        bool clockwise = false;
        std::optional<QPainterPath> clip;  // device space; nullopt = none
    };

    void emitPath(const QPainterPath &devicePath, bool closed);
    void addToPath(const QPainterPath &devicePath, bool connect);
    void setClip(std::optional<QPainterPath> clip);
    QPainterPath arcPath(ArcKind kind, const QRectF &box, const QPointF &start, const QPointF &end) const;
    int currentPen();
    int currentBrush();
    QPainterPath deviceRect(const QRectF &logical) const;
    void grow(const QRectF &deviceRect);

    DisplayList *m_out;
    State m_s;
    std::vector<State> m_stack;
    QPointF m_cp;  // current position, logical
    bool m_inPath = false;
    QPainterPath m_path;  // device space
    double m_pxPerMmX = 600 / 25.4, m_pxPerMmY = 600 / 25.4;
    std::optional<QRectF> m_fixedViewport;
    QStringList m_warnings;
};

}  // namespace ortolan::metafile
