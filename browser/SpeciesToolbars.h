#pragma once

#include <QList>
#include <QString>

class QAction;
class QActionGroup;
class QToolBar;
class QWidget;

namespace ortolan::browser {

// The two toolbars of the species window: Toolbar1 over the tree (expand,
// collapse, sort, search, card, sites, sources, map, help) and Toolbar2 over
// the map (full extent, select, grid, the four zoom/pan tools, copy, prints,
// background, tree). Buttons are addressed by toolbar (1 or 2) and position
// (from 1, separators included), and carry their command key.
//
// Styles: plain buttons; check buttons that toggle on each click and keep
// their state; and the group of four map tools (positions 5 to 8 of
// Toolbar2), of which pressing one releases the others and a pressed one
// stays pressed when clicked again. Every state can also be set from code,
// including all four tools released.
class SpeciesToolbars {
public:
    explicit SpeciesToolbars(QWidget *window);

    QToolBar *bar(int toolbar) const;
    // The action at a position (separators included); null outside the bar.
    QAction *button(int toolbar, int position) const;
    int buttonCount(int toolbar) const;
    // The position of the button with a key, 0 when none.
    int position(int toolbar, const QString &key) const;
    static QString keyOf(const QAction *button);

    bool isPressed(int toolbar, int position) const;
    void setPressed(int toolbar, int position, bool pressed);

    // Tooltips (and button texts) of the language.
    void setEnglish(bool english);

private:
    QToolBar *bars_[2] = {nullptr, nullptr};
    QActionGroup *tools_ = nullptr;
};

}  // namespace ortolan::browser
