#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace ortolan::print {

// Writes the files of a batch of pages on a thread of its own, so that
// drawing the next page overlaps with encoding and writing the last one (two
// cores do twice the work). A page is either finished bytes (a metafile or a
// PDF) or an image that is encoded as PNG on the writing thread. Every file
// is written atomically (a temporary file renamed over the target).
//
// The queue holds at most `depth` pages: add() waits while it is full, so a
// fast producer never piles up images. The first failure stops the writing;
// later pages are dropped and failure() names what went wrong.
class PageFileWriter {
public:
    explicit PageFileWriter(int depth = 2);
    // Waits for the pages queued so far.
    ~PageFileWriter();
    PageFileWriter(const PageFileWriter &) = delete;
    PageFileWriter &operator=(const PageFileWriter &) = delete;

    // Queues a page; false when an earlier page failed (nothing is queued).
    bool add(const QString &path, const QByteArray &bytes);
    bool add(const QString &path, const QImage &png);
    // Waits until every queued page is written (or the writing failed);
    // true when all were written.
    bool finish();
    // One line naming the first file that could not be written, and why.
    QString failure() const;

private:
    struct Job {
        QString path;
        QByteArray bytes;
        QImage image;
    };
    bool push(Job job);
    void run();
    static QString write(const Job &job);

    const size_t m_depth;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_busy = false;      // a job is being written
    bool m_stopping = false;
    QString m_failure;
    std::thread m_thread;     // last: starts once the members above exist
};

}  // namespace ortolan::print
