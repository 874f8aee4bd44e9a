#pragma once

#include "map/DisplayListSplit.h"
#include "metafile/MetafilePicture.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <list>
#include <memory>

class QPainter;

namespace ortolan::map {

// The background picture of the map (a placeable WMF of Italy) prepared for
// fast repeated drawing of any part of it at any scale.
//
// Speed. The shipped maps draw a few large shapes (land, sea, regions) with
// long outlines; filling or stroking one costs about the same whatever part of
// it is visible, and the metafile player skips only shapes whose bounds miss
// the view. The picture is therefore drawn from a copy cut into small pieces
// and outline runs (splitDisplayList), so that a zoomed view draws little more
// than what it shows. Rendered images are also kept, one per view rectangle
// and pixel size (the most recent few), so that redrawing the same view (grid
// switched, dots reloaded, window exposed) only copies pixels.
//
// Picture units are those of MetafilePicture::naturalRect().
class BackgroundPicture {
public:
    BackgroundPicture() = default;
    explicit BackgroundPicture(metafile::MetafilePicture picture);

    // Loads a picture file; a null picture and *error (a one-line reason) on failure.
    static BackgroundPicture load(const QString &path, QString *error = nullptr);

    bool isNull() const { return m_picture.isNull(); }
    const metafile::MetafilePicture &picture() const { return m_picture; }
    QRectF naturalRect() const { return m_picture.naturalRect(); }
    // Natural size in twips (PictureNaturalWidth x PictureNaturalHeight); empty
    // for a null picture or one without a physical size.
    QSizeF naturalSizeTwips() const;
    // What the copy that is drawn was cut into.
    SplitCounts splitCounts() const { return m_split; }

    // Draws the part `source` (picture units) into `target` (painter units),
    // clipped to target, antialiased.
    void render(QPainter *painter, const QRectF &target, const QRectF &source) const;
    // The part `source` rendered on white into an image of `pixels`; kept for the
    // next request of the same part and size.
    QImage image(const QSize &pixels, const QRectF &source) const;

private:
    struct CachedImage {
        QRectF source;
        QSize pixels;
        QImage image;
    };
    metafile::MetafilePicture m_picture;
    // The same picture cut for culling; what render() plays.
    metafile::MetafilePicture m_splitPicture;
    SplitCounts m_split;
    // Most recent first.
    mutable std::shared_ptr<std::list<CachedImage>> m_images = std::make_shared<std::list<CachedImage>>();
};

}  // namespace ortolan::map
