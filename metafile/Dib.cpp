#include "metafile/Dib.h"

#include "metafile/ByteWriter.h"
#include "metafile/EmfRecords.h"

#include <QPainter>

#include <bit>

namespace ortolan::metafile {

namespace {

QImage failed(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return QImage();
}

// Position and width of the bits of a channel mask, for scaling to 8 bits.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(quint32 m) : mask(m), shift(m ? std::countr_zero(m) : 0), bits(m ? std::popcount(m) : 0) {}
    int value(quint32 px) const
    {
        if (!mask)
            return 0;
        const quint32 v = (px & mask) >> shift;
        return bits >= 8 ? int(v >> (bits - 8)) : int(v * 255 / ((1u << bits) - 1));
    }
};

}  // namespace

QImage Dib::decode(ByteReader info, ByteReader bits, QString *error)
{
    const quint32 headerSize = info.u32();
    qint32 width = 0, height = 0;
    quint16 bitCount = 0;
    quint32 compression = emf::BiRgb, colorsUsed = 0;
    if (headerSize == 12) {  // the old core header
        width = info.u16();
        height = info.i16();
        info.u16();
        bitCount = info.u16();
    } else if (headerSize >= 40) {
        width = info.i32();
        height = info.i32();
        info.u16();
        bitCount = info.u16();
        compression = info.u32();
        info.skip(12);
        colorsUsed = info.u32();
        info.u32();
    } else {
        return failed(error, QStringLiteral("bitmap header of %1 bytes").arg(headerSize));
    }
    if (!info.ok())
        return failed(error, QStringLiteral("truncated bitmap header"));
    const bool topDown = height < 0;
    const qint64 h = topDown ? -qint64(height) : height;
    if (width <= 0 || h <= 0 || qint64(width) * h > MaxPixels)
        return failed(error, QStringLiteral("bitmap of %1 x %2 pixels").arg(width).arg(height));

    quint32 masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (bitCount == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (compression == emf::BiBitfields && (bitCount == 16 || bitCount == 32)) {
        if (headerSize >= 52) {
            info.seek(40);
        } else {
            info.seek(qsizetype(headerSize));
        }
        for (quint32 &m : masks)
            m = info.u32();
        if (!info.ok())
            return failed(error, QStringLiteral("truncated bit fields"));
    } else if (compression != emf::BiRgb) {
        return failed(error, QStringLiteral("compressed bitmaps (type %1) are not supported").arg(compression));
    }

    QList<QRgb> palette;
    if (bitCount <= 8) {
        if (bitCount != 1 && bitCount != 4 && bitCount != 8)
            return failed(error, QStringLiteral("bitmap of %1 bits per pixel").arg(bitCount));
        quint32 n = colorsUsed ? colorsUsed : (1u << bitCount);
        if (n > 256)
            return failed(error, QStringLiteral("colour table of %1 entries").arg(n));
        info.seek(qsizetype(headerSize));
        for (quint32 i = 0; i < n; ++i) {
            const quint8 b = info.u8(), g = info.u8(), r = info.u8();
            if (headerSize != 12)
                info.u8();
            palette.append(qRgb(r, g, b));
        }
        if (!info.ok())
            return failed(error, QStringLiteral("truncated colour table"));
    } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return failed(error, QStringLiteral("bitmap of %1 bits per pixel").arg(bitCount));
    }

    const qint64 stride = ((qint64(width) * bitCount + 31) / 32) * 4;
    if (stride * h > bits.size())
        return failed(error, QStringLiteral("bitmap bits shorter than %1 rows").arg(h));
    QImage image(width, int(h), QImage::Format_RGB32);
    if (image.isNull())
        return failed(error, QStringLiteral("no memory for a bitmap of %1 x %2").arg(width).arg(h));
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const uchar *data = reinterpret_cast<const uchar *>(bits.data());
    for (qint64 row = 0; row < h; ++row) {
        const uchar *src = data + stride * row;
        QRgb *dst = reinterpret_cast<QRgb *>(image.scanLine(int(topDown ? row : h - 1 - row)));
        for (qint32 x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1: {
                const int i = (src[x >> 3] >> (7 - (x & 7))) & 1;
                dst[x] = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
                break;
            }
            case 4: {
                const int i = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
                dst[x] = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
                break;
            }
            case 8:
                dst[x] = src[x] < palette.size() ? palette[src[x]] : qRgb(0, 0, 0);
                break;
            case 16: {
                const quint32 px = quint32(src[2 * x]) | (quint32(src[2 * x + 1]) << 8);
                dst[x] = qRgb(red.value(px), green.value(px), blue.value(px));
                break;
            }
            case 24:
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            case 32: {
                const uchar *p = src + 4 * x;
                const quint32 px = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
                dst[x] = qRgb(red.value(px), green.value(px), blue.value(px));
                break;
            }
            }
        }
    }
    return image;
}

QImage Dib::decodePacked(ByteReader packed, QString *error)
{
    ByteReader probe = packed;
    const quint32 headerSize = probe.u32();
    qint64 offset = headerSize;
    if (headerSize >= 40) {
        probe.seek(14);
        const quint16 bitCount = probe.u16();
        const quint32 compression = probe.u32();
        probe.seek(32);
        const quint32 used = probe.u32();
        if (compression == emf::BiBitfields && headerSize == 40)
            offset += 12;
        if (bitCount <= 8)
            offset += 4 * qint64(used ? used : (1u << bitCount));
    } else if (headerSize == 12) {
        probe.seek(10);
        const quint16 bitCount = probe.u16();
        if (bitCount <= 8)
            offset += 3 * qint64(1u << bitCount);
    }
    if (!probe.ok() || offset > packed.size())
        return failed(error, QStringLiteral("truncated bitmap"));
    return decode(packed.sub(0, offset), packed.sub(offset, packed.size() - offset), error);
}

QByteArray Dib::infoHeader(const QImage &image, int bitCount)
{
    ByteWriter w;
    w.u32(40);
    w.i32(image.width());
    w.i32(image.height());  // positive: bottom-up rows
    w.u16(1);
    w.u16(quint16(bitCount));
    w.u32(emf::BiRgb);
    w.u32(quint32(((qint64(image.width()) * bitCount + 31) / 32) * 4 * image.height()));
    w.i32(0);
    w.i32(0);
    w.u32(0);
    w.u32(0);
    return w.take();
}

QByteArray Dib::bits(const QImage &image, int bitCount)
{
    QImage rgb(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, image);
    }
    const qint64 stride = ((qint64(rgb.width()) * bitCount + 31) / 32) * 4;
    QByteArray out(stride * rgb.height(), '\0');
    for (int row = 0; row < rgb.height(); ++row) {
        const QRgb *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(rgb.height() - 1 - row));
        uchar *dst = reinterpret_cast<uchar *>(out.data()) + stride * row;
        for (int x = 0; x < rgb.width(); ++x) {
            const int o = x * (bitCount / 8);
            dst[o] = uchar(qBlue(src[x]));
            dst[o + 1] = uchar(qGreen(src[x]));
            dst[o + 2] = uchar(qRed(src[x]));
            if (bitCount == 32)
                dst[o + 3] = 0;
        }
    }
    return out;
}

}  // namespace ortolan::metafile
