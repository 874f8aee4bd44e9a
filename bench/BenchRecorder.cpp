#include "bench/BenchRecorder.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>

namespace ortolan::bench {

namespace {

double medianOf(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

}  // namespace

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double wallMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return double(clock.nsecsElapsed()) / 1e6;
}

BenchRecorder &BenchRecorder::instance()
{
    static BenchRecorder recorder;
    return recorder;
}

void BenchRecorder::add(const QString &name, Sample sample) { m_samples[name].push_back(sample); }

Sample BenchRecorder::time(const QString &name, const std::function<void()> &fn)
{
    const double c0 = threadCpuMs(), w0 = wallMs(), p0 = processCpuMs();
    fn();
    const Sample s{threadCpuMs() - c0, wallMs() - w0, processCpuMs() - p0};
    add(name, s);
    return s;
}

void BenchRecorder::setValue(const QString &name, double value) { m_values[name] = value; }

bool BenchRecorder::has(const QString &name) const { return m_samples.count(name) > 0; }

int BenchRecorder::count(const QString &name) const
{
    const auto it = m_samples.find(name);
    return it == m_samples.end() ? 0 : int(it->second.size());
}

double BenchRecorder::median(const QString &name, double Sample::*field) const
{
    std::vector<double> v;
    if (const auto it = m_samples.find(name); it != m_samples.end())
        for (const Sample &s : it->second)
            v.push_back(s.*field);
    return medianOf(v);
}

double BenchRecorder::medianCpu(const QString &name) const { return median(name, &Sample::cpuMs); }
double BenchRecorder::medianWall(const QString &name) const { return median(name, &Sample::wallMs); }
double BenchRecorder::medianProcessCpu(const QString &name) const { return median(name, &Sample::processCpuMs); }

double BenchRecorder::value(const QString &name, double fallback) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? fallback : it->second;
}

}  // namespace ortolan::bench
