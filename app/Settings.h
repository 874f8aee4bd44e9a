#pragma once

#include "app/MessageCatalogue.h"

#include <QString>

namespace ortolan {

// Values of the tree filter (TreeFilter).
namespace Filter {
inline const QString All = QStringLiteral("Tutto");
inline const QString Invertebrates = QStringLiteral("Invertebrati");
inline const QString Vertebrates = QStringLiteral("Vertebrati");
inline const QString HabitatDirective = QStringLiteral("DirHabitat");
inline const QString RedList = QStringLiteral("RedList");
inline const QString Alien = QStringLiteral("Aliene");
}  // namespace Filter

// The program-wide run-time settings: one instance, alive for the whole run,
// never saved between runs. Every window reads its language and paths from here;
// the comments name who writes each value.
struct Settings {
    // Language: English when currentLanguage is exactly "Inglese", Italian otherwise.
    QString CurrentLanguage = QStringLiteral("Inglese");
    bool isEnglish() const { return CurrentLanguage == QStringLiteral("Inglese"); }
    // Picks the text of the current language.
    QString tr(const QString &italian, const QString &english) const { return isEnglish() ? english : italian; }

    // Paths, built at start-up from the application folder (AppPaths).
    QString ApplicationFolder;  // folder of the program file, no trailing separator
    QString DataFolder;         // ApplicationFolder + "/Data/"
    QString DatabasePath;       // ApplicationFolder + "/Data/OrtolanDati.mde"
    QString HelpFilePath;       // the help contents page of the language
    QString UserFolder;         // ApplicationFolder + "/MyData/" (or a per-user fallback)
    QString DatabasePassword;

    MessageCatalogue messages = MessageCatalogue::english();

    bool StartScreenOpen = false;          // start screen
    QString CommandKey;                    // menus and map toolbar -> dispatcher
    QString TreeFilter = Filter::All;      // start screen, filter commands
    QString SelectedNodeKind = QStringLiteral("0");  // tree: "P","C","O","F","G","S"; "0" none
    int SelectedNodeIndex = 0;
    QString SelectedTaxonCode = QStringLiteral("No");  // "No" when nothing is selected
    QString SelectedCaption;
    QString RecordQuery;                   // SQL of the next record window
    QString DataOwner;                     // "Biblio" command
    double TreeShare = 0.5;                // share of the species window given to the tree
    QString GridShown = QStringLiteral("Sì");          // "Sì" or "No"
    QString PrintColourMode = QStringLiteral("Colori");  // "Colori" or "BW"
    QString MetafileTarget = QStringLiteral("No");       // "No" for printing, else export path
    QString ExportType;                    // "bmp","emf","shp","xls","dbf","txt"
    QString ExplTable, ExplCodeField, ExplTextField, ExplOrderField;  // explanations window
    QString ChosenPrinterName;             // print preview set-up, in capitals

    // Sets the language and fills the message catalogue accordingly.
    void setLanguage(const QString &currentLanguage);
};

// The one program-wide settings object.
Settings &settings();

}  // namespace ortolan
