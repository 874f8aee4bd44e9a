#include "map/MapWidgetTools.h"

#include "map/MapWidget.h"

#include <type_traits>

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

template <typename Step>
bool MapWidgetTools::onModel(Step step)
{
    bool result = false;
    if (m_map) {
        if constexpr (std::is_same_v<decltype(step(m_map->model())), bool>)
            result = step(m_map->model());
        else
            step(m_map->model());
    }
    sync();
    return result;
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

void MapWidgetTools::ripristina() { onModel([](MapViewModel &m) { m.Ripristina(); }); }
void MapWidgetTools::fullExtent() { onModel([](MapViewModel &m) { m.fullExtent(); }); }
void MapWidgetTools::setSelectTool(bool on) { onModel([on](MapViewModel &m) { m.setSelectTool(on); }); }
void MapWidgetTools::setGrid(bool shown) { onModel([shown](MapViewModel &m) { m.setGrid(shown); }); }
void MapWidgetTools::zoomInTool() { onModel([](MapViewModel &m) { m.zoomInTool(); }); }
bool MapWidgetTools::zoomOutTool() { return onModel([](MapViewModel &m) { return m.zoomOutTool(); }); }
void MapWidgetTools::areaTool() { onModel([](MapViewModel &m) { m.areaTool(); }); }
bool MapWidgetTools::panTool() { return onModel([](MapViewModel &m) { return m.panTool(); }); }

void MapWidgetTools::chooseBackground()
{
    if (m_map)
        m_map->chooseBackground();
}

}  // namespace ortolan::map
