#include "print/PngWriter.h"

#include <QIODevice>
#include <QImage>
#include <QPainter>

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

namespace ortolan::print {

namespace {

// What the callbacks share with the encoder. Plain data only: libpng leaves
// through longjmp, which must not skip destructors.
struct Sink {
    QIODevice *device = nullptr;
    bool writeFailed = false;
    char message[200] = {};
};

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *sink = static_cast<Sink *>(png_get_io_ptr(png));
    if (sink->device->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length)) {
        sink->writeFailed = true;
        png_error(png, "write failed");
    }
}

void flushNothing(png_structp) {}

void onError(png_structp png, png_const_charp message)
{
    auto *sink = static_cast<Sink *>(png_get_error_ptr(png));
    std::strncpy(sink->message, message ? message : "unknown error", sizeof sink->message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The encoding proper; returns false with sink->message set. Kept free of
// objects with destructors because an error returns here through longjmp.
bool encode(const QImage &rgb, Sink *sink)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, sink, onError, onWarning);
    if (!png) {
        std::strncpy(sink->message, "out of memory", sizeof sink->message - 1);
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (!sink->message[0])
            std::strncpy(sink->message, "out of memory", sizeof sink->message - 1);
        return false;
    }
    png_set_write_fn(png, sink, writeBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(rgb.width()), png_uint_32(rgb.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_level(png, 1);
    png_set_compression_buffer_size(png, 1 << 18);
    png_write_info(png, info);
    for (int y = 0; y < rgb.height(); ++y)
        png_write_row(png, rgb.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

bool PngWriter::write(const QImage &image, QIODevice *device, QString *error)
{
    if (image.isNull())
        return fail(error, QStringLiteral("no image to write"));
    if (!device || !device->isWritable())
        return fail(error, QStringLiteral("the PNG file is not open for writing"));
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    const QImage rgb = opaque.format() == QImage::Format_RGB888 ? opaque : opaque.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return fail(error, QStringLiteral("no memory to convert an image of %1 x %2 pixels")
                               .arg(image.width())
                               .arg(image.height()));
    Sink sink;
    sink.device = device;
    if (!encode(rgb, &sink)) {
        if (sink.writeFailed)
            return fail(error, QStringLiteral("cannot write the PNG data: ") + device->errorString());
        return fail(error, QStringLiteral("PNG: ") + QString::fromUtf8(sink.message));
    }
    return true;
}

}  // namespace ortolan::print
