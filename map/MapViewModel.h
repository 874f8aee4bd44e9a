#pragma once

#include "map/MapButtons.h"
#include "map/ZoneGeometry.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace ortolan::map {

// Mouse pointer shapes of the map surface.
enum class MapCursor { Cross, ZoomIn, ZoomOut, OpenHand, ClosedHand, SizeAll, QuestionArrow };

// One scroll bar of the map frame (HScroll1 or VScroll1). Geometry in twips in
// the coordinates of the frame's parent, value range 0..maximum.
struct ScrollBarState {
    QRectF geometry;
    bool visible = true;
    bool enabled = false;
    int value = 0;
    int maximum = 0;
    int largeChange = 1;
    bool operator==(const ScrollBarState &) const = default;
};

// The map view of the species window, without widgets: how the map surface
// ITALY is fitted into its frame Picture1, the zone geometry built on it, the
// zoom and scroll state that decides which part of the world is visible, and
// the mouse tools (zoom in, zoom out, zoom area, pan, square selection).
//
// Units. Every length and position of the layout is in twips (1/1440 inch):
// the frame, the surface, the scroll bars. The world is the surface of the full
// view: x from 0 to W rightwards, y from 0 to H downwards, in twips of that
// fitted surface; the zone geometry (ZoneGeometry) is built on it. The view
// centre is in natural picture units, the twips of the background picture at
// its natural size (PictureNaturalWidth x PictureNaturalHeight).
//
// Mouse positions arrive in the surface's scale units (scale()): the visible
// world rectangle ViewRect while square selection is on, so the read-out and
// the click see world points; otherwise 0..W x 0..H over the surface, which the
// zoom and pan steps convert to picture units themselves.
//
// The model draws nothing: it signals what changed. sceneChanged() means the
// surface must show the background of viewRect(), the grid when gridShown() and
// the dots again; the widget renders, the model never touches the database.
// Tool bar buttons belong to the window; the model mirrors the state it is
// given (setButtonPressed) and reports every change it makes itself through
// toolButtonStateChanged(), which the window must apply to its buttons (and the
// matching menu check marks).
class MapViewModel : public QObject {
    Q_OBJECT
public:
    // The four tools of ToolFlags, in their order.
    enum Tool { ZoomInTool = 0, ZoomOutTool = 1, ZoomAreaTool = 2, PanTool = 3 };

    // Gap in twips kept between the frame's edges and the surface.
    static constexpr double FrameMargin = 7.0;
    // Deepest zoom level; level k shows 1 / (2k) of the picture in each direction.
    static constexpr int MaxZoomLevel = 4;

    // Picture1: its rectangle (twips, in the coordinates of its parent, which is
    // also the parent of ITALY and of the scroll bars) and the thickness of the
    // horizontal bar (its height) and of the vertical bar (its width).
    struct Frame {
        QRectF rect;
        double hScrollHeight = 0.0;
        double vScrollWidth = 0.0;
    };

    explicit MapViewModel(QObject *parent = nullptr);

    // --- Inputs ------------------------------------------------------------------
    // Natural size of the background picture in twips (PictureNaturalWidth,
    // PictureNaturalHeight); measured once, when the species window loads.
    void setPictureNaturalSize(QSizeF twips);
    QSizeF pictureNaturalSize() const { return m_natural; }
    double pictureAspect() const;
    void setFrame(const Frame &frame);
    const Frame &frame() const { return m_frame; }
    // The state of a tool bar button as the window shows it (after a click or a
    // menu command); sends no signal.
    void setButtonPressed(int position, bool pressed);
    bool isButtonPressed(int position) const;

    // --- Procedures ----------------------------------------------------------------
    // Riscala: full view at zoom level 0, tools cleared, grid button pressed,
    // surface fitted into the frame, scroll bars placed, zone geometry rebuilt.
    // False (and nothing to draw) when the frame leaves no usable surface or a
    // scroll range does not fit a scroll bar.
    bool Riscala();
    // Back to the full view of the whole map.
    void Ripristina();

    // --- Commands of the map tool bar and menu (the map's side) -------------------
    // "Italia": full view, square selection on, no tool.
    void fullExtent();
    // "Simboli": square selection on or off.
    void setSelectTool(bool on);
    // "Reticolo": grid on or off.
    void setGrid(bool shown);
    // "ZoomIn": the zoom-in tool; a zoom-area view goes back to the full view.
    void zoomInTool();
    // "ZoomOut": the zoom-out tool. False when there is nothing to zoom out of
    // (full view: button 6 released again; zoom-area view: back to the full view).
    bool zoomOutTool();
    // "Area": the zoom-area tool on the full view.
    void areaTool();
    // "Pan": the pan tool. False at the full view (button 8 released again).
    bool panTool();

    // --- Events ---------------------------------------------------------------------
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    // Mouse events with positions in scale() units.
    void ITALY_MouseDown(Qt::MouseButton button, QPointF position);
    void ITALY_MouseMove(Qt::MouseButtons buttons, QPointF position);
    void ITALY_MouseUp(Qt::MouseButton button, QPointF position);
    // A click (left button released over the surface): the world point at the
    // last mouse position when the click may open the records of a square, that
    // is while square selection is on and the release did not just apply a
    // zoom-area view. The caller tests it against the dots.
    std::optional<QPointF> ITALY_Click() const;

    // --- State ------------------------------------------------------------------------
    // False until a Riscala succeeds (and after one that fails).
    bool isValid() const { return m_valid; }
    const ZoneGeometry &geometry() const { return m_geometry; }
    // W and H: the surface of the full view, the world's extent.
    QSizeF worldSize() const { return QSizeF(m_W, m_H); }
    // Where ITALY lies (twips, parent coordinates) and whether it is shown.
    QRectF surfaceRect() const { return m_surface; }
    QRectF homePlacement() const { return m_home; }
    bool surfaceVisible() const { return m_valid; }
    // The visible world rectangle ViewRect.
    QRectF viewRect() const { return m_viewRect; }
    // The world rectangle that mouse positions are measured in (see above).
    QRectF scale() const;
    // A point in scale() units as a world point.
    QPointF worldFromScale(QPointF position) const;
    int zoomLevel() const { return m_zoomLevel; }
    QPointF viewCentre() const { return m_centre; }
    bool areaViewShown() const { return m_areaView; }
    bool areaDragging() const { return m_areaDrag; }
    bool isToolActive(Tool tool) const { return m_toolFlags[tool] == 1; }
    bool anyToolActive() const;
    int scrollGuard() const { return m_scrollGuard; }
    bool selectToolOn() const { return isButtonPressed(MapButton::Select); }
    bool gridShown() const { return isButtonPressed(MapButton::Grid); }
    const ScrollBarState &hScroll() const { return m_hScroll; }
    const ScrollBarState &vScroll() const { return m_vScroll; }
    int lastHScrollValue() const { return m_lastH; }
    int lastVScrollValue() const { return m_lastV; }
    MapCursor cursor() const { return m_cursor; }
    // The dotted rubber band Shape1 in scale() units, while it is shown.
    std::optional<QRectF> rubberBand() const;
    // StatusBar2 texts: 1 zone, 2 square code, 3 zoom.
    QString statusText(int panel) const;
    QString cursorSquareCode() const { return m_cursorSquareCode; }
    int currentZone() const { return m_currentZone; }
    QPointF lastMouse() const { return m_lastMouse; }
    // "Zoom  x " followed by the zoom level + 1.
    QString zoomText() const;

signals:
    // The surface must show viewRect() again: background, grid, dots.
    void sceneChanged();
    // surfaceRect() or a scroll bar changed (place, size, range, value, state).
    void layoutChanged();
    void cursorChanged(ortolan::map::MapCursor cursor);
    void rubberBandChanged();
    void statusTextChanged(int panel, const QString &text);
    // A tool bar button the map pressed or released itself.
    void toolButtonStateChanged(int position, bool pressed);

private:
    enum class Axis { Horizontal, Vertical };
    struct Clamped {
        bool left = false, right = false, top = false, bottom = false;
    };
    class Batch;
    friend class Batch;

    void press(int position, bool pressed);
    void releaseToolButtons();
    void onlyTool(Tool tool);
    void setCursorShape(MapCursor cursor);
    void setStatus(int panel, const QString &text);
    void setRubberBand(std::optional<QRectF> band);
    void setSurface(const QRectF &rect);
    void setViewRect(const QRectF &rect);
    void setScrollBar(Axis axis, const ScrollBarState &state);
    void setScrollValue(Axis axis, int value);
    void scrollChange(Axis axis, int value);
    void sceneDirty() { m_pendingScene = true; }

    Clamped clampCentre();
    void zoomedViewRect();
    void setScrollBarsFromCentre(const Clamped &clamped);
    void disableScrollBars();
    void zoomInAt(QPointF position);
    void zoomOutAt(QPointF position);
    void centreOnClick(QPointF position);
    void panStep(QPointF position);
    void applyArea(QPointF position);
    void readout(QPointF position);
    void flush();

    // Layout.
    QSizeF m_natural{6236.220472, 8277.165354};  // 110 x 146 mm
    Frame m_frame;
    double m_W = 0.0;
    double m_H = 0.0;
    ZoneGeometry m_geometry{0.0, 0.0};
    QRectF m_surface;
    QRectF m_home;
    ScrollBarState m_hScroll;
    ScrollBarState m_vScroll;
    bool m_valid = false;

    // Tool bar mirror: positions 1..16.
    std::array<bool, 17> m_buttons{};

    // Zoom, scroll and tools.
    int m_zoomLevel = 0;
    QPointF m_centre;
    QRectF m_viewRect;
    int m_lastH = 0;
    int m_lastV = 0;
    int m_scrollGuard = 0;
    std::array<int, 4> m_toolFlags{};
    bool m_areaDrag = false;
    bool m_areaView = false;
    bool m_areaAppliedByRelease = false;
    QPointF m_areaStart;
    QPointF m_areaCornerPicture;
    std::optional<QRectF> m_band;
    bool m_panMoved = false;
    QPointF m_panPress;
    QPointF m_lastMouse;
    QString m_cursorSquareCode;
    int m_currentZone = 0;
    MapCursor m_cursor = MapCursor::Cross;
    std::array<QString, 4> m_status;

    // Signals waiting for the end of the outermost call.
    int m_depth = 0;
    bool m_pendingScene = false;
    bool m_pendingLayout = false;
    bool m_pendingCursor = false;
    bool m_pendingBand = false;
    std::array<bool, 4> m_pendingStatus{};
    std::vector<std::pair<int, bool>> m_pendingButtons;
};

}  // namespace ortolan::map
