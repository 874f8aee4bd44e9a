#pragma once

#include "tools/demo_db/DemoRandom.h"

#include <set>
#include <string>

namespace ortolan::demo {

enum class Gender { Masculine, Feminine, Neuter };

// Style of the generated place names, after the language areas of Italy.
enum class PlaceStyle { North, Centre, South, Sicily, Sardinia, Tyrol };

// Generated but plausible names: Latin genus names and epithets built from
// Greek and Latin roots, surnames of taxonomists and specialists, and
// Italian-looking place names. Genus names are unique over one generator.
class NameGenerator
{
public:
    struct GenusName {
        std::string name;
        Gender gender = Gender::Masculine;
    };

    // A new genus name in the style of a group (ecological profile tag).
    GenusName genus(DemoRandom &rng, const std::string &profileTag);
    // A specific or subspecific epithet agreeing with the genus' gender; some
    // recall the area of the chorotype ("sardous", "alpinus") or a person.
    std::string epithet(DemoRandom &rng, Gender gender, const std::string &chorotype, bool subterranean);

    static std::string italianSurname(DemoRandom &rng);
    static std::string givenName(DemoRandom &rng);
    // Surname of a taxonomist of any European country.
    static std::string authorSurname(DemoRandom &rng);
    static std::string townName(DemoRandom &rng, PlaceStyle style);
    // Name of a natural feature: mountain, stream or wood name without its noun.
    static std::string featureName(DemoRandom &rng, PlaceStyle style);

private:
    std::set<std::string> m_genera;
};

// "Ferrini" -> "ferrinii": a dedication epithet.
std::string patronym(const std::string &surname, bool female);

}  // namespace ortolan::demo
