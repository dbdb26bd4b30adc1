#pragma once
// TMouseEditing: editing on the map window. The pointer readouts, a press on
// a marker that selects its object (and, with the right button, arms it for
// moving), a press on the empty map that deselects or moves the armed object
// to the pressed pixel, and the measuring circle that Alt with the left
// button (or the middle button) anchors and the pointer stretches.
//
// A marker pressed with the left button and then moved more than 3 pixels
// with the button held is dragged: its object follows the pointer live, as a
// right-click move at each place, until the release; Escape puts it back.
// The drag is one undo step, recorded at its first move and merged with every
// later one, so no step stays open while the pointer moves. A command that
// comes in between (undo, redo, a save, any other change) ends the drag
// where it is first.
//
// Several objects selected (a rubber band on the empty map, Shift+click on
// markers): a left drag of any of their markers moves them all by the same
// offset in game units, as one step of the same kind; a move that would
// take any of them beyond the game's coordinates leaves them where they are.
// A plain left click on one of them selects that one alone.

#include "mapselection.h"
#include "terrain/viewtransform.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QUndoCommand;
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
    // A button pressed on the empty map released: the end of a rubber band.
    void Work_maskeMouseUp(Qt::MouseButton button, QPoint point);
    // The pointer moved with a button held after a press on a marker, and
    // the release that ends it.
    void markerDragged(int row, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point);
    void markerReleased(int row, Qt::MouseButton button, QPoint point);
    // Escape during a drag: the objects go back where the drag took them
    // from, and the drag leaves no step; a rubber band goes without selecting.
    void cancelDrag();
    bool isDragging() const { return m_dragging; }
    bool isBanding() const { return m_banding; }
    // Ends a drag where it is (its step stays); the moves until the release
    // change nothing more.
    void endDrag();
    // Alt with the left button, or the middle button: anchors the measuring
    // circle at the marker of `row` (or at the point for -1) and shows or hides it.
    void ToggleMeter(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point, int row);
    void TrackMeter(QPoint point);

    // Redraws the current object's heading line where the table shows it
    // (set by the main window, which has the table's rules).
    std::function<void()> headingLineFollows;

    // The selection of several objects, the table's and the map's.
    TMapSelection Selection;

signals:
    // A left press on the empty map hides the weapon list.
    void weaponBoxHideRequested();

private:
    void moveObjectTo(int row, QPoint point);
    void moveGroupTo(int row, QPoint point);
    void placeSelectionMarksOn(int row);

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    TDialogs &m_dialogs;
    QWidget *m_host;

    // The marker pressed with the left button, where, and the pointer's
    // place within it.
    int m_pressRow = 0;
    QPoint m_pressPoint;
    QPoint m_grabOffset;
    bool m_dragging = false;
    bool m_moving = false; // inside a drag's own move
    // The press was on one of several selected markers: a release without a
    // drag selects that object alone.
    bool m_selectOnRelease = false;
    // The objects a drag moves (more than one) and where they stood.
    QList<int> m_groupRows;
    std::vector<TGamePoint> m_groupFrom;
    // The rubber band: where the press was, whether it adds to the
    // selection, and whether the pointer has gone far enough to draw it.
    bool m_banding = false;
    bool m_bandAdds = false;
    bool m_bandShown = false;
    QPoint m_bandOrigin;
    // The drag's moves merge in the journal under this session; its step,
    // once the first move recorded it.
    quint64 m_dragSession = 0;
    const QUndoCommand *m_dragStep = nullptr;
};
