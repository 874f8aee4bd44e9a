// Fuzz target: enhanced metafiles, as the print preview and the engine's Emf
// pictures read them. Splits the records, compiles them through the device
// context and plays the picture onto small images, whole, zoomed and through a
// painter that is already transformed.
#include "FuzzSupport.h"

#include "metafile/EmfDocument.h"
#include "metafile/EmfReader.h"
#include "metafile/MetafilePicture.h"

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
    EmfDocument doc;
    QString error;
    if (!EmfReader::parse(bytes, &doc, &error)) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    // The record chain checked by parse: inside the data, sizes of at least 8
    // and multiples of 4.
    for (const EmfRecord &r : doc.records) {
        if (r.size < 8 || r.size % 4 != 0 || r.offset < 0 || r.offset + qsizetype(r.size) > bytes.size())
            std::abort();
    }

    const MetafilePicture picture = EmfReader::compile(doc, &error);
    if (picture.isNull()) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    const QRectF frame = picture.naturalRect();
    if (!std::isfinite(frame.width()) || !std::isfinite(frame.height()))
        std::abort();

    const QImage whole = picture.toImage(QSize(40, 40));
    if (whole.isNull())
        std::abort();
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(3, 2);
        painter.rotate(7);
        const QRectF corner(frame.topLeft(), frame.size() / 3);
        picture.render(&painter, QRectF(0, 0, 28, 20), corner);
    }
    return 0;
}
