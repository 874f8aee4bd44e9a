// Fuzz target: Windows metafiles, placeable or plain, as the background maps and
// the engine's Wmf pictures arrive. Reads the header, decodes the records and,
// when a picture comes out, plays it whole and zoomed onto a small image.
#include "FuzzSupport.h"

#include "metafile/MetafilePicture.h"
#include "metafile/WmfReader.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>

using namespace ortolan::metafile;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ortolan::fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = ortolan::fuzz::bytesOf(data, size);
    WmfHeader header;
    QString error;
    const bool headerOk = WmfReader::readHeader(bytes, &header, &error);

    const MetafilePicture picture = WmfReader::read(bytes, &error);
    if (picture.isNull()) {
        // Every refusal names its reason.
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    // A picture comes only from a file whose header reads, and has a real frame.
    const QRectF frame = picture.naturalRect();
    if (!headerOk || !(frame.width() > 0) || !(frame.height() > 0) || !std::isfinite(frame.width())
        || !std::isfinite(frame.height()))
        std::abort();

    QImage image(48, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        picture.render(&painter, QRectF(0, 0, 48, 32));
        // A zoomed view into the middle of the frame, as the map shows after zooming.
        const QRectF middle(frame.center() - QPointF(frame.width() / 8, frame.height() / 8), frame.size() / 4);
        picture.render(&painter, QRectF(4, 4, 40, 24), middle);
    }
    return 0;
}
