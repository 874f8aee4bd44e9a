#pragma once

#include <QFrame>
#include <QPointer>

class QScrollBar;

namespace ortolan::browser {

// Picture1: the framed container of the map on the right of the species
// window, with the scroll bars HScroll1 (bottom edge) and VScroll1 (right
// edge). The map surface (ITALY) is plugged in with setMapWidget(); the map
// places it inside the frame itself when it fits the surface (Riscala), in
// the pane's coordinates. Until a surface is plugged in the pane stays empty.
class MapPane : public QFrame {
    Q_OBJECT
public:
    explicit MapPane(QWidget *parent = nullptr);

    // Takes the map surface into the pane (the pane becomes its parent) and
    // shows it; a previous surface is deleted. Null removes the surface.
    void setMapWidget(QWidget *surface);
    QWidget *mapWidget() const { return surface_; }

    QScrollBar *hScroll() const { return hScroll_; }
    QScrollBar *vScroll() const { return vScroll_; }

    // The free area of the frame, inside its border and beside the scroll bars.
    QRect freeArea() const;

    // The pixels the map shows now: the surface, or the empty frame when
    // there is none.
    QWidget *pictureSource();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeScrollBars();

    QPointer<QWidget> surface_;
    QScrollBar *hScroll_ = nullptr;
    QScrollBar *vScroll_ = nullptr;
};

}  // namespace ortolan::browser
