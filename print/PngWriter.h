#pragma once

#include <QString>

class QImage;
class QIODevice;

namespace ortolan::print {

// A PNG encoder for printed pages, tuned for speed: a page is mostly flat
// colour, so each row is stored as its difference from the row above ("up"
// filter) and compressed as runs, which keeps files within a fifth of the
// smallest encoding at a fraction of its time. Qt's own writer tries every
// filter on every row at the default compression and spends four fifths of a
// batch atlas's time there.
//
// Writes 8-bit RGB without alpha: a page is opaque, and a translucent pixel
// is stored as composed over white, the colour of the paper.
class PngWriter {
public:
    // Writes image to device; false and *error (one line) when the image is
    // null or too large for PNG, or the device refuses the bytes.
    static bool write(const QImage &image, QIODevice *device, QString *error = nullptr);
};

}  // namespace ortolan::print
