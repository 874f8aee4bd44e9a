#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace ortolan::map {

// A UTM 10-km square code of the atlas: the 100-km column letter, the 100-km
// row letter, the easting digit and the northing digit (for example "UG12").
// The letters are those of the MGRS 100-km squares without zone and band; the
// column letter also tells the zone (32, 33 or 34), since the three zones use
// different column letters over Italy.
//
// Indices count hundreds of km from each zone's reference point: column 0 is
// easting 500 km in zones 32 and 33 and 200 km in zone 34; row 0 is northing
// 4000 km in every zone.
class SquareCode {
public:
    // Reads a four-character code with upper-case letters. A letter missing
    // from the zone tables, a digit that is not 0..9 or a wrong length gives
    // no value (a bad code); lower-case letters are bad codes too.
    static std::optional<SquareCode> parse(QStringView text);

    // The code of the square holding a UTM position (easting and northing in
    // km) of the given zone, as the cursor read-out builds it: column and row
    // letters by hundreds of km (positions beyond the tables take the outermost
    // letter of their side, e.g. "K" west of 300 km in zone 32), digits by the
    // tens of km. The result may hold letters the locator does not know.
    static QString fromUtm(int zone, double eastingKm, double northingKm);

    // The MGRS 100-km letters of a square by its zone and its easting and
    // northing in whole hundreds of km (e.g. 5 and 45 for 500 km E, 4500 km N).
    static QString mgrsLetters(int zone, int easting100km, int northing100km);

    // The code of the same place in the other zone where zones 32 and 33
    // overlap on the map: column "T" becomes "Q" and "Q" becomes "T", the row
    // letter keeps its index in the other zone's row table, the easting digit d
    // becomes 9 - d (the squares mirror about the central meridians, 500 km
    // from each) and the northing digit stays. Empty for any other code.
    static QString overlapAlternative(QStringView code);

    int zone() const { return m_zone; }
    int columnIndex() const { return m_column; }
    int rowIndex() const { return m_row; }
    int eastingDigit() const { return m_eastDigit; }
    int northingDigit() const { return m_northDigit; }

    // Reference easting of the zone in km (500 in zones 32 and 33, 200 in 34).
    static double referenceEastingKm(int zone);
    // Reference northing in km, the same for all zones.
    static constexpr double referenceNorthingKm = 4000.0;

    // Offset of the square's centre from the zone's reference point, in
    // hundreds of km.
    double eastingOffset() const { return m_column + (m_eastDigit + 0.5) / 10.0; }
    double northingOffset() const { return m_row + (m_northDigit + 0.5) / 10.0; }

    // UTM position of the square's south-west corner, in metres.
    double westEastingMetres() const;
    double southNorthingMetres() const;

    QString text() const;

private:
    int m_zone = 0;
    int m_column = 0;
    int m_row = 0;
    int m_eastDigit = 0;
    int m_northDigit = 0;
};

}  // namespace ortolan::map
