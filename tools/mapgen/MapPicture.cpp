#include "tools/mapgen/MapPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace ortolan::mapgen {

void MapPicture::fill(const QColor &colour, const std::vector<PointList> &rings, WmfWriter::FillMode mode, bool together)
{
    Step step;
    step.isFill = true;
    step.colour = colour;
    step.mode = mode;
    step.together = together;
    for (const PointList &ring : rings)
        if (ring.size() >= 3)
            step.parts.push_back(ring);
    if (!step.parts.empty())
        m_steps.push_back(std::move(step));
}

void MapPicture::stroke(const QColor &colour, int width, const std::vector<PointList> &lines)
{
    Step step;
    step.isFill = false;
    step.colour = colour;
    step.penWidth = width;
    for (const PointList &line : lines)
        if (line.size() >= 2)
            step.parts.push_back(line);
    if (!step.parts.empty())
        m_steps.push_back(std::move(step));
}

QByteArray MapPicture::toWmf(int unitsPerInch) const
{
    WmfWriter wmf(m_width, m_height, unitsPerInch);
    // Kept selected between steps, so that a step's own pen or brush can be
    // deselected before it is deleted.
    const int nullPen = wmf.createNullPen();
    const int nullBrush = wmf.createNullBrush();
    wmf.selectObject(nullPen);
    wmf.selectObject(nullBrush);
    WmfWriter::FillMode currentMode = WmfWriter::Alternate;
    wmf.setPolyFillMode(currentMode);
    for (const Step &step : m_steps) {
        if (step.isFill) {
            const int brush = wmf.createBrush(step.colour);
            wmf.selectObject(brush);
            if (step.mode != currentMode) {
                currentMode = step.mode;
                wmf.setPolyFillMode(currentMode);
            }
            if (step.together) {
                wmf.polyPolygon(step.parts);
            } else {
                for (const PointList &ring : step.parts)
                    wmf.polygon(ring);
            }
            wmf.selectObject(nullBrush);
            wmf.deleteObject(brush);
        } else {
            const int pen = wmf.createPen(step.colour, step.penWidth);
            wmf.selectObject(pen);
            for (const PointList &line : step.parts)
                wmf.polyline(line);
            wmf.selectObject(nullPen);
            wmf.deleteObject(pen);
        }
    }
    return wmf.finish();
}

QImage MapPicture::render(const QSize &size, const QRectF &source) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / source.width(), size.height() / source.height());
    painter.translate(-source.topLeft());
    painter.setClipRect(QRectF(0, 0, m_width, m_height));
    for (const Step &step : m_steps) {
        if (step.isFill) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(step.colour);
            const Qt::FillRule rule = step.mode == WmfWriter::Winding ? Qt::WindingFill : Qt::OddEvenFill;
            if (step.together) {
                QPainterPath path;
                path.setFillRule(rule);
                for (const PointList &ring : step.parts)
                    path.addPolygon(QPolygonF(QPolygon(QList<QPoint>(ring.begin(), ring.end()))));
                painter.drawPath(path);
            } else {
                for (const PointList &ring : step.parts)
                    painter.drawPolygon(ring.data(), int(ring.size()), rule);
            }
        } else {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(step.colour, step.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            for (const PointList &line : step.parts)
                painter.drawPolyline(line.data(), int(line.size()));
        }
    }
    return image;
}

qsizetype MapPicture::pointCount() const
{
    qsizetype n = 0;
    for (const Step &step : m_steps)
        for (const PointList &part : step.parts)
            n += qsizetype(part.size());
    return n;
}

}  // namespace ortolan::mapgen
