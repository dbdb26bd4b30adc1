#pragma once
// TWorkMask: the transparent 512 by 512 layer over the map window that takes
// the presses and pointer moves on the empty map (markers lie above it and
// take their own), and on which the heading indicator is drawn. It is
// disabled until a map is loaded. Presses and moves go to the map view, which
// announces them.

#include <QGraphicsItem>
#include <QImage>

class QPen;
class TMapView;

class TWorkMask : public QGraphicsItem {
public:
    explicit TWorkMask(TMapView *view);

    // Clears the drawing layer to transparent.
    void clear();
    // Draws a line on the drawing layer (no antialiasing).
    void drawLine(QPoint from, QPoint to, const QPen &pen);
    // The drawing layer; a null image until something is drawn.
    const QImage &layer() const { return m_layer; }
    bool isLayerEmpty() const { return m_layerEmpty; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    TMapView *m_view;
    QImage m_layer;
    bool m_layerEmpty = true;
};
