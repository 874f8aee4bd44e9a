// Peak resident memory of the program with a database open: the species
// window at 1600 x 1000 with the largest genus drawn. Runs in a process of its
// own (ortolan-bench --memory-probe DATABASE --genus CODE) so that nothing of
// the benchmarks counts (their queries over whole tables among them); reads
// the kernel's high-water mark of the process.
#include "bench/BenchContext.h"
#include "bench/BenchSuites.h"
#include "bench/BenchTaxa.h"
#include "bench/BenchWindow.h"

#include "browser/SpeciesWindow.h"
#include "map/MapWidget.h"

#include <QFile>
#include <QProcess>

#include <cstdio>

namespace ortolan::bench {

namespace {

// VmHWM of /proc/self/status in kilobytes; -1 where the system has none.
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

}  // namespace

int memoryProbe(const QString &database, const QString &genus)
{
    BenchContext::instance().use(database);
    browser::SpeciesWindow &w = BenchWindow::open();
    if (QTreeWidgetItem *item = BenchWindow::reveal(genus))
        w.nodeClick(item);
    w.mapWidget()->repaint();
    BenchWindow::settle();
    std::printf("peak-kb %ld\n", peakResidentKb());
    BenchWindow::close();
    return 0;
}

double peakMemoryMb(const BenchContext &context, const QString &database)
{
    QProcess probe;
    probe.start(context.selfPath, {QStringLiteral("--app-dir"), context.appDir, QStringLiteral("--memory-probe"), database,
                                   QStringLiteral("--genus"), BenchTaxa::of(database).bigGenus});
    if (!probe.waitForFinished(120000))
        return -1;
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n'))
        if (line.startsWith("peak-kb "))
            return line.mid(8).toDouble() / 1024.0;
    return -1;
}

}  // namespace ortolan::bench
