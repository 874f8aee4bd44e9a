#pragma once

#include "metafile/ByteReader.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace ortolan::metafile {

// Device-independent bitmaps as both metafile formats embed them: a bitmap
// information header (with its colour table) and the pixel rows, bottom-up
// when the height is positive.
class Dib {
public:
    // Decodes uncompressed DIBs of 1, 4, 8, 16, 24 and 32 bits per pixel (colour
    // tables, bit fields). Returns a null image and sets *error for anything else,
    // including rows that the bits do not cover.
    static QImage decode(ByteReader info, ByteReader bits, QString *error = nullptr);
    // A whole packed DIB (header, colour table, then the bits right after).
    static QImage decodePacked(ByteReader packed, QString *error = nullptr);

    // An opaque 24- or 32-bit bottom-up DIB of image (alpha flattened on white):
    // the 40-byte header and the bits, separately.
    static QByteArray infoHeader(const QImage &image, int bitCount);
    static QByteArray bits(const QImage &image, int bitCount);

    // Pixels above which a bitmap is refused (keeps allocations bounded).
    static constexpr qint64 MaxPixels = 64LL * 1024 * 1024;
};

}  // namespace ortolan::metafile
