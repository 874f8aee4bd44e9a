#include "bench/BenchOperation.h"

#include "bench/BenchRecorder.h"

#include <benchmark/benchmark.h>

namespace ortolan::bench {

void registerOperation(const BenchOperation &operation)
{
    const BenchOperation op = operation;
    benchmark::RegisterBenchmark(op.name.toStdString().c_str(), [op](benchmark::State &state) {
        if (op.once)
            op.once();
        for (auto _ : state) {
            if (op.prepare) {
                state.PauseTiming();
                op.prepare();
                state.ResumeTiming();
            }
            BenchRecorder::instance().time(op.name, op.body);
        }
    })
        ->Iterations(op.iterations)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace ortolan::bench
