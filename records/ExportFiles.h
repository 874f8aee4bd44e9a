#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ortolan::records {

// File names and writes of the record windows' exports.
namespace exportfiles {

// The output path for a name chosen in a save dialog: an existing extension
// is replaced by ext, a name without one gets ".ext" appended ("abc" becomes
// "abc.txt", not a file called "txt").
QString outputPath(const QString &chosen, const QString &ext);

// Writes the text export: the clip text, then CR LF, UTF-8, replacing any
// earlier file atomically. Throws data::DataError on failure.
void writeText(const QString &path, const QString &clipText);

// The save dialog of the exports returns the chosen path, empty when
// cancelled. Tests replace it with setSaveDialog.
struct SaveRequest {
    QWidget *parent = nullptr;
    QString title;
    QString startFolder;  // empty: the dialog's current folder
    QString proposedName;
    QString filter;       // e.g. "Text files (*.txt)"
};
using SaveDialog = std::function<QString(const SaveRequest &)>;
// The replacement installed by tests; empty when the real dialog is used.
const SaveDialog &saveDialogOverride();
// An empty function restores the real dialog.
void setSaveDialog(SaveDialog dialog);

}  // namespace exportfiles

}  // namespace ortolan::records
