#include "circleshape.h"

#include "document/numbers.h"

#include <QPainter>
#include <QPen>

TCircleShape::TCircleShape(QColor penColour, int penWidth, PenMode mode)
    : m_penWidth(penWidth), m_mode(mode)
{
    setPen(QPen(penColour, penWidth));
    setBrush(Qt::NoBrush);
    setAcceptedMouseButtons(Qt::NoButton);
    setEnabled(false);
}

void TCircleShape::setBounds(int left, int top, int width, int height)
{
    m_width = width;
    m_height = height;
    // The pen is centred on the ellipse's path; inset it by half its width
    // so the stroke stays inside the bounds.
    const qreal inset = m_penWidth / 2.0;
    if (width > m_penWidth && height > m_penWidth)
        setRect(QRectF(inset, inset, width - m_penWidth, height - m_penWidth));
    else
        setRect(QRectF());
    setTopLeft(QPoint(left, top));
}

void TCircleShape::setTopLeft(QPoint topLeft)
{
    m_left = topLeft.x();
    m_top = topLeft.y();
    setPos(topLeft);
}

void TCircleShape::moveByPixels(int dx, int dy)
{
    setTopLeft(QPoint(checkedAdd(m_left, dx), checkedAdd(m_top, dy)));
}

void TCircleShape::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (rect().isEmpty())
        return;
    painter->save();
    if (m_mode == PenMode::MergeNotPen)
        painter->setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
    painter->setPen(pen());
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(rect());
    painter->restore();
}
