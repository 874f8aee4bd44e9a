#include "tools/demo_db/SquareGrid.h"

#include "tools/demo_db/DemoRandom.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace ortolan::demo {

namespace {

std::vector<std::string> splitCsv(const std::string &line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else if (c == '"')
                quoted = false;
            else
                fields.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

double number(const std::string &text, const std::string &where)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw std::runtime_error("not a number: \"" + text + "\" in " + where);
    return value;
}

std::string lowerAscii(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

// Province tests accept the name ("Bolzano/Bozen" starts with "bolzano") or
// the two-letter car code.
bool isProvince(const Square &s, const char *name, const char *acronym)
{
    const std::string p = lowerAscii(s.province);
    return p.rfind(name, 0) == 0 || p == lowerAscii(acronym);
}

bool isRegion(const Square &s, const char *name) { return lowerAscii(s.region).rfind(name, 0) == 0; }

// The Alpine band: whole provinces in the chain, the northern (or western)
// parts of the provinces that reach down to the plain.
bool inAlps(const Square &s)
{
    if (isRegion(s, "valle d") || isProvince(s, "verbano", "VB") || isProvince(s, "sondrio", "SO")
        || isProvince(s, "bolzano", "BZ") || isProvince(s, "trento", "TN") || isProvince(s, "belluno", "BL")
        || isProvince(s, "aosta", "AO"))
        return true;
    if (isProvince(s, "torino", "TO"))
        return s.lon < 7.5;
    if (isProvince(s, "cuneo", "CN"))
        return s.lon < 7.55 || s.lat < 44.3;
    if (isProvince(s, "biella", "BI") || isProvince(s, "vercelli", "VC"))
        return s.lat > 45.62;
    if (isProvince(s, "varese", "VA") || isProvince(s, "como", "CO") || isProvince(s, "lecco", "LC")
        || isProvince(s, "bergamo", "BG") || isProvince(s, "brescia", "BS"))
        return s.lat > 45.78;
    if (isProvince(s, "verona", "VR"))
        return s.lat > 45.6;
    if (isProvince(s, "vicenza", "VI"))
        return s.lat > 45.75;
    if (isProvince(s, "treviso", "TV"))
        return s.lat > 45.92;
    if (isProvince(s, "udine", "UD"))
        return s.lat > 46.2;
    if (isProvince(s, "pordenone", "PN"))
        return s.lat > 46.05;
    return false;
}

// The Apennine chain: the hills and mountains of the peninsula away from the
// coasts, south of the Via Emilia line in Emilia-Romagna.
bool inApennines(const Square &s)
{
    const int inland = s.coastSteps;
    if (isRegion(s, "liguria"))
        return inland >= 1;
    if (isRegion(s, "piemonte"))
        return s.lat < 44.62 && s.lon > 7.85;
    if (isRegion(s, "emilia")) {
        const double viaEmilia = 45.05 - 0.345 * (s.lon - 9.7);
        return s.lat < viaEmilia - 0.12;
    }
    if (isRegion(s, "toscana"))
        return inland >= 3 || (s.lat > 43.75 && s.lon > 10.2 && inland >= 2);
    if (isRegion(s, "umbria") || isRegion(s, "molise"))
        return true;
    if (isRegion(s, "marche") || isRegion(s, "abruzzo"))
        return inland >= 2;
    if (isRegion(s, "lazio"))
        return inland >= 4;
    if (isRegion(s, "campania"))
        return inland >= 2;
    if (isRegion(s, "basilicata"))
        return inland >= 2;
    if (isRegion(s, "calabria"))
        return inland >= 1;
    return false;
}

// The sea coast, told apart from the land borders of the north, which also
// leave squares partly outside Italian land.
bool onSeaCoast(const Square &s)
{
    if (s.landShare >= 0.9)
        return false;
    if (s.lat > 45.78)
        return false;
    if (s.lon < 7.8 && s.lat > 43.95)  // the French border of the Maritime Alps
        return false;
    return true;
}

}  // namespace

SquareGrid SquareGrid::load(const std::string &csvPath, std::uint64_t seed)
{
    std::ifstream in(csvPath);
    if (!in)
        throw std::runtime_error("cannot read the square table " + csvPath);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = splitCsv(line);
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < header.size(); ++i)
        column[header[i]] = i;
    for (const char *name : {"UTM", "zone", "E_UTM32", "N_UTM32", "lon", "lat", "region", "province", "land_share"})
        if (!column.count(name))
            throw std::runtime_error(csvPath + " has no column " + name);
    SquareGrid grid;
    std::set<std::string> seen;
    int lineNumber = 1;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line == "\r")
            continue;
        const std::vector<std::string> f = splitCsv(line);
        const std::string where = csvPath + ":" + std::to_string(lineNumber);
        if (f.size() < header.size())
            throw std::runtime_error("too few fields in " + where);
        Square s;
        s.code = f[column["UTM"]];
        if (s.code.size() != 4 || !seen.insert(s.code).second)
            throw std::runtime_error("bad or repeated square code in " + where);
        s.zone = int(number(f[column["zone"]], where));
        s.east = number(f[column["E_UTM32"]], where);
        s.north = number(f[column["N_UTM32"]], where);
        s.lon = number(f[column["lon"]], where);
        s.lat = number(f[column["lat"]], where);
        s.region = f[column["region"]];
        s.province = f[column["province"]];
        s.landShare = number(f[column["land_share"]], where);
        grid.m_squares.push_back(s);
    }
    if (grid.m_squares.empty())
        throw std::runtime_error(csvPath + " lists no squares");
    grid.linkNeighbours();
    grid.classify(seed);
    return grid;
}

void SquareGrid::linkNeighbours()
{
    // Buckets of 10 km; neighbours are the squares within 15 km (the eight
    // around a square; across a zone boundary the grid is skewed, hence the margin).
    constexpr double cell = 10000, reach = 15000;
    std::map<std::pair<long, long>, std::vector<int>> buckets;
    auto key = [&](double e, double n) { return std::make_pair(long(e / cell), long(n / cell)); };
    for (std::size_t i = 0; i < m_squares.size(); ++i)
        buckets[key(m_squares[i].east, m_squares[i].north)].push_back(int(i));
    for (std::size_t i = 0; i < m_squares.size(); ++i) {
        Square &s = m_squares[i];
        const auto [bx, by] = key(s.east, s.north);
        for (long dx = -2; dx <= 2; ++dx)
            for (long dy = -2; dy <= 2; ++dy) {
                const auto it = buckets.find({bx + dx, by + dy});
                if (it == buckets.end())
                    continue;
                for (int j : it->second) {
                    if (j == int(i))
                        continue;
                    const double de = m_squares[j].east - s.east, dn = m_squares[j].north - s.north;
                    if (de * de + dn * dn <= reach * reach)
                        s.neighbours.push_back(j);
                }
            }
        std::sort(s.neighbours.begin(), s.neighbours.end());
    }
}

void SquareGrid::classify(std::uint64_t seed)
{
    // Steps to the coast by breadth-first search from the coastal squares.
    std::deque<int> queue;
    for (std::size_t i = 0; i < m_squares.size(); ++i) {
        Square &s = m_squares[i];
        s.coastal = onSeaCoast(s);
        s.coastSteps = s.coastal ? 0 : -1;
        if (s.coastal)
            queue.push_back(int(i));
    }
    while (!queue.empty()) {
        const int i = queue.front();
        queue.pop_front();
        for (int j : m_squares[i].neighbours)
            if (m_squares[j].coastSteps < 0) {
                m_squares[j].coastSteps = m_squares[i].coastSteps + 1;
                queue.push_back(j);
            }
    }
    for (Square &s : m_squares) {
        if (s.coastSteps < 0)
            s.coastSteps = 12;
        s.sardinia = isRegion(s, "sardegna") || isRegion(s, "sardinia");
        s.sicily = isRegion(s, "sicilia") || isRegion(s, "sicily");
        s.alpine = inAlps(s);
        s.apennine = !s.alpine && inApennines(s);
        const bool north = isRegion(s, "piemonte") || isRegion(s, "lombardia") || isRegion(s, "veneto")
                        || isRegion(s, "emilia") || isRegion(s, "friuli") || isRegion(s, "trentino")
                        || isRegion(s, "valle d") || isRegion(s, "liguria");
        const bool centre = isRegion(s, "toscana") || isRegion(s, "umbria") || isRegion(s, "marche")
                         || isRegion(s, "lazio") || isRegion(s, "abruzzo");
        s.plain = north && !s.alpine && !s.apennine && !isRegion(s, "liguria") && !isRegion(s, "trentino");
        s.style = s.sardinia ? PlaceStyle::Sardinia
                : s.sicily ? PlaceStyle::Sicily
                : isProvince(s, "bolzano", "BZ") ? PlaceStyle::Tyrol
                : north ? PlaceStyle::North
                : centre ? PlaceStyle::Centre
                         : PlaceStyle::South;

        // A rough elevation for the sites of the square (there is no elevation
        // model among the inputs): mountains inland, plains and coasts low.
        DemoRandom rng = DemoRandom::stream(seed, s.code, 7);
        const double inland = std::min(s.coastSteps, 8);
        double e;
        if (s.alpine)
            e = 1000 + rng.between(-350, 900) + (isRegion(s, "valle d") || isProvince(s, "bolzano", "BZ")
                                                  || isProvince(s, "sondrio", "SO") ? 400 : 0);
        else if (s.apennine)
            e = 450 + inland * 120 + rng.between(-200, 350);
        else if (s.plain)
            e = 25 + rng.between(0, 160);
        else if (s.sardinia || s.sicily)
            e = 60 + inland * 170 + rng.between(-50, 250);
        else
            e = 20 + inland * 110 + rng.between(0, 200);
        if (s.coastal)
            e = std::min(e, 60.0 + rng.between(0, 120));
        s.elevation = std::max(0, int(e) / 10 * 10);
    }
}

int SquareGrid::nearest(double lon, double lat) const
{
    // Degrees of longitude shrink to about three quarters at Italian latitudes.
    int best = 0;
    double bestDistance = 1e300;
    for (std::size_t i = 0; i < m_squares.size(); ++i) {
        const double dx = (m_squares[i].lon - lon) * 0.75, dy = m_squares[i].lat - lat;
        const double d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

bool SquareGrid::contains(const std::string &code) const
{
    return std::any_of(m_squares.begin(), m_squares.end(), [&](const Square &s) { return s.code == code; });
}

}  // namespace ortolan::demo
