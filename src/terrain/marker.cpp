#include "marker.h"

#include "mapview.h"
#include "viewtransform.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPen>
#include <QtMath>

namespace {
const QRectF MarkerSquare(0, 0, MarkerSize, MarkerSize);
}

TMarker::TMarker(TMapView *view, int tag) : Tag(tag), m_view(view)
{
    setRect(MarkerSquare);
    // Hover events stop at the marker, so moving over it does not reach the
    // mouse mask beneath (whose moves update the pointer readouts).
    setAcceptHoverEvents(true);
}

int TMarker::left() const
{
    return qFloor(pos().x());
}

int TMarker::top() const
{
    return qFloor(pos().y());
}

void TMarker::setTopLeft(QPoint topLeft)
{
    setPos(topLeft);
}

void TMarker::setColours(QRgb fill, QRgb outline)
{
    if (fill == m_fill && outline == m_outline && brush().style() == Qt::SolidPattern)
        return;
    m_fill = fill;
    m_outline = outline;
    // The item's brush and pen say what it paints; paint() draws the pixels.
    setBrush(QColor::fromRgb(fill));
    setPen(QPen(QColor::fromRgb(outline), 1));
    update();
}

// The bounding rectangle is the square itself, without the half pen width a
// rectangle item adds: a press on the pixel next to the square must not hit it.
QRectF TMarker::boundingRect() const
{
    return MarkerSquare;
}

QPainterPath TMarker::shape() const
{
    QPainterPath path;
    path.addRect(MarkerSquare);
    return path;
}

bool TMarker::contains(const QPointF &point) const
{
    return point.x() >= 0 && point.x() < MarkerSize && point.y() >= 0 && point.y() < MarkerSize;
}

void TMarker::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // The outline is the square's outer ring of pixels, the fill the 2 by 2
    // pixels inside it.
    painter->fillRect(QRect(0, 0, MarkerSize, MarkerSize), QColor::fromRgb(m_outline));
    painter->fillRect(QRect(1, 1, MarkerSize - 2, MarkerSize - 2), QColor::fromRgb(m_fill));
}

void TMarker::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
    if (m_view)
        m_view->notifyMarkerPress(*this, event->button(), event->modifiers(), event->scenePos());
}

void TMarker::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_view)
        m_view->notifyMarkerMove(*this, event->buttons(), event->modifiers(), event->scenePos());
}

void TMarker::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_view)
        m_view->notifyMarkerRelease(*this, event->button(), event->scenePos());
}
