#pragma once

#include <QByteArray>
#include <QString>

#include <shapefil.h>

#include <map>
#include <string>

namespace ortolan::data {

// In-memory files for shapelib's DBF writer: shapelib does all its file work
// through the hooks() of one instance, so a whole .dbf (and its .cpg) is built
// in memory and can then be written atomically (AtomicFile). Write errors of
// a real disk can therefore only happen in AtomicFile, which reports them.
//
// shapelib's hooks carry no user pointer, so the instance registers itself for
// the current thread while it lives; create one per table written.
class DbfMemoryFiles {
public:
    DbfMemoryFiles();
    ~DbfMemoryFiles();
    DbfMemoryFiles(const DbfMemoryFiles &) = delete;
    DbfMemoryFiles &operator=(const DbfMemoryFiles &) = delete;

    SAHooks *hooks() { return &hooks_; }
    // The bytes of a file that shapelib wrote, by the name it was given; null
    // when no such file exists.
    QByteArray file(const std::string &name) const;
    bool contains(const std::string &name) const { return files_.count(name) > 0; }
    // The last message shapelib reported through its error hook.
    QString lastError() const { return lastError_; }

    // Used by the hook functions.
    static DbfMemoryFiles *current();
    std::map<std::string, QByteArray> &files() { return files_; }
    void setLastError(const QString &message) { lastError_ = message; }

private:
    std::map<std::string, QByteArray> files_;
    QString lastError_;
    SAHooks hooks_;
    DbfMemoryFiles *previous_;
};

}  // namespace ortolan::data
