#pragma once

#include "browser/RecordWindowKind.h"

#include <QString>

class QWidget;

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::records {

// The record windows the species window opens. Each opener takes the record
// source query the species window prepared (RecordQuery) and the caption
// (title prefix + SelectedCaption), opens its own connection (default
// workspace), shows the window in the main frame and registers it with the
// species window, which closes it with itself and releases the window's
// toolbar button when it closes. A failing query throws data::DataError, which
// the command that opened the window reports.
//
// Returns the opened window.
QWidget *openSpeciesCard(browser::SpeciesWindow &owner, const QString &query, const QString &caption);  // Form_Scheda
QWidget *openSitesTable(browser::SpeciesWindow &owner, const QString &query, const QString &caption);   // Form_Stazioni
// The sites of the selected taxon in one UTM square (a click on the map);
// caption TitleSites + SelectedCaption + " in " + square.
QWidget *openSitesOfSquare(browser::SpeciesWindow &owner, const QString &square);
// TitleSites + taxon caption, followed by " in " + square for one square.
QString sitesCaption(const QString &taxonCaption, const QString &square = QString());
QWidget *openDataSources(browser::SpeciesWindow &owner, const QString &query, const QString &caption);  // Form_Biblio
// Form_Ricerca: the name search of the checklist under the current filter.
QWidget *openSpeciesSearch(browser::SpeciesWindow &owner);

// Unloads the open window of a kind, if any.
void closeRecordWindow(browser::SpeciesWindow &owner, browser::RecordWindowKind kind);

}  // namespace ortolan::records
