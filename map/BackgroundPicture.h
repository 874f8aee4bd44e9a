#pragma once

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
// Speed. The shipped maps draw a few long outlines (coastline, rivers,
// borders) with pens a few pixels wide at deep zoom; stroking one such outline
// costs the same whatever part of it is visible. When a picture holds only
// solid fills and solid strokes (as the shipped maps do), its outlines are
// therefore cut into short runs with their own bounds, so that a zoomed view
// strokes only the runs it shows; any other picture is played as it stands by
// the metafile player. Rendered images are also kept, one per view rectangle
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
    // True when outlines are drawn run by run (the picture qualified for it).
    bool isPrepared() const { return m_prepared != nullptr; }

    // Draws the part `source` (picture units) into `target` (painter units),
    // clipped to target, antialiased.
    void render(QPainter *painter, const QRectF &target, const QRectF &source) const;
    // The part `source` rendered on white into an image of `pixels`; kept for the
    // next request of the same part and size.
    QImage image(const QSize &pixels, const QRectF &source) const;

private:
    struct Prepared;
    struct CachedImage {
        QRectF source;
        QSize pixels;
        QImage image;
    };
    static std::shared_ptr<const Prepared> prepare(const metafile::DisplayList &list);

    metafile::MetafilePicture m_picture;
    std::shared_ptr<const Prepared> m_prepared;
    // Most recent first.
    mutable std::shared_ptr<std::list<CachedImage>> m_images = std::make_shared<std::list<CachedImage>>();
};

}  // namespace ortolan::map
