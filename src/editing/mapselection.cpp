#include "mapselection.h"

#include "groupmove.h"
#include "objectgrid.h"

#include "document/mapdocument.h"
#include "journal/journal.h"
#include "journal/journalstep.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"
#include "ui/dialogs.h"

#include <QItemSelectionModel>
#include <algorithm>

TMapSelection::TMapSelection(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid, TDialogs &dialogs,
                             QWidget *host)
    // No parent: the mouse editing holds it as a member.
    : QObject(nullptr), m_document(document), m_view(view), m_grid(grid), m_dialogs(dialogs), m_host(host)
{
    // The map's marks follow the table's selection however it changes:
    // clicks and keys in the table, the map's own gestures, rows added and removed.
    connect(grid.selectionModel(), &QItemSelectionModel::selectionChanged, this, &TMapSelection::marksFollowTable);
    const QAbstractItemModel *model = grid.model();
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TMapSelection::marksFollowTable);
    connect(model, &QAbstractItemModel::rowsInserted, this, &TMapSelection::marksFollowTable);
    connect(model, &QAbstractItemModel::modelReset, this, &TMapSelection::marksFollowTable);
    connect(model, &QAbstractItemModel::layoutChanged, this, &TMapSelection::marksFollowTable);
    connect(view.Panel1, &TMapView::mapKeyPressed, this, &TMapSelection::mapKey);
}

void TMapSelection::marksFollowTable()
{
    m_view.Markers.setSelectedRows(m_grid.selectedRows());
    // Arrow presses after a change of the selection move other objects.
    m_lastNudge.invalidate();
}

QList<int> TMapSelection::rows() const
{
    QList<int> rows = m_grid.selectedRows();
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    rows.removeIf([count](int row) { return row < 1 || row > count; });
    return rows;
}

bool TMapSelection::isSelected(int row) const
{
    return m_view.Markers.isSelected(row);
}

bool TMapSelection::isGroupMember(int row) const
{
    return isSelected(row) && m_view.Markers.selectedRows().size() > 1;
}

void TMapSelection::selectOnly(int row)
{
    // As a click on a marker leaves the table: the one cell in the current column.
    const int col = std::max(m_grid.currentCol(), 0);
    m_grid.selectRows({row}, col, col);
}

void TMapSelection::toggle(int row)
{
    m_grid.setRowSelected(row, !m_grid.selectedRows().contains(row));
}

void TMapSelection::clear()
{
    m_grid.clearRowSelection();
}

void TMapSelection::selectBand(const QRect &band, bool add)
{
    QList<int> touched = m_view.Markers.rowsTouching(band);
    if (add)
        touched += m_grid.selectedRows();
    m_grid.selectRows(touched);
}

void TMapSelection::selectAllShown()
{
    m_grid.selectRows(m_view.Markers.shownRows());
}

bool TMapSelection::moveRows(const QList<int> &rows, const std::vector<TGamePoint> &from, std::int64_t dx,
                             std::int64_t dy, int pinnedRow, QPoint pinnedPlace)
{
    if (!moveObjectsFrom(m_document, rows, from, dx, dy))
        return false;
    for (int row : rows)
        if (TMarker *m = m_view.Markers[row])
            m->setTopLeft(row == pinnedRow ? pinnedPlace : m_view.Markers.markerPlaceForRow(row));
    if (rows.contains(m_document.CurrentRow) && currentObjectMoved)
        currentObjectMoved();
    m_view.Panel1->viewport()->update();
    return true;
}

void TMapSelection::mapKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_A)
        selectAllShown();
    else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)
        nudge(key, modifiers);
}

void TMapSelection::nudge(int key, Qt::KeyboardModifiers modifiers)
{
    if (gestureActive && gestureActive())
        return;
    const QList<int> selected = rows();
    if (selected.isEmpty())
        return;
    const std::int64_t step = std::int64_t(GameUnitsPerPixel) * ((modifiers & Qt::ShiftModifier) ? 10 : 1);
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = step; break; // game Y grows up the screen
    case Qt::Key_Down: dy = -step; break;
    default: return;
    }
    const std::vector<TGamePoint> from = objectPositions(m_document, selected);
    if (!movable(from, dx, dy))
        return;
    TJournal &journal = m_document.Journal;
    // A press joins the burst while the last one is recent and its step
    // is still the journal's last.
    const bool burst = m_lastNudge.isValid() && m_lastNudge.elapsed() <= NudgeBurstPauseMs && m_nudgeStep
        && journal.index() > 0 && journal.command(journal.index() - 1) == m_nudgeStep;
    if (!burst) {
        journal.endTypingSession();
        m_nudgeSession = journal.typingSession();
    }
    const int before = journal.index();
    runGuarded(m_dialogs, m_host, [&] {
        TJournalStep move(&journal, QStringLiteral("Move objects"),
                          TStepMerge{m_nudgeSession, TStepMerge::DragColumn, -1, false});
        moveRows(selected, from, dx, dy);
    });
    // The burst's step: recorded by this press, merged with it, or gone when
    // the presses brought the objects back where they stood.
    if (journal.index() > before)
        m_nudgeStep = journal.command(journal.index() - 1);
    else if (journal.index() < before)
        m_nudgeStep = nullptr;
    m_lastNudge.start();
}
