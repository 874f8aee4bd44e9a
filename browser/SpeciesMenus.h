#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace ortolan::browser {

// The menu tree of the species window, shown in the main frame's menu bar
// while the window is active: File, Species (tree), Map, Filter, Window, ?.
// Items are addressed by their menu names ("Ordina_mnu", "Tree_mnu", ...);
// an item that carries a command key holds it as its data. Items marked as
// check items show a check mark that reflects a state.
class SpeciesMenus {
public:
    explicit SpeciesMenus(QWidget *window);

    // The top-level menus in menu-bar order.
    const QList<QMenu *> &topMenus() const { return top_; }
    // An item (for a submenu: its menu action); null for an unknown name.
    QAction *item(const QString &name) const { return items_.value(name); }
    QMenu *menu(const QString &name) const { return menus_.value(name); }
    // Every item name, in menu order.
    const QStringList &names() const { return names_; }
    // The command key of an item ("" when it has none).
    static QString keyOf(const QAction *item);

    void setChecked(const QString &name, bool checked);
    bool isChecked(const QString &name) const;

    // Captions of the language.
    void setEnglish(bool english);

    // The six filter items, in menu order, with their filter keys.
    static QStringList filterItemNames();

private:
    QList<QMenu *> top_;
    QHash<QString, QAction *> items_;
    QHash<QString, QMenu *> menus_;
    QStringList names_;
};

}  // namespace ortolan::browser
