#pragma once
// TMarker: the 4 by 4 pixel square that shows one object on the map window.
// Its Tag is the object's table row, its tooltip the object's name; it paints
// a solid fill inside a 1-pixel outline, exactly the 4 by 4 pixels at its
// top-left corner, and takes presses exactly on those pixels. A press is handed
// to the map view, which announces it with the row, the button, the modifiers
// and the press point in window coordinates.

#include <QGraphicsRectItem>
#include <QRgb>

class TMapView;

class TMarker : public QGraphicsRectItem {
public:
    enum { Type = UserType + 1 };

    TMarker(TMapView *view, int tag);

    // The object's table row.
    int Tag;

    int left() const;
    int top() const;
    QPoint topLeft() const { return QPoint(left(), top()); }
    void setTopLeft(QPoint topLeft);

    QRgb fillColour() const { return m_fill; }
    QRgb outlineColour() const { return m_outline; }
    void setColours(QRgb fill, QRgb outline);

    // The tooltip, also kept as text: reading it is then a plain copy.
    const QString &hint() const { return m_hint; }
    void setHint(const QString &hint)
    {
        if (hint == m_hint)
            return;
        m_hint = hint;
        setToolTip(hint);
    }

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    bool contains(const QPointF &point) const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    // After a press the marker holds the pointer: its moves and the release
    // are handed on as well.
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    TMapView *m_view;
    QRgb m_fill = 0xFF000000;
    QRgb m_outline = 0xFF000000;
    QString m_hint;
};
