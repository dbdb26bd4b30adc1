#pragma once
// TMouseEditing: editing on the map window. The pointer readouts, a press on
// a marker that selects its object (and, with the right button, arms it for
// moving), a press on the empty map that deselects or moves the armed object
// to the pressed pixel, and the measuring circle that Alt with the left
// button anchors and the pointer stretches.

#include <QObject>
#include <QPoint>
#include <cstdint>

class QWidget;
class TDialogs;
class TMapDocument;
class TMapViewPanel;
class TObjectGrid;

class TMouseEditing : public QObject {
    Q_OBJECT
public:
    // Connects itself to the map window's presses and moves.
    TMouseEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid, TDialogs &dialogs,
                  QWidget *host);

    // The measuring circle's anchor, in map pixels at zoom 1 from the map's
    // origin, and its radius in window pixels.
    std::int32_t MeterOriginX = 0;
    std::int32_t MeterOriginY = 0;
    std::int32_t MeterRadius = 0;

    void Work_maskeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point);
    void Work_maskeMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    void Shape1MouseDown(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    // Alt with the left button: anchors the measuring circle at the marker of
    // `row` (or at the point for -1) and shows or hides it.
    void ToggleMeter(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point, int row);
    void TrackMeter(QPoint point);

signals:
    // A left press on the empty map hides the weapon list.
    void weaponBoxHideRequested();

private:
    void moveCurrentObjectTo(QPoint point);

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    TDialogs &m_dialogs;
    QWidget *m_host;
};
