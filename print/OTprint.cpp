#include "print/OTprint.h"

#include "app/Settings.h"
#include "metafile/EmfRegion.h"
#include "metafile/EmfWriter.h"
#include "print/OTprintFault.h"
#include "print/OTprintGeometry.h"
#include "print/OTprintPrinter.h"

#include <QFileInfo>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>
#include <new>
#include <optional>

namespace ortolan::print {

using namespace metafile;
using Fault = OTprintFault;
using G = OTprintGeometry;

OTprint::ObjectScope::ObjectScope(OTprint &engine, Selection &slot, EmfWriter::Handle handle)
    : m_engine(engine), m_slot(slot), m_previous(slot), m_handle(handle)
{
    m_engine.select(m_slot, Selection{false, handle});
}

OTprint::ObjectScope::~ObjectScope()
{
    m_engine.select(m_slot, m_previous);
    m_engine.m_writer->deleteObject(m_handle);
}

OTprint::ClipScope::ClipScope(EmfWriter &writer, const EmfRegion *region) : m_writer(writer)
{
    m_writer.saveDC();
    if (region)
        m_writer.selectClipRegion(*region, RegionMode::And);
}

OTprint::ClipScope::~ClipScope()
{
    m_writer.restoreDC(-1);
}

OTprint::OTprint(std::shared_ptr<OTprintPrinter> printer)
    : m_printer(printer ? std::move(printer) : OTprintPrinter::current())
{
    const QSize res = m_printer->resolution();
    m_resX = std::max(res.width(), 1);
    m_resY = std::max(res.height(), 1);
}

OTprint::~OTprint()
{
    if (!m_closed)
        closeMetafile(false);
    closeReport();
}

// --- results, messages, recording ---------------------------------------------------

OTprintResult OTprint::guarded(const std::function<void()> &body)
{
    try {
        body();
    } catch (const OTprintFault &fault) {
        return fault.result();
    } catch (const std::bad_alloc &) {
        return OTprintResult(OTprintResult::Code::TooLarge, QStringLiteral("Out of memory"));
    }
    return OTprintResult::ok();
}

void OTprint::show(Message::Kind kind, const QString &text)
{
    if (m_messageHandler)
        m_messageHandler(Message{kind, text});
}

void OTprint::writeReportLine(const QString &line)
{
    // Each line goes out at once: a script whose recording never ends still
    // holds every call made so far.
    m_report.write(ReportScript::encode(line));
    m_report.flush();
}

void OTprint::closeReport()
{
    if (m_report.isOpen())
        m_report.close();
    m_recording = false;
}

// --- properties -------------------------------------------------------------------------

void OTprint::setGradientType(int value)
{
    writeProperty(QStringLiteral("GradientType"), m_gradientType, value);
}

void OTprint::setGradientAngle(int value)
{
    writeProperty(QStringLiteral("GradientAngle"), m_gradientAngle, value);
}

void OTprint::setGradientFill(bool value)
{
    writeProperty(QStringLiteral("GradientFill"), m_gradientFill, value);
}

void OTprint::setBeginColor(int value)
{
    writeProperty(QStringLiteral("BeginColor"), m_beginColor, value);
}

void OTprint::setEndColor(int value)
{
    writeProperty(QStringLiteral("EndColor"), m_endColor, value);
}

void OTprint::setLineWidth(int value)
{
    writeProperty(QStringLiteral("LineWidth"), m_lineWidth, value);
}

void OTprint::setLineStyle(int value)
{
    writeProperty(QStringLiteral("LineStyle"), m_lineStyle, value);
}

void OTprint::setFillColor(int value)
{
    writeProperty(QStringLiteral("FillColor"), m_fillColor, value);
}

void OTprint::setFillStyle(int value)
{
    writeProperty(QStringLiteral("FillStyle"), m_fillStyle, value);
}

void OTprint::setLineColor(int value)
{
    writeProperty(QStringLiteral("LineColor"), m_lineColor, value);
}

// --- units --------------------------------------------------------------------------------

qint32 OTprint::px(qint64 tenths) const
{
    return Fault::int32(double(tenths) * m_resX / 254.0, QStringLiteral("x coordinate"));
}

qint32 OTprint::py(qint64 tenths) const
{
    return Fault::int32(double(tenths) * m_resY / 254.0, QStringLiteral("y coordinate"));
}

// --- pens and brushes -------------------------------------------------------------------

namespace {

ColorRef colourOf(qint64 value)
{
    return ColorRef(value) & 0xFFFFFF;
}

PenStyle penStyleOf(int style)
{
    // Styles the platform does not know draw solid.
    return style >= 0 && style <= int(PenStyle::InsideFrame) ? PenStyle(style) : PenStyle::Solid;
}

}  // namespace

EmfWriter::Handle OTprint::createLinePen(int width, int style, ColorRef colour)
{
    // A pen of width, colour and style all 0 (or below) stands for the line properties.
    if (style < 1 && width < 1 && qint32(colour) < 1) {
        style = m_lineStyle;
        width = m_lineWidth;
        colour = ColorRef(m_lineColor);
    }
    return m_writer->createPen(penStyleOf(style), std::max(width, 0), colourOf(colour));
}

EmfWriter::Handle OTprint::createStyledBrush(ColorRef colour)
{
    // FillStyle 0 to 5 hatches; 6 and above (and styles the platform does not
    // know) fill solid.
    if (m_fillStyle >= 0 && m_fillStyle < 6)
        return m_writer->createHatchBrush(HatchStyle(m_fillStyle), colourOf(colour));
    return m_writer->createSolidBrush(colourOf(colour));
}

EmfWriter::Handle OTprint::createFillBrush(int colour)
{
    // A fill colour of 0 stands for FillColor.
    return createStyledBrush(ColorRef(colour == 0 ? m_fillColor : colour));
}

void OTprint::select(Selection &slot, Selection next)
{
    if (next.stock)
        m_writer->selectStockObject(StockObject(next.id));
    else
        m_writer->selectObject(next.id);
    slot = next;
}

void OTprint::checkBudget(qint64 moreRecords)
{
    if (m_writer && qint64(m_writer->recordCount()) + moreRecords > qint64(MaxRecords))
        throw Fault(OTprintResult(OTprintResult::Code::TooLarge, QStringLiteral("The page holds too many drawing records")));
}

void OTprint::withFamily(Family family, int pw, int pc, int ps, int fill, bool maskPen,
                         const std::function<void()> &body)
{
    checkBudget(16);
    // Inside members: a null pen and the fill brush. Outline members: the pen of
    // their arguments and no brush of their own, so the metafile's white brush
    // stays current (which the mask-pen operation leaves unseen).
    std::optional<ObjectScope> brush;
    if (family != Family::Line)
        brush.emplace(*this, m_brush, createFillBrush(fill));
    const EmfWriter::Handle penHandle = family == Family::Fill ? m_writer->createPen(PenStyle::Null, 0, 0)
                                                               : createLinePen(pw, ps, ColorRef(pc));
    ObjectScope pen(*this, m_pen, penHandle);
    const Rop2 previous = m_rop;
    if (maskPen) {
        m_writer->setRop2(Rop2::MaskPen);
        m_rop = Rop2::MaskPen;
    }
    body();
    if (maskPen) {
        m_writer->setRop2(previous);
        m_rop = previous;
    }
}

// --- gradients --------------------------------------------------------------------------

OTprint::GradientBox OTprint::gradientBox(qint64 left, qint64 top, qint64 right, qint64 bottom) const
{
    GradientBox g;
    g.device = QRect(QPoint(px(left), py(top)), QPoint(px(right), py(bottom)));
    const int type = m_gradientType;
    if (type < 0 || type > 5)
        return g;
    const qint64 n = type % 2 == 0 ? qint64(g.device.right()) - g.device.left()
                                   : qint64(g.device.bottom()) - g.device.top();
    // A box of no width (no height) has no steps: nothing to draw.
    if (n <= 0)
        return g;
    // The step counters are 16-bit.
    if (n > MaxCount)
        throw Fault::overflow(QStringLiteral("gradient of %1 steps").arg(n));
    g.steps = int(n);
    return g;
}

void OTprint::drawGradient(const GradientBox &g)
{
    if (g.steps <= 0 || !m_writer)
        return;
    const int n = g.steps;
    const int type = m_gradientType;
    checkBudget(qint64(n + 1) * 5);
    const int left = g.device.left(), top = g.device.top(), right = g.device.right(), bottom = g.device.bottom();
    const ColorRef begin = colourOf(m_beginColor), end = colourOf(m_endColor);
    const int stride = type < 2 ? 1 : 2;
    for (int i = 0; i <= n; i += stride) {
        const ColorRef colour = G::gradientColour(begin, end, type, i, n);
        ObjectScope pen(*this, m_pen, m_writer->createPen(PenStyle::Solid, 1, colour));
        switch (type) {
        case 0:  // vertical lines, begin at the left, end at the right
            m_writer->polyline(QPolygon{QPoint(left + i, top), QPoint(left + i, bottom)});
            break;
        case 1:  // horizontal lines, begin at the top, end at the bottom
            m_writer->polyline(QPolygon{QPoint(left, top + i), QPoint(right, top + i)});
            break;
        case 2:  // vertical lines from both sides towards the middle
        case 4:
            m_writer->polyline(QPolygon{QPoint(left + i / 2, top), QPoint(left + i / 2, bottom)});
            m_writer->polyline(QPolygon{QPoint(right - i / 2, top), QPoint(right - i / 2, bottom)});
            break;
        default:  // 3 and 5: horizontal lines from top and bottom towards the middle
            m_writer->polyline(QPolygon{QPoint(left, top + i / 2), QPoint(right, top + i / 2)});
            m_writer->polyline(QPolygon{QPoint(left, bottom - i / 2), QPoint(right, bottom - i / 2)});
            break;
        }
    }
}

void OTprint::fillGradientInside(qint64 left, qint64 top, qint64 right, qint64 bottom,
                                 const std::function<EmfRegion()> &clip)
{
    if (!m_gradientFill)
        return;
    const GradientBox g = gradientBox(left, top, right, bottom);
    if (g.steps <= 0)
        return;
    const EmfRegion region = clip();
    ClipScope scope(*m_writer, &region);
    drawGradient(g);
}

void OTprint::drawRuling(QPoint origin, int columns, int rows, qint32 cellWidth, qint32 cellHeight, QPoint end)
{
    for (int i = 0; i <= rows; ++i) {
        const int y = origin.y() + i * cellHeight;
        m_writer->polyline(QPolygon{QPoint(origin.x(), y), QPoint(end.x(), y)});
    }
    for (int j = 0; j <= columns; ++j) {
        const int x = origin.x() + j * cellWidth;
        m_writer->polyline(QPolygon{QPoint(x, origin.y()), QPoint(x, end.y())});
    }
}

QRect OTprint::clipLimit() const
{
    // Clip regions are kept to the page and a margin of one page around it: what
    // lies further out is never seen, and a region is a list of pixel bands whose
    // length grows with the shape's height.
    const QSize surface = m_writer->device().pixels;
    auto device = [](int hundredths, int res) {
        return int(std::clamp(double(hundredths) * res / 2540, -double(1 << 29), double(1 << 29)));
    };
    const QRect frame(QPoint(device(m_frame.left(), m_resX), device(m_frame.top(), m_resY)),
                      QPoint(device(m_frame.right(), m_resX), device(m_frame.bottom(), m_resY)));
    const QRect page = QRect(QPoint(0, 0), surface).united(frame.normalized());
    const int mx = std::min(page.width(), 1 << 20), my = std::min(page.height(), 1 << 20);
    return page.adjusted(-mx, -my, mx, my);
}

namespace {

QRect ordered(const QRect &r)
{
    return QRect(QPoint(std::min(r.left(), r.right()), std::min(r.top(), r.bottom())),
                 QPoint(std::max(r.left(), r.right()), std::max(r.top(), r.bottom())));
}

bool inside(const QRect &limit, const QRect &r)
{
    return r.left() >= limit.left() && r.top() >= limit.top() && r.right() <= limit.right()
           && r.bottom() <= limit.bottom();
}

// A region of the part of path inside limit.
EmfRegion regionWithin(const QPainterPath &path, const QRect &limit)
{
    QPainterPath bounds;
    bounds.addRect(QRectF(limit));
    return EmfRegion(QRegion(path.intersected(bounds).toFillPolygon().toPolygon(), path.fillRule()));
}

// The GDI box (left, top, right, bottom; right and bottom excluded) as a QRect.
QRect gdiRect(const QRect &box)
{
    const QRect r = ordered(box);
    return QRect(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top());
}

}  // namespace

EmfRegion OTprint::clipEllipse(const QRect &box) const
{
    const QRect limit = clipLimit();
    if (inside(limit, ordered(box)))
        return EmfRegion::ellipse(gdiRect(box));
    QPainterPath path;
    path.addEllipse(QRectF(ordered(box).topLeft(), ordered(box).bottomRight()));
    return regionWithin(path, limit);
}

EmfRegion OTprint::clipRoundRect(const QRect &box, const QSize &corner) const
{
    const QRect limit = clipLimit();
    if (inside(limit, ordered(box)))
        return EmfRegion::roundRect(gdiRect(box), corner);
    QPainterPath path;
    path.addRoundedRect(QRectF(ordered(box).topLeft(), ordered(box).bottomRight()), std::abs(corner.width()) / 2.0,
                        std::abs(corner.height()) / 2.0);
    return regionWithin(path, limit);
}

EmfRegion OTprint::clipPolygon(const QPolygon &points) const
{
    const QRect limit = clipLimit();
    if (inside(limit, points.boundingRect()))
        return EmfRegion::polygon(points, PolyFillMode::Alternate);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(QPolygonF(points));
    return regionWithin(path, limit);
}

// --- metafile -------------------------------------------------------------------------

OTprintResult OTprint::OpenMeta(const QString &file, int left, int top, int right, int bottom)
{
    record(QStringLiteral("OpenMeta"), file, left, top, right, bottom);
    // A metafile still open is finished first; if it cannot be written, that has
    // been reported and it is given up, so this object can go on drawing.
    if (!m_closed && !closeMetafile(true))
        m_closed = true;
    m_writer.reset();
    m_file.reset();
    m_target.clear();

    return guarded([&] {
        qint64 l = left, t = top, r = right, b = bottom;
        if (right != 0 && bottom != 0) {
            // The printer's orientation follows the frame.
            if (b - t < r - l)
                m_printer->setOrientation(QPageLayout::Landscape);
            else if (r - l < b - t)
                m_printer->setOrientation(QPageLayout::Portrait);
        } else {
            // The printable area, twips to hundredths of a millimetre.
            const QSizeF area = m_printer->printableAreaTwips();
            l = t = 0;
            r = Fault::int32(area.width() * 254 / 144, QStringLiteral("printable width"));
            b = Fault::int32(area.height() * 254 / 144, QStringLiteral("printable height"));
        }
        const QSize size(G::sub(r, l), G::sub(b, t));

        const QString target = m_metafileOverride.isEmpty() ? file : m_metafileOverride;
        if (!target.isEmpty()) {
            auto out = std::make_unique<QSaveFile>(target);
            if (!out->open(QIODevice::WriteOnly)) {
                const QString text = settings().messages.MsgMetafileCreate;
                show(Message::Kind::Critical, text);
                throw Fault(OTprintResult(OTprintResult::Code::MetafileCreate, text,
                                          target + QStringLiteral(" (") + out->errorString() + QStringLiteral(")")));
            }
            m_file = std::move(out);
        }
        m_target = target;
        const EmfReferenceDevice device = EmfReferenceDevice::forPage(m_resX, m_resY, m_printer->paperSizeMm());
        m_writer = std::make_unique<EmfWriter>(device, QRect(QPoint(int(l), int(t)), QPoint(int(r), int(b))));
        // One logical unit is one printer pixel; text and hatches leave the
        // background as it is.
        m_writer->setMapMode(MapMode::Text);
        m_writer->setBkMode(BkMode::Transparent);
        m_pen = Selection{true, quint32(StockObject::BlackPen)};
        m_brush = Selection{true, quint32(StockObject::WhiteBrush)};
        m_font = Selection{true, quint32(StockObject::SystemFont)};
        m_rop = Rop2::CopyPen;
        m_bitmapBytes = 0;
        m_fileName = file;
        m_frame = QRect(QPoint(int(l), int(t)), QPoint(int(r), int(b)));
        m_frameSize = size;
        m_closed = false;
    });
}

OTprintResult OTprint::closeMetafile(bool showMessages)
{
    const QByteArray bytes = m_writer->finish();
    if (!m_target.isEmpty()) {
        if (!m_file) {
            // A new attempt after a write that failed.
            m_file = std::make_unique<QSaveFile>(m_target);
            m_file->open(QIODevice::WriteOnly);
        }
        const bool written = m_file->isOpen() && m_file->write(bytes) == bytes.size() && m_file->commit();
        if (!written) {
            const QString reason = m_target + QStringLiteral(" (") + m_file->errorString() + QStringLiteral(")");
            m_file.reset();
            const QString text = settings().messages.MsgMetafileDelete;
            if (showMessages)
                show(Message::Kind::Critical, text);
            return OTprintResult(OTprintResult::Code::MetafileDelete, text, reason);
        }
    }
    m_file.reset();
    m_writer.reset();
    m_lastMetafile = bytes;
    m_closed = true;
    return OTprintResult::ok();
}

OTprintResult OTprint::CloseMeta()
{
    record(QStringLiteral("CloseMeta"));
    if (m_closed) {
        // Nothing open: nothing to finish, and a recording ends here as after any close.
        closeReport();
        return OTprintResult::ok();
    }
    OTprintResult result = closeMetafile(true);
    if (result)
        closeReport();
    return result;
}

// --- report scripts --------------------------------------------------------------------------

OTprintResult OTprint::WithReport(const QString &path)
{
    if (path.isEmpty())
        return OTprintResult::ok();
    // A script still being recorded is ended first, so its lines are all on disk.
    closeReport();
    m_report.setFileName(path);
    if (!m_report.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return OTprintResult(OTprintResult::Code::ReportFailed, QStringLiteral("Report File Creation Failed"),
                             path + QStringLiteral(" (") + m_report.errorString() + QStringLiteral(")"));
    }
    m_recording = true;
    m_reportPath = path;
    return OTprintResult::ok();
}

OTprintResult OTprint::FromReport(const QString &path, ReportScript::Summary *summary)
{
    if (!QFileInfo(path).isFile())
        return OTprintResult(OTprintResult::Code::ScriptMissing, QStringLiteral("No report script"), path);
    const OTprintResult replayed = ReportScript::replay(*this, path, summary);
    if (!replayed)
        return replayed;
    OTprintResult result;
    if (QFileInfo::exists(path)) {
        show(Message::Kind::Info, QStringLiteral("Report File ") + path);
    } else {
        show(Message::Kind::Critical, QStringLiteral("Report File Creation Failed"));
        result = OTprintResult(OTprintResult::Code::ScriptMissing, QStringLiteral("Report File Creation Failed"), path);
    }
    // A script without its closing line still leaves a finished metafile.
    if (!m_closed) {
        const OTprintResult closed = CloseMeta();
        if (!closed)
            return closed;
    }
    return result;
}

}  // namespace ortolan::print
