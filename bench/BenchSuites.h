#pragma once

#include <QString>

// The groups of benchmarks; each registers its operations for one database
// (suffix "" for the demo database, largeSuffix() for the larger one).
namespace ortolan::bench {

inline QString largeSuffix() { return QStringLiteral(" [x10]"); }

void registerBrowserBenchmarks(const QString &database, const QString &suffix);
void registerMapBenchmarks(const QString &database, const QString &suffix);
void registerExportBenchmarks(const QString &database, const QString &suffix);
void registerAtlasBenchmarks(const QString &database, const QString &suffix);

// Every group, in the order they run, on the demo database and on the larger
// one (none when empty).
void registerAllBenchmarks(const QString &demo, const QString &large);

// The memory probe (run as a separate process): opens the species window on
// the database, selects the genus, and prints the peak resident memory in
// kilobytes. Returns the exit status.
int memoryProbe(const QString &database, const QString &genus);

struct BenchContext;
// Runs the memory probe on a database in a new process; megabytes, or -1.
double peakMemoryMb(const BenchContext &context, const QString &database);

}  // namespace ortolan::bench
