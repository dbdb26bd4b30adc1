#include "rubberband.h"

#include <QImage>
#include <QPainter>

QBrush dashBrush()
{
    // Diagonal stripes: a horizontal or a vertical line through them is
    // four black and four white pixels in turn.
    static const QImage pattern = [] {
        QImage p(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                p.setPixel(x, y, ((x + y) & 4) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        return p;
    }();
    return QBrush(pattern);
}

TRubberBand::TRubberBand()
{
    setAcceptedMouseButtons(Qt::NoButton);
}

void TRubberBand::setBand(const QRect &band)
{
    if (band == m_band)
        return;
    prepareGeometryChange();
    m_band = band;
}

QRectF TRubberBand::boundingRect() const
{
    return QRectF(m_band);
}

void TRubberBand::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRect r = m_band.normalized();
    const QBrush dashes = dashBrush();
    painter->fillRect(QRect(r.left(), r.top(), r.width(), 1), dashes);
    painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dashes);
    painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), dashes);
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), dashes);
}
