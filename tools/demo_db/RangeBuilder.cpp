#include "tools/demo_db/RangeBuilder.h"

#include "tools/demo_db/Checklist.h"
#include "tools/demo_db/EcologyProfile.h"
#include "tools/demo_db/SquareGrid.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>

namespace ortolan::demo {

namespace {

const std::set<std::string> kWide = {"COS", "SCO", "OLA", "PAL", "WPA", "ASE", "SIE", "CAE", "CEM", "TEM", "TUE", "EUR"};
const std::set<std::string> kRegional = {"CEU", "SEU", "MED", "WME", "EME", "NAF", "ALPAPP", "BAL"};
const std::set<std::string> kIsland = {"SAR", "SIC", "SARCOR"};

// Ports and cities where alien species are found first, with their weight.
struct City {
    double lon, lat, weight;
};
const std::vector<City> kCities = {
    {8.93, 44.41, 3},  {14.27, 40.85, 3}, {12.33, 45.44, 3},   {10.31, 43.55, 2},  {12.50, 41.90, 3},
    {9.19, 45.46, 3},  {13.36, 38.12, 2}, {13.77, 45.65, 2},   {7.68, 45.07, 2},   {11.34, 44.49, 1.5},
    {11.25, 43.77, 1.5}, {16.87, 41.12, 1.5}, {15.09, 37.50, 1.5}, {9.11, 39.22, 1.5}, {9.82, 44.10, 1.5},
    {13.50, 43.60, 1}, {14.77, 40.68, 1}, {17.24, 40.47, 1},   {12.20, 44.42, 1},  {10.99, 45.44, 1},
    {11.88, 45.41, 1}, {9.50, 40.92, 0.8}, {15.55, 38.19, 0.8}, {11.80, 42.09, 0.8},
};

// Tyrrhenian side of the peninsula: west of the Apennine watershed, given as
// (latitude, longitude) points from Liguria to Calabria.
bool tyrrhenian(const Square &s)
{
    static const double crest[][2] = {{44.6, 9.0},  {44.2, 10.3}, {43.5, 11.8}, {42.8, 13.1}, {42.0, 13.8},
                                      {41.5, 14.2}, {40.8, 15.2}, {40.3, 15.9}, {39.5, 16.1}, {38.5, 16.3}};
    if (s.lat >= crest[0][0])
        return s.lon < crest[0][1];
    for (int i = 1; i < 10; ++i)
        if (s.lat >= crest[i][0]) {
            const double t = (crest[i - 1][0] - s.lat) / (crest[i - 1][0] - crest[i][0]);
            return s.lon < crest[i - 1][1] + t * (crest[i][1] - crest[i - 1][1]);
        }
    return s.lon < crest[9][1];
}

// Quantiles of range sizes relative to the median: most taxa are known from a
// handful of squares, a few from very many.
double sizeFactor(double u)
{
    static const double at[] = {0, 0.1, 0.25, 0.5, 0.75, 0.9, 0.97, 1.0};
    static const double factor[] = {0.15, 0.3, 0.55, 1, 1.9, 3.5, 7, 12};
    for (int i = 1; i < 8; ++i)
        if (u <= at[i])
            return factor[i - 1] + (factor[i] - factor[i - 1]) * (u - at[i - 1]) / (at[i] - at[i - 1]);
    return factor[7];
}

}  // namespace

RangeBuilder::RangeBuilder(const SquareGrid &grid, std::uint64_t seed)
    : m_grid(grid), m_arrival(grid.squares().size()), m_effort(grid.squares().size())
{
    // Survey effort: naturalists have worked most around the cities with
    // museums and universities, and some areas better than others; the same
    // squares are well known for every group, as in a real atlas.
    for (std::size_t i = 0; i < m_effort.size(); ++i) {
        const Square &s = grid.squares()[i];
        double nearest = 1e9;
        for (const City &city : kCities) {
            const double dx = (s.lon - city.lon) * 0.75 * 111, dy = (s.lat - city.lat) * 111;  // km
            nearest = std::min(nearest, dx * dx + dy * dy);
        }
        DemoRandom rng = DemoRandom::stream(seed, s.code, 13);
        m_effort[i] = (0.55 + 0.9 / (1 + nearest / (35.0 * 35.0))) * rng.hump(0.6, 1.5);
    }
    // Scaled to a mean of 1, so that the effort moves records around without
    // changing how many there are.
    double sum = 0;
    for (double e : m_effort)
        sum += e;
    for (double &e : m_effort)
        e *= double(m_effort.size()) / sum;
}

double RangeBuilder::chorotypeWeight(const std::string &c, int index) const
{
    const Square &s = m_grid.squares()[std::size_t(index)];
    const bool island = s.sardinia || s.sicily;
    const double lowland = 1.0 / (1.0 + s.elevation / 800.0);
    if (c == "SAR" || c == "SARCOR")
        return s.sardinia ? 1 : 0;
    if (c == "SIC")
        return s.sicily ? 1 : 0;
    if (c == "NAF")
        return s.sicily ? 1 : s.sardinia ? 0.6 : (s.lat < 38.6 && !island) ? 0.3 : 0;
    if (c == "ALP")
        return s.alpine ? 1 : 0;
    if (c == "BAL")
        return s.alpine ? (s.elevation >= 1300 ? 1 : 0.15) : 0;
    if (c == "APP")
        return s.apennine ? 1 : 0;
    if (c == "ALPAPP")
        return s.alpine || s.apennine ? 1 : 0;
    if (c == "END")
        return island ? 0.15 : s.plain || s.alpine ? 0 : s.lat < 44 ? 1 : 0.3;
    if (c == "MED" || c == "WME" || c == "EME") {
        double w = island ? 1 : s.alpine ? 0 : s.plain ? 0.02 : s.coastSteps <= 2 ? 1 : s.lat < 41.5 ? 0.7
                 : s.lat < 43.5 ? 0.25 : 0.05;
        if (c == "WME")
            w *= (s.sardinia || (s.sicily && s.lon < 14) || (!island && tyrrhenian(s))) ? 1 : 0.03;
        if (c == "EME") {
            const bool karst = s.lon > 13.4 && s.lat > 45.5 && s.lat < 45.85;
            w = karst ? 1 : w * ((!s.sardinia && !island && !tyrrhenian(s)) || (s.sicily && s.lon > 14.5) ? 1 : 0.02);
        }
        return w;
    }
    if (c == "SEU")
        return s.alpine ? 0.2 : island ? 0.8 : s.lat < 42 ? 1 : s.lat < 44 ? 0.8 : 0.4;
    if (c == "CEU")
        return s.alpine ? 1 : island ? 0.02 : s.lat > 44 ? 0.8 : s.apennine ? 0.6 : 0.1;
    if (c == "COS" || c == "SCO")
        return lowland;
    if (c == "OLA" || c == "SIE")
        return s.alpine ? 1 : s.apennine ? 0.7 : island ? 0.2 : s.plain ? 0.6 : 0.35;
    if (c == "TEM" || c == "CEM")
        return s.alpine ? 0.2 : island ? 0.8 : s.lat < 44 ? 1 : 0.7;
    if (c == "ADV")
        return 1.0 / (1.0 + s.elevation / 300.0);
    // Palaearctic, European and the other wide chorotypes.
    return island ? 0.5 : s.elevation > 1800 ? 0.3 : 0.9;
}

const std::vector<double> &RangeBuilder::suitability(const TaxonRow &taxon, const EcologyProfile &profile)
{
    // Habitats that confine a taxon: dunes to the coast, alpine grassland to
    // high ground, maquis to the warm south, caves to hills and mountains.
    const std::string habitat = taxon.adultHabitat3.value_or(taxon.larvaHabitat1.value_or(""));
    std::string key = taxon.rangeChorotype + "|" + habitat + (profile.subterranean ? "|cave" : "");
    const auto it = m_cache.find(key);
    if (it != m_cache.end())
        return it->second;
    std::vector<double> weights(m_grid.squares().size());
    double total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const Square &s = m_grid.squares()[i];
        double w = chorotypeWeight(taxon.rangeChorotype, int(i));
        if (habitat == "DU")
            w *= s.coastal ? 3 : s.coastSteps <= 1 ? 0.5 : 0.05;
        else if (habitat == "PL")
            w *= s.elevation >= 1400 ? 1.5 : 0.05;
        else if (habitat == "MA" || habitat == "GA")
            w *= (s.lat < 44.5 || s.coastal) ? (s.coastSteps <= 4 ? 2 : 1) : 0.1;
        else if (habitat == "BC")
            w *= s.alpine ? 2 : s.plain ? 0.2 : 1;
        if (profile.subterranean)
            w *= s.plain ? 0.03 : s.elevation >= 200 ? 1.5 : 0.6;
        weights[i] = w;
        total += w;
    }
    if (total <= 0) {
        // The habitat rules out every square of the chorotype: fall back to the chorotype alone.
        for (std::size_t i = 0; i < weights.size(); ++i)
            weights[i] = chorotypeWeight(taxon.rangeChorotype, int(i));
    }
    return m_cache.emplace(key, std::move(weights)).first->second;
}

double RangeBuilder::typicalSize(const TaxonRow &taxon, const EcologyProfile &profile, DemoRandom &rng)
{
    const std::string &c = taxon.rangeChorotype;
    const double median = c == "ADV" ? 3.5 : kWide.count(c) ? 11.5 : kRegional.count(c) ? 7 : kIsland.count(c) ? 3.5 : 4.5;
    double size = median * profile.rangeFactor * sizeFactor(rng.real());
    if (taxon.kind == TaxonKind::Subspecies)
        size *= 0.6;
    if (taxon.conservation && (*taxon.conservation == "EX" || *taxon.conservation == "EW" || *taxon.conservation == "XI"))
        size = std::min(size, 4.0);
    return std::max(1.0, size);
}

std::vector<int> RangeBuilder::citySeeds(DemoRandom &rng, int count) const
{
    std::vector<double> weights;
    for (const City &city : kCities)
        weights.push_back(city.weight);
    std::vector<int> seeds;
    for (int i = 0; i < count; ++i) {
        const City &city = kCities[rng.weighted(weights)];
        seeds.push_back(m_grid.nearest(city.lon, city.lat));
    }
    return seeds;
}

std::vector<int> RangeBuilder::build(const TaxonRow &taxon, const EcologyProfile &profile, double target,
                                     DemoRandom &rng)
{
    const std::vector<double> &weights = suitability(taxon, profile);
    std::size_t usable = 0;
    for (double w : weights)
        usable += w > 0 ? 1 : 0;
    if (usable == 0)
        return {};
    const bool alien = taxon.alien || taxon.rangeChorotype == "ADV";
    const std::string &c = taxon.rangeChorotype;
    // Share of the potential range that is actually recorded.
    const double density = alien ? 0.7 : kWide.count(c) ? 0.45 : kRegional.count(c) ? 0.55 : 0.7;
    target = std::min(target, 0.85 * double(usable));
    const std::size_t potential = std::min(usable, std::size_t(target / density + 0.5) + 1);

    std::vector<int> seeds;
    const int seedCount = 1 + std::min(5, int(target / 80));
    if (alien) {
        seeds = citySeeds(rng, seedCount);
    } else {
        for (int i = 0; i < seedCount; ++i)
            seeds.push_back(int(rng.weighted(weights)));
    }

    // Diffusion: the first-passage times of a random spread through
    // neighbouring squares; a square's crossing time is shorter where it suits
    // the taxon better. The `potential` earliest squares form the range.
    std::fill(m_arrival.begin(), m_arrival.end(), -1.0);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (std::size_t i = 0; i < seeds.size(); ++i)
        queue.push({double(i) * 0.5, seeds[i]});
    std::vector<int> reached;
    while (!queue.empty() && reached.size() < potential) {
        const auto [time, square] = queue.top();
        queue.pop();
        if (m_arrival[std::size_t(square)] >= 0)
            continue;
        m_arrival[std::size_t(square)] = time;
        reached.push_back(square);
        for (int next : m_grid.squares()[std::size_t(square)].neighbours) {
            const double w = alien ? std::max(weights[std::size_t(next)], 0.05) : weights[std::size_t(next)];
            if (w <= 0 || m_arrival[std::size_t(next)] >= 0)
                continue;
            queue.push({time + (0.3 + rng.real()) / w, next});
        }
    }
    // Thinning: an atlas knows only part of the squares where a taxon lives.
    std::vector<int> occupied;
    for (std::size_t i = 0; i < reached.size(); ++i)
        if (i < seeds.size() || rng.chance(density * m_effort[std::size_t(reached[i])]))
            occupied.push_back(reached[i]);
    std::sort(occupied.begin(), occupied.end());
    occupied.erase(std::unique(occupied.begin(), occupied.end()), occupied.end());
    return occupied;
}

}  // namespace ortolan::demo
