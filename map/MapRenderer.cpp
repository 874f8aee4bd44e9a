#include "map/MapRenderer.h"

#include "map/RecordsLayer.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace ortolan::map {

void MapRenderer::setGeometry(const ZoneGeometry &geometry)
{
    m_grid = GridLines(geometry);
    m_dotRadius = geometry.isValid() ? RecordsLayer::dotRadius(geometry) : 0.0;
}

void MapRenderer::setDots(const RecordsLayer &records)
{
    // Several subordinate taxa may share a square: one dot per place.
    m_dots.clear();
    QSet<QString> seen;
    for (const RecordsLayer::Square &square : records.squares()) {
        if (square.located && !seen.contains(square.squareCode)) {
            seen.insert(square.squareCode);
            m_dots.push_back(square.centre);
        }
    }
}

QPolygonF MapRenderer::dotOutline(double rx, double ry)
{
    // A polygon of n corners on a circle of radius r stays within
    // r (1 - cos(pi / n)) ~ r (pi / n)^2 / 2 of it: 0.1 pixel for n = pi sqrt(5 r).
    const double r = std::max(std::abs(rx), std::abs(ry));
    // A multiple of four puts corners on both axes: the dot is as wide and as
    // tall as its circle and symmetric about its centre.
    const int n = (std::clamp(int(std::ceil(M_PI * std::sqrt(5.0 * r))), 8, 256) + 3) / 4 * 4;
    QPolygonF polygon(n);
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * M_PI * i / n;
        polygon[i] = QPointF(rx * std::cos(a), ry * std::sin(a));
    }
    return polygon;
}

QTransform MapRenderer::worldToTarget(const QRectF &viewRect, const QRectF &target)
{
    return metafile::MetafilePicture::pictureToTarget(viewRect, target);
}

void MapRenderer::render(QPainter &painter, const QRectF &target, const View &view) const
{
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.fillRect(target, Qt::white);
    if (view.viewRect.isEmpty() || view.world.isEmpty()) {
        painter.restore();
        return;
    }
    drawBackground(painter, target, view);
    const QTransform toTarget = worldToTarget(view.viewRect, target);
    painter.setRenderHint(QPainter::Antialiasing, true);

    if (view.grid) {
        QPen pen(gridColour());
        pen.setCosmetic(true);
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (const QPolygonF &line : m_grid.polylines())
            painter.drawPolyline(toTarget.map(line));
    }

    // Dots grow with the zoom: the radius is in world units.
    if (m_dotRadius > 0.0) {
        const double rx = m_dotRadius * toTarget.m11();
        const double ry = m_dotRadius * toTarget.m22();
        const QRectF reach = target.adjusted(-rx - 1, -ry - 1, rx + 1, ry + 1);
        QPen outline(dotOutlineColour());
        outline.setCosmetic(true);
        outline.setWidthF(1.0);
        painter.setPen(outline);
        painter.setBrush(dotColour());
        // Each dot is one polygon that follows its circle to a tenth of a
        // pixel: an ellipse is flattened from curves twice per dot (fill and
        // outline), which costs a map of a thousand dots milliseconds.
        const QPolygonF circle = dotOutline(rx, ry);
        QPolygonF dot(circle.size());
        for (const QPointF &centre : m_dots) {
            const QPointF at = toTarget.map(centre);
            if (!reach.contains(at))
                continue;
            for (qsizetype i = 0; i < circle.size(); ++i)
                dot[i] = circle[i] + at;
            painter.drawPolygon(dot);
        }
    }

    if (view.areaFrame) {
        QPen frame(Qt::black);
        frame.setCosmetic(true);
        frame.setWidthF(1.0);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(target.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void MapRenderer::drawBackground(QPainter &painter, const QRectF &target, const View &view) const
{
    if (m_background.isNull())
        return;
    // The view rectangle as a part of the picture: the picture spans the world.
    const QRectF natural = m_background.naturalRect();
    const double sx = natural.width() / view.world.width();
    const double sy = natural.height() / view.world.height();
    const QRectF source(natural.left() + view.viewRect.left() * sx, natural.top() + view.viewRect.top() * sy,
                        view.viewRect.width() * sx, view.viewRect.height() * sy);
    const QTransform device = painter.deviceTransform();
    const bool raster = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    if (raster && device.type() <= QTransform::TxScale) {
        const QSize pixels = device.mapRect(target).size().toSize();
        const QImage image = m_background.image(pixels, source);
        if (!image.isNull()) {
            painter.drawImage(target, image);
            return;
        }
    }
    m_background.render(&painter, target, source);
}

}  // namespace ortolan::map
