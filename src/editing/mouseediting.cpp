#include "mouseediting.h"

#include "groupmove.h"
#include "objectgrid.h"

#include "ui/dialogs.h"
#include "journal/journal.h"
#include "journal/journalstep.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <cstdlib>

TMouseEditing::TMouseEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid, TDialogs &dialogs,
                             QWidget *host)
    : QObject(host), Selection(document, view, grid, dialogs, host), m_document(document), m_view(view),
      m_grid(grid), m_dialogs(dialogs), m_host(host)
{
    Selection.currentObjectMoved = [this] {
        placeSelectionMarksOn(m_document.CurrentRow);
        m_view.Panel1->clearWorkMask();
        if (headingLineFollows)
            headingLineFollows();
    };
    Selection.gestureActive = [this] { return m_dragging || m_bandShown; };
    connect(view.Panel1, &TMapView::workMaskMoved, this, &TMouseEditing::Work_maskeMouseMove);
    connect(view.Panel1, &TMapView::workMaskPressed, this, &TMouseEditing::Work_maskeMouseDown);
    connect(view.Panel1, &TMapView::workMaskReleased, this, &TMouseEditing::Work_maskeMouseUp);
    connect(view.Panel1, &TMapView::markerPressed, this, &TMouseEditing::Shape1MouseDown);
    connect(view.Panel1, &TMapView::markerDragged, this, &TMouseEditing::markerDragged);
    connect(view.Panel1, &TMapView::markerReleased, this, &TMouseEditing::markerReleased);
    connect(view.Panel1, &TMapView::escapePressed, this, &TMouseEditing::cancelDrag);
    // Any other change of the map ends a drag before it is made.
    connect(&document.Journal, &TJournal::stepOpened, this, [this] {
        if (m_dragging && !m_moving)
            endDrag();
    });
}

namespace {
// The pixels between two corners, both included, whichever way the pointer went.
QRect bandBetween(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}
}

void TMouseEditing::Work_maskeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point)
{
    if ((buttons == Qt::NoButton && modifiers == Qt::AltModifier) || buttons == Qt::MiddleButton)
        TrackMeter(point);
    m_view.showPointerReadout(point);
    if (!m_banding || !(buttons & Qt::LeftButton))
        return;
    const QPoint moved = point - m_bandOrigin;
    if (!m_bandShown && moved.x() * moved.x() + moved.y() * moved.y() <= 3 * 3)
        return;
    m_bandShown = true;
    m_view.Panel1->RubberBand->setBand(bandBetween(m_bandOrigin, point));
    m_view.Panel1->RubberBand->show();
    m_view.Panel1->viewport()->update();
}

void TMouseEditing::Work_maskeMouseUp(Qt::MouseButton button, QPoint point)
{
    if (button != Qt::LeftButton || !m_banding)
        return;
    const bool shown = m_bandShown;
    m_banding = false;
    m_bandShown = false;
    m_view.Panel1->RubberBand->hide();
    if (shown)
        Selection.selectBand(bandBetween(m_bandOrigin, point), m_bandAdds);
    m_view.Panel1->viewport()->update();
}

void TMouseEditing::Shape1MouseDown(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)
{
    runGuarded(m_dialogs, m_host, [&] {
        TMarker *m = row >= 1 && row <= TMapDocument::MaxObjects ? m_view.Markers[row] : nullptr;
        if (!m)
            return;
        const bool plainLeft = button == Qt::LeftButton && modifiers == Qt::NoModifier;
        // Shift+click takes the object into the selection or out of it; a
        // plain press on one of several selected objects keeps them selected
        // until it turns out not to be a drag.
        const bool toggles = button == Qt::LeftButton && modifiers == Qt::ShiftModifier;
        const bool inGroup = plainLeft && Selection.isGroupMember(row);
        m_document.CurrentRow = row;
        ToggleMeter(button, modifiers, point, row);
        TMapView &map = *m_view.Panel1;
        map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
        map.Selector->show();
        m_view.Markers.showRangerOn(m);
        if (button == Qt::RightButton)
            m_view.Markers.SelectionShown = true;
        // The table follows with a cell selection in its current column.
        const int col = std::max(m_grid.currentCol(), 0);
        if (toggles || inGroup) {
            if (m_grid.moveCurrentTo(col, row))
                m_grid.scrollRowToTop(row);
            if (toggles)
                Selection.toggle(row);
        } else if (m_grid.moveTo(col, row)) {
            m_grid.scrollRowToTop(row);
        }
        // A left press alone may become a drag of this object (and of the
        // others selected with it).
        if (plainLeft) {
            m_pressRow = row;
            m_pressPoint = point;
            m_grabOffset = point - m->topLeft();
            m_selectOnRelease = inGroup;
        }
    });
}

void TMouseEditing::markerDragged(int row, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point)
{
    if (buttons == Qt::MiddleButton) {
        Work_maskeMouseMove(buttons, modifiers, point);
        return;
    }
    if (row != m_pressRow || !(buttons & Qt::LeftButton))
        return;
    if (!m_dragging) {
        const QPoint moved = point - m_pressPoint;
        if (moved.x() * moved.x() + moved.y() * moved.y() <= 3 * 3)
            return;
        m_dragging = true;
        m_document.Journal.endTypingSession();
        m_dragSession = m_document.Journal.typingSession();
        m_dragStep = nullptr;
        // Several objects selected with this one move together.
        m_groupRows.clear();
        m_groupFrom.clear();
        if (Selection.isGroupMember(row)) {
            m_groupRows = Selection.rows();
            m_groupFrom = objectPositions(m_document, m_groupRows);
        }
    }
    // The heading line, which a right-click move wipes, follows a drag.
    TJournal &journal = m_document.Journal;
    const int stepsBefore = journal.index();
    m_moving = true;
    const bool moved = runGuarded(m_dialogs, m_host, [&] {
        TJournalStep step(&journal, QStringLiteral("Drag object"),
                          TStepMerge{m_dragSession, TStepMerge::DragColumn, row, false});
        if (m_groupRows.size() > 1) {
            moveGroupTo(row, point - m_grabOffset);
            return;
        }
        moveObjectTo(row, point - m_grabOffset);
        if (headingLineFollows)
            headingLineFollows();
    });
    m_moving = false;
    // The drag's step: recorded by this move, merged with it, or gone when
    // the moves have brought the object back where it stood.
    if (journal.index() > stepsBefore)
        m_dragStep = journal.command(journal.index() - 1);
    else if (journal.index() < stepsBefore)
        m_dragStep = nullptr;
    // A place beyond the game's coordinates ends the drag where it was.
    if (!moved)
        endDrag();
    m_view.showPointerReadout(point);
}

// The dragged object's marker lands with its top left corner on the pixel,
// as a single object's does; the others keep their distances to it in game
// units and take their places from their new positions.
void TMouseEditing::moveGroupTo(int row, QPoint point)
{
    const qsizetype k = m_groupRows.indexOf(row);
    if (k < 0)
        return;
    const TGamePoint target = windowToGame(m_view.View, point.x(), point.y());
    const std::int64_t dx = std::int64_t(target.X) - m_groupFrom[k].X;
    const std::int64_t dy = std::int64_t(target.Y) - m_groupFrom[k].Y;
    Selection.moveRows(m_groupRows, m_groupFrom, dx, dy, row, point);
}

void TMouseEditing::markerReleased(int row, Qt::MouseButton button, QPoint)
{
    if (button != Qt::LeftButton || row != m_pressRow)
        return;
    const bool clicked = !m_dragging && m_selectOnRelease;
    endDrag();
    if (clicked)
        Selection.selectOnly(row);
}

void TMouseEditing::endDrag()
{
    m_pressRow = 0;
    m_dragging = false;
    m_dragStep = nullptr;
    m_selectOnRelease = false;
    m_groupRows.clear();
    m_groupFrom.clear();
}

void TMouseEditing::cancelDrag()
{
    if (m_banding) {
        m_banding = false;
        m_bandShown = false;
        m_view.Panel1->RubberBand->hide();
        m_view.Panel1->viewport()->update();
    }
    const bool dragging = m_dragging;
    const int row = m_pressRow;
    const QUndoCommand *step = m_dragStep;
    endDrag();
    if (!dragging || !step)
        return;
    // The object stands where it stood: the drag leaves nothing to undo.
    m_document.Journal.undoAndDrop(step);
    runGuarded(m_dialogs, m_host, [&] {
        placeSelectionMarksOn(row);
        if (headingLineFollows)
            headingLineFollows();
    });
}

void TMouseEditing::Work_maskeMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)
{
    runGuarded(m_dialogs, m_host, [&] {
        ToggleMeter(button, modifiers, point, -1);
        TMapView &map = *m_view.Panel1;
        if (button == Qt::LeftButton) {
            emit weaponBoxHideRequested();
            m_view.Markers.SelectionShown = false;
            map.Ranger->hide();
            map.Selector->hide();
            if (m_grid.currentCol() == TObjectTable::ColHorzAngle)
                map.clearWorkMask();
            // A plain press deselects; a drag from here draws a rubber band
            // that selects (with Shift: adds) the objects it touches.
            if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
                if (modifiers == Qt::NoModifier)
                    Selection.clear();
                m_banding = true;
                m_bandAdds = modifiers == Qt::ShiftModifier;
                m_bandShown = false;
                m_bandOrigin = point;
            }
        } else if (button == Qt::RightButton && m_view.Markers.SelectionShown) {
            moveObjectTo(m_document.CurrentRow, point);
        }
    });
}

// The armed object's marker lands with its top left corner on the pressed
// pixel; the cache and the "X-Axis" and "Y-Axis" cells take the game position
// of that pixel.
void TMouseEditing::moveObjectTo(int row, QPoint point)
{
    TMarker *m = row >= 1 && row <= std::min(m_document.ObjectCount, TMapDocument::MaxObjects)
        ? m_view.Markers[row]
        : nullptr;
    if (!m)
        return;
    const TGamePoint game = windowToGame(m_view.View, point.x(), point.y());
    TJournalStep step(m_document, QStringLiteral("Move object"));
    m->setTopLeft(point);
    m_document.ObjectX[row - 1] = game.X;
    m_document.ObjectY[row - 1] = game.Y;
    m_view.Panel1->clearWorkMask();
    m_document.Table.setCell(TObjectTable::ColX, row, QString::number(game.X));
    m_document.Table.setCell(TObjectTable::ColY, row, QString::number(game.Y));
    placeSelectionMarksOn(row);
}

// The radius circle sized and centred on the marker and shown, the selection
// ring centred on it (its visibility unchanged).
void TMouseEditing::placeSelectionMarksOn(int row)
{
    TMarker *m = m_view.Markers[row];
    if (!m || row != m_document.CurrentRow)
        return;
    m_view.Markers.showRangerOn(m);
    m_view.Panel1->Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
}

void TMouseEditing::ToggleMeter(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point, int row)
{
    const bool altLeft = button == Qt::LeftButton && modifiers == Qt::AltModifier;
    if (!altLeft && button != Qt::MiddleButton)
        return;
    const TViewState &v = m_view.View;
    if (row != -1) {
        const TMarker *m = m_view.Markers[row];
        MeterOriginX = checkedSub(m->left() + MarkerSize / 2, v.ViewOffsetX) / v.Zoom;
        MeterOriginY = checkedSub(m->top() + MarkerSize / 2, v.ViewOffsetY) / v.Zoom;
    } else {
        MeterOriginX = checkedSub(point.x(), v.ViewOffsetX) / v.Zoom;
        MeterOriginY = checkedSub(point.y(), v.ViewOffsetY) / v.Zoom;
    }
    TMapView &map = *m_view.Panel1;
    map.MetaMeter->setVisible(!map.MetaMeter->isVisible());
    map.MeterAnz->setVisible(!map.MeterAnz->isVisible());
}

void TMouseEditing::TrackMeter(QPoint point)
{
    const TViewState &v = m_view.View;
    const std::int64_t dx = std::llabs(std::int64_t(MeterOriginX) * v.Zoom - (std::int64_t(point.x()) - v.ViewOffsetX));
    const std::int64_t dy = std::llabs(std::int64_t(MeterOriginY) * v.Zoom - (std::int64_t(point.y()) - v.ViewOffsetY));
    const double radius = std::trunc(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)));
    MeterRadius = radius < double(INT32_MAX / 2) ? std::int32_t(radius) : INT32_MAX / 2;
    TMapView &map = *m_view.Panel1;
    const std::int64_t top = std::int64_t(MeterOriginY) * v.Zoom + v.ViewOffsetY - MeterRadius;
    const std::int64_t left = std::int64_t(MeterOriginX) * v.Zoom + v.ViewOffsetX - MeterRadius;
    map.MetaMeter->setBounds(int(std::clamp<std::int64_t>(left, INT32_MIN / 2, INT32_MAX / 2)),
                             int(std::clamp<std::int64_t>(top, INT32_MIN / 2, INT32_MAX / 2)), 2 * MeterRadius,
                             2 * MeterRadius);
    map.MeterAnz->setPos(point.x() + 15, point.y() + 10);
    map.MeterAnz->setText(QString::number(MeterRadius / v.Zoom * 2));
}
