#include "mouseediting.h"

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
    : QObject(host), m_document(document), m_view(view), m_grid(grid), m_dialogs(dialogs), m_host(host)
{
    connect(view.Panel1, &TMapView::workMaskMoved, this, &TMouseEditing::Work_maskeMouseMove);
    connect(view.Panel1, &TMapView::workMaskPressed, this, &TMouseEditing::Work_maskeMouseDown);
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

void TMouseEditing::Work_maskeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point)
{
    if ((buttons == Qt::NoButton && modifiers == Qt::AltModifier) || buttons == Qt::MiddleButton)
        TrackMeter(point);
    m_view.showPointerReadout(point);
}

void TMouseEditing::Shape1MouseDown(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)
{
    runGuarded(m_dialogs, m_host, [&] {
        TMarker *m = row >= 1 && row <= TMapDocument::MaxObjects ? m_view.Markers[row] : nullptr;
        if (!m)
            return;
        m_document.CurrentRow = row;
        ToggleMeter(button, modifiers, point, row);
        TMapView &map = *m_view.Panel1;
        map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
        map.Selector->show();
        m_view.Markers.showRangerOn(m);
        if (button == Qt::RightButton)
            m_view.Markers.SelectionShown = true;
        // The table follows with a cell selection in its current column.
        if (m_grid.moveTo(std::max(m_grid.currentCol(), 0), row))
            m_grid.scrollRowToTop(row);
        // A left press alone may become a drag of this object.
        if (button == Qt::LeftButton && modifiers == Qt::NoModifier) {
            m_pressRow = row;
            m_pressPoint = point;
            m_grabOffset = point - m->topLeft();
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
    }
    // The heading line, which a right-click move wipes, follows a drag.
    TJournal &journal = m_document.Journal;
    const int stepsBefore = journal.index();
    m_moving = true;
    const bool moved = runGuarded(m_dialogs, m_host, [&] {
        TJournalStep step(&journal, QStringLiteral("Drag object"),
                          TStepMerge{m_dragSession, TStepMerge::DragColumn, row, false});
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

void TMouseEditing::markerReleased(int row, Qt::MouseButton button, QPoint)
{
    if (button == Qt::LeftButton && row == m_pressRow)
        endDrag();
}

void TMouseEditing::endDrag()
{
    m_pressRow = 0;
    m_dragging = false;
    m_dragStep = nullptr;
}

void TMouseEditing::cancelDrag()
{
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
