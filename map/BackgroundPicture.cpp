#include "map/BackgroundPicture.h"

#include <QPainter>

#include <algorithm>
#include <variant>

namespace ortolan::map {

namespace {

using metafile::DisplayList;
using metafile::PathOp;
using metafile::PenStyle;
using metafile::Rop2;

// Segments per outline run: short enough that a view at the deepest zoom (an
// eighth of the picture) strokes a small share of an outline, long enough that
// the number of runs stays in the low thousands.
constexpr qsizetype SegmentsPerRun = 100;
// Rendered images kept for reuse.
constexpr size_t CachedImages = 4;
constexpr double TwipsPerInch = 1440.0;

// Outlines that can be cut without a visible change: solid pens drawn in copy
// mode (a dash pattern would restart at every cut, a mixing mode would mark it).
bool cuttable(const DisplayList &list, const PathOp &op)
{
    if (op.pen < 0 || op.rop != Rop2::CopyPen)
        return false;
    const PenStyle style = list.pens[size_t(op.pen)].style;
    return style == PenStyle::Solid || style == PenStyle::InsideFrame;
}

// The display list with long outlines cut into runs; *runs counts them.
DisplayList cutOutlines(const DisplayList &list, int *runs)
{
    DisplayList cut;
    cut.pens = list.pens;
    cut.brushes = list.brushes;
    cut.deviceToPicture = list.deviceToPicture;
    cut.deviceBounds = list.deviceBounds;
    for (const metafile::DisplayOp &op : list.ops) {
        const PathOp *path = std::get_if<PathOp>(&op);
        if (!path || !cuttable(list, *path)) {
            cut.ops.push_back(op);
            continue;
        }
        QList<QPolygonF> outlines;
        if (!path->polygon.isEmpty()) {
            QPolygonF outline = path->polygon;
            if (path->closed && outline.size() > 1 && outline.first() != outline.last())
                outline << outline.first();
            outlines << outline;
        } else {
            outlines = path->path.toSubpathPolygons();
        }
        qsizetype points = 0;
        for (const QPolygonF &outline : outlines)
            points += outline.size();
        if (points <= SegmentsPerRun + 1) {
            cut.ops.push_back(op);
            continue;
        }
        if (path->brush >= 0) {
            PathOp fill = *path;
            fill.pen = -1;
            cut.ops.push_back(fill);
        }
        const double margin = std::max(0.0, list.pens[size_t(path->pen)].width) + 1.0;
        for (const QPolygonF &outline : outlines) {
            for (qsizetype first = 0; first + 1 < outline.size(); first += SegmentsPerRun) {
                PathOp run;
                run.polygon = outline.mid(first, SegmentsPerRun + 1);
                run.pen = path->pen;
                run.rop = path->rop;
                run.bounds = run.polygon.boundingRect().adjusted(-margin, -margin, margin, margin);
                cut.ops.push_back(run);
                ++*runs;
            }
        }
    }
    return cut;
}

}  // namespace

BackgroundPicture::BackgroundPicture(metafile::MetafilePicture picture)
    : m_picture(std::move(picture))
{
    if (m_picture.isNull())
        return;
    DisplayList cut = cutOutlines(m_picture.displayList(), &m_runs);
    m_runPicture = m_runs > 0 ? metafile::MetafilePicture::fromDisplayList(std::move(cut), m_picture.format(),
                                                                          m_picture.naturalRect(),
                                                                          m_picture.unitsPerInch(), m_picture.warnings())
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
    m_runPicture.render(painter, target, source);
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
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), source);
    }
    images.push_front({source, pixels, image});
    if (images.size() > CachedImages)
        images.pop_back();
    return image;
}

}  // namespace ortolan::map
