#pragma once

#include <QString>
#include <QTemporaryDir>

#include <vector>

namespace ortolan::mapgen {

// Output files written first into a temporary folder below the output root
// and moved into place together at the end, so a failed run leaves the
// earlier files as they were.
class StagedFiles {
public:
    explicit StagedFiles(const QString &root);

    bool isValid() const { return m_temp.isValid(); }
    // Where to write the file that will become root/relativePath.
    QString stage(const QString &relativePath);
    // Writes bytes to a staged file; false with *error set on failure.
    bool write(const QString &relativePath, const QByteArray &bytes, QString *error);
    // Moves every staged file into place (each by one rename); false with
    // *error naming the first file that could not be moved.
    bool commit(QString *error);

private:
    QString m_root;
    QTemporaryDir m_temp;
    std::vector<QString> m_files;
};

}  // namespace ortolan::mapgen
