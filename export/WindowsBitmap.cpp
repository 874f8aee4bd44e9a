#include "export/WindowsBitmap.h"

#include <QPainter>

namespace ortolan::exporting {

namespace {

void put16(QByteArray &bytes, quint16 v)
{
    bytes.append(char(v & 0xff)).append(char(v >> 8));
}

void put32(QByteArray &bytes, quint32 v)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((v >> shift) & 0xff));
}

}  // namespace

QByteArray WindowsBitmap::encode(const QImage &image)
{
    if (image.isNull())
        return {};
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    }
    const quint32 width = quint32(rgb.width());
    const quint32 height = quint32(rgb.height());
    const quint32 rowBytes = (width * 3 + 3) / 4 * 4;
    const quint32 pixelBytes = rowBytes * height;
    const quint32 headerBytes = 14 + 40;
    const quint32 perMetre = quint32(image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 3780);
    const quint32 perMetreY = quint32(image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 3780);

    QByteArray bytes;
    bytes.reserve(int(headerBytes + pixelBytes));
    bytes.append("BM", 2);
    put32(bytes, headerBytes + pixelBytes);
    put32(bytes, 0);  // reserved
    put32(bytes, headerBytes);
    put32(bytes, 40);
    put32(bytes, width);
    put32(bytes, height);  // positive: rows bottom-up
    put16(bytes, 1);       // planes
    put16(bytes, 24);
    put32(bytes, 0);  // BI_RGB
    put32(bytes, pixelBytes);
    put32(bytes, perMetre);
    put32(bytes, perMetreY);
    put32(bytes, 0);  // colours used
    put32(bytes, 0);  // important colours
    QByteArray row(int(rowBytes), '\0');
    for (int y = int(height) - 1; y >= 0; --y) {
        const uchar *line = rgb.constScanLine(y);
        for (quint32 x = 0; x < width; ++x) {
            row[int(x * 3)] = char(line[x * 3 + 2]);
            row[int(x * 3 + 1)] = char(line[x * 3 + 1]);
            row[int(x * 3 + 2)] = char(line[x * 3]);
        }
        bytes.append(row);
    }
    return bytes;
}

}  // namespace ortolan::exporting
