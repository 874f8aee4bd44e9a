#pragma once

#include "metafile/GdiTypes.h"
#include "print/OTprintResult.h"
#include "print/ReportScript.h"

#include <QByteArray>
#include <QFile>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;

namespace ortolan::metafile {
class EmfWriter;
class EmfRegion;
}  // namespace ortolan::metafile

namespace ortolan::print {

class OTprintPrinter;

// The atlas's vector drawing engine. A caller opens an enhanced metafile
// (OpenMeta), sets drawing properties, draws shapes, pictures, text and tables,
// and closes the metafile (CloseMeta); the file then goes to the print preview or
// the printer. Every public call can be recorded as a report script line
// (WithReport) and a script can be replayed (FromReport).
//
// Units. Positions, sizes and radii are tenths of a millimetre from the top-left
// of the page, x to the right, y downwards. The metafile is drawn in the pixels of
// the reference printer (its resolution is read once, at creation; 600 dpi when
// the system has no printer): a value becomes value x resolution / 254, rounded
// to the nearest integer with halves to even, x and widths with the horizontal,
// y, heights, radii and lengths with the vertical resolution. Pen widths are
// printer pixels. Angles are degrees, growing clockwise on the page (0 points
// right, 90 down). Colours are RGB numbers with red in the low byte.
//
// Pens. Outline members (L_, LF_) take pen width, pen colour, pen style; a width,
// colour and style all 0 draw with the line properties (LineWidth, LineColor,
// LineStyle). Inside members (F_, LF_) take a fill colour last; 0 fills with
// FillColor, and FillStyle 0 to 5 hatches, 6 and above fills solid.
//
// Results. Shape calls report no failures of their own; an overflow of a
// coordinate or counter, a picture that does not load and the like come back as
// a failed OTprintResult and leave the drawing so far intact. Without an open
// metafile, drawing calls draw nothing. The message boxes of the engine (metafile
// creation and deletion failures, the end of a replay) go to the message handler.
class OTprint {
public:
    // A message the engine shows to the user (through the handler).
    struct Message {
        enum class Kind { Info, Critical };
        Kind kind = Kind::Info;
        QString text;
    };
    using MessageHandler = std::function<void(const Message &)>;

    // Reads the resolution of the printer (OTprintPrinter::current() when null).
    explicit OTprint(std::shared_ptr<OTprintPrinter> printer = nullptr);
    // Closes an open metafile (writing it) and the report script, without messages.
    ~OTprint();
    OTprint(const OTprint &) = delete;
    OTprint &operator=(const OTprint &) = delete;

    // --- Drawing properties (each write is recorded) ------------------------------
    int GradientType() const { return m_gradientType; }  // 0..5, see DrawGradient
    void setGradientType(int value);
    int GradientAngle() const { return m_gradientAngle; }  // kept and recorded only
    void setGradientAngle(int value);
    bool GradientFill() const { return m_gradientFill; }  // outline shapes fill with the gradient first
    void setGradientFill(bool value);
    int BeginColor() const { return m_beginColor; }
    void setBeginColor(int value);
    int EndColor() const { return m_endColor; }
    void setEndColor(int value);
    int LineWidth() const { return m_lineWidth; }  // printer pixels
    void setLineWidth(int value);
    int LineStyle() const { return m_lineStyle; }  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 null
    void setLineStyle(int value);
    int FillColor() const { return m_fillColor; }
    void setFillColor(int value);
    int FillStyle() const { return m_fillStyle; }  // 0..5 hatches, 6 and above solid
    void setFillStyle(int value);
    int LineColor() const { return m_lineColor; }
    void setLineColor(int value);

    // --- Pictures and text ----------------------------------------------------------------
    // A bitmap file at (x, y) at its natural size divided by scale (1 natural, 2 half).
    OTprintResult Bitmap(const QString &file, int x, int y, int scale);
    // An enhanced (or old-style) metafile at (x, y) at its natural size divided by scale.
    OTprintResult Emf(const QString &file, int x, int y, int scale);
    // An old-style (or enhanced) metafile, placed as Emf.
    OTprintResult Wmf(const QString &file, int x, int y, int scale);
    // Text wrapped at word boundaries in the box (x1, y1)-(x2, y2). escapement in
    // tenths of a degree counter-clockwise, size in points (0: the printer's
    // font size), font a face name (empty: the printer's font), underline non-zero
    // underlines; format: 0 left, 1 centre, 2 right, plus further text flags
    // (16-bit); frame 1 outlines the box with the current pen, 2 draws it as a
    // rectangle with the current pen and brush.
    OTprintResult TextBox(const QString &text, int x1, int y1, int x2, int y2, int escapement, int size,
                          const QString &font, int underline, int format, int frame);
    // Text with its top-left corner at (x, y).
    OTprintResult SetText(const QString &text, int x, int y, int escapement, int size, const QString &font,
                          int underline);

    // --- Shapes ------------------------------------------------------------------------------
    // Circles: centre (x, y), radius r.
    OTprintResult L_Circle(int x, int y, int r, int penWidth, int penColor, int penStyle);
    OTprintResult F_Circle(int x, int y, int r, int fillColor);
    OTprintResult LF_Circle(int x, int y, int r, int penWidth, int penColor, int penStyle, int fillColor);
    // Ellipses in the box (x1, y1)-(x2, y2) inflated by d on every side.
    OTprintResult L_Ellipse(int x1, int y1, int x2, int y2, int d, int penWidth, int penColor, int penStyle);
    OTprintResult F_Ellipse(int x1, int y1, int x2, int y2, int d, int fillColor);
    OTprintResult LF_Ellipse(int x1, int y1, int x2, int y2, int d, int penWidth, int penColor, int penStyle,
                             int fillColor);
    // Arcs, chords and pies of the circle (x, y, r) covering the directions from a1
    // clockwise to a2.
    OTprintResult L_Arc(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle);
    OTprintResult L_Chord(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle);
    OTprintResult LF_Chord(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle,
                           int fillColor);
    OTprintResult F_Chord(int x, int y, int r, float a1, float a2, int fillColor);
    OTprintResult L_Pie(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle);
    OTprintResult LF_Pie(int x, int y, int r, float a1, float a2, int penWidth, int penColor, int penStyle,
                         int fillColor);
    OTprintResult F_Pie(int x, int y, int r, float a1, float a2, int fillColor);
    // Boxes with corners (x1, y1) and (x2, y2).
    OTprintResult LF_Box(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle, int fillColor);
    OTprintResult F_Box(int x1, int y1, int x2, int y2, int fillColor);
    OTprintResult L_Box(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle);
    // Boxes with corners rounded by an ellipse of cornerWidth x cornerHeight.
    OTprintResult L_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int penWidth,
                             int penColor, int penStyle);
    OTprintResult F_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int fillColor);
    OTprintResult LF_RoundBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight, int penWidth,
                              int penColor, int penStyle, int fillColor);
    // Boxes turned by angle about their centre.
    OTprintResult F_Rectangle(int x1, int y1, int x2, int y2, float angle, int fillColor);
    OTprintResult LF_Rectangle(int x1, int y1, int x2, int y2, float angle, int penWidth, int penColor, int penStyle,
                               int fillColor);
    OTprintResult L_Rectangle(int x1, int y1, int x2, int y2, float angle, int penWidth, int penColor, int penStyle);
    // Boxes with decorated corners, drawn with the line properties and filled with
    // FillColor/FillStyle. mask: four characters, "1" cuts corner k (1 top-left,
    // 2 top-right, 3 bottom-right, 4 bottom-left) by (dx, dy); style: four
    // characters, "0" square, "1" rounded, "2" bevelled, "3" scooped, "4" notched.
    // Strings of three characters or fewer draw nothing.
    OTprintResult L_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx, int dy);
    OTprintResult LF_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx, int dy);
    OTprintResult F_DecoBox(int x1, int y1, int x2, int y2, const QString &mask, const QString &style, int dx, int dy);
    // Regular polygons of n (3 to 30) corners on radius r, resting on a horizontal
    // bottom edge at angle 0. Other counts draw and record nothing.
    OTprintResult L_Polygon(int x, int y, int n, int r, float angle, int penWidth, int penColor, int penStyle);
    OTprintResult F_Polygon(int x, int y, int n, int r, float angle, int fillColor);
    OTprintResult LF_Polygon(int x, int y, int n, int r, float angle, int penWidth, int penColor, int penStyle,
                             int fillColor);
    // Stars of n (3 to 20) points between the radii r1 (outer) and r2 (inner).
    OTprintResult L_Star(int x, int y, int n, int r1, int r2, float angle, int penWidth, int penColor, int penStyle);
    OTprintResult LF_Star(int x, int y, int n, int r1, int r2, float angle, int penWidth, int penColor, int penStyle,
                          int fillColor);
    OTprintResult F_Star(int x, int y, int n, int r1, int r2, float angle, int fillColor);
    // A line from (x1, y1) to (x2, y2).
    OTprintResult L_Line(int x1, int y1, int x2, int y2, int penWidth, int penColor, int penStyle);
    // A line from (x, y) of the given length in the direction angle.
    OTprintResult Vector(int x, int y, int length, float angle, int penWidth, int penColor, int penStyle);
    // A grid of columns x rows equal cells (each count at least 1) over width x height.
    OTprintResult L_Grid(int x, int y, int width, int height, int columns, int rows, int penWidth, int penColor,
                         int penStyle);

    // --- Tables, metafile, scripts -------------------------------------------------------
    // A ruled table of columns x rows cells of cellWidth x cellHeight; header 1 greys
    // the first row, 2 the first column, 3 both.
    OTprintResult Table(int x, int y, int cellWidth, int cellHeight, int columns, int rows, int header, int penWidth,
                        int penColor, int penStyle);
    // Finishes the open metafile and writes its file; ends a report recording.
    OTprintResult CloseMeta();
    // Records every following call into the script at path (created or emptied).
    OTprintResult WithReport(const QString &path);
    // Opens a metafile on file with the frame left, top, right, bottom in
    // hundredths of a millimetre; a frame with right or bottom 0 takes the
    // printer's printable area. An empty file name keeps the metafile in memory
    // (lastMetafile()). A metafile still open is closed first.
    OTprintResult OpenMeta(const QString &file, int left, int top, int right, int bottom);
    // Replays the script at path on this object; closes the metafile at the end
    // if the script left it open.
    OTprintResult FromReport(const QString &path, ReportScript::Summary *summary = nullptr);

    // --- State -----------------------------------------------------------------------------------
    bool isOpen() const { return !m_closed; }
    bool isRecording() const { return m_recording; }
    QString reportPath() const { return m_reportPath; }
    QString metafileName() const { return m_fileName; }
    // Frame of the open (or last) metafile in hundredths of a millimetre, and its size.
    QRect frame() const { return m_frame; }
    QSize frameSize() const { return m_frameSize; }
    // Reference resolution in pixels per inch.
    QSize resolution() const { return QSize(m_resX, m_resY); }
    // The bytes of the metafile closed last.
    QByteArray lastMetafile() const { return m_lastMetafile; }

    void setMessageHandler(MessageHandler handler) { m_messageHandler = std::move(handler); }
    // When not empty, every metafile is written to this file instead of the one
    // OpenMeta names (which is still what the script records). For replaying
    // scripts of unknown origin without writing where they say.
    void setMetafileOverride(const QString &path) { m_metafileOverride = path; }

    // Page size budget: an operation that would take the metafile beyond this many
    // records, or its bitmaps beyond MaxBitmapBytes, fails with TooLarge.
    static constexpr quint32 MaxRecords = 20'000'000;
    static constexpr qint64 MaxBitmapBytes = qint64(1) << 30;
    // Counters of grids, tables and gradients are 16-bit.
    static constexpr int MaxCount = 32767;

private:
    // A GDI object selected into the metafile: a stock object or a created one.
    struct Selection {
        bool stock = true;
        quint32 id = 0;
    };
    // A created pen, brush or font selected for one operation: on leaving the
    // scope the previous object is selected again and the created one deleted.
    class ObjectScope {
    public:
        ObjectScope(OTprint &engine, Selection &slot, quint32 handle);
        ~ObjectScope();
        ObjectScope(const ObjectScope &) = delete;
        ObjectScope &operator=(const ObjectScope &) = delete;

    private:
        OTprint &m_engine;
        Selection &m_slot;
        Selection m_previous;
        quint32 m_handle;
    };
    // A clip region in force for the scope (none: the caller selects a clip path).
    // It is combined with the state saved on entry and removed by restoring that
    // state, which every reader honours (some ignore a region that replaces the clip).
    class ClipScope {
    public:
        ClipScope(metafile::EmfWriter &writer, const metafile::EmfRegion *region);
        ~ClipScope();
        ClipScope(const ClipScope &) = delete;
        ClipScope &operator=(const ClipScope &) = delete;

    private:
        metafile::EmfWriter &m_writer;
    };
    enum class Family { Line, Fill, LineFill };
    enum class ArcKind { Arc, Chord, Pie };

    // Records the line of a shape member: "L", "F" or "LF" and the shape's name,
    // its geometry, then the pen and/or the fill colour of the family.
    template <typename... Geometry>
    void recordShape(Family family, const QString &name, int pw, int pc, int ps, int fill, const Geometry &...geometry)
    {
        switch (family) {
        case Family::Line:
            record(QStringLiteral("L") + name, geometry..., pw, pc, ps);
            break;
        case Family::Fill:
            record(QStringLiteral("F") + name, geometry..., fill);
            break;
        case Family::LineFill:
            record(QStringLiteral("LF") + name, geometry..., pw, pc, ps, fill);
            break;
        }
    }
    // A property write: its script line, then the new value.
    template <typename T>
    void writeProperty(const QString &keyword, T &property, T value)
    {
        record(keyword, value);
        property = value;
    }

    // Runs body, turning an engine fault (or exhausted memory) into a result.
    OTprintResult guarded(const std::function<void()> &body);
    // Appends the script line of a call when recording.
    template <typename... Args>
    void record(const QString &keyword, const Args &...args)
    {
        if (m_recording)
            writeReportLine(ReportScript::line(keyword, QStringList{ReportScript::field(args)...}));
    }
    void writeReportLine(const QString &line);
    void show(Message::Kind kind, const QString &text);
    void closeReport();
    // Finishes and writes the open metafile without recording a line or ending
    // the recording; showMessages sends a write failure to the message handler.
    OTprintResult closeMetafile(bool showMessages);

    // Conversions from tenths of a millimetre to printer pixels.
    qint32 px(qint64 tenths) const;
    qint32 py(qint64 tenths) const;
    QPoint pt(qint64 x, qint64 y) const { return QPoint(px(x), py(y)); }

    // Pens, brushes and fonts (created for one operation, released at its end).
    quint32 createLinePen(int width, int style, metafile::ColorRef colour);
    quint32 createFillBrush(int colour);
    quint32 createStyledBrush(metafile::ColorRef colour);
    void select(Selection &slot, Selection next);
    void checkBudget(qint64 moreRecords = 0);

    // Gradient filling.
    struct GradientBox {
        QRect device;  // converted box (left, top, right, bottom)
        int steps = 0; // 0: nothing to draw
    };
    GradientBox gradientBox(qint64 left, qint64 top, qint64 right, qint64 bottom) const;
    void drawGradient(const GradientBox &g);
    // With GradientFill on, fills the box (tenths of a millimetre) with the
    // gradient inside the clip region clip() builds.
    void fillGradientInside(qint64 left, qint64 top, qint64 right, qint64 bottom,
                            const std::function<metafile::EmfRegion()> &clip);
    // Row lines i = 0..rows, then column lines j = 0..columns, from origin to end.
    void drawRuling(QPoint origin, int columns, int rows, qint32 cellWidth, qint32 cellHeight, QPoint end);
    QRect clipLimit() const;
    metafile::EmfRegion clipEllipse(const QRect &box) const;
    metafile::EmfRegion clipRoundRect(const QRect &box, const QSize &corner) const;
    metafile::EmfRegion clipPolygon(const QPolygon &points) const;

    // Shape routines shared by the three families.
    void drawCircleShape(Family family, int x, int y, int r, int pw, int pc, int ps, int fill);
    void drawEllipseShape(Family family, int x1, int y1, int x2, int y2, int d, int pw, int pc, int ps, int fill);
    void drawArcShape(ArcKind kind, Family family, int x, int y, int r, float a1, float a2, int pw, int pc, int ps,
                      int fill);
    void drawBoxShape(Family family, int x1, int y1, int x2, int y2, int pw, int pc, int ps, int fill);
    void drawRoundBoxShape(Family family, int x1, int y1, int x2, int y2, int ew, int eh, int pw, int pc, int ps,
                           int fill);
    void drawRectangleShape(Family family, int x1, int y1, int x2, int y2, float angle, int pw, int pc, int ps,
                            int fill);
    void drawDecoBoxShape(Family family, int x1, int y1, int x2, int y2, const QString &mask, const QString &style,
                          int dx, int dy);
    void drawPolygonShape(Family family, int x, int y, int n, int r, float angle, int pw, int pc, int ps, int fill);
    void drawStarShape(Family family, int x, int y, int n, int r1, int r2, float angle, int pw, int pc, int ps,
                       int fill);
    // Draws body between a pen (and brush) of the family, restoring them afterwards;
    // maskPen draws outlines with the mask-pen raster operation.
    void withFamily(Family family, int pw, int pc, int ps, int fill, bool maskPen, const std::function<void()> &body);
    void drawPicture(const QString &keyword, const QString &file, int x, int y, int scale);
    metafile::LogFont fontFor(int escapement, int size, const QString &face, int underline) const;

    std::shared_ptr<OTprintPrinter> m_printer;
    qint32 m_resX = 600;
    qint32 m_resY = 600;

    // The open metafile.
    std::unique_ptr<metafile::EmfWriter> m_writer;
    std::unique_ptr<QSaveFile> m_file;
    QString m_fileName;
    QString m_target;  // the file written: m_fileName or the override
    QRect m_frame;
    QSize m_frameSize;
    bool m_closed = true;
    QByteArray m_lastMetafile;
    QString m_metafileOverride;
    Selection m_pen{true, quint32(metafile::StockObject::BlackPen)};
    Selection m_brush{true, quint32(metafile::StockObject::WhiteBrush)};
    Selection m_font{true, quint32(metafile::StockObject::SystemFont)};
    metafile::Rop2 m_rop = metafile::Rop2::CopyPen;
    qint64 m_bitmapBytes = 0;

    // The report script being recorded.
    bool m_recording = false;
    QString m_reportPath;
    QFile m_report;

    // Drawing properties.
    int m_lineWidth = 1;
    int m_lineStyle = 0;
    int m_lineColor = 0;
    int m_fillColor = int(metafile::rgb(255, 255, 255));
    int m_fillStyle = 8;
    int m_beginColor = 0;
    int m_endColor = int(metafile::rgb(255, 255, 255));
    bool m_gradientFill = false;
    int m_gradientAngle = 0;
    int m_gradientType = 0;

    MessageHandler m_messageHandler;
};

}  // namespace ortolan::print
