#pragma once

#include "metafile/DisplayList.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class QPainter;

namespace ortolan::metafile {

// A metafile (placeable or plain WMF, or EMF) ready to be played onto any
// QPainter. Loading decodes and checks every record once and compiles the
// drawing into paths, text runs and bitmaps; the picture is then immutable and
// cheap to copy, and each render only sets one transform.
//
// Picture units: the units of the picture's own frame. A placeable WMF uses its
// header's bounding box (logical units, unitsPerInch() per inch); a plain WMF its
// window (or the extent of its drawing when it sets none), at 1440 units per inch;
// an EMF its frame in hundredths of a millimetre (2540 per inch).
class MetafilePicture {
public:
    enum class Format { None, PlaceableWmf, Wmf, Emf };

    MetafilePicture() = default;

    // Loads a file; on failure returns a null picture and sets *error to a
    // one-line reason naming the file. A file loaded again unchanged (same path,
    // size and time of change) gives the same picture without reading it.
    static MetafilePicture load(const QString &path, QString *error = nullptr);
    // Decodes bytes of any of the three formats (recognised by their signature).
    static MetafilePicture fromData(const QByteArray &data, QString *error = nullptr);
    // Wraps a compiled display list (used by the two readers).
    static MetafilePicture fromDisplayList(DisplayList list, Format format, const QRectF &naturalRect,
                                           double unitsPerInch, QStringList warnings);

    bool isNull() const { return !m_list; }
    Format format() const { return m_format; }
    // The frame in picture units; this is what a render maps onto its target.
    QRectF naturalRect() const { return m_natural; }
    double unitsPerInch() const { return m_unitsPerInch; }
    QSizeF naturalSizeMm() const;
    // Things skipped while decoding (unknown records, ignored values).
    QStringList warnings() const { return m_warnings; }
    const DisplayList &displayList() const;
    // Identifies the decoded picture: copies share it, no other picture of this
    // run has it (0 for a null picture).
    quint64 id() const { return m_id; }

    // Draws the part `source` of the picture (picture units; null = naturalRect())
    // into `target` (painter coordinates), clipped to target, antialiased. Pens of
    // width 0, and pens that would come out thinner than 1.5 output pixels, draw one
    // pixel wide. Raster operations other than copy (e.g. the mask pen) apply on
    // raster targets (QImage, QPixmap on raster platforms); elsewhere they copy.
    void render(QPainter *painter, const QRectF &target, const QRectF &source = QRectF()) const;

    // Renders into a new image of `size` pixels filled with background first: the
    // cache a zoomable view blits from.
    QImage toImage(const QSize &size, const QRectF &source = QRectF(), const QColor &background = Qt::white) const;

    // Maps a point of the picture (picture units) to the target when source is drawn
    // into target: what render() does to every point.
    static QTransform pictureToTarget(const QRectF &source, const QRectF &target);

private:
    std::shared_ptr<const DisplayList> m_list;
    Format m_format = Format::None;
    QRectF m_natural;
    double m_unitsPerInch = 0;
    QStringList m_warnings;
    quint64 m_id = 0;
};

}  // namespace ortolan::metafile
