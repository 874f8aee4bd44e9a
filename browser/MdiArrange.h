#pragma once

class QMdiArea;

namespace ortolan::browser {

// Arranges the child windows of the main frame (the Window menu's items).
class MdiArrange {
public:
    enum class Mode {
        TileVertically,    // side by side, each the full height
        TileHorizontally,  // one above the other, each the full width
        Cascade,
    };
    static void arrange(QMdiArea *area, Mode mode);
};

}  // namespace ortolan::browser
