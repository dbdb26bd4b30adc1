#include "tableediting.h"

#include "cellrules.h"
#include "findingrid.h"
#include "objectgrid.h"

#include "ui/dialogs.h"
#include "catalogue/itemcatalogue.h"
#include "journal/journalstep.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QPen>
#include <algorithm>

namespace {
using T = TObjectTable;
}

TTableEditing::TTableEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid,
                             const TItemCatalogue &catalogue, TDialogs &dialogs, QWidget *host)
    : QObject(host), m_document(document), m_view(view), m_grid(grid), m_catalogue(catalogue),
      m_dialogs(dialogs), m_host(host)
{
    grid.selectCell = [this](int col, int row) { return StringGrid1SelectCell(col, row); };
    grid.keyDown = [this](int key) { return StringGrid1KeyDown(key); };
    connect(&grid, &TObjectGrid::mouseDown, this, &TTableEditing::StringGrid1MouseDown);
    connect(&grid, &TObjectGrid::gridClicked, this, &TTableEditing::StringGrid1Click);
    connect(&grid, &TObjectGrid::keyReleased, this, &TTableEditing::StringGrid1KeyUp);
    connect(&grid, &TObjectGrid::exited, this, &TTableEditing::StringGrid1Exit);
    connect(&grid, &TObjectGrid::currentCellFollowed, this, &TTableEditing::followCurrentCell);
    connect(&document.Table, &TObjectTable::cellEdited, this, &TTableEditing::StringGrid1SetEditText);
}

TTableEditing::~TTableEditing()
{
    m_grid.selectCell = nullptr;
    m_grid.keyDown = nullptr;
}

bool TTableEditing::hasObject(int row) const
{
    return row >= 1 && row <= std::min(m_document.ObjectCount, TMapDocument::MaxObjects) && m_view.Markers[row];
}

// --- cell selection -----------------------------------------------------------

bool TTableEditing::StringGrid1SelectCell(int col, int row)
{
    return runGuarded(m_dialogs, m_host, [&] { selectCellSteps(col, row); });
}

void TTableEditing::selectCellSteps(int col, int row)
{
    TObjectTable &table = m_document.Table;
    emit weaponBoxHideRequested();
    {
        // What the selection corrects belongs to the typing it ends.
        TJournalStep step(&m_document.Journal, QStringLiteral("Typing"),
                          TStepMerge{m_document.Journal.typingSession(), -1, -1, true});
        if (isNumberColumn(col)) {
            const QString text = table.cell(col, row);
            const QString valid = validatedCellText(text);
            if (valid != text)
                table.setCell(col, row, valid);
        }
        const int leaving = m_document.CurrentRow;
        if (hasObject(leaving) && table.cell(T::ColRadius, leaving).isEmpty())
            table.setCell(T::ColRadius, leaving, QStringLiteral("0"));
    }
    table.endTyping();

    // What the move reads is read before it changes anything else, so a
    // refused move leaves the editing state and the marks as they were.
    std::int32_t base = EditBaseValue;
    if (col > T::ColName)
        base = table.cellValue(col, row);
    if (hasObject(row))
        checkedMul(table.cellValue(T::ColRadius, row), m_view.View.Zoom);

    const int leftColumn = m_grid.currentCol();
    EditRow = row;
    EditCol = col;
    EditBaseValue = base;
    m_ownTexts.clear();
    m_document.CurrentRow = row;
    m_view.Markers.PlaceSelectionMarks();
    m_view.Panel1->bringSelectorToFront();
    // A move leaves the selection on the one cell it went to.
    if (leftColumn == T::ColHorzAngle)
        m_view.Panel1->clearWorkMask();
    if (col == T::ColHorzAngle)
        paintHeadingLine();
}

// --- cell text change ---------------------------------------------------------

void TTableEditing::StringGrid1SetEditText(int col, int row, const QString &)
{
    runGuarded(m_dialogs, m_host, [&] { textChangeSteps(col, row); });
    runGuarded(m_dialogs, m_host, [&] { RangeFill(col, row); });
}

// A text that is no integer where one is read ends the steps here without a
// message: the user is still typing.
void TTableEditing::textChangeSteps(int col, int row)
{
    TObjectTable &table = m_document.Table;
    if (!hasObject(row))
        return;
    const auto item = parseInt32(table.cell(T::ColObject, row));
    if (!item)
        return;
    if (col == T::ColObject) {
        QString name = table.cell(T::ColName, row);
        if (m_catalogue.LookupItemName(table.cell(T::ColObject, row), name))
            table.setCell(T::ColName, row, name);
    }
    // The row has its values now: its marker takes its category's colour.
    table.setAdded(row, false);
    TMarker *marker = m_view.Markers[row];
    TMarkerLayer::ApplyCategoryColour(marker, *item);
    marker->setHint(table.cell(T::ColName, row));

    if (m_grid.currentRow() >= 1)
        m_document.CurrentRow = m_grid.currentRow();
    const auto x = parseInt32(table.cell(T::ColX, row));
    if (!x)
        return;
    m_document.ObjectX[row - 1] = *x;
    const auto y = parseInt32(table.cell(T::ColY, row));
    if (!y)
        return;
    m_document.ObjectY[row - 1] = *y;
    m_view.MoveView(0, 0, true, 0);

    TMarker *current = m_view.Markers.currentMarker();
    if (!current)
        return;
    const int currentRow = m_document.CurrentRow;
    if (!table.cell(T::ColRadius, currentRow).isEmpty()) {
        if (!parseInt32(table.cell(T::ColRadius, currentRow)))
            return;
        m_view.Markers.showRangerOn(current);
    }
    m_view.Panel1->Selector->setTopLeft(selectorPlaceFor(current->topLeft()));
    m_view.Panel1->Selector->show();
    const auto base = parseInt32(table.cell(EditCol, EditRow));
    if (!base)
        return;
    EditBaseValue = *base;
    if (m_grid.currentCol() == T::ColHorzAngle) {
        m_view.Panel1->clearWorkMask();
        DrawHeadingIndicator(false);
    }
}

QList<int> TTableEditing::otherTypedRows(int row) const
{
    const QList<int> selected = m_grid.selectedRows();
    // A rectangle made in the table has the current cell at one of its ends.
    const int current = m_grid.currentRow();
    const bool rectangle = selected.isEmpty()
        || (selected.last() - selected.first() + 1 == selected.size()
            && (current == selected.first() || current == selected.last()));
    QList<int> rows;
    if (rectangle) {
        const TRowRange range = rangeFillRows(m_grid.selection(), current);
        for (int r = range.first; r <= range.last; ++r)
            rows.append(r);
    } else {
        // Objects selected on the map, apart from each other or around the
        // current row: each of them, and no row between them.
        for (int r : selected)
            if (r != row)
                rows.append(r);
    }
    return rows;
}

void TTableEditing::RangeFill(int col, int row)
{
    TObjectTable &table = m_document.Table;
    const QList<int> rows = otherTypedRows(row);
    for (int r : rows) {
        // A half-typed relative entry ("x+", "x+1") is no number: the row
        // keeps the number it had before the typing reached it.
        const QString before = table.cell(col, r);
        const auto own = m_ownTexts.find({col, r});
        if (own == m_ownTexts.end())
            m_ownTexts.emplace(std::pair{col, r}, before);
        else if (parseInt32(before))
            own->second = before;
    }
    if (rows.isEmpty())
        return;
    // As texts only (no row counts as edited), in one change of the table.
    table.setCells(col, rows, QList<QString>(rows.size(), table.cell(col, row)));
    followPositionCells(col, rows);
}

void TTableEditing::followPositionCells(int col, const QList<int> &rows)
{
    if (col != T::ColX && col != T::ColY)
        return;
    auto &cache = col == T::ColX ? m_document.ObjectX : m_document.ObjectY;
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    for (int r : rows) {
        if (r < 1 || r > count)
            continue;
        const auto value = parseInt32(m_document.Table.cell(col, r));
        if (!value)
            continue;
        cache[r - 1] = *value;
        if (TMarker *m = m_view.Markers[r])
            m->setTopLeft(m_view.Markers.markerPlaceForRow(r));
    }
}

// --- keys, clicks, exit -----------------------------------------------------

bool TTableEditing::StringGrid1KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // The base of a relative entry is taken when a number cell after
    // "O.Name" is selected; the other columns have none.
    if (EditCol <= T::ColName)
        return false;
    TObjectTable &table = m_document.Table;
    const QString text = table.cell(EditCol, EditRow);
    if (text.size() < 2 || (text[1] != u'+' && text[1] != u'-'))
        return false;
    runGuarded(m_dialogs, m_host, [&] {
        // The entry's result is part of the typing in the cell.
        TJournalStep step(&m_document.Journal, QStringLiteral("Typing"),
                          TStepMerge{m_document.Journal.typingSession(), EditCol, EditRow, false});
        const std::int32_t sum = *relativeEntry(text, EditBaseValue, T::cellName(EditCol, EditRow));
        const QList<int> rows = otherTypedRows(EditRow);
        if (!rows.isEmpty()) {
            relativeEntryInRows(text, sum, rows);
            return;
        }
        const QString result = QString::number(sum);
        table.setCell(EditCol, EditRow, result);
        EditBaseValue = sum;
        // The result is a change of the cell like a typed one: the marker
        // follows it.
        StringGrid1SetEditText(EditCol, EditRow, result);
    });
    return true;
}

void TTableEditing::relativeEntryInRows(const QString &text, std::int32_t sum, const QList<int> &rows)
{
    TObjectTable &table = m_document.Table;
    QList<QString> results;
    results.reserve(rows.size());
    for (int r : rows) {
        // The typing has filled the row with the entry's text; its own value
        // is the number it held before.
        QString own = table.cell(EditCol, r);
        if (!parseInt32(own)) {
            const auto kept = m_ownTexts.find({EditCol, r});
            if (kept != m_ownTexts.end())
                own = kept->second;
        }
        const std::int32_t value = StrToInt(own, T::cellName(EditCol, r));
        results.append(QString::number(*relativeEntry(text, value, T::cellName(EditCol, EditRow))));
    }
    table.setCell(EditCol, EditRow, QString::number(sum));
    table.setCells(EditCol, rows, results);
    EditBaseValue = sum;
    followPositionCells(EditCol, rows);
    runGuarded(m_dialogs, m_host, [&] { textChangeSteps(EditCol, EditRow); });
}

void TTableEditing::StringGrid1KeyUp(int key)
{
    if (key != Qt::Key_Shift)
        return;
    m_view.Panel1->clearWorkMask();
    if (m_grid.currentCol() == T::ColHorzAngle)
        DrawHeadingIndicator(true);
}

void TTableEditing::StringGrid1MouseDown()
{
    m_view.Markers.SelectionShown = true;
}

void TTableEditing::StringGrid1Click()
{
    emit weaponBoxHideRequested();
}

void TTableEditing::StringGrid1Exit()
{
    m_view.Panel1->clearWorkMask();
}

void TTableEditing::E_searchKeyDown(int key, const QString &text)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const TObjectTable &table = m_document.Table;
    int row = m_grid.currentRow();
    int col = m_grid.currentCol();
    const bool found = FindInGrid(text, table.RowCount(), T::ColumnCount,
                                  [&table](int c, int r) { return table.cell(c, r); }, row, col);
    if (!found)
        return;
    // The row first, then the column, each a cell selection of its own.
    if (row != m_grid.currentRow() && !m_grid.moveTo(std::max(m_grid.currentCol(), 0), row))
        return;
    if (col != m_grid.currentCol())
        m_grid.moveTo(col, row);
}

// --- heading indicator --------------------------------------------------------

void TTableEditing::DrawHeadingIndicator(bool forced)
{
    if (!forced && !m_grid.selection().isSingleCell())
        return;
    paintHeadingLine();
}

void TTableEditing::paintHeadingLine()
{
    TMarker *m = m_view.Markers.currentMarker();
    if (!m)
        return;
    m_view.Panel1->clearWorkMask();
    // A heading that is no number yet (a half-typed "-") draws nothing.
    const auto degrees = headingDegrees(m_document.Table.cell(T::ColHorzAngle, m_document.CurrentRow));
    if (!degrees)
        return;
    const QPoint centre = m->topLeft() + QPoint(MarkerSize / 2, MarkerSize / 2);
    m_view.Panel1->drawOnWorkMask(centre, headingLineEnd(centre, *degrees),
                                  QPen(QColor(255, 0, 0), 2, Qt::SolidLine, Qt::FlatCap));
}

// --- the Item List's Use --------------------------------------------------------

void TTableEditing::applyItem(const QString &number, const QString &name)
{
    // The selected rows, or the current one when nothing is selected.
    QList<int> rows = m_grid.selectedRows();
    if (rows.isEmpty() && m_grid.currentRow() >= 1)
        rows.append(m_grid.currentRow());
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    rows.removeIf([count](int r) { return r < 1 || r > count; });
    if (rows.isEmpty())
        return;
    TJournalStep step(m_document, QStringLiteral("Use item"));
    m_document.Table.setCells(T::ColObject, rows, QList<QString>(rows.size(), number));
    m_document.Table.setCells(T::ColName, rows, QList<QString>(rows.size(), name));
    const auto item = parseInt32(number);
    if (!item)
        return;
    for (int r : rows) {
        m_document.Table.setAdded(r, false);
        if (TMarker *m = m_view.Markers[r]) {
            TMarkerLayer::ApplyCategoryColour(m, *item);
            m->setHint(name);
        }
    }
}

void TTableEditing::followCurrentCell(int col, int row)
{
    EditRow = row;
    EditCol = col;
    m_ownTexts.clear();
    if (col > T::ColName)
        if (const auto v = parseInt32(m_document.Table.cell(col, row)))
            EditBaseValue = *v;
}
