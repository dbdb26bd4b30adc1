#pragma once
// TGroupMarks: the mark of every selected object's marker, a black square
// ring with a white one inside it around the marker, seen on every colour
// of the terrain (the current object keeps its selection ring and radius
// circle besides). One item paints all marks at the markers' places, below
// the markers, so a mark never hides another object's marker. It takes no
// mouse input.

#include <QGraphicsItem>

class TMarkerLayer;

class TGroupMarks : public QGraphicsItem {
public:
    explicit TGroupMarks(const TMarkerLayer &markers);

    // Pixels the mark adds around a marker on each side.
    static constexpr int Margin = 2;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    const TMarkerLayer &m_markers;
};
