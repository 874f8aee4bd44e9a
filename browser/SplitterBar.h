#pragma once

#include <QWidget>

namespace ortolan::browser {

// Splitter: the thin vertical bar between the tree and the map. It only
// reports the mouse (x in pixels relative to the bar); the species window
// moves the panes and stores the new share.
class SplitterBar : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget *parent = nullptr);

    // Grey (&H808080) while a drag is in progress, the window colour otherwise.
    void setDragging(bool dragging);
    bool isDragging() const { return dragging_; }

signals:
    void pressed(Qt::MouseButton button, int x);
    void moved(Qt::MouseButtons buttons, int x);
    void released(Qt::MouseButton button, int x);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool dragging_ = false;
};

}  // namespace ortolan::browser
