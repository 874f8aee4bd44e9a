#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ortolan::demo {

// How the species of a family live: sizes, feeding, habitats and the mix of
// chorotypes, with the shares of aliens, protected and threatened species.
// Families name their profile by tag in the higher taxa table.
struct EcologyProfile {
    std::string tag;
    double sizeMin = 1, sizeMax = 10;  // adult size, mm
    double larvaFactor = 0;            // larva (or juvenile) size relative to the adult; 0: none given
    std::vector<std::string> larvaFeeding, adultFeeding;
    std::vector<std::string> larvaHabitats, adultHabitats;  // codes of table Habitat
    std::vector<std::pair<std::string, double>> chorotypes;  // chorotype code and weight
    double speciesPerGenus = 4.5;      // mean number of species in a genus
    double subspeciesShare = 0.03;     // share of species split into subspecies
    double bioindicatorShare = 0.02;
    double alienShare = 0.009;
    double directiveShare = 0.002;
    double redListShare = 0.025;       // share with a Red List category (V*, E*, X*, C)
    double assessedShare = 0.08;       // share with any conservation category
    double rangeFactor = 1.0;          // how widely the group has been recorded
    bool vertebrate = false;
    bool aquatic = false;
    bool subterranean = false;

    // The profile of a tag; throws std::runtime_error for an unknown tag.
    static const EcologyProfile &byTag(const std::string &tag);
};

}  // namespace ortolan::demo
