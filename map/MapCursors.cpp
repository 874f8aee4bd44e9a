#include "map/MapCursors.h"

#include <QPainter>
#include <QPixmap>

namespace ortolan::map {

namespace {

// A magnifying glass of 32 x 32 pixels whose hot spot is the lens centre.
QCursor magnifier(bool plus)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(12.5, 12.5);
    // Handle, then the lens: white glass with a black rim, outlined in white
    // so the pointer shows on dark and light maps alike.
    p.setPen(QPen(Qt::white, 6.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(Qt::white, 4.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 8.5, 8.5);
    p.setPen(QPen(Qt::black, 2.0));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(centre, 8.5, 8.5);
    p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8.5, 12.5), QPointF(16.5, 12.5));
    if (plus)
        p.drawLine(QPointF(12.5, 8.5), QPointF(12.5, 16.5));
    p.end();
    return QCursor(pixmap, 12, 12);
}

}  // namespace

QCursor mapCursor(MapCursor shape)
{
    switch (shape) {
    case MapCursor::Cross: return QCursor(Qt::CrossCursor);
    case MapCursor::ZoomIn: return magnifier(true);
    case MapCursor::ZoomOut: return magnifier(false);
    case MapCursor::OpenHand: return QCursor(Qt::OpenHandCursor);
    case MapCursor::ClosedHand: return QCursor(Qt::ClosedHandCursor);
    case MapCursor::SizeAll: return QCursor(Qt::SizeAllCursor);
    case MapCursor::QuestionArrow: return QCursor(Qt::WhatsThisCursor);
    }
    return QCursor(Qt::ArrowCursor);
}

}  // namespace ortolan::map
