#include "browser/MapPane.h"

#include <QScrollBar>

namespace ortolan::browser {

MapPane::MapPane(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    hScroll_ = new QScrollBar(Qt::Horizontal, this);
    hScroll_->setObjectName(QStringLiteral("HScroll1"));
    vScroll_ = new QScrollBar(Qt::Vertical, this);
    vScroll_->setObjectName(QStringLiteral("VScroll1"));
    // The bars move a zoomed view only; at the full view they rest disabled.
    for (QScrollBar *bar : {hScroll_, vScroll_}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
    placeScrollBars();
}

void MapPane::setMapWidget(QWidget *surface)
{
    if (surface_ == surface)
        return;
    delete surface_.data();
    surface_ = surface;
    if (surface) {
        surface->setParent(this);
        surface->setGeometry(freeArea());
        surface->show();
        hScroll_->raise();
        vScroll_->raise();
    }
}

QRect MapPane::freeArea() const
{
    const QRect inner = contentsRect();
    return QRect(inner.left(), inner.top(), qMax(0, inner.width() - vScroll_->sizeHint().width()),
                 qMax(0, inner.height() - hScroll_->sizeHint().height()));
}

QWidget *MapPane::pictureSource() { return surface_ ? surface_.data() : static_cast<QWidget *>(this); }

void MapPane::placeScrollBars()
{
    const QRect inner = contentsRect();
    const int barH = hScroll_->sizeHint().height();
    const int barW = vScroll_->sizeHint().width();
    hScroll_->setGeometry(inner.left(), inner.bottom() + 1 - barH, qMax(0, inner.width() - barW), barH);
    vScroll_->setGeometry(inner.right() + 1 - barW, inner.top(), barW, qMax(0, inner.height() - barH));
}

void MapPane::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placeScrollBars();
}

}  // namespace ortolan::browser
