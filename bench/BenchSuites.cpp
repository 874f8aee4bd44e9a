#include "bench/BenchSuites.h"

namespace ortolan::bench {

void registerAllBenchmarks(const QString &demo, const QString &large)
{
    // Each group runs on the demo database and then at once on the larger
    // one, so that the two are measured under the same load of the machine.
    for (auto group : {registerBrowserBenchmarks, registerMapBenchmarks, registerExportBenchmarks,
                       registerAtlasBenchmarks}) {
        group(demo, QString());
        if (!large.isEmpty())
            group(large, largeSuffix());
    }
}

}  // namespace ortolan::bench
