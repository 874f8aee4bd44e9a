#pragma once

#include "metafile/EmfRegion.h"
#include "metafile/GdiTypes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <memory>
#include <vector>

namespace ortolan::metafile {

class MetafilePicture;

// The device a metafile is recorded for: its resolution and the size of its
// drawing surface. The header stores the size in pixels and in millimetres; the
// ratio of the two is how every reader turns device pixels into millimetres.
struct EmfReferenceDevice {
    int dpiX = 600;
    int dpiY = 600;
    QSize pixels;       // surface size in device pixels
    QSize millimeters;  // surface size in whole millimetres

    // A device of the given resolution whose surface is a page of pageMm
    // (e.g. 210 x 297 mm); the pixel size is derived from the resolution.
    static EmfReferenceDevice forPage(int dpiX, int dpiY, QSizeF pageMm = QSizeF(210, 297));

    // Device pixels per millimetre on each axis, as readers compute them from the header.
    double pixelsPerMmX() const;
    double pixelsPerMmY() const;
};

// Writes an enhanced metafile record by record, as a GDI device context would
// record it.
//
// Coordinates. Every coordinate, size and pen width passed to a drawing method is
// in LOGICAL units of the metafile's device context, converted to reference-device
// pixels by the mapping the caller sets up, exactly as the platform does:
// device = viewport(window(world(p))). A new writer starts in MapMode::Text with
// window and viewport origins at 0 and no world transform, so one logical unit is
// one reference-device pixel, x to the right and y downwards. The drawing engine
// keeps that default and converts its tenths of a millimetre to device pixels
// itself (value x dpi / 254); other callers may set MapMode::LoMetric etc. or an
// anisotropic window/viewport instead. Coordinates are stored as 32-bit integers
// (the 16-bit record variants are used automatically when every point fits).
// Clip regions (EmfRegion) are always in device pixels.
//
// The writer mirrors the mapping state (including SaveDC/RestoreDC) only to
// accumulate the header's bounds (device pixels, inclusive) and to measure text;
// it never refuses a call. Objects live in the metafile's object table: a create
// call returns the lowest free index (1, 2, ...), deleteObject frees it, and the
// header's handle count is the table's high-water mark + 1.
//
// finish() appends the end-of-file record and patches the header (bounds, frame,
// byte size, record count, handle count); save() writes the finished bytes
// atomically (temporary file, then rename).
class EmfWriter {
public:
    using Handle = quint32;  // index in the object table; 0 is never a created object

    enum class DibFormat { Rgb24, Rgb32 };

    // frame: the picture's frame in hundredths of a millimetre (left, top, right,
    // bottom as stored, inclusive). An empty description writes none.
    EmfWriter(const EmfReferenceDevice &device, const QRect &frame, const QString &description = QString());
    ~EmfWriter();
    EmfWriter(const EmfWriter &) = delete;
    EmfWriter &operator=(const EmfWriter &) = delete;

    const EmfReferenceDevice &device() const { return m_device; }
    QRect frame() const { return m_frame; }

    // --- Objects -------------------------------------------------------------
    // width in logical units; 0 draws one device pixel wide whatever the scale.
    Handle createPen(PenStyle style, int width, ColorRef color);
    // hatch is used only with BrushStyle::Hatched.
    Handle createBrush(BrushStyle style, ColorRef color, HatchStyle hatch = HatchStyle::Horizontal);
    Handle createSolidBrush(ColorRef color) { return createBrush(BrushStyle::Solid, color); }
    Handle createHatchBrush(HatchStyle hatch, ColorRef color) { return createBrush(BrushStyle::Hatched, color, hatch); }
    // font.height in logical units (negative: character height).
    Handle createFont(const LogFont &font);
    void selectObject(Handle handle);
    void selectStockObject(StockObject object);
    void deleteObject(Handle handle);

    // --- Device-context state ---------------------------------------------------
    void setRop2(Rop2 mode);
    void setBkMode(BkMode mode);
    void setBkColor(ColorRef color);
    void setTextColor(ColorRef color);
    void setTextAlign(quint32 textAlignFlags);  // TextAlign:: flags
    void setPolyFillMode(PolyFillMode mode);
    void setArcDirection(ArcDirection direction);
    void setMapMode(MapMode mode);
    void setWindowExt(const QSize &extent);
    void setWindowOrg(const QPoint &origin);
    void setViewportExt(const QSize &extent);
    void setViewportOrg(const QPoint &origin);
    void setGraphicsMode(GraphicsMode mode);
    // World transform: logical point p goes to page point p * transform (QTransform's
    // row-vector convention, the same as the file's XFORM). Requires GraphicsMode::Advanced,
    // which these two calls switch on when needed.
    void setWorldTransform(const QTransform &transform);
    void modifyWorldTransform(const QTransform &transform, ModifyWorldTransformMode mode);
    void saveDC();
    // relative < 0: back that many saved states (-1 is the latest one).
    void restoreDC(int relative = -1);

    // --- Lines and shapes (current pen outlines, current brush fills) ----------
    void moveTo(const QPoint &p);
    void lineTo(const QPoint &p);
    void rectangle(const QRect &box);  // box: left/top/right/bottom as given (QRect::right() is kept, not width-1)
    void roundRect(const QRect &box, const QSize &corner);
    void ellipse(const QRect &box);
    // Arc, chord and pie of the ellipse in box, from the radial point start to the
    // radial point end, in the current arc direction (counter-clockwise by default).
    void arc(const QRect &box, const QPoint &start, const QPoint &end);
    void chord(const QRect &box, const QPoint &start, const QPoint &end);
    void pie(const QRect &box, const QPoint &start, const QPoint &end);
    void polygon(const QPolygon &points);
    void polyPolygon(const QList<QPolygon> &polygons);
    void polyline(const QPolygon &points);
    void polyPolyline(const QList<QPolygon> &polylines);
    void polylineTo(const QPolygon &points);
    // 1 + 3n points: start, then (control, control, end) per segment.
    void polyBezier(const QPolygon &points);
    // 3n points continuing from the current position.
    void polyBezierTo(const QPolygon &points);

    // --- Paths ------------------------------------------------------------------
    void beginPath();
    void endPath();
    void closeFigure();
    void abortPath();
    void fillPath();
    void strokeAndFillPath();
    void strokePath();
    void selectClipPath(RegionMode mode);

    // --- Clipping -----------------------------------------------------------------
    // A region in device pixels. Readers that ignore RegionMode::Copy (some do) still
    // honour And; to replace a clip portably use saveDC() + And + restoreDC().
    void selectClipRegion(const EmfRegion &region, RegionMode mode);
    // Back to no clipping (the whole surface).
    void resetClipRegion();
    void intersectClipRect(const QRect &box);
    void excludeClipRect(const QRect &box);

    // --- Text -------------------------------------------------------------------
    // Text at p (aligned by the current text alignment) in the selected font and the
    // text colour; the character advances are measured with QFontMetricsF for that
    // font, so every reader places the characters where this program does.
    // options: TextOutOption:: flags; rect is the opaque/clip rectangle (logical).
    void textOut(const QPoint &p, const QString &text, quint32 options = 0, const QRect &rect = QRect());
    // The same with explicit advances (logical units, one per UTF-16 code unit).
    void extTextOut(const QPoint &p, const QString &text, const QList<qint32> &advances, quint32 options = 0,
                    const QRect &rect = QRect());
    // Text wrapped into a rectangle: DrawTextFlag:: horizontal (Left/Center/Right)
    // and vertical (Top/VCenter/Bottom, applied to the whole block of lines)
    // alignment, WordBreak (wrap at spaces; a word longer than the width stays
    // whole), ExternalLeading (add the font's leading between lines), NoClip (do
    // not clip to the rectangle). Hard line breaks ("\n", "\r\n") always break.
    // Lines are emitted as ExtTextOutW records with alignment Left|Top; the current
    // text alignment is restored afterwards. Returns the height of the text block
    // in logical units.
    int drawText(const QRect &box, const QString &text, quint32 drawTextFlags);

    // Advances of text in a font, in logical units of the current mapping: what
    // textOut() writes (rounded to integers, the rounding error carried along).
    QList<qint32> advancesFor(const LogFont &font, const QString &text) const;
    // The currently selected font (a default when none was created).
    LogFont selectedFont() const;

    // --- Pictures -----------------------------------------------------------------
    // A bitmap stretched into dest (logical), copied as it is (SRCCOPY). Alpha is
    // flattened onto white: metafile bitmaps are opaque.
    void stretchDIBits(const QRect &dest, const QImage &image, DibFormat format = DibFormat::Rgb24);
    // Another metafile (WMF or EMF) drawn into dest (logical): its drawing commands
    // are re-emitted as this writer's own records, mapped into dest, between SaveDC
    // and RestoreDC, so it renders the same in every reader. source selects the
    // part of the picture to draw, in picture units (MetafilePicture::naturalRect());
    // a null source draws the whole picture. Drawing the same picture into the same
    // place again (the next page of an atlas) copies the records made the first time.
    void drawPicture(const MetafilePicture &picture, const QRect &dest, const QRectF &source = QRectF());

    void comment(const QByteArray &data);

    // --- Output ---------------------------------------------------------------------
    // Appends EMR_EOF and patches the header; further drawing calls are ignored.
    // Returns the whole file.
    QByteArray finish();
    // finish() and write the file atomically. On failure returns false and sets *error.
    bool save(const QString &path, QString *error = nullptr);

    // Accumulated bounds in device pixels (inclusive), or a null rectangle if nothing was drawn.
    QRect bounds() const;
    quint32 recordCount() const { return m_records; }
    // The header's handle count: highest object index in use at any time + 1.
    quint16 handleCount() const;
    bool isFinished() const { return m_finished; }

private:
    void polyPoints(quint32 type, const QPolygon &points);
    void polyPolyPoints(quint32 type, const QList<QPolygon> &shapes);
    // A path (logical units) as polygon records when it has no curves, else as a
    // path bracket; filled and/or stroked with what is selected.
    void emitPath(const QPainterPath &path, bool fill, bool stroke, bool bracketOnly = false);
    void emitPicture(const MetafilePicture &picture, const QRect &dest, const QRectF &source);

    struct State;
    class Impl;
    friend class Impl;

    EmfReferenceDevice m_device;
    QRect m_frame;
    quint32 m_records = 0;
    bool m_finished = false;
    std::unique_ptr<Impl> d;
};

}  // namespace ortolan::metafile
