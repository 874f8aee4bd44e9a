#include "browser/SplitterBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace ortolan::browser {

SplitterBar::SplitterBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Splitter"));
    setCursor(Qt::SplitHCursor);
}

void SplitterBar::setDragging(bool dragging)
{
    dragging_ = dragging;
    update();
}

void SplitterBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), dragging_ ? QColor(0x80, 0x80, 0x80) : palette().color(QPalette::Window));
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->button(), int(event->position().x()));
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    emit moved(event->buttons(), int(event->position().x()));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(event->button(), int(event->position().x()));
}

}  // namespace ortolan::browser
