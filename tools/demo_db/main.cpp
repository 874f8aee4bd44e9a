// ortolan-demo-db: writes the demonstration species database.
//
//   ortolan-demo-db --out PATH [--squares CSV] [--scale X] [--seed N]
//
// The same arguments always give a byte-identical file. Without a square table
// the records, squares and sources are left empty.

#include "tools/demo_db/ChecklistBuilder.h"
#include "tools/demo_db/DemoDatabaseWriter.h"
#include "tools/demo_db/HigherTaxa.h"
#include "tools/demo_db/RecordBuilder.h"
#include "tools/demo_db/SquareGrid.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

constexpr const char *kPassword = "HXWLB58";
constexpr const char *kDataset = "demo: generated names and records";
constexpr std::uint64_t kDefaultSeed = 19580611;

struct Options {
    std::string out, squares;
    double scale = 1.0;
    std::uint64_t seed = kDefaultSeed;
};

int usage(const std::string &message)
{
    std::fprintf(stderr, "ortolan-demo-db: %s\n", message.c_str());
    std::fprintf(stderr, "usage: ortolan-demo-db --out PATH [--squares CSV] [--scale X] [--seed N]\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    using namespace ortolan::demo;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return usage("missing value after " + arg);
        const std::string value = argv[++i];
        try {
            std::size_t used = 0;
            if (arg == "--out") {
                options.out = value;
            } else if (arg == "--squares") {
                options.squares = value;
            } else if (arg == "--scale") {
                options.scale = std::stod(value, &used);
                if (used != value.size() || !(options.scale > 0 && options.scale <= 1000))
                    return usage("the scale must be a number above 0 and at most 1000");
            } else if (arg == "--seed") {
                options.seed = std::stoull(value, &used);
                if (used != value.size())
                    return usage("the seed must be a whole number");
            } else {
                return usage("unknown option " + arg);
            }
        } catch (const std::exception &) {
            return usage("bad value for " + arg + ": " + value);
        }
    }
    if (options.out.empty())
        return usage("--out is required");

    namespace fs = std::filesystem;
    const auto started = std::chrono::steady_clock::now();
    const fs::path target(options.out);
    const fs::path partial = fs::path(options.out + ".partial");
    try {
        if (target.has_parent_path())
            fs::create_directories(target.parent_path());
        fs::remove(partial);

        const HigherTaxa higher;
        const Checklist list = ChecklistBuilder(higher, options.seed).build();
        std::size_t sites = 0, sources = 0, squares = 0;
        {
            DemoDatabaseWriter writer(partial.string(), kPassword, kDataset);
            writer.writeLookups(list);
            writer.writeChecklist(list);
            if (!options.squares.empty()) {
                const SquareGrid grid = SquareGrid::load(options.squares, options.seed);
                writer.writeSquares(grid.squares());
                squares = grid.squares().size();
                RecordBuilder records(grid, list, higher, options.seed, options.scale);
                const std::vector<SourceRow> bibliography = records.makeSources();
                writer.writeSources(bibliography);
                sources = bibliography.size();
                records.makeSites([&writer](const SiteRow &site) { writer.addSite(site); });
                sites = records.sitesMade();
            }
            writer.finish();
        }
        fs::rename(partial, target);
        std::printf("ortolan-demo-db: %zu taxa, %zu squares, %zu sources, %zu records\n", list.taxa.size(), squares,
                    sources, sites);
    } catch (const std::exception &e) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        std::fprintf(stderr, "ortolan-demo-db: %s\n", e.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("ortolan-demo-db: wrote %s in %.1f s\n", options.out.c_str(), seconds);
    return 0;
}
