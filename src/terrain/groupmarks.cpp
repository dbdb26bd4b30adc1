#include "groupmarks.h"

#include "marker.h"
#include "markerlayer.h"
#include "viewtransform.h"

#include <QPainter>

TGroupMarks::TGroupMarks(const TMarkerLayer &markers) : m_markers(markers)
{
    setAcceptedMouseButtons(Qt::NoButton);
}

QRectF TGroupMarks::boundingRect() const
{
    return QRectF(0, 0, ViewPanelSize, ViewPanelSize);
}

void TGroupMarks::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    constexpr int outer = MarkerSize + 2 * Margin;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    for (int row : m_markers.selectedRows()) {
        const TMarker *m = m_markers[row];
        if (!m || !m->isVisible())
            continue;
        const QPoint p = m->topLeft();
        if (p.x() < -outer || p.y() < -outer || p.x() > ViewPanelSize + outer || p.y() > ViewPanelSize + outer)
            continue;
        // The marker paints its own square over the middle.
        painter->fillRect(QRect(p.x() - Margin, p.y() - Margin, outer, outer), black);
        painter->fillRect(QRect(p.x() - Margin + 1, p.y() - Margin + 1, outer - 2, outer - 2), white);
    }
}
