#pragma once

#include <QString>

#include <functional>

namespace ortolan::bench {

// One measured operation: `once` runs before the first iteration (not timed),
// `prepare` before each iteration (not timed), `body` is what is timed and
// recorded under name in the BenchRecorder.
struct BenchOperation {
    QString name;
    int iterations = 10;
    std::function<void()> once;
    std::function<void()> prepare;
    std::function<void()> body;
};

// Registers the operation with Google Benchmark (fixed iterations, times in
// milliseconds); benchmarks run in the order they are registered.
void registerOperation(const BenchOperation &operation);

}  // namespace ortolan::bench
