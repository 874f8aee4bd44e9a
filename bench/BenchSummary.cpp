#include "bench/BenchSummary.h"

#include "bench/BenchContext.h"
#include "bench/BenchRecorder.h"
#include "bench/BenchSuites.h"

#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace ortolan::bench {

namespace {

// One line of the summary: an operation, the floor it is compared with, its
// budget in milliseconds (0: none) and the largest ratio to the floor aimed
// at (0: none). Budgets decide the exit status; ratio targets are reported.
struct TimeRow {
    const char *operation;
    const char *floor;
    double budgetMs;
    double maxRatio;
};

const std::vector<TimeRow> &timeRows()
{
    static const std::vector<TimeRow> rows = {
        {"start: species window with the first tree level", "floor: open the database and read the first level", 400, 0},
        {"expand the largest order", "floor: family queries of the largest order", 50, 0},
        {"expand every order", "floor: family queries of every order", 0, 0},
        {"select a species of few squares", "floor: squares query of a species of few squares", 30, 0},
        {"select a species of ~1,000 squares", "floor: squares query of a species of ~1,000 squares", 30, 0},
        {"select the largest genus", "floor: squares query of the largest genus", 0, 0},
        {"map query path: squares of the ~1,000-square species", "floor: raw squares query of the ~1,000-square species",
         0, 1.5},
        {"zoom step to level 1 (repaint)", "floor: copy of a cached image of the surface", 16, 0},
        {"zoom step to level 2 (repaint)", "floor: copy of a cached image of the surface", 16, 0},
        {"zoom step to level 3 (repaint)", "floor: copy of a cached image of the surface", 16, 0},
        {"zoom step to level 4 (repaint)", "floor: copy of a cached image of the surface", 16, 3},
        {"scroll step at level 4", "floor: copy of a cached image of the surface", 16, 0},
        {"pan step at level 4", "floor: copy of a cached image of the surface", 16, 0},
        {"search names for 'ita'", "floor: raw query of search names for 'ita'", 50, 0},
        {"search names for 'a'", "floor: raw query of search names for 'a'", 50, 0},
        {"export txt of the most widespread species", "floor: queries of the txt export", 0, 0},
        {"export xls of the most widespread species", "floor: queries of the xls export", 0, 0},
        {"export dbf of the most widespread species", "floor: queries of the dbf export", 0, 0},
        {"export shp of the most widespread species", "floor: queries of the shp export", 0, 0},
        {"export bmp of the most widespread species", "floor: queries of the bmp export", 0, 0},
        {"export emf of the most widespread species", "floor: queries of the emf export", 0, 0},
        {"print page of the most widespread species", "floor: squares query of the print page", 0, 0},
    };
    return rows;
}

QString number(double v, int decimals = 2) { return QString::number(v, 'f', decimals); }

class Table {
public:
    void add(QStringList cells) { m_rows.push_back(std::move(cells)); }
    QString text() const
    {
        std::vector<qsizetype> width;
        for (const QStringList &r : m_rows)
            for (qsizetype i = 0; i < r.size(); ++i) {
                if (size_t(i) >= width.size())
                    width.push_back(0);
                width[size_t(i)] = std::max(width[size_t(i)], r[i].size());
            }
        QString out;
        for (const QStringList &r : m_rows) {
            QString line;
            for (qsizetype i = 0; i < r.size(); ++i)
                line += (i == 0 ? r[i].leftJustified(width[0]) : r[i].rightJustified(width[size_t(i)])) + QStringLiteral("  ");
            out += line.trimmed() + QStringLiteral("\n");
        }
        return out;
    }

private:
    std::vector<QStringList> m_rows;
};

}  // namespace

namespace {

// The table of one database: its operations (names with suffix) against
// their floors and budgets. The budgets hold for the demo database; the rows
// of the larger one are shown for comparison and judged only when `judge`.
QString budgetTable(const BenchContext &context, const QString &suffix, bool judge, bool *allOk)
{
    const BenchRecorder &r = BenchRecorder::instance();
    Table table;
    table.add({QStringLiteral("operation"), QStringLiteral("median ms"), QStringLiteral("wall ms"),
               QStringLiteral("floor ms"), QStringLiteral("ratio"), QStringLiteral("budget"), QString(),
               QStringLiteral("ratio target")});
    auto verdict = [&](bool judged, bool ok) {
        if (!judged || !judge)
            return QString();
        *allOk = *allOk && ok;
        return ok ? QStringLiteral("ok") : QStringLiteral("over");
    };
    for (const TimeRow &row : timeRows()) {
        const QString op = QString::fromUtf8(row.operation) + suffix, floor = QString::fromUtf8(row.floor) + suffix;
        if (!r.has(op))
            continue;
        const double median = r.medianCpu(op), fl = r.medianCpu(floor);
        const double ratio = fl > 0 ? median / fl : 0;
        const QString budget = row.budgetMs > 0 ? QStringLiteral("< ") + number(row.budgetMs, 0) + QStringLiteral(" ms")
                                                : QString();
        QString target;
        if (row.maxRatio > 0)
            target = QStringLiteral("<= ") + number(row.maxRatio, 1)
                     + (ratio <= row.maxRatio ? QStringLiteral(" met") : QStringLiteral(" missed"));
        table.add({QString::fromUtf8(row.operation), number(median), number(r.medianWall(op)),
                   r.has(floor) ? number(fl) : QStringLiteral("-"), r.has(floor) ? number(ratio, 1) : QStringLiteral("-"),
                   budget, verdict(row.budgetMs > 0, median < row.budgetMs), target});
    }
    for (const auto &[label, budget] : {std::pair{"atlas: family to PNG", 25.0}, std::pair{"atlas: family to EMF", 200.0}}) {
        const QString op = QString::fromUtf8(label) + suffix;
        if (!r.has(op))
            continue;
        // Pages are drawn on this thread and written on a second one; with two
        // cores the busier of the two sets the pace.
        const double pages = r.value(op + QStringLiteral(" pages"), 0);
        const double drawing = r.medianCpu(op), writing = std::max(0.0, r.medianProcessCpu(op) - drawing);
        const double perCpu = pages / (std::max(drawing, writing) / 1000.0);
        const double perWall = pages / (r.medianWall(op) / 1000.0);
        table.add({QString::fromUtf8(label) + QStringLiteral(" (%1 pages), pages/s").arg(pages), number(perCpu, 1),
                   number(perWall, 1), QStringLiteral("-"), QStringLiteral("-"),
                   QStringLiteral(">= ") + number(budget, 0), verdict(true, perCpu >= budget)});
    }
    const double memory = peakMemoryMb(context, suffix.isEmpty() ? context.demoDatabase : context.largeDatabase);
    BenchRecorder::instance().setValue(QStringLiteral("peak memory") + suffix, memory);
    table.add({QStringLiteral("peak resident memory, species window with the largest genus, MB"), number(memory, 1),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("< 200"),
               verdict(true, memory >= 0 && memory < 200)});
    return table.text();
}

}  // namespace

bool printSummary(const BenchContext &context)
{
    const BenchRecorder &r = BenchRecorder::instance();
    const bool large = !context.largeDatabase.isEmpty();
    bool allOk = true;
    QString text = QStringLiteral("\nDemo database (medians of the processor time of the work; wall time for "
                                  "reference):\n")
                   + budgetTable(context, QString(), true, &allOk);
    if (large) {
        text += QStringLiteral("\nDatabase of ten times the records (for comparison; the budgets are the demo "
                               "database's):\n")
                + budgetTable(context, largeSuffix(), false, &allOk);
        text += QStringLiteral("\nDemo -> x10 records:\n");
        for (const TimeRow &row : timeRows()) {
            const QString op = QString::fromUtf8(row.operation);
            if (!r.has(op) || !r.has(op + largeSuffix()))
                continue;
            const double demo = r.medianCpu(op), big = r.medianCpu(op + largeSuffix());
            text += QStringLiteral("  ") + op.leftJustified(56) + number(demo) + QStringLiteral(" -> ") + number(big)
                    + QStringLiteral(" ms (x") + number(demo > 0 ? big / demo : 0, 2) + QStringLiteral(")\n");
        }
        const double demoMemory = r.value(QStringLiteral("peak memory")),
                     bigMemory = r.value(QStringLiteral("peak memory") + largeSuffix());
        text += QStringLiteral("  ") + QStringLiteral("peak resident memory, MB").leftJustified(56)
                + number(demoMemory, 1) + QStringLiteral(" -> ") + number(bigMemory, 1) + QStringLiteral(" (x")
                + number(demoMemory > 0 ? bigMemory / demoMemory : 0, 2) + QStringLiteral(")\n");
    }
    text += allOk ? QStringLiteral("\nEvery budget met.\n") : QStringLiteral("\nSome budgets are missed (\"over\").\n");
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (!context.reportPath.isEmpty()) {
        QSaveFile report(context.reportPath);
        if (report.open(QIODevice::WriteOnly) && report.write(bytes) == bytes.size())
            report.commit();
    }
    return allOk;
}

}  // namespace ortolan::bench
