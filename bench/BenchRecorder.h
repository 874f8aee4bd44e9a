#pragma once

#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace ortolan::bench {

// Times of one operation, in milliseconds: the processor time of the thread
// (what the work costs, steady on a shared machine), the wall-clock time, and
// the processor time of the whole process (the thread plus any helper thread
// the work started).
struct Sample {
    double cpuMs = 0.0;
    double wallMs = 0.0;
    double processCpuMs = 0.0;
};

// Collects the samples of every measured operation of a run, so the run can
// end with one line per operation: median, the median of its floor, their
// ratio and the budget. Benchmarks record by name; rows pair them afterwards.
class BenchRecorder {
public:
    static BenchRecorder &instance();

    void add(const QString &name, Sample sample);
    // Times fn once and records it under name.
    Sample time(const QString &name, const std::function<void()> &fn);
    // Records a figure that is not a time (pages per second, megabytes).
    void setValue(const QString &name, double value);

    bool has(const QString &name) const;
    double medianCpu(const QString &name) const;
    double medianWall(const QString &name) const;
    double medianProcessCpu(const QString &name) const;
    int count(const QString &name) const;
    double value(const QString &name, double fallback = -1.0) const;

private:
    double median(const QString &name, double Sample::*field) const;

    std::map<QString, std::vector<Sample>> m_samples;
    std::map<QString, double> m_values;
};

// Processor time of the calling thread and of the process, and a monotonic
// clock, in milliseconds.
double threadCpuMs();
double processCpuMs();
double wallMs();

}  // namespace ortolan::bench
