#pragma once

#include "browser/RecordWindowKind.h"

#include <QString>
#include <QStringList>

namespace ortolan::browser {

class SpeciesWindow;

// Species_Tools: performs the species window's commands by their keys
// ("Espandi", "Scheda", "ZoomIn", "Tree", "RedList", ...) and keeps the
// toolbar buttons, the menu check marks and the shared settings in step.
//
// Three callers, with small differences:
// - menu items store their key in CommandKey after making the toolbar agree
//   (menuCommand), then run the dispatcher;
// - Toolbar2 stores the clicked key and runs the dispatcher (mapToolbarClick);
// - Toolbar1 performs its keys itself (treeToolbarClick): the clicked button
//   has already toggled, errors of expand, collapse and sort are ignored,
//   "Aiuto" opens help, and a missing data owner is reported as an error.
// A command that fails shows MsgButtonError followed by its key
// (MsgMapPrintFailed for the prints) and leaves the window usable.
class CommandDispatcher {
public:
    enum class Origin { Menu, MapToolbar, TreeToolbar };

    explicit CommandDispatcher(SpeciesWindow &window) : w_(window) {}

    // The dispatcher proper: performs settings().CommandKey. A key that
    // matches no command does nothing.
    void Species_Tools(Origin origin = Origin::Menu);

    // A menu item's handler: aligns the toolbar (presses the tool of
    // "ZoomIn", "ZoomOut", "Area", "Pan"; flips the button of "Simboli",
    // "Reticolo", "Tree" and "Cartina"), stores the key, runs the dispatcher.
    void menuCommand(const QString &key);
    // Toolbar2's click handler.
    void mapToolbarClick(const QString &key);
    // Toolbar1's click handler.
    void treeToolbarClick(const QString &key);

    // Every command key the dispatcher knows.
    static QStringList commandKeys();

private:
    void perform(const QString &key, Origin origin);
    void runGuarded(const QString &key, Origin origin);
    bool selectionIs(const QString &kinds) const;
    void expandCommand();
    void collapseCommand();
    void sortCommand(Origin origin);
    void searchCommand();
    void recordCommand(RecordWindowKind kind, Origin origin);
    bool prepareSourcesQuery(Origin origin);
    void paneCommand(bool treeButton);
    void fullExtentCommand();
    void selectCommand();
    void gridCommand();
    void zoomInCommand();
    void zoomOutCommand();
    void areaCommand();
    void panCommand();
    void copyCommand();
    void printCommand(const QString &key);
    void filterCommand(const QString &key);
    void releaseTools();
    void setButtonAndMenu(int toolbar, int position, bool pressed);

    SpeciesWindow &w_;
};

}  // namespace ortolan::browser
