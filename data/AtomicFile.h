#pragma once

#include <QByteArray>
#include <QString>

namespace ortolan::data {

// Writes exported files so that a failure never leaves a half-written file:
// the bytes go to a temporary file in the target's folder, which is flushed to
// disk and then renamed over the target. An earlier file of the same name
// stays untouched until the rename.
class AtomicFile {
public:
    // Throws DataError naming the path when the folder is missing or not
    // writable, the disk is full, or the rename fails.
    static void write(const QString &path, const QByteArray &bytes);
};

}  // namespace ortolan::data
