#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace ortolan::demo {

// Pseudo-random source of the demo database generator. The engine is
// std::mt19937, whose output sequence the C++ standard fixes; every
// distribution is computed here with integer arithmetic and basic IEEE
// operations only, because the std:: distributions differ between standard
// library versions and the database must come out byte-identical everywhere.
class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed);

    // An independent stream for a named part of the data (a taxon code, a square
    // code): the same base seed and key give the same stream whatever else is
    // generated before it.
    static DemoRandom stream(std::uint64_t baseSeed, std::string_view key, std::uint64_t salt = 0);

    std::uint32_t next();
    // Uniform integer in [lo, hi] (rejection sampling, no modulo bias).
    int between(int lo, int hi);
    // Uniform index in [0, n); n must be positive.
    std::size_t index(std::size_t n);
    // Uniform real in [0, 1) with 53 random bits.
    double real();
    double real(double lo, double hi) { return lo + (hi - lo) * real(); }
    bool chance(double p) { return real() < p; }
    // Index drawn with probability proportional to weights[i] (all >= 0, sum > 0).
    std::size_t weighted(const std::vector<double> &weights);
    // Number of failures before the first success when each trial succeeds with
    // probability 1 / (1 + mean): a geometric count whose mean is `mean`.
    int geometric(double mean);
    // Roughly bell-shaped value in [lo, hi]: the mean of three uniform draws.
    double hump(double lo, double hi);

    template <typename T>
    const T &pick(const std::vector<T> &items) { return items[index(items.size())]; }

private:
    std::mt19937 m_engine;
};

// 64-bit FNV-1a hash of a text, used to derive stream seeds from codes.
std::uint64_t hashText(std::string_view text);

}  // namespace ortolan::demo
