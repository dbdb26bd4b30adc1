#include "workmask.h"

#include "mapview.h"
#include "viewtransform.h"

#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

TWorkMask::TWorkMask(TMapView *view) : m_view(view)
{
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setEnabled(false);
}

void TWorkMask::clear()
{
    if (m_layerEmpty)
        return;
    m_layer.fill(Qt::transparent);
    m_layerEmpty = true;
    update();
}

void TWorkMask::drawLine(QPoint from, QPoint to, const QPen &pen)
{
    if (m_layer.isNull()) {
        // Made on first use: most sessions never draw on the mask.
        m_layer = QImage(ViewPanelSize, ViewPanelSize, QImage::Format_ARGB32_Premultiplied);
        m_layer.fill(Qt::transparent);
    }
    QPainter painter(&m_layer);
    painter.setPen(pen);
    painter.drawLine(from, to);
    m_layerEmpty = false;
    update();
}

QRectF TWorkMask::boundingRect() const
{
    return QRectF(0, 0, ViewPanelSize, ViewPanelSize);
}

void TWorkMask::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // An empty layer costs nothing per frame.
    if (!m_layerEmpty)
        painter->drawImage(0, 0, m_layer);
}

void TWorkMask::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
    m_view->notifyWorkMaskPress(event->button(), event->modifiers(), event->scenePos());
}

void TWorkMask::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_view->notifyWorkMaskMove(event->buttons(), event->modifiers(), event->scenePos());
}

void TWorkMask::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    m_view->notifyWorkMaskRelease(event->button(), event->scenePos());
}

void TWorkMask::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    if (!isEnabled())
        return;
    m_view->notifyWorkMaskMove(Qt::NoButton, event->modifiers(), event->scenePos());
}
