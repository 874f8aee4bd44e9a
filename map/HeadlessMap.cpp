#include "map/HeadlessMap.h"

#include "app/Settings.h"
#include "map/BackgroundMaps.h"
#include "map/MapRenderer.h"
#include "map/RecordsLayer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ortolan::map {

HeadlessMap drawTaxonMap(const QString &taxonCode, int width, bool grid, const QString &backgroundName)
{
    HeadlessMap result;
    const BackgroundPicture picture = BackgroundPicture::load(backgrounds::path(backgroundName));
    if (picture.isNull()) {
        result.messages << settings().messages.MsgMissingFile + backgroundName;
        return result;
    }
    const QRectF natural = picture.naturalRect();
    const QSize size(width, std::max(1, int(std::lround(width * natural.height() / natural.width()))));
    const ZoneGeometry geometry(size.width(), size.height());

    RecordsLayer records;
    records.load(taxonCode);
    result.messages << records.locate(geometry);
    result.recordRows = records.count();

    MapRenderer renderer;
    renderer.setBackground(picture);
    renderer.setGeometry(geometry);
    renderer.setDots(records);
    result.squaresDrawn = int(renderer.dots().size());

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        result.messages << QStringLiteral("no memory for an image of %1 x %2 pixels").arg(size.width()).arg(size.height());
        return result;
    }
    {
        QPainter painter(&image);
        MapRenderer::View view;
        view.world = QSizeF(size);
        view.viewRect = QRectF(QPointF(0, 0), QSizeF(size));
        view.grid = grid;
        renderer.render(painter, view.viewRect, view);
    }
    result.image = image;
    return result;
}

}  // namespace ortolan::map
