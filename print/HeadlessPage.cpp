#include "print/HeadlessPage.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "map/BackgroundMaps.h"
#include "map/BackgroundPicture.h"
#include "map/RecordsLayer.h"
#include "print/MapPage.h"
#include "print/OTprint.h"

namespace ortolan::print {

HeadlessPageResult writeTaxonPage(const HeadlessPageRequest &request)
{
    HeadlessPageResult result;
    const QString mode = request.blackWhite ? QStringLiteral("BW") : QStringLiteral("Colori");
    const map::BackgroundPicture picture = map::BackgroundPicture::load(map::backgrounds::path(request.backgroundName));
    if (picture.isNull()) {
        result.messages << settings().messages.MsgMissingFile + request.backgroundName;
        return result;
    }
    // The world has the picture's proportions, as the map fitted into its frame.
    const QRectF natural = picture.naturalRect();
    const map::ZoneGeometry geometry(1100.0, 1100.0 * natural.height() / natural.width());
    if (!geometry.isValid()) {
        result.messages << QStringLiteral("the background picture has no extent: ") + request.backgroundName;
        return result;
    }

    map::RecordsLayer records;
    try {
        records.load(request.taxonCode);
    } catch (const data::DataError &error) {
        result.messages << settings().messages.MsgDataError + error.description();
        return result;
    }
    result.messages << records.locate(geometry);

    MapPageInput input;
    input.setMap(QSizeF(geometry.width(), geometry.height()), geometry, records);
    input.backgroundPath = map::backgrounds::printPath(request.backgroundName, mode);
    input.blackWhite = request.blackWhite;
    input.grid = request.grid;
    input.caption = request.caption;
    input.forPrint = request.forPrint;
    input.target = request.target;

    OTprint engine;
    engine.setMessageHandler([&result](const OTprint::Message &m) { result.messages << m.text; });
    if (const OTprintResult written = MapPage::writeMapPage(input, engine); !written) {
        result.messages << written.text();
        return result;
    }
    for (const QPointF &c : input.squareCentres)
        result.squaresOnPage += c.y() != 0.0;
    result.ok = true;
    return result;
}

}  // namespace ortolan::print
