#include "metafile/Mapping.h"

#include <cmath>

namespace ortolan::metafile {

QTransform Mapping::transform(double pxPerMmX, double pxPerMmY, const QRectF *fixedViewport) const
{
    double sx = 1, sy = 1;
    QPointF origin = vpOrg;
    if (fixedViewport) {
        sx = fixedViewport->width() / winExt.width();
        sy = fixedViewport->height() / winExt.height();
        origin = fixedViewport->topLeft();
    } else {
        // Millimetres per logical unit of the fixed modes (all with y upwards).
        double mm = 0;
        switch (mapMode) {
        case MapMode::Text:
            break;
        case MapMode::LoMetric:
            mm = 0.1;
            break;
        case MapMode::HiMetric:
            mm = 0.01;
            break;
        case MapMode::LoEnglish:
            mm = 0.254;
            break;
        case MapMode::HiEnglish:
            mm = 0.0254;
            break;
        case MapMode::Twips:
            mm = 25.4 / 1440;
            break;
        case MapMode::Isotropic:
        case MapMode::Anisotropic:
            sx = vpExt.width() / winExt.width();
            sy = vpExt.height() / winExt.height();
            if (mapMode == MapMode::Isotropic) {
                const double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx);
                sy = std::copysign(m, sy);
            }
            break;
        }
        if (mm > 0) {
            sx = pxPerMmX * mm;
            sy = -pxPerMmY * mm;
        }
    }
    const QTransform page(sx, 0, 0, sy, origin.x() - winOrg.x() * sx, origin.y() - winOrg.y() * sy);
    return world * page;
}

}  // namespace ortolan::metafile
