#include "tools/demo_db/RecordBuilder.h"

#include "tools/demo_db/EcologyProfile.h"
#include "tools/demo_db/LookupTables.h"
#include "tools/demo_db/RangeBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace ortolan::demo {

namespace {

using Words = std::vector<std::string>;

constexpr int kFirstYear = 1850, kLastYear = 2005;

// "Trentino-Alto Adige/Südtirol" -> "Trentino-Alto Adige": the records name
// regions and provinces in Italian.
std::string italianPart(const std::string &name)
{
    const auto slash = name.find('/');
    return slash == std::string::npos ? name : name.substr(0, slash);
}

// Masculine plural article or articled preposition before a family name:
// "dei Carabidae" but "degli Acrididae".
std::string plural(const std::string &article, const std::string &name)
{
    const char c = name.empty() ? 'x' : char(std::tolower(static_cast<unsigned char>(name[0])));
    const bool vowel = c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
    if (!vowel)
        return article + " " + name;
    if (article == "I" || article == "i")
        return (article == "I" ? "Gli " : "gli ") + name;
    return article.substr(0, article.size() - 1) + "gli " + name;  // dei -> degli, sui -> sugli
}

std::string threeDigits(int n)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%03d", n);
    return buffer;
}

std::string initialled(const std::string &fullName)
{
    // "Marco Ferrini" -> "Ferrini M."
    const auto blank = fullName.find(' ');
    if (blank == std::string::npos)
        return fullName;
    return fullName.substr(blank + 1) + " " + fullName.substr(0, 1) + ".";
}

Words splitSpecialists(const std::string &text)
{
    Words names;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto comma = text.find(", ", start);
        names.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 2;
    }
    return names;
}

const Words kJournals = {
    "Bollettino della Società Entomologica Italiana", "Memorie della Società Entomologica Italiana",
    "Atti della Società Italiana di Scienze Naturali", "Annali del Museo Civico di Storia Naturale di Genova",
    "Fragmenta Entomologica", "Bollettino del Museo Regionale di Scienze Naturali di Torino",
    "Rivista di Idrobiologia", "Redia", "Bollettino di Zoologia", "Atti del Museo Civico di Storia Naturale di Trieste",
    "Doriana", "Natura Bresciana", "Studi Trentini di Scienze Naturali", "Gortania",
    "Lavori della Società Veneziana di Scienze Naturali", "Il Naturalista Siciliano", "Frustula Entomologica",
    "Entomologica", "Bollettino del Museo Civico di Storia Naturale di Verona", "Rivista Piemontese di Storia Naturale",
    "Quaderni della Stazione di Ecologia del Museo di Ferrara", "Biogeographia", "Italian Journal of Zoology",
    "Zootaxa", "Bollettino Malacologico", "Atti della Società Toscana di Scienze Naturali", "Hystrix",
    "Rivista di Biologia", "Annali del Museo Civico di Rovereto", "Memorie di Biospeleologia"};

const Words kCollectionCities = {"Genova", "Milano", "Verona", "Firenze", "Torino", "Trieste", "Roma", "Napoli",
                                 "Bergamo", "Venezia", "Carmagnola", "Calci", "Bologna", "Trento", "Bari",
                                 "Cagliari", "Palermo", "Udine"};

const Words kAreas = {"d'Italia", "della Sardegna", "della Sicilia", "del Piemonte", "della Liguria",
                      "della Lombardia", "del Veneto", "del Friuli", "della Toscana", "del Lazio", "dell'Abruzzo",
                      "della Campania", "della Puglia", "della Calabria", "delle Marche", "dell'Umbria",
                      "del Trentino", "dell'Emilia-Romagna", "della Basilicata", "del Molise",
                      "dell'Appennino centrale", "delle Alpi occidentali", "delle Alpi orientali",
                      "del Parco Nazionale del Gran Paradiso", "del Parco Nazionale dello Stelvio",
                      "del Parco Nazionale d'Abruzzo", "del Parco Nazionale del Pollino",
                      "dei Monti Sibillini", "delle Foreste Casentinesi", "del Cilento", "dell'Aspromonte",
                      "del Gargano", "della Sila", "del Gennargentu", "delle Dolomiti Bellunesi",
                      "delle isole circumsarde", "delle isole Eolie", "della pianura padana"};

}  // namespace

RecordBuilder::RecordBuilder(const SquareGrid &grid, const Checklist &list, const HigherTaxa &higher,
                             std::uint64_t seed, double scale)
    : m_grid(grid), m_list(list), m_higher(higher), m_seed(seed), m_scale(scale)
{
    for (const TaxonRow &t : list.taxa)
        if (t.kind == TaxonKind::Genus && t.owner && !m_familyOwner.count(t.groupCode))
            m_familyOwner[t.groupCode] = *t.owner;
}

const std::vector<std::string> &RecordBuilder::sourceKinds()
{
    static const Words kinds = {"Pubblicazione", "Collezione", "Dati inediti", "Tesi di laurea"};
    return kinds;
}

std::vector<SourceRow> RecordBuilder::makeSources()
{
    // About two thousand sources, shared among the data owners by the number
    // of taxa each supplies; every owner has at least three.
    std::map<std::string, int> taxaOf;
    std::map<std::string, std::set<std::string>> groupsOf;
    int total = 0;
    for (const TaxonRow &t : m_list.taxa) {
        if (t.kind == TaxonKind::Genus || !t.owner)
            continue;
        ++taxaOf[*t.owner];
        ++total;
    }
    std::vector<std::string> owners;
    for (const Owner &o : m_list.owners)
        owners.push_back(o.code);
    for (const std::string &o : m_list.unlistedOwners)
        owners.push_back(o);
    for (const std::string &owner : owners) {
        const int count = std::max(3, int(1980.0 * taxaOf[owner] / std::max(total, 1) + 0.5));
        DemoRandom rng = DemoRandom::stream(m_seed, "sources " + owner);
        addSources(owner, count, rng);
    }
    return m_sources;
}

void RecordBuilder::addSources(const std::string &owner, int count, DemoRandom &rng)
{
    Words specialists;
    for (const Owner &o : m_list.owners)
        if (o.code == owner)
            specialists = splitSpecialists(o.specialists);
    // Subjects of the titles: the families whose taxa this owner supplies.
    Words families;
    for (const FamilyPlan &f : m_higher.families()) {
        const auto it = m_familyOwner.find(f.code);
        if (it != m_familyOwner.end() && it->second == owner)
            families.push_back(f.name);
    }
    if (families.empty())
        families.push_back(m_higher.families()[rng.index(m_higher.families().size())].name);

    OwnerSources &mine = m_byOwner[owner];
    for (int k = 1; k <= count; ++k) {
        SourceRow s;
        s.code = owner + "-" + threeDigits(k);
        s.owner = owner;
        s.kind = 1 + int(rng.weighted({0.62, 0.18, 0.14, 0.06}));
        const std::string group = rng.pick(families);
        const std::string area = rng.pick(kAreas);
        auto person = [&]() {
            if (!specialists.empty() && rng.chance(0.45))
                return initialled(rng.pick(specialists));
            return NameGenerator::italianSurname(rng) + " " + NameGenerator::givenName(rng).substr(0, 1) + ".";
        };
        switch (s.kind) {
        case 1: {
            const int authors = 1 + int(rng.weighted({0.55, 0.3, 0.15}));
            Words names;
            while (int(names.size()) < authors) {
                const std::string name = person();
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
            }
            for (const std::string &name : names)
                s.author += (s.author.empty() ? "" : ", ") + name;
            const int year = std::min(kLastYear, kFirstYear + 10 + int(145 * (1 - rng.real() * rng.real())));
            s.year = std::to_string(year);
            const Words titles = {
                "Contributo alla conoscenza " + plural("dei", group) + " " + area,
                "Nuovi dati " + plural("sui", group) + " " + area,
                plural("I", group) + " " + area,
                "Note faunistiche su alcuni " + group + " " + area,
                "Catalogo " + plural("dei", group) + " italiani",
                "Revisione " + plural("dei", group) + " " + area,
                "Descrizione di una nuova specie di " + group + " " + area,
                "Osservazioni ecologiche " + plural("sui", group) + " " + area,
                "Materiali per una fauna " + area + ": " + group,
                "The " + group + " of Italy: a checklist",
                "New records of " + group + " from Italy",
            };
            s.title = rng.pick(titles);
            s.journal = rng.pick(kJournals);
            const int first = rng.between(1, 400);
            s.details = std::to_string(rng.between(1, 140)) + (rng.chance(0.3) ? " (" + std::to_string(rng.between(1, 4)) + ")" : "")
                      + ": " + std::to_string(first) + "-" + std::to_string(first + rng.between(2, 80));
            break;
        }
        case 2: {
            const std::string city = rng.pick(kCollectionCities);
            if (rng.chance(0.5)) {
                const std::string holder = rng.chance(0.4) && !specialists.empty() ? rng.pick(specialists)
                                                                                  : NameGenerator::givenName(rng) + " " + NameGenerator::italianSurname(rng);
                s.author = "Collezione " + holder;
                s.title = "Collezione " + holder.substr(holder.find(' ') + 1);
            } else {
                s.author = "Museo Civico di Storia Naturale di " + city;
                s.title = "Collezione generale: " + group;
            }
            const int from = rng.between(1860, 1980);
            s.year = std::to_string(from) + "-" + std::to_string(std::min(kLastYear, from + rng.between(5, 60)));
            s.journal = city;
            const Words kept = {"materiale a secco", "materiale in alcool", "preparati microscopici",
                                "materiale determinato", "materiale in parte da revisionare"};
            s.details = rng.pick(kept);
            break;
        }
        case 3: {
            s.author = specialists.empty() ? person() : initialled(rng.pick(specialists));
            s.year = std::to_string(rng.between(1970, kLastYear));
            const Words titles = {"Dati inediti", "Osservazioni personali", "Raccolte inedite " + area,
                                  "Dati del progetto di monitoraggio " + area, "Schede di campo"};
            s.title = rng.pick(titles);
            break;
        }
        default: {
            s.author = person();
            s.year = std::to_string(rng.between(1960, kLastYear));
            s.title = "Tesi di laurea: " + plural("i", group) + " " + area;
            s.journal = "Università di " + rng.pick(kCollectionCities);
            s.details = "pp. " + std::to_string(rng.between(40, 260));
            break;
        }
        }
        mine.sources.push_back(m_sources.size());
        // A few sources supply most records of an owner.
        mine.weights.push_back(1.0 / (1.0 + 0.4 * (k - 1)));
        m_sources.push_back(s);
    }
}

const RecordBuilder::Places &RecordBuilder::places(int square)
{
    // The place names of a square are shared by every taxon recorded there.
    const auto it = m_places.find(square);
    if (it != m_places.end())
        return it->second;
    const Square &s = m_grid.squares()[std::size_t(square)];
    DemoRandom rng = DemoRandom::stream(m_seed, s.code, 11);
    Places p;
    const int towns = rng.between(1, 3), features = rng.between(2, 5);
    for (int i = 0; i < towns; ++i)
        p.towns.push_back(NameGenerator::townName(rng, s.style));
    for (int i = 0; i < features; ++i)
        p.features.push_back(NameGenerator::featureName(rng, s.style));
    return m_places.emplace(square, std::move(p)).first->second;
}

std::string RecordBuilder::locality(DemoRandom &rng, const TaxonRow &taxon, int square, bool aquatic, bool cave)
{
    // Templates: a leading '#' stands for a town of the square, '@' for a
    // natural feature; only the chosen one is filled in.
    const Square &s = m_grid.squares()[std::size_t(square)];
    const Places &p = places(square);
    const auto fill = [&](const std::string &pattern) {
        const char mark = pattern.back();
        const std::string stem = pattern.substr(0, pattern.size() - 1);
        return stem + (mark == '#' ? rng.pick(p.towns) : rng.pick(p.features));
    };
    static const Words caves = {"Grotta di @", "Grotta del @", "Buco del @", "Abisso @", "Grotta presso #",
                                "Inghiottitoio di @"};
    static const Words waters = {"Torrente @", "Fiume @", "Fosso @", "Rio @", "Sorgente @", "Lago di #"};
    static const Words coast = {"Spiaggia di #", "Marina di #", "Capo @", "Foce del @"};
    static const Words high = {"Monte @", "Passo @", "Val @", "Piano di #"};
    static const Words alpine = {"Rifugio @", "Alpe @", "Malga @"};
    static const Words any = {"#", "#", "#", "dintorni di #", "dintorni di #", "Bosco di #", "Colle @",
                              "Località @", "Valle @", "Podere @"};
    if (cave && rng.chance(0.85))
        return fill(rng.pick(caves));
    if (aquatic && rng.chance(0.7)) {
        if (s.coastal && rng.chance(0.15))
            return fill(s.sardinia ? "Stagno di #" : "Foce del @");
        if (s.plain && rng.chance(0.2))
            return fill("Canale @");
        return fill(rng.pick(waters));
    }
    if (s.coastal && (taxon.adultHabitat3 == "DU" || rng.chance(0.15)))
        return fill(rng.pick(coast));
    if (s.elevation > 900 && rng.chance(0.5))
        return fill(s.alpine && rng.chance(0.4) ? rng.pick(alpine) : rng.pick(high));
    if (rng.chance(0.12)) {
        switch (s.style) {
        case PlaceStyle::North:
        case PlaceStyle::Tyrol: return fill("Cascina @");
        case PlaceStyle::South: return fill(rng.chance(0.5) ? "Masseria @" : "Contrada @");
        case PlaceStyle::Sicily: return fill("Contrada @");
        case PlaceStyle::Sardinia: return fill("Nuraghe @");
        case PlaceStyle::Centre: break;
        }
    }
    return fill(rng.pick(any));
}

std::string RecordBuilder::siteText(DemoRandom &rng, const TaxonRow &taxon, bool aquatic, bool cave, bool vertebrate)
{
    static const Words fish = {"elettropesca", "pesca con rete", "osservazione diretta", "pescato con lenza"};
    static const Words amphibian = {"osservazione diretta", "esemplare morto", "catturato e rilasciato", "canto",
                                    "ovature", "larve", "esemplare investito su strada"};
    static const Words reptile = {"osservazione diretta", "esemplare morto", "catturato e rilasciato",
                                  "sotto pietre", "esemplare investito su strada", "muretto a secco"};
    static const Words bat = {"bat detector", "rifugio in edificio", "colonia in grotta", "cattura con mist-net"};
    static const Words mammal = {"osservazione diretta", "esemplare morto", "catturato e rilasciato", "fototrappola",
                                 "tracce", "borra di rapace", "trappola a cassetta"};
    static const Words underground = {"zona afotica", "trappola innescata con formaggio", "su guano",
                                      "pareti umide", "laghetto interno", "ingresso della grotta",
                                      "ambiente sotterraneo superficiale", "lavaggio di sedimenti"};
    static const Words water = {"retino immanicato", "sotto sassi in acqua corrente", "pozza laterale",
                                "vegetazione sommersa", "sorgente", "stagno temporaneo", "riva del lago",
                                "fondo fangoso", "trappola luminosa presso il torrente", "retino da plancton"};
    static const Words land = {"sotto pietre", "in lettiera di faggeta", "in lettiera di lecceta", "trappola a caduta",
                               "retino da sfalcio", "a vista", "al lume", "trappola luminosa", "sotto corteccia",
                               "in legno marcescente", "su fiori", "lavaggio di terreno", "setaccio di lettiera",
                               "trappola Malaise", "prato da sfalcio", "pascolo", "bosco misto", "castagneto",
                               "margine di bosco", "ghiaione", "ex larva", "tra i muschi", "sotto tronchi a terra",
                               "su Quercus", "su Pinus", "su Salix", "su Urtica", "su Thymus"};
    if (vertebrate) {
        const std::string &profile = m_higher.families()[taxon.family].profile;
        return rng.pick(profile == "fish" ? fish : profile == "amph" ? amphibian : profile == "rept" ? reptile
                        : profile == "bat" ? bat : mammal);
    }
    return rng.pick(cave ? underground : aquatic ? water : land);
}

int RecordBuilder::recordYear(DemoRandom &rng, const SourceRow &source, const TaxonRow &taxon)
{
    int year;
    const int sourceYear = std::stoi(source.year.substr(0, 4));
    if (source.kind == 2) {
        const int until = std::stoi(source.year.substr(5));
        year = rng.between(sourceYear, until);
    } else {
        // Records are published some years after they are made.
        year = sourceYear - rng.geometric(source.kind == 1 ? 6 : 2);
    }
    if (taxon.alien && taxon.firstYear && !taxon.firstYear->empty()) {
        const int first = std::stoi(*taxon.firstYear);
        if (year < first)
            year = rng.between(first, kLastYear);
    }
    if (taxon.conservation && (*taxon.conservation == "EX" || *taxon.conservation == "XI") && year > 1950)
        year = rng.between(kFirstYear, 1950);
    return std::clamp(year, kFirstYear, kLastYear);
}

std::string RecordBuilder::missingSquare(int square)
{
    // A code next to the edge of the square table (a sea square, or one across
    // a border), as careless transcriptions produce: the absent neighbour
    // code nearest to the record's square.
    if (m_phantoms.empty()) {
        std::set<std::string> codes;
        for (const Square &s : m_grid.squares())
            codes.insert(s.code);
        for (std::size_t i = 0; i < m_grid.squares().size(); ++i) {
            const std::string &code = m_grid.squares()[i].code;
            for (int axis = 2; axis < 4; ++axis)
                for (int step : {-1, 1}) {
                    const int digit = code[std::size_t(axis)] - '0' + step;
                    if (digit < 0 || digit > 9)
                        continue;
                    std::string other = code;
                    other[std::size_t(axis)] = char('0' + digit);
                    if (!codes.count(other))
                        m_phantoms.emplace_back(other, int(i));
                }
        }
    }
    const Square &here = m_grid.squares()[std::size_t(square)];
    const std::pair<std::string, int> *best = nullptr;
    double bestDistance = 1e300;
    for (const auto &phantom : m_phantoms) {
        const Square &s = m_grid.squares()[std::size_t(phantom.second)];
        const double d = (s.east - here.east) * (s.east - here.east) + (s.north - here.north) * (s.north - here.north);
        if (d < bestDistance) {
            bestDistance = d;
            best = &phantom;
        }
    }
    return best ? best->first : std::string("ZZ99");
}

void RecordBuilder::emitRecords(const TaxonRow &taxon, const std::vector<int> &squares, bool common,
                                const std::function<void(const SiteRow &)> &emit)
{
    if (squares.empty())
        return;
    DemoRandom rng = DemoRandom::stream(m_seed, taxon.code, 2);
    const EcologyProfile &profile = EcologyProfile::byTag(m_higher.families()[taxon.family].profile);
    // Sources of the taxon's data owner; a taxon without one cites its family's owner.
    std::string owner = taxon.owner.value_or("");
    if (!m_byOwner.count(owner))
        owner = m_familyOwner[taxon.groupCode];
    const OwnerSources &sources = m_byOwner[owner];
    const bool cave = profile.subterranean;
    static const std::set<std::string> waters = {"AC", "AS", "AF", "LA", "PA"};
    const bool aquatic = profile.aquatic || (taxon.larvaHabitat1 && waters.count(*taxon.larvaHabitat1));
    const std::string habitat = taxon.adultHabitat3.value_or("");
    bool any = false;
    for (int square : squares) {
        const Square &s = m_grid.squares()[std::size_t(square)];
        const int base = 1 + rng.geometric(common ? 0.6 : 0.25);
        const double expected = base * m_scale;
        int count = int(expected);
        if (rng.chance(expected - count))
            ++count;
        std::string lastLocality;
        for (int r = 0; r < count; ++r) {
            SiteRow site;
            site.taxonCode = taxon.code;
            site.taxonName = taxon.name;
            site.region = italianPart(s.region);
            site.province = italianPart(s.province);
            site.locality = !lastLocality.empty() && rng.chance(0.5) ? lastLocality
                                                                     : locality(rng, taxon, square, aquatic, cave);
            lastLocality = site.locality;
            site.site = siteText(rng, taxon, aquatic, cave, profile.vertebrate);
            if (!rng.chance(0.06)) {
                int e = s.elevation + rng.between(-std::min(120, s.elevation / 2), 220);
                if (habitat == "PL")
                    e = rng.between(1600, 2700);
                else if (habitat == "DU" && s.coastal)
                    e = rng.between(0, 30);
                // Alpine taxa live in the mountains even where their square reaches the foothills.
                if (taxon.rangeChorotype == "ALP" || taxon.rangeChorotype == "BAL")
                    e = std::max(e, 800 + rng.between(0, 900));
                site.elevation = std::clamp(e, 0, 3200) / 10 * 10;
            }
            const SourceRow &source = m_sources[sources.sources[rng.weighted(sources.weights)]];
            site.source = source.code;
            site.year = recordYear(rng, source, taxon);
            const double r2 = rng.real();
            if (r2 < 0.004)
                site.square.reset();  // an old record placed only by its locality
            else if (r2 < 0.0055)
                site.square = missingSquare(square);
            else
                site.square = s.code;
            static const Words precision = {"1", "2", "3", "incerta"};
            site.precision = precision[rng.weighted({70, 18, 8, 4})];
            emit(site);
            ++m_sites;
            any = true;
        }
    }
    if (any)
        ++m_taxaWithRecords;
}

void RecordBuilder::makeSites(const std::function<void(const SiteRow &)> &emit)
{
    RangeBuilder ranges(m_grid, m_seed);
    static const std::set<std::string> wide = {"PAL", "EUR", "WPA", "OLA", "ASE", "SEU", "TEM", "CEM", "COS", "SCO"};

    // A dozen common species known from about a thousand squares, and a few
    // dozen frequent ones with some hundreds.
    std::vector<std::pair<std::uint32_t, std::size_t>> candidates;
    for (std::size_t i = 0; i < m_list.taxa.size(); ++i) {
        const TaxonRow &t = m_list.taxa[i];
        const bool hasSubspecies = i + 1 < m_list.taxa.size() && m_list.taxa[i + 1].kind == TaxonKind::Subspecies;
        if (t.kind != TaxonKind::Species || t.alien || hasSubspecies || !wide.count(t.rangeChorotype))
            continue;
        if (EcologyProfile::byTag(m_higher.families()[t.family].profile).rangeFactor < 1.0)
            continue;
        candidates.push_back({DemoRandom::stream(m_seed, t.code, 5).next(), i});
    }
    std::sort(candidates.begin(), candidates.end());
    std::map<std::size_t, double> fixedTarget;
    {
        DemoRandom rng = DemoRandom::stream(m_seed, "common species");
        for (std::size_t k = 0; k < candidates.size() && k < 72; ++k)
            fixedTarget[candidates[k].second] = k < 12 ? rng.between(900, 1250) : rng.between(180, 500);
    }

    for (std::size_t i = 0; i < m_list.taxa.size(); ++i) {
        const TaxonRow &taxon = m_list.taxa[i];
        if (taxon.kind != TaxonKind::Species)
            continue;
        std::size_t end = i + 1;
        while (end < m_list.taxa.size() && m_list.taxa[end].kind == TaxonKind::Subspecies)
            ++end;
        auto rangeOf = [&](const TaxonRow &t, std::size_t index) {
            DemoRandom rng = DemoRandom::stream(m_seed, t.code, 1);
            const EcologyProfile &profile = EcologyProfile::byTag(m_higher.families()[t.family].profile);
            const auto fixed = fixedTarget.find(index);
            const double target = fixed != fixedTarget.end() ? fixed->second : RangeBuilder::typicalSize(t, profile, rng);
            // A few taxa of the checklist have no record at all.
            if (fixed == fixedTarget.end() && rng.chance(0.025))
                return std::vector<int>();
            return ranges.build(t, profile, target, rng);
        };
        if (end == i + 1) {
            emitRecords(taxon, rangeOf(taxon, i), fixedTarget.count(i) > 0, emit);
            continue;
        }
        // A species split into subspecies: most records name a subspecies; the
        // species itself is recorded in part of their squares.
        std::vector<std::vector<int>> subRanges;
        std::set<int> all;
        for (std::size_t k = i + 1; k < end; ++k) {
            subRanges.push_back(rangeOf(m_list.taxa[k], k));
            all.insert(subRanges.back().begin(), subRanges.back().end());
        }
        DemoRandom rng = DemoRandom::stream(m_seed, taxon.code, 3);
        std::vector<int> own;
        for (int square : all)
            if (rng.chance(0.15))
                own.push_back(square);
        emitRecords(taxon, own, false, emit);
        for (std::size_t k = i + 1; k < end; ++k)
            emitRecords(m_list.taxa[k], subRanges[k - i - 1], false, emit);
        i = end - 1;
    }
}

}  // namespace ortolan::demo
