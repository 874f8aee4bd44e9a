#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::exporting {

// Export_Data: writes the distribution of the selected taxon to a file the
// user chooses, in the format of ExportType ("bmp", "emf", "shp", "xls",
// "dbf", "txt"), and reports the outcome itself (MsgExported, MsgExportFailed,
// MsgMissingFile). Called by the export items of the species window's File menu.
void Export_Data(browser::SpeciesWindow &window);

// The save dialog of the export: returns the chosen path, or an empty text
// when the user cancels.
struct SaveDialogRequest {
    QString title;        // SelectedCaption
    QString startFolder;  // UserFolder
    QString proposedName; // SelectedCaption
    QString filter;       // e.g. "Text files (*.txt)"
    QString format;       // the extension the dialog adds to a bare name
};
using SaveDialog = std::function<QString(QWidget *parent, const SaveDialogRequest &request)>;
// Replaces the file dialog (tests); an empty function restores it.
void setSaveDialog(SaveDialog dialog);

// The dialog filter of a format: "Bitmap files (*.bmp)", "Text files (*.txt)", ...
QString exportFilter(const QString &format);

// The export itself after the window's checks: dialog, job, message.
void exportSelectedTaxon(QWidget *parent, const QString &format);

}  // namespace ortolan::exporting
