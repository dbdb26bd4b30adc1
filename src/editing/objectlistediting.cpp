#include "objectlistediting.h"

#include "objectgrid.h"
#include "objectlist.h"

#include "ui/dialogs.h"
#include "journal/journalstep.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QApplication>
#include <QShortcut>
#include <algorithm>

TObjectListEditing::TObjectListEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid,
                                       const TItemCatalogue &catalogue, TDialogs &dialogs, QWidget *host)
    : QObject(host), m_document(document), m_view(view), m_grid(grid), m_catalogue(catalogue),
      m_dialogs(dialogs), m_host(host)
{
    auto *duplicate = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), host);
    duplicate->setContext(Qt::WindowShortcut);
    connect(duplicate, &QShortcut::activated, this, &TObjectListEditing::duplicateShortcut);
}

void TObjectListEditing::duplicateShortcut()
{
    // The map window takes no focus: it counts while the pointer is over it.
    const QWidget *focus = QApplication::focusWidget();
    const bool inTable = focus && (focus == &m_grid || m_grid.isAncestorOf(focus));
    if (!m_grid.isEnabled() || (!inTable && !m_view.Panel1->isPointerOver()))
        return;
    runGuarded(m_dialogs, m_host, [this] { DuplicateObjects(); });
}

int TObjectListEditing::DuplicateObjects()
{
    m_grid.closeCellEditor();
    const TGridSelection s = m_grid.selection();
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    const int top = std::max(s.top, 1);
    const int bottom = std::min(s.bottom, count);
    const int n = bottom - top + 1;
    if (n < 1 || count + n > TMapDocument::MaxObjects)
        return 0;
    // Every "ID" is read, and the last new one must fit, before anything changes.
    const std::int32_t firstId = newObjectId(m_document);
    checkedAdd(firstId, n - 1);

    TJournalStep step(m_document, QStringLiteral("Duplicate"));
    const int first = appendObjectCopies(m_document, top, bottom, firstId);
    for (int row = first; row < first + n; ++row)
        m_view.Markers.addForNewRow(row);
    // The copies stand where their originals stand.
    m_view.MoveView(0, 0, true, 0);
    const int col = std::max(m_grid.currentCol(), 0);
    const int current = first + std::clamp(m_grid.currentRow() - top, 0, n - 1);
    m_grid.moveTo(col, current);
    m_grid.selectRectangle(s.left, first, s.right, first + n - 1);
    return n;
}

void TObjectListEditing::Button9Click()
{
    runGuarded(m_dialogs, m_host, [this] { AddObject(); });
}

void TObjectListEditing::Button10Click()
{
    runGuarded(m_dialogs, m_host, [this] { DeleteObject(); });
}

void TObjectListEditing::AddObject()
{
    if (m_document.ObjectCount >= TMapDocument::MaxObjects)
        return;
    const QString item = newObjectItemText(pickedItemNumber ? pickedItemNumber() : QString());
    const std::int32_t id = newObjectId(m_document);
    const TGamePoint position = newObjectPosition(m_view.View);

    m_grid.closeCellEditor();
    TJournalStep step(m_document, QStringLiteral("Add Item"));
    const int row = appendObjectRow(m_document, id, item, position, m_catalogue);
    // Yellow, at the window's centre, above every marker, whatever the filters say.
    m_view.Markers.addForNewRow(row);
    m_grid.moveTo(std::max(m_grid.currentCol(), 0), row);
}

void TObjectListEditing::DeleteObject()
{
    const int row = m_grid.currentRow();
    const int col = std::max(m_grid.currentCol(), 0);
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    m_grid.closeCellEditor();
    TJournalStep step(m_document, QStringLiteral("Del Item"));
    if (row >= 1 && row <= count && count > 1) {
        if (!deleteObjectRow(m_document, row))
            return;
        // The markers keep their rows (Tag) and their stacking; their looks
        // move up with the rows they show.
        for (int r = row; r < count; ++r) {
            TMarker *to = m_view.Markers[r];
            const TMarker *from = m_view.Markers[r + 1];
            if (!to || !from)
                continue;
            to->setColours(from->fillColour(), from->outlineColour());
            to->setHint(from->hint());
            to->setVisible(from->isVisible());
        }
        m_view.Markers.destroy(count);
        // The row that now holds the next object, or the new last row.
        const int current = std::min(row, m_document.ObjectCount);
        m_document.CurrentRow = current;
        m_grid.setCurrentCellQuietly(col, current);
    }
    TMapView &map = *m_view.Panel1;
    map.Ranger->hide();
    map.Selector->hide();
    // The heading line belonged to the object that was current.
    map.clearWorkMask();
    m_view.MoveView(0, 0, true, 0);
}
