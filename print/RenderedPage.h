#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace ortolan::metafile {
class MetafilePicture;
}

namespace ortolan::print {

// The file formats of a printed page: the enhanced metafile the drawing
// engine writes, and the two formats played back from it.
enum class PageFormat { Emf, Pdf, Png };

// A printed page (an enhanced metafile) played back into a PDF or a PNG file,
// so that every format shows exactly the page that goes to the printer.
namespace RenderedPage {

// PNG pages are drawn at this resolution (a 200 x 280 mm sheet: 1181 x 1654 px).
inline constexpr int PngDpi = 150;
// PDF pages keep their vector drawing; this is the resolution of its units.
inline constexpr int PdfDpi = 600;

// The format named by a word ("emf", "pdf", "png", any case) or by a file
// name's extension ("page.PNG"); nothing for anything else.
std::optional<PageFormat> formatNamed(const QString &word);
std::optional<PageFormat> formatOfFile(const QString &fileName);
// "emf", "pdf" or "png".
QString extension(PageFormat format);

// The page played at its natural size on white at dpi: an opaque image
// (opaque images draw faster than translucent ones); null when it cannot be made.
QImage toImage(const metafile::MetafilePicture &page, int dpi = PngDpi);
// The page played into a one-page PDF of its natural size; empty on failure.
QByteArray toPdf(const metafile::MetafilePicture &page);

// Plays the page at its natural size into output: a PDF of the page's size, or
// a PNG image at pngDpi. The file is written atomically (a temporary file
// renamed over output), so a failure leaves an earlier file as it was.
// Emf is not a played-back format: it returns false. On failure *error holds a
// one-line reason naming output.
bool write(const metafile::MetafilePicture &page, const QString &output, PageFormat format, QString *error,
           int pngDpi = PngDpi);
// The same from a metafile file.
bool writeFromFile(const QString &emf, const QString &output, PageFormat format, QString *error,
                   int pngDpi = PngDpi);

}  // namespace RenderedPage

}  // namespace ortolan::print
