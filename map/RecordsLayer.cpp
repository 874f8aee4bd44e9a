#include "map/RecordsLayer.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "data/Queries.h"

#include <cmath>

namespace ortolan::map {

namespace {

RecordsLayer::Square square(const QString &taxonCode, const QString &squareCode)
{
    RecordsLayer::Square s;
    s.taxonCode = taxonCode;
    s.squareCode = squareCode;
    return s;
}

}  // namespace

void RecordsLayer::load(const QString &taxonCode)
{
    const auto connection = data::Connection::openPrivate();
    load(*connection, taxonCode);
}

void RecordsLayer::load(data::Connection &connection, const QString &taxonCode)
{
    data::Recordset rows = connection.openRecordset(data::queries::mapSquares(taxonCode));
    std::vector<Square> squares;
    squares.reserve(size_t(rows.recordCount()));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        squares.push_back(square(rows.text(QStringLiteral("codice_sp")), rows.text(QStringLiteral("UTM"))));
    m_squares = std::move(squares);
}

void RecordsLayer::setRows(const std::vector<std::pair<QString, QString>> &rows)
{
    m_squares.clear();
    for (const auto &[taxon, code] : rows)
        m_squares.push_back(square(taxon, code));
}

void RecordsLayer::clear() { m_squares.clear(); }

QStringList RecordsLayer::locate(const ZoneGeometry &geometry)
{
    QStringList messages;
    for (Square &square : m_squares) {
        const auto at = geometry.locate(square.squareCode);
        square.located = at.has_value();
        square.centre = at ? at->centre : QPointF();
        square.zone = at ? at->zone : 0;
        if (!at && geometry.isValid())
            messages << settings().messages.MsgDataError + square.squareCode;
    }
    return messages;
}

double RecordsLayer::dotRadius(const ZoneGeometry &geometry) { return geometry.hundredKm() / 20.0 - 0.3; }

QStringList RecordsLayer::dotsAt(QPointF world, double radius, double tolerance) const
{
    QStringList codes;
    const double reach = radius + tolerance;
    for (const Square &square : m_squares) {
        if (!square.located)
            continue;
        const QPointF d = world - square.centre;
        if (std::hypot(d.x(), d.y()) <= reach && !codes.contains(square.squareCode))
            codes << square.squareCode;
    }
    return codes;
}

}  // namespace ortolan::map
