#pragma once

#include "app/MdiChild.h"
#include "browser/MdiArrange.h"
#include "data/Recordset.h"
#include "records/RecordTableLayout.h"

#include <QHash>
#include <QWidget>

class QAction;
class QMenu;
class QTableView;
class QToolBar;

namespace ortolan::records {

class RecordTableModel;

// The common window of the sites and data sources tables: a grid over the
// records of one query with a fixed header row and selector column, its menu
// bar (shown by the frame while the window is active), a toolbar and the
// grid's right-click Edit menu. Copy cells / copy table in the clip format,
// case-insensitive text sort, text export of what the grid shows, window
// arrangement, help, about and Home. Deletes itself when closed.
class RecordTableWindow : public QWidget, public MdiChild {
    Q_OBJECT
public:
    // What the two tables do differently.
    struct Behaviour {
        RecordTableLayout layout;
        bool menuSortsLastColumn = false;  // sort menu: only the last selected column is the key
        bool textExportStartsInUserFolder = true;
        int helpContext = 11;              // 11: the help contents
        bool excelExport = false;
        // Menu captions (Italian, English) that differ between the windows.
        QHash<QString, std::pair<QString, QString>> captionOverrides;
    };

    RecordTableWindow(const data::Recordset &records, Behaviour behaviour, QWidget *parent = nullptr);

    QList<QMenu *> frameMenus() const override;

    QTableView *grid() const { return grid_; }
    RecordTableModel *model() const { return model_; }
    QToolBar *toolBar() const { return toolBar_; }
    // A menu action by its menu item name ("Copia_celle_mnu", "ExpXls_mnu"...), or null.
    QAction *menuAction(const QString &name) const { return actions_.value(name); }
    // A toolbar action by its key ("CopyCells", ...), or null.
    QAction *toolAction(const QString &key) const { return toolActions_.value(key); }
    QMenu *editMenu() const { return editMenu_; }

    // Selects the grid block between two cells in grid coordinates (row 0 the
    // header row, column 0 the selector), the second cell becoming current.
    void selectBlock(int row1, int column1, int row2, int column2);

    // The operations of the menus and the toolbar.
    void copyCells();
    void copyTable();
    void sortSelection(bool descending, bool lastColumnOnly);
    void exportText();
    void exportExcel();
    void arrange(browser::MdiArrange::Mode mode);

    // The clip text of the whole table (from the first copy column, header included).
    QString tableClipText() const;
    // The clip text of the current selection (header row included when selected).
    QString selectionClipText() const;

private:
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &italian, const QString &english);
    QString caption(const QString &name, const QString &italian, const QString &english) const;
    void buildMenus();
    void buildToolBar();
    void applyLayout();
    void followViewSelection();
    void selectWholeTable();
    void showHelp() const;
    QString chooseFile(const QString &filter, const QString &startFolder) const;

    Behaviour behaviour_;
    QString taxonCode_;
    QString taxonCaption_;
    RecordTableModel *model_ = nullptr;
    QTableView *grid_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    QList<QMenu *> menus_;
    QMenu *editMenu_ = nullptr;
    QHash<QString, QAction *> actions_;
    QHash<QString, QAction *> toolActions_;
    // The selected block in grid coordinates; the second corner is the cell
    // the selection ended on (the current cell).
    struct Block {
        int row1 = 0, column1 = 0, row2 = 0, column2 = 0;
        bool valid = false;
    } block_;
    bool settingSelection_ = false;
};

}  // namespace ortolan::records
