#pragma once

#include "tools/demo_db/Checklist.h"
#include "tools/demo_db/DemoRandom.h"
#include "tools/demo_db/HigherTaxa.h"
#include "tools/demo_db/NameGenerator.h"

#include <cstdint>
#include <map>

namespace ortolan::demo {

struct EcologyProfile;

// Builds the checklist of the demo data set: data owners, genera, species and
// subspecies of every family with their attributes, and the filter flags of
// the groups derived from the taxa below them.
class ChecklistBuilder
{
public:
    ChecklistBuilder(const HigherTaxa &higher, std::uint64_t seed);

    Checklist build();

private:
    struct Author {
        std::string name;
        int from = 0, to = 0;  // years of activity
    };

    void makeAuthors();
    void makeOwners(std::vector<std::string> &ownerOfFamily);
    void makeFamily(std::size_t familyIndex, const std::string &owner);
    void fillSpecies(DemoRandom &rng, const FamilyPlan &family, const EcologyProfile &profile, TaxonRow &row,
                     double genusSize);
    struct Citation {
        bool vertebrate = false;
        bool parentheses = false;  // described in another genus
        int genusYear = 0;         // a species described earlier belongs in parentheses
        int notBefore = 0;         // a subspecies is described after its species
    };
    // "Author, year" or "(Author, year)"; stores the year in *year when given.
    std::string citation(DemoRandom &rng, const Citation &how, int *year);
    std::string noteText(DemoRandom &rng, const TaxonRow &row, const EcologyProfile &profile);
    void assignSpecialOwners();
    void flagGroups();

    const HigherTaxa &m_higher;
    std::uint64_t m_seed;
    NameGenerator m_names;
    std::vector<Author> m_authors;
    std::map<int, int> m_nextGenus;  // next genus number of each checklist volume
    Checklist m_list;
};

}  // namespace ortolan::demo
