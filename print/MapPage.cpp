#include "print/MapPage.h"

#include "map/GridLines.h"
#include "map/RecordsLayer.h"

#include "app/Settings.h"
#include "print/OTprint.h"
#include "print/OTprintNumbers.h"

namespace ortolan::print {

void MapPageInput::setMap(QSizeF worldSize, const map::ZoneGeometry &geometry, const map::RecordsLayer &records)
{
    world = worldSize;
    hundredKm = geometry.hundredKm();
    gridLines = map::GridLines(geometry).polylines();
    squareCentres.clear();
    for (const map::RecordsLayer::Square &square : records.squares())
        squareCentres.push_back(square.centre);
}

}  // namespace ortolan::print

namespace ortolan::print::MapPage {

namespace {

// A world point on the page: origin + (kx x, ky y), rounded to whole tenths
// of a millimetre; nothing when it does not fit the engine's integers.
struct PageScale {
    QPoint origin;
    double kx = 0.0;
    double ky = 0.0;

    std::optional<QPoint> map(QPointF world) const
    {
        const auto x = OTprintNumbers::toInt32(origin.x() + kx * world.x());
        const auto y = OTprintNumbers::toInt32(origin.y() + ky * world.y());
        if (!x || !y)
            return std::nullopt;
        return QPoint(*x, *y);
    }
};

OTprintResult overflow(const QString &what)
{
    return OTprintResult(OTprintResult::Code::Overflow, QStringLiteral("map page point out of range"), what);
}

}  // namespace

QString printPagePath() { return settings().UserFolder + QStringLiteral("ItaliaST.emf"); }

int dotRadius(const MapPageInput &input)
{
    const double kx = MapWidth / input.world.width();
    return int(OTprintNumbers::roundHalfEven(kx * input.hundredKm / 20.0 - 0.3));
}

OTprintResult writeMapPage(const MapPageInput &input, OTprint &engine)
{
    if (!(input.world.width() > 0.0) || !(input.world.height() > 0.0))
        return OTprintResult(OTprintResult::Code::DivisionByZero, QStringLiteral("the map has no extent"));
    const QSize frame = input.forPrint ? PrintFrame : ExportFrame;
    const PageScale scale{input.forPrint ? PrintOrigin : ExportOrigin, MapWidth / input.world.width(),
                          MapHeight / input.world.height()};
    const QPoint origin = scale.origin;

    if (OTprintResult r = engine.OpenMeta(input.target, 0, 0, frame.width(), frame.height());
        !r)
        return r;
    // The background files measure the map's 110 x 146 mm, so they go in at scale 1.
    if (OTprintResult r = engine.Wmf(input.backgroundPath, origin.x(), origin.y(), 1); !r)
        return r;

    if (input.grid) {
        engine.setLineColor(GridColour);
        for (const QPolygonF &line : input.gridLines) {
            for (qsizetype i = 1; i < line.size(); ++i) {
                const auto a = scale.map(line[i - 1]);
                const auto b = scale.map(line[i]);
                if (!a || !b)
                    return overflow(QStringLiteral("grid line"));
                engine.L_Line(a->x(), a->y(), b->x(), b->y(), 0, 0, 0);
            }
        }
    }

    engine.setLineColor(Black);
    engine.setFillColor(input.blackWhite ? Black : Red);
    engine.L_Rectangle(origin.x(), origin.y(), origin.x() + MapWidth, origin.y() + MapHeight, 0, FramePen, Black, 0);

    const int radius = dotRadius(input);
    for (const QPointF &centre : input.squareCentres) {
        if (centre.y() == 0.0)
            continue;
        const auto p = scale.map(centre);
        if (!p)
            return overflow(QStringLiteral("square centre"));
        if (OTprintResult r = engine.LF_Circle(p->x(), p->y(), radius, 0, 0, 0, 0); !r)
            return r;
    }

    if (OTprintResult r = engine.SetText(input.caption, origin.x(), origin.y() + MapHeight + TitleGap, 0, 10,
                                         QStringLiteral("Arial"), 0);
        !r)
        return r;
    return engine.CloseMeta();
}

}  // namespace ortolan::print::MapPage
