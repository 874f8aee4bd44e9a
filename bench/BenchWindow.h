#pragma once

#include <QString>

class QTreeWidgetItem;

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::bench {

// The species window the benchmarks drive: 1600 x 1000 pixels, filter
// "Tutto", on the database the settings point at. Opened again when the
// database changes.
class BenchWindow {
public:
    static browser::SpeciesWindow &get();
    // Opens a new window (closing the one open) and shows it at its size.
    static browser::SpeciesWindow &open();
    static void close();
    // Runs deferred deletions and pending events.
    static void settle();
    // The tree node of a taxon (its order expanded first); null when absent.
    static QTreeWidgetItem *reveal(const QString &taxonCode);
    // The family code of a taxon.
    static QString familyOf(const QString &taxonCode);

    static constexpr int Width = 1600;
    static constexpr int Height = 1000;
};

}  // namespace ortolan::bench
