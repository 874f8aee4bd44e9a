#pragma once

#include <QList>

class QMenu;

namespace ortolan {

// A child window of the main frame that brings its own menu bar: while it is
// the active child, the frame shows these menus in place of its own.
class MdiChild {
public:
    virtual ~MdiChild() = default;
    virtual QList<QMenu *> frameMenus() const = 0;
};

}  // namespace ortolan
