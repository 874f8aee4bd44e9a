#pragma once

#include "tools/demo_db/DemoRandom.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ortolan::demo {

class SquareGrid;
struct EcologyProfile;
struct TaxonRow;

// Distributions over the real UTM squares: a range grows from one or more
// seed squares by diffusion through neighbouring squares, favouring the
// squares that suit the taxon's chorotype and habitat (Sardinian taxa only in
// Sardinia, Alpine ones in the Alpine band, aliens around ports and cities),
// and is then thinned to the density of a real, unevenly sampled atlas.
class RangeBuilder
{
public:
    RangeBuilder(const SquareGrid &grid, std::uint64_t seed);

    // Number of occupied squares to aim at for a taxon of this chorotype and group.
    static double typicalSize(const TaxonRow &taxon, const EcologyProfile &profile, DemoRandom &rng);
    // The occupied squares (indices into the grid, ascending).
    std::vector<int> build(const TaxonRow &taxon, const EcologyProfile &profile, double target, DemoRandom &rng);
    // How well a square suits a chorotype, 0 (never) to about 1.
    double chorotypeWeight(const std::string &chorotype, int square) const;

private:
    const std::vector<double> &suitability(const TaxonRow &taxon, const EcologyProfile &profile);
    std::vector<int> citySeeds(DemoRandom &rng, int count) const;

    const SquareGrid &m_grid;
    std::map<std::string, std::vector<double>> m_cache;
    std::vector<double> m_arrival;  // diffusion times, reused between calls
    std::vector<double> m_effort;   // how thoroughly each square has been surveyed, about 0.4 to 2
};

}  // namespace ortolan::demo
