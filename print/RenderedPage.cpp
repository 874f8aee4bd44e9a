#include "print/RenderedPage.h"

#include "metafile/MetafilePicture.h"
#include "print/PngWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace ortolan::print::RenderedPage {

namespace {

constexpr double MmPerInch = 25.4;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

QImage toImage(const metafile::MetafilePicture &page, int dpi)
{
    const QSizeF mm = page.naturalSizeMm();
    if (page.isNull() || mm.isEmpty() || dpi <= 0)
        return QImage();
    const QSize size(int(std::lround(mm.width() * dpi / MmPerInch)), int(std::lround(mm.height() * dpi / MmPerInch)));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    page.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

QByteArray toPdf(const metafile::MetafilePicture &page)
{
    const QSizeF mm = page.naturalSizeMm();
    if (page.isNull() || mm.isEmpty())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(mm, QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(PdfDpi);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QByteArray();
        page.render(&painter, QRectF(0, 0, mm.width() * PdfDpi / MmPerInch, mm.height() * PdfDpi / MmPerInch));
        if (!painter.end())
            return QByteArray();
    }
    return bytes;
}

std::optional<PageFormat> formatNamed(const QString &word)
{
    const QString w = word.toLower();
    if (w == QStringLiteral("emf"))
        return PageFormat::Emf;
    if (w == QStringLiteral("pdf"))
        return PageFormat::Pdf;
    if (w == QStringLiteral("png"))
        return PageFormat::Png;
    return std::nullopt;
}

std::optional<PageFormat> formatOfFile(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? std::nullopt : formatNamed(suffix);
}

QString extension(PageFormat format)
{
    switch (format) {
    case PageFormat::Emf:
        return QStringLiteral("emf");
    case PageFormat::Pdf:
        return QStringLiteral("pdf");
    case PageFormat::Png:
        break;
    }
    return QStringLiteral("png");
}

bool write(const metafile::MetafilePicture &page, const QString &output, PageFormat format, QString *error,
           int pngDpi)
{
    if (format == PageFormat::Emf)
        return fail(error, QStringLiteral("a metafile page is written by the drawing engine, not played back: ")
                               + output);
    if (page.isNull() || page.naturalSizeMm().isEmpty())
        return fail(error, QStringLiteral("the page has no size: ") + output);
    if (format == PageFormat::Png && pngDpi <= 0)
        return fail(error, QStringLiteral("a PNG page needs a resolution above 0 dpi: ") + output);
    const QImage image = format == PageFormat::Png ? toImage(page, pngDpi) : QImage();
    const QByteArray pdf = format == PageFormat::Pdf ? toPdf(page) : QByteArray();
    if (image.isNull() && pdf.isEmpty())
        return fail(error, QStringLiteral("cannot draw the page for ") + output);
    QSaveFile file(output);
    QString why;
    const bool written = file.open(QIODevice::WriteOnly)
                         && (pdf.isEmpty() ? PngWriter::write(image, &file, &why) : file.write(pdf) == pdf.size())
                         && file.commit();
    if (!written) {
        file.cancelWriting();
        return fail(error, QStringLiteral("cannot write ") + output + QStringLiteral(" (")
                               + (why.isEmpty() ? file.errorString() : why) + QStringLiteral(")"));
    }
    return true;
}

bool writeFromFile(const QString &emf, const QString &output, PageFormat format, QString *error, int pngDpi)
{
    QString why;
    const metafile::MetafilePicture page = metafile::MetafilePicture::load(emf, &why);
    if (page.isNull())
        return fail(error, why);
    return write(page, output, format, error, pngDpi);
}

}  // namespace ortolan::print::RenderedPage
