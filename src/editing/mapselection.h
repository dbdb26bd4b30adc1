#pragma once
// TMapSelection: the selection of several objects, shared by the object
// table and the map. It is the table's row selection: the map marks the
// markers of the selected rows, and what is selected on the map (a rubber
// band, Shift+click, Ctrl+A over the map) selects their rows. The current
// row stays the table's current row, with its ring and radius circle.
//
// The arrow keys with the pointer over the map move the selected objects by
// one map pixel (with Shift ten); the presses that follow one another
// within a second are one undo step. A move that would take any of them
// beyond the game's coordinates moves none.

#include "terrain/viewtransform.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRect>
#include <functional>
#include <vector>

class QUndoCommand;
class QWidget;
class TDialogs;
class TMapDocument;
class TMapViewPanel;
class TObjectGrid;

class TMapSelection : public QObject {
    Q_OBJECT
public:
    TMapSelection(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid, TDialogs &dialogs,
                  QWidget *host);

    // Presses of one burst of arrow keys are at most this far apart.
    static constexpr int NudgeBurstPauseMs = 1000;

    // The selected objects' rows, ascending.
    QList<int> rows() const;
    bool isSelected(int row) const;
    // Whether row is one of several selected objects.
    bool isGroupMember(int row) const;

    void selectOnly(int row);
    // Shift+click: a row in or out.
    void toggle(int row);
    void clear();
    // The objects whose shown markers touch the band (window pixels, edges
    // included): selected instead of what was, or added to it.
    void selectBand(const QRect &band, bool add);
    // Ctrl+A over the map: every object whose marker is shown.
    void selectAllShown();

    // Moves the objects of rows from their positions `from` by (dx, dy) game
    // units and puts their markers where they now belong; the current
    // object's marks follow. The marker of pinnedRow (if any) goes to
    // pinnedPlace instead, as a dragged marker follows the pointer. False,
    // changing nothing, beyond the game's coordinates. The caller opens the step.
    bool moveRows(const QList<int> &rows, const std::vector<TGamePoint> &from, std::int64_t dx, std::int64_t dy,
                  int pinnedRow = 0, QPoint pinnedPlace = QPoint());

    // An arrow key with the pointer over the map (Shift: ten map pixels).
    void nudge(int key, Qt::KeyboardModifiers modifiers);

    // The current object moved: its selection marks and heading line follow
    // (set by the mouse editing, which draws them).
    std::function<void()> currentObjectMoved;
    // Whether a drag or a rubber band is under way (then the keys move nothing).
    std::function<bool()> gestureActive;

private:
    void marksFollowTable();
    void mapKey(int key, Qt::KeyboardModifiers modifiers);

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    TDialogs &m_dialogs;
    QWidget *m_host;

    // The burst of arrow presses under way: its session in the journal, its
    // step, and when its last press came.
    quint64 m_nudgeSession = 0;
    const QUndoCommand *m_nudgeStep = nullptr;
    QElapsedTimer m_lastNudge;
};
