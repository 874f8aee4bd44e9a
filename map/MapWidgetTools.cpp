#include "map/MapWidgetTools.h"

#include "map/MapWidget.h"

namespace ortolan::map {

MapWidgetTools::MapWidgetTools(MapWidget &map) : m_map(&map)
{
    // The mouse tools change the view without a command: follow them.
    m_sceneConnection = QObject::connect(&map.model(), &MapViewModel::sceneChanged, [this] { sync(); });
    m_buttonConnection = QObject::connect(&map.model(), &MapViewModel::toolButtonStateChanged, [this] { sync(); });
    sync();
}

MapWidgetTools::~MapWidgetTools()
{
    QObject::disconnect(m_sceneConnection);
    QObject::disconnect(m_buttonConnection);
}

void MapWidgetTools::sync()
{
    if (!m_map)
        return;
    const MapViewModel &m = m_map->model();
    for (int tool = 0; tool < 4; ++tool)
        toolFlags_[size_t(tool)] = m.isToolActive(MapViewModel::Tool(tool)) ? 1 : 0;
    zoomLevel_ = m.zoomLevel();
    areaView_ = m.areaViewShown();
    selectOn_ = m.selectToolOn();
    gridOn_ = m.gridShown();
    scrollGuard_ = m.scrollGuard();
}

void MapWidgetTools::prepare()
{
    if (m_map)
        m_map->prepare();
    sync();
}

void MapWidgetTools::riscala()
{
    if (m_map)
        m_map->riscala();
    sync();
}

void MapWidgetTools::ripristina()
{
    if (m_map)
        m_map->Ripristina();
    sync();
}

void MapWidgetTools::fullExtent()
{
    if (m_map)
        m_map->fullExtent();
    sync();
}

void MapWidgetTools::setSelectTool(bool on)
{
    if (m_map)
        m_map->setSelectTool(on);
    sync();
}

void MapWidgetTools::setGrid(bool shown)
{
    if (m_map)
        m_map->setGrid(shown);
    sync();
}

void MapWidgetTools::zoomInTool()
{
    if (m_map)
        m_map->zoomInTool();
    sync();
}

bool MapWidgetTools::zoomOutTool()
{
    const bool chosen = m_map && m_map->zoomOutTool();
    sync();
    return chosen;
}

void MapWidgetTools::areaTool()
{
    if (m_map)
        m_map->areaTool();
    sync();
}

bool MapWidgetTools::panTool()
{
    const bool chosen = m_map && m_map->panTool();
    sync();
    return chosen;
}

void MapWidgetTools::chooseBackground()
{
    if (m_map)
        m_map->chooseBackground();
}

}  // namespace ortolan::map
