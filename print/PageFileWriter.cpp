#include "print/PageFileWriter.h"

#include "print/PngWriter.h"

#include <QSaveFile>

namespace ortolan::print {

PageFileWriter::PageFileWriter(int depth)
    : m_depth(size_t(std::max(1, depth))), m_thread([this] { run(); })
{
}

PageFileWriter::~PageFileWriter()
{
    finish();
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool PageFileWriter::add(const QString &path, const QByteArray &bytes) { return push({path, bytes, QImage()}); }

bool PageFileWriter::add(const QString &path, const QImage &png) { return push({path, QByteArray(), png}); }

bool PageFileWriter::push(Job job)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < m_depth || !m_failure.isEmpty(); });
    if (!m_failure.isEmpty())
        return false;
    m_jobs.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool PageFileWriter::finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_jobs.empty() && !m_busy) || !m_failure.isEmpty(); });
    return m_failure.isEmpty();
}

QString PageFileWriter::failure() const
{
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

void PageFileWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_jobs.empty() || m_stopping; });
        if (m_jobs.empty())
            return;
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        m_changed.notify_all();
        const QString failure = write(job);
        lock.lock();
        m_busy = false;
        if (!failure.isEmpty() && m_failure.isEmpty()) {
            m_failure = failure;
            m_jobs.clear();
        }
        m_changed.notify_all();
    }
}

QString PageFileWriter::write(const Job &job)
{
    QSaveFile file(job.path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + job.path + QStringLiteral(" (") + file.errorString()
               + QStringLiteral(")");
    QString error;
    const bool written = job.image.isNull() ? file.write(job.bytes) == job.bytes.size()
                                            : PngWriter::write(job.image, &file, &error);
    if (!written || !file.commit()) {
        file.cancelWriting();
        return QStringLiteral("cannot write ") + job.path + QStringLiteral(" (")
               + (error.isEmpty() ? file.errorString() : error) + QStringLiteral(")");
    }
    return QString();
}

}  // namespace ortolan::print
