#include "map/BackgroundPicture.h"

#include <QPainter>

#include <cmath>
#include <variant>
#include <vector>

namespace ortolan::map {

namespace {

using metafile::BrushStyle;
using metafile::DisplayList;
using metafile::PathOp;
using metafile::PenStyle;
using metafile::Rop2;

// Segments per outline run: short enough that a view at the deepest zoom (an
// eighth of the picture) strokes a small share of an outline, long enough that
// the number of runs stays in the low thousands.
constexpr int SegmentsPerRun = 100;
// Rendered images kept for reuse.
constexpr size_t CachedImages = 4;
constexpr double TwipsPerInch = 1440.0;

bool solidPen(const metafile::PenSpec &pen)
{
    return pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame;
}

}  // namespace

// A picture of solid fills and solid strokes in drawing order, its strokes cut
// into runs. Coordinates are the display list's device space.
struct BackgroundPicture::Prepared {
    struct Step {
        QPainterPath path;
        QRectF bounds;
        int brush = -1;  // fill with this brush, or
        int pen = -1;    // stroke with this pen
    };
    std::vector<Step> steps;
    std::vector<metafile::PenSpec> pens;
    std::vector<QColor> brushes;
    QTransform deviceToPicture;
};

BackgroundPicture::BackgroundPicture(metafile::MetafilePicture picture)
    : m_picture(std::move(picture))
{
    if (!m_picture.isNull())
        m_prepared = prepare(m_picture.displayList());
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

std::shared_ptr<const BackgroundPicture::Prepared> BackgroundPicture::prepare(const DisplayList &list)
{
    auto prepared = std::make_shared<Prepared>();
    prepared->pens = list.pens;
    prepared->deviceToPicture = list.deviceToPicture;
    for (const auto &brush : list.brushes) {
        if (brush.style != BrushStyle::Solid)
            return nullptr;
        prepared->brushes.push_back(brush.color);
    }
    for (const auto &pen : list.pens)
        if (!solidPen(pen))
            return nullptr;
    for (const metafile::DisplayOp &op : list.ops) {
        const PathOp *path = std::get_if<PathOp>(&op);
        if (!path || path->rop != Rop2::CopyPen)
            return nullptr;
        if (path->brush >= 0)
            prepared->steps.push_back({path->path, path->bounds, path->brush, -1});
        if (path->pen < 0)
            continue;
        const double margin = std::max(0.0, list.pens[size_t(path->pen)].width);
        for (const QPolygonF &polygon : path->path.toSubpathPolygons()) {
            for (qsizetype first = 0; first + 1 < polygon.size(); first += SegmentsPerRun) {
                const qsizetype last = std::min<qsizetype>(polygon.size() - 1, first + SegmentsPerRun);
                QPainterPath run(polygon[first]);
                for (qsizetype i = first + 1; i <= last; ++i)
                    run.lineTo(polygon[i]);
                const QRectF bounds = run.boundingRect().adjusted(-margin, -margin, margin, margin);
                prepared->steps.push_back({run, bounds, -1, path->pen});
            }
        }
    }
    return prepared;
}

void BackgroundPicture::render(QPainter *painter, const QRectF &target, const QRectF &source) const
{
    if (!m_prepared) {
        m_picture.render(painter, target, source);
        return;
    }
    if (!painter || !painter->isActive() || target.isEmpty() || source.isEmpty())
        return;
    const Prepared &p = *m_prepared;
    const QTransform deviceToTarget = p.deviceToPicture * metafile::MetafilePicture::pictureToTarget(source, target);
    bool invertible = false;
    const QRectF visible = deviceToTarget.inverted(&invertible).mapRect(target);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setClipRect(target, Qt::IntersectClip);
    painter->setWorldTransform(deviceToTarget, true);
    // Pens thinner than one output pixel draw one pixel wide, as the metafile player does.
    const double scale = std::sqrt(std::abs(painter->combinedTransform().determinant()));
    std::vector<QPen> pens;
    for (const auto &spec : p.pens) {
        QPen pen(spec.color);
        pen.setCapStyle(spec.cap);
        pen.setJoinStyle(spec.join);
        if (spec.width <= 0 || spec.width * scale < 1) {
            pen.setCosmetic(true);
            pen.setWidthF(1);
        } else {
            pen.setWidthF(spec.width);
        }
        pens.push_back(pen);
    }
    for (const Prepared::Step &step : p.steps) {
        if (invertible && !step.bounds.intersects(visible))
            continue;
        if (step.brush >= 0)
            painter->fillPath(step.path, p.brushes[size_t(step.brush)]);
        else
            painter->strokePath(step.path, pens[size_t(step.pen)]);
    }
    painter->restore();
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
