#include "tools/demo_db/ChecklistBuilder.h"

#include "tools/demo_db/EcologyProfile.h"
#include "tools/demo_db/LookupTables.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

namespace ortolan::demo {

namespace {

using Words = std::vector<std::string>;

std::string digits(int value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

// Sizes in millimetres with an Italian decimal comma below 10 mm.
std::string millimetres(double value)
{
    char buffer[32];
    if (value < 10)
        std::snprintf(buffer, sizeof buffer, "%.1f", value);
    else
        std::snprintf(buffer, sizeof buffer, "%d", int(value + 0.5));
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string sizeText(DemoRandom &rng, double size)
{
    if (rng.chance(0.4))
        return millimetres(size);
    const double low = size * rng.real(0.7, 0.92), high = size * rng.real(1.08, 1.35);
    return millimetres(low) + "-" + millimetres(high);
}

std::string pickFrom(DemoRandom &rng, const std::vector<std::pair<std::string, double>> &mix)
{
    std::vector<double> weights;
    for (const auto &entry : mix)
        weights.push_back(entry.second);
    return mix[rng.weighted(weights)].first;
}

// Regions named in the notes of a species of a chorotype.
const Words &noteRegions(const std::string &chorotype)
{
    static const std::map<std::string, Words> byChorotype = {
        {"SAR", {"Sardegna"}},
        {"SARCOR", {"Sardegna"}},
        {"SIC", {"Sicilia"}},
        {"ALP", {"Valle d'Aosta", "Piemonte", "Lombardia", "Trentino-Alto Adige", "Veneto", "Friuli-Venezia Giulia"}},
        {"BAL", {"Valle d'Aosta", "Trentino-Alto Adige", "Lombardia"}},
        {"APP", {"Toscana", "Marche", "Umbria", "Abruzzo", "Molise", "Basilicata", "Calabria"}},
        {"ALPAPP", {"Piemonte", "Lombardia", "Trentino-Alto Adige", "Abruzzo", "Toscana"}},
        {"END", {"Toscana", "Lazio", "Campania", "Calabria", "Puglia", "Abruzzo"}},
        {"NAF", {"Sicilia", "Sardegna"}},
    };
    static const Words everywhere = {"Piemonte", "Liguria", "Lombardia", "Veneto", "Emilia-Romagna", "Toscana",
                                     "Lazio", "Campania", "Puglia", "Calabria", "Sicilia", "Sardegna", "Marche",
                                     "Abruzzo", "Friuli-Venezia Giulia", "Umbria"};
    const auto it = byChorotype.find(chorotype);
    return it == byChorotype.end() ? everywhere : it->second;
}

std::string habitatText(const std::string &code)
{
    for (const CodedText &h : LookupTables::habitats())
        if (h.code == code) {
            std::string text = h.italian;
            text[0] = char(std::tolower(static_cast<unsigned char>(text[0])));
            return text;
        }
    return "ambienti diversi";
}

const std::string *worstRedListCode(const std::vector<const std::string *> &codes)
{
    const std::string *worst = nullptr;
    int worstOrder = 1000;
    for (const std::string *code : codes)
        for (const ConservationCategory &c : LookupTables::conservation())
            if (c.code == *code && c.order < worstOrder) {
                worst = code;
                worstOrder = c.order;
            }
    return worst;
}

}  // namespace

ChecklistBuilder::ChecklistBuilder(const HigherTaxa &higher, std::uint64_t seed)
    : m_higher(higher), m_seed(seed)
{
}

Checklist ChecklistBuilder::build()
{
    m_list = {};
    m_nextGenus.clear();
    for (const Group &g : m_higher.groups())
        m_list.groups.push_back({g.code, g.name});
    makeAuthors();
    std::vector<std::string> ownerOfFamily;
    makeOwners(ownerOfFamily);
    for (std::size_t i = 0; i < m_higher.families().size(); ++i)
        makeFamily(i, ownerOfFamily[i]);
    assignSpecialOwners();
    flagGroups();
    for (Owner &owner : m_list.owners)
        owner.taxa = int(std::count_if(m_list.taxa.begin(), m_list.taxa.end(), [&](const TaxonRow &t) {
            return t.kind != TaxonKind::Genus && t.owner && *t.owner == owner.code;
        }));
    return std::move(m_list);
}

void ChecklistBuilder::makeAuthors()
{
    DemoRandom rng = DemoRandom::stream(m_seed, "authors");
    std::set<std::string> seen;
    while (m_authors.size() < 420) {
        Author a;
        a.name = NameGenerator::authorSurname(rng);
        if (!seen.insert(a.name).second)
            continue;
        // Descriptions peak in the late 19th and early 20th century.
        a.from = int(rng.hump(1740, 2000));
        a.from = std::max(a.from, 1758);
        a.to = std::min(a.from + rng.between(8, 45), 2005);
        m_authors.push_back(a);
    }
}

std::string ChecklistBuilder::citation(DemoRandom &rng, const Citation &how, int *year)
{
    const Author *author = &rng.pick(m_authors);
    // Vertebrates were mostly described early.
    for (int i = 0; how.vertebrate && author->from > 1880 && i < 30; ++i)
        author = &rng.pick(m_authors);
    int y = rng.between(author->from, author->to);
    if (y < how.notBefore)
        y = rng.between(how.notBefore, std::max(how.notBefore, 2004));
    std::string names = author->name;
    if (rng.chance(0.05)) {
        const Author &second = rng.pick(m_authors);
        if (second.name != author->name)
            names += " & " + second.name;
    }
    if (year)
        *year = y;
    const std::string text = names + ", " + std::to_string(y);
    // A species described before its genus was described in another genus.
    const bool parentheses = how.parentheses || y < how.genusYear;
    return parentheses ? "(" + text + ")" : text;
}

void ChecklistBuilder::makeOwners(std::vector<std::string> &ownerOfFamily)
{
    // Families are grouped under a key (their order, or the family itself when it is
    // large, or the class for vertebrates); consecutive small keys of one top group
    // share one data owner.
    const auto &families = m_higher.families();
    std::vector<std::string> keys;
    std::vector<int> keySpecies;
    std::vector<std::string> keyTop;
    std::vector<std::size_t> keyOfFamily;
    for (const FamilyPlan &f : families) {
        std::string key = f.topCode == "037" ? f.code.substr(0, 7) : f.speciesCount >= 120 ? f.code : f.orderCode;
        if (keys.empty() || keys.back() != key) {
            keys.push_back(key);
            keySpecies.push_back(0);
            keyTop.push_back(f.topCode);
        }
        keySpecies.back() += f.speciesCount;
        keyOfFamily.push_back(keys.size() - 1);
    }
    DemoRandom rng = DemoRandom::stream(m_seed, "owners");
    std::vector<std::size_t> ownerOfKey(keys.size());
    std::set<std::string> codes;
    int accumulated = 1000;
    std::string lastTop;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (accumulated >= 70 || keyTop[k] != lastTop || keyTop[k] == "037") {
            // A new data owner: one to three specialists, coded by their initials.
            Owner owner;
            std::vector<std::string> surnames;
            const int people = rng.chance(0.55) ? 1 : rng.chance(0.7) ? 2 : 3;
            for (int i = 0; i < people; ++i) {
                const std::string surname = NameGenerator::italianSurname(rng);
                surnames.push_back(surname);
                owner.specialists += (i ? ", " : "") + NameGenerator::givenName(rng) + " " + surname;
            }
            std::vector<std::string> candidates;
            std::string initials;
            for (const std::string &s : surnames)
                initials += s[0];
            if (initials.size() >= 2)
                candidates.push_back(initials);
            candidates.push_back(surnames[0].substr(0, 3));
            candidates.push_back(surnames[0].substr(0, 2) + surnames.back().substr(0, 1));
            candidates.push_back(surnames[0].substr(0, 4));
            for (char c = 'A'; c <= 'Z'; ++c)
                candidates.push_back(surnames[0].substr(0, 2) + c);
            for (std::string code : candidates) {
                for (char &c : code)
                    c = char(std::toupper(static_cast<unsigned char>(c)));
                if (code.size() >= 2 && code.size() <= 4 && codes.insert(code).second) {
                    owner.code = code;
                    break;
                }
            }
            m_list.owners.push_back(owner);
            accumulated = 0;
            lastTop = keyTop[k];
        }
        ownerOfKey[k] = m_list.owners.size() - 1;
        accumulated += keySpecies[k];
    }
    for (std::size_t i = 0; i < families.size(); ++i)
        ownerOfFamily.push_back(m_list.owners[ownerOfKey[keyOfFamily[i]]].code);
}

void ChecklistBuilder::makeFamily(std::size_t familyIndex, const std::string &owner)
{
    const FamilyPlan &family = m_higher.families()[familyIndex];
    const EcologyProfile &profile = EcologyProfile::byTag(family.profile);
    DemoRandom rng = DemoRandom::stream(m_seed, family.name);
    // Genus numbers run through a volume in steps; a family may start a band of
    // its own (the classes of the vertebrate volume), which must lie ahead.
    const int step = family.volume == 110 ? 20 : 10;
    int &genusNumber = m_nextGenus[family.volume];
    if (family.genusStart >= 0) {
        if (genusNumber > family.genusStart)
            throw std::runtime_error("genus numbers of volume " + std::to_string(family.volume) + " run into the band of "
                                     + family.name);
        genusNumber = family.genusStart;
    } else if (genusNumber == 0) {
        genusNumber = 10;
    }
    const std::string volume = digits(family.volume, 3);

    int remaining = family.speciesCount;
    while (remaining > 0) {
        const int inGenus = std::min(remaining, 1 + rng.geometric(profile.speciesPerGenus - 1));
        remaining -= inGenus;
        const NameGenerator::GenusName genus = m_names.genus(rng, family.profile);

        TaxonRow genusRow;
        genusRow.kind = TaxonKind::Genus;
        genusRow.code = volume + "." + digits(genusNumber, 5) + ".";
        genusNumber += step;
        genusRow.name = genus.name;
        genusRow.author = citation(rng, {profile.vertebrate}, &genusRow.authorYear);
        genusRow.groupCode = family.code;
        genusRow.owner = owner;
        genusRow.family = familyIndex;
        const std::size_t genusIndex = m_list.taxa.size();
        m_list.taxa.push_back(genusRow);

        // A size typical of the genus; its species scatter around it.
        const double genusSize = profile.sizeMin + (profile.sizeMax - profile.sizeMin) * rng.real() * rng.real();
        std::set<std::string> epithets;
        for (int s = 0; s < inGenus; ++s) {
            TaxonRow species;
            species.kind = TaxonKind::Species;
            species.code = genusRow.code + digits((s + 1) * 10, 5);
            species.groupCode = family.code;
            species.owner = owner;
            species.family = familyIndex;
            fillSpecies(rng, family, profile, species, genusSize);
            std::string epithet;
            do
                epithet = m_names.epithet(rng, genus.gender, species.rangeChorotype, profile.subterranean);
            while (!epithets.insert(epithet).second);
            species.name = genus.name + " " + epithet;
            Citation how{profile.vertebrate};
            how.parentheses = rng.chance(0.3);
            how.genusYear = genusRow.authorYear;
            species.author = citation(rng, how, &species.authorYear);
            // Year of the first record in Italy: for some natives, and for most
            // aliens, which cannot have been recorded before they were described.
            if (species.alien && species.firstYear && std::stoi(*species.firstYear) < species.authorYear)
                species.firstYear = std::to_string(rng.between(species.authorYear, 2004));
            if (!species.alien && rng.chance(0.12))
                species.firstYear = std::to_string(rng.between(species.authorYear, 2004));
            m_list.taxa.push_back(species);

            if (!rng.chance(profile.subspeciesShare) || species.alien)
                continue;
            // Subspecies: the nominotypical one first, then geographic races. A
            // species of a restricted range keeps its subspecies inside it.
            const TaxonRow parent = species;
            const int count = 2 + rng.geometric(0.4);
            std::set<std::string> subEpithets = {epithet};
            for (int k = 1; k <= count; ++k) {
                TaxonRow sub = parent;
                sub.kind = TaxonKind::Subspecies;
                sub.note.reset();
                sub.changes.reset();
                sub.code = parent.code + digits(k, 2);
                std::string subEpithet = epithet;
                if (k == 1) {
                    sub.author = parent.author;
                } else {
                    static const std::vector<std::pair<std::string, double>> races = {
                        {"ALP", 4}, {"APP", 4}, {"SAR", 3}, {"SIC", 3}, {"END", 4}, {"SARCOR", 1},
                        {"MED", 1}, {"CEU", 1}, {"WME", 1}, {"EME", 1}};
                    static const std::set<std::string> broad = {"OLA", "PAL", "WPA", "ASE", "SIE", "CAE", "CEM",
                                                                "TEM", "TUE", "EUR", "CEU", "SEU", "COS", "SCO"};
                    if (broad.count(parent.rangeChorotype)) {
                        sub.rangeChorotype = pickFrom(rng, races);
                        sub.chorotype = sub.rangeChorotype;
                        sub.endemic = LookupTables::isItalianEndemic(sub.rangeChorotype);
                    }
                    do
                        subEpithet = m_names.epithet(rng, genus.gender, sub.rangeChorotype, profile.subterranean);
                    while (!subEpithets.insert(subEpithet).second);
                    Citation how{profile.vertebrate};
                    how.notBefore = parent.authorYear;
                    sub.author = citation(rng, how, nullptr);
                    if (rng.chance(0.3))
                        sub.note = "Sottospecie descritta di " + noteRegions(sub.rangeChorotype)[0] + ".";
                }
                sub.name = parent.name + " " + subEpithet;
                m_list.taxa.push_back(sub);
            }
        }
        // The genus row carries the flags of its taxa, so that the filtered
        // family listings still show the genus above them.
        std::vector<const std::string *> redCodes;
        TaxonRow &g = m_list.taxa[genusIndex];
        for (std::size_t i = genusIndex + 1; i < m_list.taxa.size(); ++i) {
            const TaxonRow &t = m_list.taxa[i];
            g.alien = g.alien || t.alien;
            g.directive = g.directive || t.directive;
            if (t.conservation && LookupTables::isRedListCode(*t.conservation))
                redCodes.push_back(&*t.conservation);
        }
        if (const std::string *worst = worstRedListCode(redCodes))
            g.conservation = *worst;
    }
}

void ChecklistBuilder::fillSpecies(DemoRandom &rng, const FamilyPlan &family, const EcologyProfile &profile,
                                   TaxonRow &row, double genusSize)
{
    const double alienShare = family.alienRate >= 0 ? family.alienRate : profile.alienShare;
    const double directiveShare = family.directiveRate >= 0 ? family.directiveRate : profile.directiveShare;
    const double redShare = family.redListRate >= 0 ? family.redListRate : profile.redListShare;

    row.alien = rng.chance(alienShare);
    if (row.alien) {
        static const std::vector<std::pair<std::string, double>> alienMix = {
            {"ADV", 75}, {"COS", 10}, {"SCO", 10}};
        row.rangeChorotype = pickFrom(rng, alienMix);
        // First record in Italy: mostly recent introductions.
        row.firstYear = std::to_string(std::min(2004, 1850 + int(155 * (1 - rng.real() * rng.real()))));
    } else {
        row.rangeChorotype = pickFrom(rng, profile.chorotypes);
    }
    if (!rng.chance(0.03))
        row.chorotype = row.rangeChorotype;
    row.endemic = LookupTables::isItalianEndemic(row.rangeChorotype)
               || ((row.rangeChorotype == "ALP" || row.rangeChorotype == "ALPAPP") && rng.chance(0.3));

    // Conservation category: Red List categories first, then the others.
    if (!row.alien && rng.chance(std::max(redShare, profile.assessedShare))) {
        const bool onRedList = rng.chance(redShare / std::max(redShare, profile.assessedShare));
        static const std::vector<std::pair<std::string, double>> red = {
            {"VU", 5}, {"EN", 3}, {"EX", 0.35}, {"EW", 0.1}, {"XI", 0.4}, {"C", 1.3}};
        static const std::vector<std::pair<std::string, double>> other = {
            {"LC", 6}, {"NT", 2}, {"DD", 1.5}, {"CR", 0.5}, {"R", 1}, {"NE", 0.5}};
        row.conservation = pickFrom(rng, onRedList ? red : other);
    }

    // Habitat Directive annexes: II and IV for most listed species, V for exploited ones.
    row.directive = !row.alien && rng.chance(directiveShare);
    if (row.directive) {
        row.annexII = rng.chance(0.55);
        row.annexIV = rng.chance(0.8);
        row.annexV = rng.chance(0.15);
        if (!row.annexII && !row.annexIV && !row.annexV)
            row.annexIV = true;
        row.priority = row.annexII && rng.chance(0.12);
    }
    row.bioindicator = rng.chance(profile.bioindicatorShare);

    if (!profile.larvaHabitats.empty()) {
        row.larvaHabitat1 = rng.pick(profile.larvaHabitats);
        if (rng.chance(0.45)) {
            const std::string second = rng.pick(profile.larvaHabitats);
            if (second != *row.larvaHabitat1)
                row.larvaHabitat2 = second;
        }
    }
    if (!profile.adultHabitats.empty() && rng.chance(0.95)) {
        row.adultHabitat3 = rng.pick(profile.adultHabitats);
        if (rng.chance(0.5)) {
            const std::string second = rng.pick(profile.adultHabitats);
            if (second != *row.adultHabitat3)
                row.adultHabitat4 = second;
        }
    }
    if (row.alien && rng.chance(0.3))
        row.adultHabitat4 = rng.chance(0.5) ? "UR" : "CO";
    if (!profile.larvaFeeding.empty() && rng.chance(0.9))
        row.larvaFeeding = rng.pick(profile.larvaFeeding);
    if (!profile.adultFeeding.empty() && rng.chance(0.9))
        row.adultFeeding = rng.pick(profile.adultFeeding);

    const double size = std::max(0.2, genusSize * rng.real(0.75, 1.3));
    if (rng.chance(0.85))
        row.adultSize = sizeText(rng, size);
    if (profile.larvaFactor > 0 && rng.chance(0.6))
        row.larvaSize = sizeText(rng, std::max(0.2, size * profile.larvaFactor));

    if (rng.chance(0.06)) {
        static const Words changes = {
            "Nuova per l'Italia", "Nuova combinazione", "Nuovo sinonimo", "Status specifico confermato",
            "Segnalazione da confermare", "Aggiunta alla checklist", "Elevata al rango di specie",
            "Declassata a sottospecie", "Grafia del nome corretta", "Genere modificato", "Esclusa dalla Sardegna",
            "Citata per errore della Sicilia"};
        row.changes = rng.pick(changes);
        if (rng.chance(0.5))
            *row.changes += " (" + std::to_string(rng.between(1995, 2005)) + ")";
    }
    if (rng.chance(0.28))
        row.note = noteText(rng, row, profile);
}

std::string ChecklistBuilder::noteText(DemoRandom &rng, const TaxonRow &row, const EcologyProfile &profile)
{
    const Words &regions = noteRegions(row.rangeChorotype);
    const std::string habitat = habitatText(row.adultHabitat3.value_or(row.larvaHabitat1.value_or("DI")));
    const std::string region = rng.pick(regions);
    const std::string year = std::to_string(rng.between(1880, 2004));
    Words sentences = {
        "Specie localizzata, nota di poche stazioni.",
        "Legata a " + habitat + ".",
        "Segnalazioni antiche non confermate per " + region + ".",
        "Presenza in " + region + " da verificare.",
        "Ultimo reperto noto per " + region + " del " + year + ".",
        "Tassonomia del gruppo in revisione.",
        "Attiva soprattutto in primavera e all'inizio dell'estate.",
        "Raccolta prevalentemente con trappole a caduta.",
        "Citata per " + region + " su materiale di collezione.",
        "Popolazioni in diminuzione per la trasformazione degli habitat.",
        "Comune in tutta l'area di distribuzione.",
        "Reperti di pianura molto scarsi.",
    };
    if (row.alien) {
        sentences.push_back("Introdotta accidentalmente con il commercio di piante ornamentali.");
        sentences.push_back("Primo rinvenimento in Italia nei dintorni di un porto.");
        sentences.push_back("In rapida espansione lungo le vie di comunicazione.");
    }
    if (profile.aquatic) {
        sentences.push_back("Sensibile all'inquinamento organico delle acque.");
        sentences.push_back("Scomparsa da molti tratti fluviali di pianura.");
    }
    if (profile.subterranean) {
        sentences.push_back("Nota soltanto di ambienti sotterranei.");
        sentences.push_back("Raccolta con trappole innescate in grotta.");
    }
    if (row.directive)
        sentences.push_back("Specie di interesse comunitario: monitoraggio in corso in " + region + ".");
    if (!rng.chance(0.15))
        return rng.pick(sentences);
    // A long note: several sentences in a row.
    std::string text;
    const int count = std::min(int(sentences.size()), rng.between(4, 9));
    for (int i = 0; i < count; ++i) {
        // Draw without repetition: move the chosen sentence out of the pool.
        const std::size_t k = rng.index(sentences.size());
        text += (i ? " " : "") + sentences[k];
        sentences.erase(sentences.begin() + std::ptrdiff_t(k));
    }
    return text;
}

void ChecklistBuilder::assignSpecialOwners()
{
    // A few species without a data owner, one whose owner code has a single
    // character and one whose owner is missing from the list of data owners:
    // the program must cope with each of them.
    DemoRandom rng = DemoRandom::stream(m_seed, "special owners");
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < m_list.taxa.size(); ++i)
        if (m_list.taxa[i].kind == TaxonKind::Species && m_list.taxa[i].groupCode.rfind("037", 0) != 0)
            candidates.push_back(i);
    std::set<std::size_t> used;
    auto take = [&]() {
        for (;;) {
            const std::size_t i = candidates[rng.index(candidates.size())];
            if (used.insert(i).second)
                return i;
        }
    };
    for (int i = 0; i < 6; ++i)
        m_list.taxa[take()].owner.reset();
    Owner single{"Q", NameGenerator::givenName(rng) + " " + NameGenerator::italianSurname(rng), 0};
    m_list.owners.push_back(single);
    m_list.taxa[take()].owner = single.code;
    const std::string unlisted = "ZZX";
    m_list.unlistedOwners.push_back(unlisted);
    m_list.taxa[take()].owner = unlisted;
}

void ChecklistBuilder::flagGroups()
{
    std::map<std::string, GroupRow *> byCode;
    for (GroupRow &g : m_list.groups)
        byCode[g.code] = &g;
    for (const TaxonRow &t : m_list.taxa) {
        if (t.kind == TaxonKind::Genus)
            continue;
        const bool red = t.conservation && LookupTables::isRedListCode(*t.conservation);
        for (std::size_t length : {3, 7, 11, 15}) {
            const auto it = byCode.find(t.groupCode.substr(0, length));
            if (it == byCode.end())
                continue;
            it->second->alien = it->second->alien || t.alien;
            it->second->directive = it->second->directive || t.directive;
            it->second->redList = it->second->redList || red;
        }
    }
}

}  // namespace ortolan::demo
