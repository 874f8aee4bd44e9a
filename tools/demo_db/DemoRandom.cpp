#include "tools/demo_db/DemoRandom.h"

namespace ortolan::demo {

namespace {

// SplitMix64 finaliser: spreads the bits of a seed so that nearby keys give
// unrelated streams.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

}  // namespace

std::uint64_t hashText(std::string_view text)
{
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (unsigned char c : text) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

DemoRandom::DemoRandom(std::uint64_t seed)
{
    // Seed the full engine state from a seed sequence built from both halves:
    // std::seed_seq's algorithm is fixed by the standard.
    std::seed_seq sequence{std::uint32_t(seed & 0xffffffffu), std::uint32_t(seed >> 32)};
    m_engine.seed(sequence);
}

DemoRandom DemoRandom::stream(std::uint64_t baseSeed, std::string_view key, std::uint64_t salt)
{
    return DemoRandom(mix(mix(baseSeed) ^ hashText(key) ^ mix(salt + 0x51ed27ULL)));
}

std::uint32_t DemoRandom::next() { return std::uint32_t(m_engine()); }

std::size_t DemoRandom::index(std::size_t n)
{
    const std::uint32_t range = std::uint32_t(n);
    // Largest multiple of range that fits in 2^32; draws at or above it are retried.
    const std::uint64_t limit = (std::uint64_t(1) << 32) - ((std::uint64_t(1) << 32) % range);
    for (;;) {
        const std::uint32_t v = next();
        if (v < limit)
            return std::size_t(v % range);
    }
}

int DemoRandom::between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return lo + int(index(std::size_t(hi - lo) + 1));
}

double DemoRandom::real()
{
    const std::uint64_t a = next() >> 5;  // 27 bits
    const std::uint64_t b = next() >> 6;  // 26 bits
    return double((a << 26) | b) * (1.0 / 9007199254740992.0);
}

std::size_t DemoRandom::weighted(const std::vector<double> &weights)
{
    double total = 0;
    for (double w : weights)
        total += w;
    double r = real() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] <= 0)
            continue;
        if (r < weights[i])
            return i;
        r -= weights[i];
    }
    // Rounding left r at the very top: the last positive weight.
    for (std::size_t i = weights.size(); i-- > 0;)
        if (weights[i] > 0)
            return i;
    return 0;
}

int DemoRandom::geometric(double mean)
{
    const double stop = 1.0 / (1.0 + mean);
    int count = 0;
    while (count < 1000 && !chance(stop))
        ++count;
    return count;
}

double DemoRandom::hump(double lo, double hi)
{
    return lo + (hi - lo) * (real() + real() + real()) / 3.0;
}

}  // namespace ortolan::demo
