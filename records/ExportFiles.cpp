#include "records/ExportFiles.h"

#include "data/AtomicFile.h"

#include <QFileInfo>

namespace ortolan::records::exportfiles {

QString outputPath(const QString &chosen, const QString &ext)
{
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString folderPart = chosen.left(chosen.size() - name.size());
    // An extension is a short run of letters and digits after the last dot;
    // a leading dot (".profile") or a dot inside a taxon caption
    // ("Carabus sp. Sella") is part of the name.
    const QString suffix = dot > 0 ? name.mid(dot + 1) : QString();
    bool isExtension = !suffix.isEmpty() && suffix.size() <= 4;
    for (const QChar c : suffix)
        isExtension = isExtension && c.isLetterOrNumber();
    const QString base = isExtension ? name.left(dot) : name;
    return folderPart + base + QLatin1Char('.') + ext;
}

void writeText(const QString &path, const QString &clipText)
{
    data::AtomicFile::write(path, (clipText + QStringLiteral("\r\n")).toUtf8());
}

namespace {
SaveDialog &dialogHook()
{
    static SaveDialog hook;
    return hook;
}
}  // namespace

const SaveDialog &saveDialogOverride()
{
    return dialogHook();
}

void setSaveDialog(SaveDialog dialog)
{
    dialogHook() = std::move(dialog);
}

}  // namespace ortolan::records::exportfiles
