#pragma once

#include <QByteArray>
#include <QImage>

namespace ortolan::exporting {

// A Windows bitmap file (.bmp) of an image: BITMAPFILEHEADER, a 40-byte
// BITMAPINFOHEADER, 24 bits per pixel without compression (BI_RGB), rows
// bottom-up in blue-green-red order, each padded to a multiple of 4 bytes.
// Transparent pixels are laid on white. The resolution is the image's, or
// 96 dpi when it has none.
class WindowsBitmap {
public:
    static QByteArray encode(const QImage &image);
};

}  // namespace ortolan::exporting
