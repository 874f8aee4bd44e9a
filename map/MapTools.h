#pragma once

#include <array>

namespace ortolan::map {

// The map's side of the species window's map commands. The species window
// holds one MapTools and calls it from its command dispatcher and its layout;
// the window itself keeps the toolbar buttons and menu check marks in step,
// these methods change only the map's own state: tool flags, zoom level,
// zoom-area view, coordinate system of the surface, cursor and drawing.
//
// This base keeps the tool state of the commands and draws nothing; the map
// view derives from it and draws (Riscala, Ripristina, Reticolo, Recupera).
class MapTools {
public:
    // The four tools of ToolFlags, in their order.
    enum Tool { ZoomInTool = 0, ZoomOutTool = 1, ZoomAreaTool = 2, PanTool = 3 };

    virtual ~MapTools() = default;

    // End of the species window's loading: FrameMargin 7, the natural size of
    // the background picture and of the frame, background "ItaliaNEW.wmf".
    virtual void prepare() {}
    // Riscala: fit the surface to the frame again and redraw it: full view,
    // zoom level 0, tool flags cleared, grid, and the squares of
    // SelectedTaxonCode read again.
    virtual void riscala();
    // "Italia": back to the full view (Ripristina), cross-hair cursor, tool
    // flags cleared.
    virtual void fullExtent();
    // "Simboli": square selection on (mouse positions arrive in world units
    // of the current view) or off (surface units); cross-hair cursor.
    virtual void setSelectTool(bool on);
    // "Reticolo": draw the grid (Reticolo) or redraw the map without it (Recupera).
    virtual void setGrid(bool shown);
    // "ZoomIn": zoom-in tool; a zoom-area view goes back to the full view first.
    virtual void zoomInTool();
    // "ZoomOut": zoom-out tool. Returns false when there is nothing to zoom
    // out of (full view or zoom-area view; the latter goes back to the full
    // view): the window then releases the button again.
    virtual bool zoomOutTool();
    // "Area": zoom-area tool; an area is always chosen on the full view.
    virtual void areaTool();
    // "Pan": pan tool. Returns false at the full view, where there is nothing
    // to pan: the window then releases the button again.
    virtual bool panTool();
    // "SceltaCartine": unload and load again the background map window (Form_Cartina).
    virtual void chooseBackground() {}

    int zoomLevel() const { return zoomLevel_; }
    bool areaViewShown() const { return areaView_; }
    bool isToolActive(Tool tool) const { return toolFlags_[tool] == 1; }
    bool selectToolOn() const { return selectOn_; }
    bool gridOn() const { return gridOn_; }

protected:
    // Ripristina: back to the full view of the whole map.
    virtual void ripristina();
    void onlyTool(Tool tool);

    std::array<int, 4> toolFlags_{};
    int zoomLevel_ = 0;
    bool areaView_ = false;
    bool selectOn_ = true;
    bool gridOn_ = true;
    int scrollGuard_ = 0;
};

}  // namespace ortolan::map
