#pragma once

#include "map/ZoneGeometry.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <vector>

namespace ortolan::data {
class Connection;
}

namespace ortolan::map {

// The species records on the map (CaricaPunti, Cerchio, MappaPunti): the
// distinct UTM squares of a taxon and of every taxon whose code begins with
// its code, each located on the map as a dot at the square's centre.
//
// The square table lives from one load to the next and survives zooming and
// scrolling: redraws read it from memory and never touch the database. Its
// world positions belong to the zone geometry they were located on, so every
// refit of the map locates the squares again.
class RecordsLayer {
public:
    // One row of the query: a taxon code and a square code, with the square's
    // centre in world units once located.
    struct Square {
        QString taxonCode;
        QString squareCode;
        QPointF centre;
        int zone = 0;
        bool located = false;
    };

    // Reads the squares of taxonCode from the species database (the private
    // workspace of the species window). Throws data::DataError when the
    // database cannot be opened or read.
    void load(const QString &taxonCode);
    void load(data::Connection &connection, const QString &taxonCode);
    // Replaces the rows (taxon code, square code) without a database.
    void setRows(const std::vector<std::pair<QString, QString>> &rows);
    void clear();

    // Locates every row on a geometry (Cerchio for each row). A code with a
    // letter missing from the locator's tables leaves its row without a dot and
    // adds one message per bad row: the catalogue's data-error text followed by
    // the code as stored. Returns the messages.
    QStringList locate(const ZoneGeometry &geometry);

    // The square count N of the last load.
    int count() const { return int(m_squares.size()); }
    const std::vector<Square> &squares() const { return m_squares; }

    // Dot radius in world units: half a square side less 0.3 (S / 20 - 0.3).
    static double dotRadius(const ZoneGeometry &geometry);
    // The square codes of the located dots that cover a world point, allowing
    // `tolerance` world units around each dot for its outline.
    QStringList dotsAt(QPointF world, double radius, double tolerance = 0.0) const;

private:
    std::vector<Square> m_squares;
};

}  // namespace ortolan::map
