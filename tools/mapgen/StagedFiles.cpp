#include "tools/mapgen/StagedFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>

namespace ortolan::mapgen {

StagedFiles::StagedFiles(const QString &root)
    : m_root(root), m_temp(QDir(root).filePath(QStringLiteral(".mapgen-XXXXXX")))
{
}

QString StagedFiles::stage(const QString &relativePath)
{
    const QString path = QDir(m_temp.path()).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (std::find(m_files.begin(), m_files.end(), relativePath) == m_files.end())
        m_files.push_back(relativePath);
    return path;
}

bool StagedFiles::write(const QString &relativePath, const QByteArray &bytes, QString *error)
{
    QSaveFile file(stage(relativePath));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write ") + file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

bool StagedFiles::commit(QString *error)
{
    for (const QString &relative : m_files) {
        const QString target = QDir(m_root).filePath(relative);
        QDir().mkpath(QFileInfo(target).absolutePath());
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(QDir(m_temp.path()).filePath(relative).toStdString()),
                                std::filesystem::path(target.toStdString()), ec);
        if (ec) {
            *error = QStringLiteral("cannot move into place ") + target + QStringLiteral(": ")
                     + QString::fromStdString(ec.message());
            return false;
        }
    }
    m_files.clear();
    return true;
}

}  // namespace ortolan::mapgen
