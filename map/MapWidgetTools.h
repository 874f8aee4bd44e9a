#pragma once

#include "map/MapTools.h"

#include <QMetaObject>
#include <QPointer>

namespace ortolan::map {

class MapWidget;

// The species window's map commands carried out by a map surface. The
// species window owns this object (setMapTools) and its map pane owns the
// surface (setMapWidget); every command goes to the surface, and the tool
// state the window may read back (zoom level, zoom-area view, tool flags,
// square selection, grid) follows the surface's view model, also after the
// mouse tools changed it. Commands arriving after the surface is gone do nothing.
class MapWidgetTools : public MapTools {
public:
    explicit MapWidgetTools(MapWidget &map);
    ~MapWidgetTools() override;
    MapWidgetTools(const MapWidgetTools &) = delete;
    MapWidgetTools &operator=(const MapWidgetTools &) = delete;

    MapWidget *mapWidget() const { return m_map; }

    void prepare() override;
    void riscala() override;
    void fullExtent() override;
    void setSelectTool(bool on) override;
    void setGrid(bool shown) override;
    void zoomInTool() override;
    bool zoomOutTool() override;
    void areaTool() override;
    bool panTool() override;
    void chooseBackground() override;

protected:
    void ripristina() override;

private:
    // Runs a step on the surface's view model, if the surface is still there,
    // and takes over the state it leaves.
    template <typename Step>
    bool onModel(Step step);
    void sync();

    QPointer<MapWidget> m_map;
    QMetaObject::Connection m_sceneConnection;
    QMetaObject::Connection m_buttonConnection;
};

}  // namespace ortolan::map
