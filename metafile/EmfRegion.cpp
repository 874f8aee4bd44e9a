#include "metafile/EmfRegion.h"

#include <QPainterPath>

namespace ortolan::metafile {

EmfRegion::EmfRegion(const QRegion &deviceRegion) : m_region(deviceRegion) {}

EmfRegion EmfRegion::rectangle(const QRect &device)
{
    return EmfRegion(QRegion(device.normalized()));
}

EmfRegion EmfRegion::ellipse(const QRect &device)
{
    return EmfRegion(QRegion(device.normalized(), QRegion::Ellipse));
}

EmfRegion EmfRegion::roundRect(const QRect &device, const QSize &corner)
{
    QPainterPath path;
    const QRectF r(device.normalized());
    path.addRoundedRect(r, std::abs(corner.width()) / 2.0, std::abs(corner.height()) / 2.0);
    return EmfRegion(QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill));
}

EmfRegion EmfRegion::polygon(const QPolygon &device, PolyFillMode mode)
{
    return EmfRegion(QRegion(device, mode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill));
}

QList<QRect> EmfRegion::rects() const
{
    QList<QRect> out;
    for (const QRect &r : m_region)
        out.append(r);
    return out;
}

}  // namespace ortolan::metafile
