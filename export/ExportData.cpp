#include "export/ExportData.h"

#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "export/ExportJob.h"

#include <QApplication>
#include <QFileDialog>
#include <QHash>

namespace ortolan::exporting {

namespace {

QString fileDialog(QWidget *parent, const SaveDialogRequest &request)
{
    QFileDialog dialog(parent, request.title, request.startFolder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without extension gets the format's, and the overwrite
    // prompt asks about the file that will really be written.
    dialog.setDefaultSuffix(request.format);
    dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

SaveDialog &saveDialog()
{
    static SaveDialog dialog;
    return dialog;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void setSaveDialog(SaveDialog dialog)
{
    saveDialog() = std::move(dialog);
}

QString exportFilter(const QString &format)
{
    static const QHash<QString, QString> filters = {
        {QStringLiteral("bmp"), QStringLiteral("Bitmap files (*.bmp)")},
        {QStringLiteral("emf"), QStringLiteral("Metafiles (*.emf)")},
        {QStringLiteral("shp"), QStringLiteral("Shapefiles (*.shp)")},
        {QStringLiteral("dbf"), QStringLiteral("dbase files (*.dbf)")},
        {QStringLiteral("xls"), QStringLiteral("Excel files (*.xls)")},
        {QStringLiteral("txt"), QStringLiteral("Text files (*.txt)")},
    };
    return filters.value(format);
}

void exportSelectedTaxon(QWidget *parent, const QString &format)
{
    const Settings &s = settings();
    if (!ExportJob::isFormat(format)) {
        showError(s.messages.MsgExportFailed, parent);
        return;
    }
    const SaveDialogRequest request{s.SelectedCaption, s.UserFolder, s.SelectedCaption, exportFilter(format), format};
    const QString chosen = saveDialog() ? saveDialog()(parent, request) : fileDialog(parent, request);
    if (chosen.trimmed().isEmpty())
        return;
    ExportResult result;
    {
        const WaitCursor wait;
        result = ExportJob::run(ExportJob::fromSettings(format, chosen));
    }
    if (result.ok)
        showInfo(result.messageText, parent);
    else
        showError(result.messageText, parent);
}

void Export_Data(browser::SpeciesWindow &window)
{
    const Settings &s = settings();
    const bool taxonSelected = (s.SelectedNodeKind == QStringLiteral("S") || s.SelectedNodeKind == QStringLiteral("G"))
                               && s.SelectedTaxonCode != QStringLiteral("No") && !s.SelectedTaxonCode.isEmpty();
    if (!taxonSelected) {
        showInfo(s.messages.MsgSelectSpecies, &window);
        return;
    }
    exportSelectedTaxon(&window, s.ExportType);
}

}  // namespace ortolan::exporting
