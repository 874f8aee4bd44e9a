#pragma once

#include "tools/demo_db/NameGenerator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ortolan::demo {

// A UTM 10-km square of Italy with what the record generator derives from it.
struct Square {
    std::string code;           // four characters: column letter, row letter, easting digit, northing digit
    int zone = 32;
    double east = 0, north = 0; // centre in UTM zone-32 coordinates, metres
    double lon = 0, lat = 0;    // centre, degrees
    std::string region, province;
    double landShare = 1;       // share of the square that is Italian land

    // Derived.
    bool coastal = false;       // on the sea coast
    int coastSteps = 0;         // squares to the nearest coastal square
    bool alpine = false, apennine = false, sardinia = false, sicily = false, plain = false;
    int elevation = 0;          // typical elevation of the square's sites, metres
    PlaceStyle style = PlaceStyle::Centre;
    std::vector<int> neighbours;  // squares whose centres lie within 15 km
};

// The real UTM squares of Italy read from the square table of the map
// generator (assets/squares/squares.csv), with neighbours and rough natural
// regions (Alps, Apennines, islands, plains, coasts) for the ranges.
class SquareGrid
{
public:
    // Reads "UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share";
    // throws std::runtime_error on a missing file or a malformed line.
    static SquareGrid load(const std::string &csvPath, std::uint64_t seed);

    const std::vector<Square> &squares() const { return m_squares; }
    // Index of the square nearest to a point (degrees).
    int nearest(double lon, double lat) const;
    bool contains(const std::string &code) const;

private:
    void linkNeighbours();
    void classify(std::uint64_t seed);

    std::vector<Square> m_squares;
};

}  // namespace ortolan::demo
