#pragma once
// TRubberBand: the rectangle a left drag on the empty map draws, its outline
// one pixel wide in black and white dashes, seen on every colour of the
// terrain. It takes no mouse input.

#include <QBrush>
#include <QGraphicsItem>
#include <QRect>

// Black and white dashes four pixels long along any line drawn with it,
// anchored at the brush's origin.
QBrush dashBrush();

class TRubberBand : public QGraphicsItem {
public:
    TRubberBand();

    // The band's pixels, corners included; shown or hidden by the caller.
    QRect band() const { return m_band; }
    void setBand(const QRect &band);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QRect m_band;
};
