#include "data/AtomicFile.h"

#include "data/DataError.h"

#include <QSaveFile>

namespace ortolan::data {

void AtomicFile::write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Without the direct-write fallback QSaveFile never writes into the target
    // itself, even in folders where it cannot create its temporary file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw DataError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw DataError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + reason);
    }
    if (!file.commit())
        throw DataError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString());
}

}  // namespace ortolan::data
