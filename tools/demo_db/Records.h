#pragma once

#include <optional>
#include <string>

namespace ortolan::demo {

// One row of table Bibliografia.
struct SourceRow {
    std::string code;      // CODICE_AU
    std::string author, year, title, journal, details;
    std::string owner;     // REFERENTE: the data owner who supplied it
    int kind = 1;          // TIPO_FONTE, see RecordBuilder::sourceKinds()
};

// One row of table Stazioni.
struct SiteRow {
    std::string taxonCode, taxonName, region, province, locality, site;
    std::optional<int> elevation;
    std::string source;
    int year = 0;
    std::optional<std::string> square;
    std::string precision;
};

}  // namespace ortolan::demo
