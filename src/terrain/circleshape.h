#pragma once
// TCircleShape: a circle outline in the map window that never takes mouse
// input: the selection ring, the radius circle and the measuring circle. Its
// place and size are whole window pixels, the outline drawn inside them (a
// 12-pixel ring with a 2-pixel pen covers exactly 12 by 12 pixels).

#include <QGraphicsEllipseItem>

class TCircleShape : public QGraphicsEllipseItem {
public:
    enum class PenMode {
        Plain,
        // The pen inverts before merging: (not pen) or screen, so a black pen
        // draws a light circle over any picture.
        MergeNotPen,
    };

    TCircleShape(QColor penColour, int penWidth, PenMode mode = PenMode::Plain);

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    QPoint topLeft() const { return QPoint(m_left, m_top); }

    void setBounds(int left, int top, int width, int height);
    void setTopLeft(QPoint topLeft);
    // Moves the circle by whole pixels (the view moving under it).
    void moveByPixels(int dx, int dy);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    int m_penWidth;
    PenMode m_mode;
};
