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
#include <vector>

TObjectListEditing::TObjectListEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid,
                                       const TItemCatalogue &catalogue, TDialogs &dialogs, QWidget *host)
    : QObject(host), m_document(document), m_view(view), m_grid(grid), m_catalogue(catalogue),
      m_dialogs(dialogs), m_host(host)
{
    auto *duplicate = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), host);
    duplicate->setContext(Qt::WindowShortcut);
    connect(duplicate, &QShortcut::activated, this, &TObjectListEditing::duplicateShortcut);
    connect(view.Panel1, &TMapView::mapKeyPressed, this, [this](int key) { mapKey(key); });
    connect(view.Panel1, &TMapView::itemDropped, this, [this](const QString &item, QPoint point) {
        runGuarded(m_dialogs, m_host, [&] { addObjectAt(item, point); });
    });
}

void TObjectListEditing::mapKey(int key)
{
    if (key != Qt::Key_Delete || !m_grid.isEnabled())
        return;
    runGuarded(m_dialogs, m_host, [this] { DeleteObjects(m_grid.selectedRows()); });
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
    QList<int> rows = m_grid.selectedRows();
    if (rows.isEmpty() && m_grid.currentRow() >= 1)
        rows.append(m_grid.currentRow());
    rows.removeIf([count](int r) { return r < 1 || r > count; });
    const int n = int(rows.size());
    if (n < 1 || count + n > TMapDocument::MaxObjects)
        return 0;
    // Every "ID" is read, and the last new one must fit, before anything changes.
    const std::int32_t firstId = newObjectId(m_document);
    checkedAdd(firstId, n - 1);

    TJournalStep step(m_document, QStringLiteral("Duplicate"));
    const int first = appendObjectCopies(m_document, rows, firstId);
    QList<int> copies;
    for (int row = first; row < first + n; ++row) {
        m_view.Markers.addForNewRow(row);
        copies.append(row);
    }
    // The copies stand where their originals stand.
    m_view.MoveView(0, 0, true, 0);
    const int col = std::max(m_grid.currentCol(), 0);
    const qsizetype currentCopy = std::max<qsizetype>(rows.indexOf(m_grid.currentRow()), 0);
    m_grid.moveTo(col, first + int(currentCopy));
    m_grid.selectRows(copies, s.left, s.right);
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
        makeCurrentAfterDeleting(col, std::min(row, m_document.ObjectCount));
        return;
    }
    hideCurrentObjectMarks();
}

void TObjectListEditing::makeCurrentAfterDeleting(int col, int row)
{
    m_document.CurrentRow = row;
    m_grid.setCurrentCellQuietly(col, row);
    hideCurrentObjectMarks();
}

void TObjectListEditing::hideCurrentObjectMarks()
{
    TMapView &map = *m_view.Panel1;
    map.Ranger->hide();
    map.Selector->hide();
    // The heading line belonged to the object that was current.
    map.clearWorkMask();
    m_view.MoveView(0, 0, true, 0);
}

QList<int> TObjectListEditing::DeleteObjects(const QList<int> &rows)
{
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    const int col = std::max(m_grid.currentCol(), 0);
    m_grid.closeCellEditor();
    // The looks of every marker, to move up with the rows they show.
    struct TLooks {
        QRgb fill = 0, outline = 0;
        QString hint;
        bool shown = true;
    };
    std::vector<TLooks> looks(std::size_t(count) + 1);
    for (int r = 1; r <= count; ++r)
        if (const TMarker *m = m_view.Markers[r])
            looks[r] = {m->fillColour(), m->outlineColour(), m->hint(), m->isVisible()};

    TJournalStep step(m_document, QStringLiteral("Delete objects"));
    const QList<int> removed = deleteObjectRows(m_document, rows);
    if (removed.isEmpty())
        return removed;
    // The markers keep their rows (Tag) and their stacking.
    int to = 1;
    for (int from = 1, k = 0; from <= count; ++from) {
        if (k < removed.size() && removed[k] == from) {
            ++k;
            continue;
        }
        if (TMarker *m = m_view.Markers[to]; m && to != from) {
            m->setColours(looks[from].fill, looks[from].outline);
            m->setHint(looks[from].hint);
            m->setVisible(looks[from].shown);
        }
        ++to;
    }
    for (int r = count; r > m_document.ObjectCount; --r)
        m_view.Markers.destroy(r);
    makeCurrentAfterDeleting(col, std::min(removed.first(), m_document.ObjectCount));
    return removed;
}

void TObjectListEditing::addObjectAt(const QString &itemText, QPoint point)
{
    if (m_document.ObjectCount >= TMapDocument::MaxObjects)
        return;
    const std::int32_t id = newObjectId(m_document);
    const TGamePoint position = windowToGame(m_view.View, point.x(), point.y());

    m_grid.closeCellEditor();
    TJournalStep step(m_document, QStringLiteral("Drop item"));
    const int row = appendObjectRow(m_document, id, itemText, position, m_catalogue);
    if (TMarker *m = m_view.Markers.addForNewRow(row))
        m->setTopLeft(point);
    m_grid.moveTo(std::max(m_grid.currentCol(), 0), row);
}
