#include "map/RecordsLayer.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
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
    const data::Recordset rows = connection.openRecordset(data::queries::mapSquares(taxonCode));
    // The fields by position, looked up once: a taxon may have thousands of rows.
    const int taxonField = rows.fieldIndex(QStringLiteral("codice_sp"));
    const int squareField = rows.fieldIndex(QStringLiteral("UTM"));
    if (taxonField < 0 || squareField < 0)
        throw data::DataError(QStringLiteral("Item not found in this collection: codice_sp, UTM"));
    std::vector<Square> squares;
    squares.reserve(rows.rows().size());
    for (const std::vector<QVariant> &row : rows.rows())
        squares.push_back(square(row[size_t(taxonField)].toString(), row[size_t(squareField)].toString()));
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
