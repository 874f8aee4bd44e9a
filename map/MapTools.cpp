#include "map/MapTools.h"

namespace ortolan::map {

void MapTools::onlyTool(Tool tool)
{
    toolFlags_ = {};
    toolFlags_[tool] = 1;
}

void MapTools::ripristina()
{
    zoomLevel_ = 0;
    areaView_ = false;
}

void MapTools::riscala()
{
    toolFlags_ = {};
    gridOn_ = true;
    ripristina();
}

void MapTools::fullExtent()
{
    ripristina();
    toolFlags_ = {};
}

void MapTools::setSelectTool(bool on) { selectOn_ = on; }

void MapTools::setGrid(bool shown) { gridOn_ = shown; }

void MapTools::zoomInTool()
{
    onlyTool(ZoomInTool);
    if (areaView_)
        ripristina();
}

bool MapTools::zoomOutTool()
{
    if (zoomLevel_ != 0 && !areaView_) {
        onlyTool(ZoomOutTool);
        return true;
    }
    if (areaView_)
        ripristina();
    return false;
}

void MapTools::areaTool()
{
    onlyTool(ZoomAreaTool);
    scrollGuard_ = 1;
    ripristina();
}

bool MapTools::panTool()
{
    toolFlags_[PanTool] = 1;
    toolFlags_[ZoomAreaTool] = 0;
    if (zoomLevel_ != 0)
        return true;
    ripristina();
    toolFlags_[PanTool] = 0;
    return false;
}

}  // namespace ortolan::map
