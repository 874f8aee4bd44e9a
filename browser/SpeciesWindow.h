#pragma once

#include "app/MdiChild.h"
#include "browser/RecordWindowKind.h"

#include <QPointer>
#include <QWidget>

#include <climits>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QTreeWidgetItem;

namespace ortolan::map {
class MapTools;
class MapWidget;
}
namespace ortolan::print {
class MapPrintState;
}

namespace ortolan::browser {

class CommandDispatcher;
class MapPane;
class SpeciesMenus;
class SpeciesToolbars;
class SplitterBar;
class TaxonTree;

// Specie: the child window in which the user works. The taxonomic tree
// (TreeView1) on the left, the map pane (Picture1 with its scroll bars) on the
// right, the splitter bar between them, the tree toolbar (Toolbar1) and the map
// toolbar (Toolbar2) above them, the path status bar (StatusBar1) under the
// tree and the map status bar (StatusBar2: zone, square, zoom) under the map.
// Its menus appear in the main frame's menu bar while it is active.
//
// At most one species window is open. Closing it closes every record, search,
// explanation and preview window registered with it.
class SpeciesWindow : public QWidget, public MdiChild {
    Q_OBJECT
public:
    // Loads the window: grid shown, captions of the language, the group
    // levels of the tree under TreeFilter.
    explicit SpeciesWindow(QWidget *parent = nullptr);
    ~SpeciesWindow() override;

    // The open species window, or null.
    static SpeciesWindow *current();

    QList<QMenu *> frameMenus() const override;

    // Controls.
    TaxonTree *tree() const { return tree_; }
    MapPane *mapPane() const { return mapPane_; }
    // ITALY, the map surface.
    map::MapWidget *mapWidget() const { return mapWidget_; }
    SplitterBar *splitterBar() const { return splitter_; }
    // Toolbar1 (1) or Toolbar2 (2).
    QToolBar *toolbar(int toolbar) const;
    // A toolbar button by position (from 1, separators included); null outside.
    QAction *button(int toolbar, int position) const;
    bool isPressed(int toolbar, int position) const;
    void setPressed(int toolbar, int position, bool pressed);
    // Sets a check button and the menu item that shows the same state
    // (sort, card, sites, sources, map, select, grid, tree).
    void setButtonAndMenu(int toolbar, int position, bool pressed);
    // The tree toolbar position of the button of a card, sites or sources
    // window; 0 for the other kinds.
    static int buttonOf(RecordWindowKind kind);
    // A menu item by its menu name ("Ordina_mnu"); for a submenu its menu action.
    QAction *menuItem(const QString &name) const;
    QMenu *menu(const QString &name) const;
    bool isMenuChecked(const QString &name) const;
    void setMenuChecked(const QString &name, bool checked);
    // Every menu item name in menu order.
    QStringList menuItemNames() const;
    // StatusBar1 (1) or StatusBar2 (2), and their panels from 1.
    QStatusBar *statusBar(int bar) const;
    QLabel *statusPanel(int bar, int panel) const;

    // Zone label prefix of the map read-out: "Fuso " or "Fuse ".
    QString zonePrefix() const { return zonePrefix_; }

    // The map's command side; replaced by the map view when it is plugged in.
    map::MapTools &mapTools() const { return *mapTools_; }
    void setMapTools(std::unique_ptr<map::MapTools> tools);
    CommandDispatcher &dispatcher() const { return *dispatcher_; }
    // The printing engine's state kept for the window's life.
    std::unique_ptr<print::MapPrintState> &printState();

    // Riassetta: lays out tree, splitter, map pane, toolbars and status bars
    // from TreeShare and the window's inner size; then redraws the map.
    void Riassetta();
    // Clears the map and redraws it for the current frame (Riscala): the grid
    // button pressed, the zoom tools released.
    void Riscala();

    // TreeView1_NodeClick: makes a node the program-wide selection, shows its
    // path, redraws the map and sets the sort button and menu.
    void nodeClick(QTreeWidgetItem *node);
    // The same for a node found by the search: the node is selected and
    // expanded; the sort button follows the node, Ordina_mnu keeps its mark.
    void showFoundNode(QTreeWidgetItem *node);

    // Checks the filter item of a filter key and unchecks the other five.
    void checkFilterItem(const QString &filter);

    // Windows opened from this one (record, search, explanation, about,
    // preview): closed with it. A window should delete itself on close
    // (Qt::WA_DeleteOnClose); when a card, sites or sources window goes, its
    // toolbar button is released and its menu unchecked. Registering a second
    // window of the card, sites, sources, search or background kind replaces
    // the first in the registry.
    void registerRecordWindow(QWidget *window, RecordWindowKind kind);
    QWidget *recordWindow(RecordWindowKind kind) const;
    // Closes the registered window of a kind (releasing its button).
    void closeRecordWindow(RecordWindowKind kind);
    QList<QWidget *> registeredWindows() const;

    // Unloads the window (and its children), inside the frame or on its own.
    void unload();

    // Shows help: command 11 the contents, command 1 the topic of a context number.
    void showHelp(int command, int context = 0);

signals:
    void homeRequested();
    void aboutRequested();
    void exitRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls();
    // Plugs the map surface into the pane and wires its signals.
    void attachMap();
    void connectCommands();
    void applyLanguage();
    void CaricaSpecie();
    void selectNode(QTreeWidgetItem *node, bool fromSearch);
    void showPanes(bool tree, bool map);
    void onSplitterPressed(Qt::MouseButton button, int x);
    void onSplitterMoved(int x);
    void onSplitterReleased();
    void releaseButtonOf(RecordWindowKind kind);
    void forgetRecordWindow(QObject *window);
    void fillWindowMenu();
    void closeChildren();

    struct Registered {
        QPointer<QWidget> window;
        const QObject *identity;  // compared when the window is being destroyed
        RecordWindowKind kind;
    };

    TaxonTree *tree_ = nullptr;
    MapPane *mapPane_ = nullptr;
    map::MapWidget *mapWidget_ = nullptr;
    SplitterBar *splitter_ = nullptr;
    QStatusBar *statusBars_[2] = {nullptr, nullptr};
    std::unique_ptr<SpeciesToolbars> toolbars_;
    std::unique_ptr<SpeciesMenus> menus_;
    std::unique_ptr<map::MapTools> mapTools_;
    std::unique_ptr<CommandDispatcher> dispatcher_;
    std::unique_ptr<print::MapPrintState> printState_;
    QList<Registered> registered_;
    QString zonePrefix_;
    // Splitter drag position in twips; NoDrag when no drag is in progress.
    static constexpr int NoDrag = INT_MAX;
    int dragPosition_ = NoDrag;
    bool unloaded_ = false;
};

// Opens the species window under a filter, as the start screen and the filter
// commands do: TreeFilter := filter, the open species window (if any) is
// unloaded, the new one is loaded and placed at the top left of the main
// frame with the frame's inner size, and its filter item alone is checked.
SpeciesWindow *openSpeciesWindow(const QString &filter);

// Lets the application shell open the species window (start screen) and close
// it (Home): call once at start-up.
void installSpeciesWindowHooks();

}  // namespace ortolan::browser
