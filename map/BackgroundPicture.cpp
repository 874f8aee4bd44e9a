#include "map/BackgroundPicture.h"

#include <QPainter>


namespace ortolan::map {

namespace {

// Rendered images kept for reuse.
constexpr size_t CachedImages = 4;
constexpr double TwipsPerInch = 1440.0;

}  // namespace

BackgroundPicture::BackgroundPicture(metafile::MetafilePicture picture)
    : m_picture(std::move(picture))
{
    if (m_picture.isNull())
        return;
    metafile::DisplayList split = splitDisplayList(m_picture.displayList(), &m_split);
    const bool cut = m_split.outlineRuns > 0 || m_split.fillPieces > 0;
    m_splitPicture = cut ? metafile::MetafilePicture::fromDisplayList(std::move(split), m_picture.format(),
                                                                      m_picture.naturalRect(), m_picture.unitsPerInch(),
                                                                      m_picture.warnings())
                         : m_picture;
}

BackgroundPicture BackgroundPicture::load(const QString &path, QString *error)
{
    return BackgroundPicture(metafile::MetafilePicture::load(path, error));
}

QSizeF BackgroundPicture::naturalSizeTwips() const
{
    const QSizeF mm = m_picture.naturalSizeMm();
    if (mm.isEmpty())
        return QSizeF();
    return mm * (TwipsPerInch / 25.4);
}

void BackgroundPicture::render(QPainter *painter, const QRectF &target, const QRectF &source) const
{
    m_splitPicture.render(painter, target, source);
}

QImage BackgroundPicture::image(const QSize &pixels, const QRectF &source) const
{
    if (pixels.isEmpty() || isNull())
        return QImage();
    auto &images = *m_images;
    for (auto it = images.begin(); it != images.end(); ++it) {
        if (it->pixels == pixels && it->source == source) {
            images.splice(images.begin(), images, it);
            return images.front().image;
        }
    }
    // The picture is opaque: an image without alpha draws faster. When the
    // cache is full, the pixels of the image used least recently are drawn
    // over rather than freed and allocated again (a fresh image of a map's
    // size costs the system a page fault per 4 KB).
    QImage image;
    if (images.size() >= CachedImages) {
        image = std::move(images.back().image);
        images.pop_back();
        if (image.size() != pixels || !image.isDetached())
            image = QImage();
    }
    if (image.isNull())
        image = QImage(pixels, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), source);
    }
    images.push_front({source, pixels, image});
    return image;
}

}  // namespace ortolan::map
