// ortolan-bench: the atlas's operations timed headless on the demo database
// and on a larger generated one, each beside the floor it cannot beat, with a
// summary table against the performance budgets.
#include "app/AppPaths.h"
#include "app/Settings.h"
#include "bench/BenchContext.h"
#include "bench/BenchSuites.h"
#include "bench/BenchSummary.h"

#include <QApplication>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace ortolan;

namespace {

// Takes "--name VALUE" out of argv; returns the value or def.
QString takeOption(std::vector<char *> &args, const char *name, const QString &def = QString())
{
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        if (std::strcmp(args[i], name) == 0) {
            const QString value = QString::fromLocal8Bit(args[i + 1]);
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return value;
        }
    }
    return def;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<char *> args(argv, argv + argc);
    bench::BenchContext &context = bench::BenchContext::instance();
    context.appDir = takeOption(args, "--app-dir");
    context.demoDatabase = takeOption(args, "--db");
    context.largeDatabase = takeOption(args, "--large-db");
    context.reportPath = takeOption(args, "--report");
    const QString probe = takeOption(args, "--memory-probe");
    const QString probeGenus = takeOption(args, "--genus");

    int count = int(args.size());
    QApplication app(count, args.data());
    context.selfPath = QCoreApplication::applicationFilePath();
    if (context.appDir.isEmpty())
        context.appDir = QCoreApplication::applicationDirPath();
    Settings &s = settings();
    s.setLanguage(QStringLiteral("Inglese"));
    initialisePaths(s, context.appDir);
    if (context.demoDatabase.isEmpty())
        context.demoDatabase = s.DatabasePath;
    if (!QFileInfo::exists(context.demoDatabase)) {
        std::fprintf(stderr, "ortolan-bench: no database at %s\n", qPrintable(context.demoDatabase));
        return 2;
    }
    if (!probe.isEmpty())
        return bench::memoryProbe(probe, probeGenus);

    benchmark::Initialize(&count, args.data());
    if (!context.largeDatabase.isEmpty() && !QFileInfo::exists(context.largeDatabase)) {
        std::fprintf(stderr, "ortolan-bench: no database at %s; the demo database only\n",
                     qPrintable(context.largeDatabase));
        context.largeDatabase.clear();
    }
    bench::registerAllBenchmarks(context.demoDatabase, context.largeDatabase);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return bench::printSummary(context) ? 0 : 1;
}
