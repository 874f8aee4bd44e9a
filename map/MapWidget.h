#pragma once

#include "map/MapRenderer.h"
#include "map/MapViewModel.h"
#include "map/RecordsLayer.h"

#include <QImage>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include <optional>

namespace ortolan::map {

class BackgroundWindow;

// ITALY: the map surface of the species window. It shows the distribution map
// of the selected taxon (background picture, UTM grid, one red dot per occupied
// square) on a canvas of device pixels, places itself and the frame's scroll
// bars as the map view model fits it, and turns mouse events into the model's
// map tools.
//
// Hosting. The surface is a child of its frame Picture1 (the parent widget):
// the frame's contents rectangle is the area it is fitted into, and the
// horizontal and vertical scroll bars HScroll1 and VScroll1 given with
// attachScrollBars() are placed along the frame's bottom and right edges (the
// surface creates its own in the frame when none are given). The host then:
//  - calls prepare() once after loading, and riscala() after every layout
//    change, taxon selection (settings().SelectedTaxonCode) or background choice;
//  - sends the map commands to model() (fullExtent(), setSelectTool(),
//    setGrid(), zoomInTool(), zoomOutTool(), areaTool(), panTool()) and
//    "SceltaCartine" to chooseBackground(); MapWidgetTools does all of this
//    behind the species window's MapTools interface;
//  - applies toolButtonStateChanged() to the map tool bar (positions 2, 3 and
//    5 to 8, with the menu check marks that mirror them) and shows
//    statusTextChanged() in StatusBar2's panels 1 to 3;
//  - on sitesRequested() closes an open sites table and opens a new one on
//    settings().RecordQuery with the given caption.
// Message boxes (data errors, a failed sites query) go through app/MessageBoxes.
class MapWidget : public QWidget {
    Q_OBJECT
public:
    explicit MapWidget(QWidget *parent = nullptr);
    ~MapWidget() override;

    // HScroll1 and VScroll1 (not owned; they must share the surface's parent).
    void attachScrollBars(QScrollBar *horizontal, QScrollBar *vertical);
    QScrollBar *horizontalScrollBar() const { return m_hBar; }
    QScrollBar *verticalScrollBar() const { return m_vBar; }
    // The rectangle (pixels, parent coordinates) the map is fitted into;
    // by default the parent's contents rectangle.
    void setFrameRect(const QRect &pixels);

    // --- The map's side of the species window -----------------------------------------
    // Loads the current background (the hydrography at first) and measures the
    // picture's natural size, once per window.
    void prepare();
    // Riscala: fits the surface to the frame, full view, grid on, tools off,
    // reloads and draws the squares of settings().SelectedTaxonCode.
    bool riscala();
    // "SceltaCartine": closes an open background window and opens a new one.
    BackgroundWindow *chooseBackground();

    // --- Background ---------------------------------------------------------------------
    // File name of the background in use ("ItaliaNEW.wmf" or "ItaliaREGIONI.wmf").
    QString backgroundName() const { return m_backgroundName; }
    // Loads a background file from the application folder, makes it the
    // picture of the map and refits the map. False, with nothing changed, when
    // the file cannot be loaded.
    bool applyBackground(const QString &name);

    // --- State and pictures ---------------------------------------------------------------
    MapViewModel &model() { return m_model; }
    const MapViewModel &model() const { return m_model; }
    const RecordsLayer &records() const { return m_records; }
    const MapRenderer &renderer() const { return m_renderer; }
    // The square whose records the last click opened.
    QString selectedSquare() const { return m_selectedSquare; }
    // The map surface's current pixels (device pixels; the device pixel ratio is set).
    QImage canvas();
    // The colour of the canvas at a world point; none outside the surface.
    std::optional<QColor> pixelAt(QPointF world);
    // The current view drawn into any painter (export, printing to an image).
    void renderView(QPainter &painter, const QRectF &target) const;
    MapRenderer::View currentView() const;
    // A world point as a position on the surface (pixels) and back.
    QPointF surfacePosition(QPointF world) const;
    QPointF worldPosition(QPointF surface) const;

    // Lengths of the layout: twips per pixel of this screen (1440 / logical dpi).
    double twipsPerPixel() const;

signals:
    void statusTextChanged(int panel, const QString &text);
    void toolButtonStateChanged(int position, bool pressed);
    // The window's caption after loading the squares (settings().SelectedCaption).
    void captionChanged(const QString &caption);
    // A click on a dot: close the sites table if open ...
    void closeSitesRequested();
    // ... and open it on settings().RecordQuery with this caption.
    void sitesRequested(const QString &squareCode, const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyLayout();
    void applyCursor(MapCursor cursor);
    void loadSquares();
    void openSitesOfClick();
    void followMouse(QMouseEvent *event, Qt::MouseButtons buttons);
    void ensureCanvas();
    QPointF toScale(QPointF pixels) const;
    QRectF toPixels(const QRectF &twips) const;
    QRect frameRect() const;

    MapViewModel m_model;
    RecordsLayer m_records;
    MapRenderer m_renderer;
    QString m_backgroundName;
    QString m_loadedTaxon;
    QStringList m_loadedMessages;
    QString m_selectedSquare;
    QPointer<QScrollBar> m_hBar;
    QPointer<QScrollBar> m_vBar;
    QPointer<BackgroundWindow> m_backgroundWindow;
    std::optional<QRect> m_frameRect;
    QImage m_canvas;
    bool m_canvasStale = true;
    bool m_prepared = false;
};

}  // namespace ortolan::map
