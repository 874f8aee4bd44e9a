// Pictures, text and tables of the drawing engine.
#include "print/OTprint.h"

#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"
#include "print/OTprintFault.h"
#include "print/OTprintGeometry.h"
#include "print/OTprintPrinter.h"

#include <QImage>
#include <QImageReader>

namespace ortolan::print {

using namespace metafile;
using Fault = OTprintFault;
using G = OTprintGeometry;

namespace {

OTprintFault divisionByZero()
{
    return OTprintFault(
        OTprintResult(OTprintResult::Code::DivisionByZero, QStringLiteral("Division by zero"), QStringLiteral("scale 0")));
}

OTprintFault pictureFailed(const QString &file, const QString &reason)
{
    return OTprintFault(OTprintResult(OTprintResult::Code::PictureFailed, QStringLiteral("Invalid picture"),
                                      file + QStringLiteral(" (") + reason + QStringLiteral(")")));
}

}  // namespace

// --- pictures -------------------------------------------------------------------------------------

OTprintResult OTprint::Bitmap(const QString &file, int x, int y, int scale)
{
    record(QStringLiteral("Bitmap"), file, x, y, scale);
    return guarded([&] {
        if (m_closed)
            return;
        if (scale == 0)
            throw divisionByZero();
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull())
            throw pictureFailed(file, reader.errorString());
        // Natural size in hundredths of a millimetre, from the resolution the file
        // records (the toolkit assumes 96 dpi when it records none).
        const double dpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96;
        const double dpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * 0.0254 : 96;
        const double naturalW = image.width() * 2540.0 / dpiX, naturalH = image.height() * 2540.0 / dpiY;
        // Printer pixels: resolution / 254 x natural size / (scale x 10).
        const qint32 w = Fault::int32(m_resX / 254.0 * naturalW / (double(scale) * 10), QStringLiteral("picture width"));
        const qint32 h = Fault::int32(m_resY / 254.0 * naturalH / (double(scale) * 10), QStringLiteral("picture height"));
        const QPoint at = pt(x, y);
        G::add(at.x(), w);
        G::add(at.y(), h);
        const qint64 bytes = qint64(image.width()) * image.height() * 3;
        if (m_bitmapBytes + bytes > MaxBitmapBytes)
            throw Fault(OTprintResult(OTprintResult::Code::TooLarge, QStringLiteral("The page holds too many bitmaps")));
        checkBudget(1);
        m_bitmapBytes += bytes;
        // The picture fills its rectangle (stretched from its own pixels).
        m_writer->stretchDIBits(QRect(at.x(), at.y(), w, h), image);
    });
}

void OTprint::drawPicture(const QString &keyword, const QString &file, int x, int y, int scale)
{
    record(keyword, file, x, y, scale);
    if (m_closed)
        return;
    if (scale == 0)
        throw divisionByZero();
    QString error;
    const MetafilePicture picture = MetafilePicture::load(file, &error);
    if (picture.isNull()) {
        // A bitmap given as a metafile loads but has nothing to play.
        if (QImageReader(file).canRead())
            return;
        throw pictureFailed(file, error);
    }
    const QSizeF natural = picture.naturalSizeMm() * 100;  // hundredths of a millimetre
    // The corners: the position plus the natural size divided by scale, summed
    // before rounding.
    const double left = double(x) * m_resX / 254, top = double(y) * m_resY / 254;
    const double w = m_resX / 254.0 * natural.width() / (double(scale) * 10);
    const double h = m_resY / 254.0 * natural.height() / (double(scale) * 10);
    const QRect dest(QPoint(Fault::int32(left, QStringLiteral("x coordinate")), Fault::int32(top, QStringLiteral("y coordinate"))),
                     QPoint(Fault::int32(left + w, QStringLiteral("picture right")),
                            Fault::int32(top + h, QStringLiteral("picture bottom"))));
    checkBudget(qint64(picture.displayList().ops.size()) * 4 + 16);
    m_writer->drawPicture(picture, dest);
}

OTprintResult OTprint::Emf(const QString &file, int x, int y, int scale)
{
    return guarded([&] { drawPicture(QStringLiteral("Emf"), file, x, y, scale); });
}

OTprintResult OTprint::Wmf(const QString &file, int x, int y, int scale)
{
    return guarded([&] { drawPicture(QStringLiteral("Wmf"), file, x, y, scale); });
}

// --- text -----------------------------------------------------------------------------------------------

LogFont OTprint::fontFor(int escapement, int size, const QString &face, int underline) const
{
    LogFont font;
    const int points = size == 0 ? m_printer->fontSize() : size;
    // A character height in points: negative, in printer pixels.
    font.height = -Fault::int32(double(m_resY) * points / 72, QStringLiteral("font size"));
    font.width = 0;
    font.escapement = escapement;
    font.orientation = escapement;
    font.weight = 400;
    font.italic = false;
    font.underline = underline != 0;
    font.strikeOut = false;
    font.charSet = 1;
    font.outPrecision = 7;
    font.clipPrecision = 0;
    font.quality = 0;
    font.pitchAndFamily = 0;
    font.faceName = face.isEmpty() ? m_printer->fontName() : face;
    return font;
}

OTprintResult OTprint::SetText(const QString &text, int x, int y, int escapement, int size, const QString &font,
                               int underline)
{
    record(QStringLiteral("SetText"), text, x, y, escapement, size, font, underline);
    return guarded([&] {
        if (m_closed)
            return;
        const QPoint at = pt(x, y);
        const LogFont logFont = fontFor(escapement, size, font, underline);
        checkBudget(8);
        ObjectScope selected(*this, m_font, m_writer->createFont(logFont));
        m_writer->textOut(at, text);
    });
}

OTprintResult OTprint::TextBox(const QString &text, int x1, int y1, int x2, int y2, int escapement, int size,
                               const QString &font, int underline, int format, int frame)
{
    record(QStringLiteral("TextBox"), text, x1, y1, x2, y2, escapement, size, font, underline, format, frame);
    return guarded([&] {
        if (m_closed)
            return;
        // The text flags and the frame are 16-bit; the flags add word break (16)
        // and external leading (512) to the caller's.
        const qint16 flags = Fault::int16(double(format) + 528, QStringLiteral("text format"));
        const qint16 frameKind = Fault::int16(frame, QStringLiteral("text frame"));
        const QRect box(pt(x1, y1), pt(x2, y2));
        const LogFont logFont = fontFor(escapement, size, font, underline);
        if (m_gradientFill && frameKind != 2)
            drawGradient(gradientBox(x1, y1, x2, y2));
        checkBudget(16 + text.size() / 4);
        ObjectScope selected(*this, m_font, m_writer->createFont(logFont));
        if (frameKind == 1) {
            m_writer->polyline(QPolygon{box.topLeft(), QPoint(box.right(), box.top()), box.bottomRight(),
                                        QPoint(box.left(), box.bottom()), box.topLeft()});
        } else if (frameKind == 2) {
            m_writer->rectangle(box);
        }
        m_writer->drawText(box, text, quint32(quint16(flags)));
    });
}

// --- tables -------------------------------------------------------------------------------------------------

OTprintResult OTprint::Table(int x, int y, int cellWidth, int cellHeight, int columns, int rows, int header,
                             int penWidth, int penColor, int penStyle)
{
    record(QStringLiteral("Table"), x, y, cellWidth, cellHeight, columns, rows, header, penWidth, penColor, penStyle);
    return guarded([&] {
        if (m_closed)
            return;
        if (columns > MaxCount || rows > MaxCount)
            throw Fault::overflow(QStringLiteral("table of %1 x %2 cells").arg(columns).arg(rows));
        const QPoint origin = pt(x, y);
        const qint32 cw = px(cellWidth), ch = py(cellHeight);
        const qint32 right = G::add(origin.x(), qint64(G::mul(cw, columns)));
        const qint32 bottom = G::add(origin.y(), qint64(G::mul(ch, rows)));
        // The table's extent in tenths of a millimetre, for the gradient.
        const qint32 extentX = G::add(x, qint64(G::mul(cellWidth, columns)));
        const qint32 extentY = G::add(y, qint64(G::mul(cellHeight, rows)));
        const GradientBox gradient = m_gradientFill ? gradientBox(x, y, extentX, extentY) : GradientBox();
        checkBudget(qint64(std::max(columns, 0)) + std::max(rows, 0) + 32);

        ObjectScope pen(*this, m_pen, createLinePen(penWidth, penStyle, ColorRef(penColor)));
        if (m_gradientFill) {
            drawGradient(gradient);
        } else {
            ObjectScope brush(*this, m_brush, createFillBrush(0));
            m_writer->rectangle(QRect(origin, QPoint(right, bottom)));
        }
        if (header == 1 || header == 2 || header == 3) {
            ObjectScope brush(*this, m_brush, createStyledBrush(rgb(220, 220, 220)));
            if (header != 2)  // the first row
                m_writer->rectangle(QRect(origin, QPoint(right, G::add(origin.y(), ch))));
            if (header != 1)  // the first column
                m_writer->rectangle(QRect(origin, QPoint(G::add(origin.x(), cw), bottom)));
        }
        drawRuling(origin, columns, rows, cw, ch, QPoint(right, bottom));
    });
}

}  // namespace ortolan::print
