#pragma once
// TMapView: Panel1, the 512 by 512 map window. A graphics view on a scene whose
// coordinates are the window's pixels. The terrain picture is painted in the
// background from the view state (offset, then Zoom-fold enlargement, nearest
// neighbour, repeated endlessly), only inside the window; above it, bottom to
// top: Selector, Ranger, Work_maske, MetaMeter, MeterAnz, then the object
// markers in the order they were added. Without a picture the window shows its
// caption "MAP-Window".
//
// Beyond the items' own presses the view announces the wheel turned over it,
// the drags of the map with Space held (the Space then reaches no other
// control while the pointer is over the map), Escape while a button
// pressed on the map is held, the keys that act on the map while the
// pointer is over it, and an item of the Item List dropped on it.
//
// With the terrain's edge shown, the picture's copies beyond the terrain are
// painted dimmed and a line of black and white dashes runs along the
// terrain's edge, just outside it, at every zoom.

#include "circleshape.h"
#include "mimage.h"
#include "rubberband.h"
#include "viewtransform.h"
#include "workmask.h"

#include <QBrush>
#include <QImage>
#include <QGraphicsView>
#include <array>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QKeyEvent;
class QMimeData;
class TMarker;

class TMapView : public QGraphicsView {
    Q_OBJECT
public:
    // Stacking order of the window's items.
    static constexpr qreal SelectorZ = 1;
    static constexpr qreal RangerZ = 2;
    static constexpr qreal GroupMarksZ = 2.5;
    static constexpr qreal WorkMaskZ = 3;
    static constexpr qreal MetaMeterZ = 4;
    static constexpr qreal MeterAnzZ = 5;
    static constexpr qreal MarkerZ = 6;
    static constexpr qreal SelectorFrontZ = 7;
    static constexpr qreal RubberBandZ = 8;
    static constexpr qreal OutsideNoteZ = 9;

    // view: the state the picture is painted from, owned by the caller and
    // read at every paint.
    explicit TMapView(const TViewState &view, QWidget *parent = nullptr);
    ~TMapView() override;

    static QString caption() { return QStringLiteral("MAP-Window"); }

    // The four tiles; MImage1 is the one the layout starts from.
    TMImage MImage1;
    TMImage MImage2;
    TMImage MImage3;
    TMImage MImage4;
    std::array<TMImage *, 4> tiles() { return {&MImage1, &MImage2, &MImage3, &MImage4}; }
    TTileLayout tileLayout() const;
    void setTileLayout(const TTileLayout &layout);

    TCircleShape *Selector;
    TCircleShape *Ranger;
    TWorkMask *Work_maske;
    TCircleShape *MetaMeter;
    QGraphicsSimpleTextItem *MeterAnz;
    // The band a left drag on the empty map draws; hidden until then.
    TRubberBand *RubberBand;
    // "outside the terrain", in the map window's top right corner while the
    // pointer is over a place off the terrain.
    QGraphicsRectItem *OutsideNote;
    static QString outsideText() { return QStringLiteral("outside the terrain"); }
    QString outsideNoteText() const;

    // The dimmed copies and the dashed edge around the terrain.
    void setTerrainEdgeShown(bool shown);
    bool terrainEdgeShown() const { return m_edgeShown; }

    // The picture shown in all four tiles. A picture of another size than
    // 512 by 512 is stretched to it once, as a tile stretches its picture.
    void setPicture(const QImage &picture);
    void clearPicture();
    const QImage &picture() const { return MImage1.picture(); }
    bool hasPicture() const { return !MImage1.picture().isNull(); }

    // Adds a marker above every item added before it.
    void addMarker(TMarker *marker);
    // Puts the selection ring above the markers.
    void bringSelectorToFront();
    // The marks of the selected objects, between the circles and the mouse mask.
    void addGroupMarks(QGraphicsItem *marks);

    // The drawing layer of Work_maske (the heading indicator).
    void clearWorkMask();
    void drawOnWorkMask(QPoint from, QPoint to, const QPen &pen);

    // Called by the items when they are pressed or the pointer moves over
    // the mouse mask; points are scene (window) coordinates.
    void notifyMarkerPress(TMarker &marker, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                           QPointF point);
    void notifyWorkMaskPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point);
    void notifyWorkMaskMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point);
    void notifyWorkMaskRelease(Qt::MouseButton button, QPointF point);
    void notifyMarkerMove(TMarker &marker, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                          QPointF point);
    void notifyMarkerRelease(TMarker &marker, Qt::MouseButton button, QPointF point);

    // Whether the pointer is over the map window (it takes no keyboard
    // focus, so keys meant for the map are told by the pointer).
    bool isPointerOver() const { return m_pointerOver; }
    bool isPanKeyHeld() const { return m_panKeyHeld; }

signals:
    // A press on the marker of table row `row`.
    void markerPressed(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    // A press on the empty map.
    void workMaskPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    // The pointer moved over the empty map (buttons held, or none).
    void workMaskMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point);
    // A button pressed on the empty map was released.
    void workMaskReleased(Qt::MouseButton button, QPoint point);
    // The pointer moved with a button held after a press on the marker of `row`.
    void markerDragged(int row, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point);
    void markerReleased(int row, Qt::MouseButton button, QPoint point);
    // The wheel turned over the map: angle in eighths of a degree (120 a
    // notch), positive away from the user.
    void wheelTurned(int angle, QPoint point);
    // The pointer moved by `delta` window pixels while Space and the left
    // button are held.
    void panDragged(QPoint delta);
    // Escape while a button pressed on the map is still held.
    void escapePressed();
    // With the pointer over a loaded map: Ctrl+A, Delete, the arrow keys
    // (alone or with Shift) and F (alone or with Shift). These keys then
    // reach no other control.
    void mapKeyPressed(int key, Qt::KeyboardModifiers modifiers);
    // An item of the Item List (its number text) dropped on window pixel `point`.
    void itemDropped(const QString &numberText, QPoint point);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static constexpr std::int32_t PixelRectZoom = 16;
    // The terrain's own copy of the picture, in window pixels; beyond it the
    // dimmed copies (with the edge shown).
    struct TGround {
        std::int64_t left, top, right, bottom; // right and bottom exclusive
    };
    void drawCaption(QPainter *painter);
    bool takeKey(QKeyEvent *event);
    bool acceptsDrag(const QMimeData *data) const;
    TGround ground() const;
    void drawPixelRects(QPainter *painter, const QRectF &area, std::int64_t phaseX, std::int64_t phaseY);
    void drawTerrainEdge(QPainter *painter, const QRect &area, const TGround &g);

    const TViewState &m_view;
    QBrush m_pictureBrush;
    QBrush m_dimmedBrush;
    QImage m_dimmed;
    bool m_edgeShown = false;
    bool m_pointerOver = false;
    bool m_panKeyHeld = false;
    bool m_panning = false;
    QPoint m_panLast;
    Qt::MouseButtons m_heldButtons;
};
