#pragma once

#include "tools/demo_db/Checklist.h"
#include "tools/demo_db/HigherTaxa.h"
#include "tools/demo_db/Records.h"
#include "tools/demo_db/SquareGrid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ortolan::demo {

// Generates the data sources of every data owner and the records of every
// species and subspecies over its range: locality, site, elevation, source,
// year and square of each record.
class RecordBuilder
{
public:
    // `scale` multiplies the number of records per occupied square (0.05 for a
    // quick test, 10 for a benchmark); the ranges themselves do not change.
    RecordBuilder(const SquareGrid &grid, const Checklist &list, const HigherTaxa &higher, std::uint64_t seed,
                  double scale);

    // The rows of Bibliografia; call before makeSites.
    std::vector<SourceRow> makeSources();
    // Calls `emit` for each record, taxon by taxon in checklist order.
    void makeSites(const std::function<void(const SiteRow &)> &emit);

    // Kinds of source (TIPO_FONTE): 1 publication, 2 collection, 3 unpublished data, 4 thesis.
    static const std::vector<std::string> &sourceKinds();

    std::size_t sitesMade() const { return m_sites; }
    std::size_t taxaWithRecords() const { return m_taxaWithRecords; }

private:
    struct Places {
        std::vector<std::string> towns, features;
    };
    struct OwnerSources {
        std::vector<std::size_t> sources;  // indices into m_sources
        std::vector<double> weights;       // a few sources supply most records
    };

    const Places &places(int square);
    void addSources(const std::string &owner, int count, DemoRandom &rng);
    std::string locality(DemoRandom &rng, const TaxonRow &taxon, int square, bool aquatic, bool cave);
    std::string siteText(DemoRandom &rng, const TaxonRow &taxon, bool aquatic, bool cave, bool vertebrate);
    int recordYear(DemoRandom &rng, const SourceRow &source, const TaxonRow &taxon);
    std::string missingSquare(int square);
    void emitRecords(const TaxonRow &taxon, const std::vector<int> &squares, bool common,
                     const std::function<void(const SiteRow &)> &emit);

    const SquareGrid &m_grid;
    const Checklist &m_list;
    const HigherTaxa &m_higher;
    std::uint64_t m_seed;
    double m_scale;
    std::vector<SourceRow> m_sources;
    std::map<std::string, OwnerSources> m_byOwner;
    std::map<std::string, std::string> m_familyOwner;  // family code -> its regular data owner
    std::map<int, Places> m_places;
    std::vector<std::pair<std::string, int>> m_phantoms;  // absent codes beside the squares, and their square
    std::size_t m_sites = 0, m_taxaWithRecords = 0;
};

}  // namespace ortolan::demo
