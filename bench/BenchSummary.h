#pragma once

namespace ortolan::bench {

struct BenchContext;

// Prints one line per operation (median, floor, ratio, budget, "ok" or
// "over"), the growth from the demo to the larger database, and writes the
// same table to the context's report file. Returns false when a budget is
// missed.
bool printSummary(const BenchContext &context);

}  // namespace ortolan::bench
