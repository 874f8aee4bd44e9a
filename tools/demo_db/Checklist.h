#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ortolan::demo {

enum class TaxonKind { Genus, Species, Subspecies };

// One row of table Specie, with what the record generator needs besides.
struct TaxonRow {
    TaxonKind kind = TaxonKind::Species;
    std::string code;       // "FFF.GGGGG." genus, "FFF.GGGGG.SSSSS" species, + "NN" subspecies
    std::string name;
    std::string author;
    std::string groupCode;  // the family's 15-character code
    bool alien = false;
    bool directive = false;
    std::optional<std::string> conservation, owner, chorotype, changes, firstYear;
    std::optional<std::string> larvaHabitat1, larvaHabitat2, adultHabitat3, adultHabitat4;
    std::optional<std::string> larvaFeeding, adultFeeding, larvaSize, adultSize;
    bool endemic = false, bioindicator = false, priority = false;
    bool annexII = false, annexIV = false, annexV = false;
    std::optional<std::string> note;

    // Generator-side facts, not stored as such.
    std::size_t family = 0;        // index into the family plans
    std::string rangeChorotype;    // chorotype the distribution follows (also when the stored one is null)
    int authorYear = 0;            // year of description
};

// A group of table Taxa with its filter flags.
struct GroupRow {
    std::string code, name;
    bool directive = false, redList = false, alien = false;
};

// A data owner of table Referenti.
struct Owner {
    std::string code, specialists;
    int taxa = 0;  // species and subspecies supplied
};

struct Checklist {
    std::vector<GroupRow> groups;
    std::vector<TaxonRow> taxa;  // in code order within each family, families in table order
    std::vector<Owner> owners;   // the rows of Referenti
    // Owner codes used by species but deliberately missing from Referenti.
    std::vector<std::string> unlistedOwners;
};

}  // namespace ortolan::demo
