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
// costs the same whatever part of it is visible, and the metafile player skips
// only shapes whose bounds miss the view. Solid outlines drawn in copy mode are
// therefore cut into short runs with their own bounds (the shapes keep their
// fills), so that a zoomed view strokes only the runs it shows. Rendered images
// are also kept, one per view rectangle and pixel size (the most recent few),
// so that redrawing the same view (grid switched, dots reloaded, window
// exposed) only copies pixels.
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
    // How many outline runs the picture is drawn with (0 when none was cut).
    int outlineRuns() const { return m_runs; }

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
    // The same picture with its outlines cut into runs; what render() plays.
    metafile::MetafilePicture m_runPicture;
    int m_runs = 0;
    // Most recent first.
    mutable std::shared_ptr<std::list<CachedImage>> m_images = std::make_shared<std::list<CachedImage>>();
};

}  // namespace ortolan::map
