#include "objectgrid.h"

#include "celleditordelegate.h"
#include "document/objecttable.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <tuple>

TObjectGrid::TObjectGrid(TObjectTable &table, QWidget *parent) : QTableView(parent), m_table(table)
{
    setModel(&table);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setMinimumHeight(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // The designed widths, widened where a column's title would be cut
    // ("Horz-Angel" and "Vert-Angel" need more than their 32 and 31 pixels).
    static constexpr int widths[TObjectTable::ColumnCount] = {26, 33, 45, 64, 64, 64, 64, 32, 31, 31, 96};
    for (int c = 0; c < TObjectTable::ColumnCount; ++c)
        setColumnWidth(c, std::max(widths[c], horizontalHeader()->sectionSizeHint(c)));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    // Tab reaches keyPressEvent instead of moving the focus on.
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    m_delegate = new TCellEditorDelegate(this);
    setItemDelegate(m_delegate);
    // The column titles are part of the grid: a press there (to size a
    // column) is a press in the grid.
    horizontalHeader()->viewport()->installEventFilter(this);

    // The in-place editor is part of the grid: the grid is left when the
    // focus goes to another control of its window. Another window taking
    // the focus (the Item List) leaves the grid the window's focused control.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && isInside(old) && now && !isInside(now) && now->window() == window())
            emit exited();
    });
}

TObjectGrid::~TObjectGrid()
{
    selectCell = nullptr;
    keyDown = nullptr;
}

int TObjectGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int TObjectGrid::currentCol() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : -1;
}

TGridSelection TObjectGrid::selection() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return {};
    TGridSelection s{current.row() + 1, current.column(), current.row() + 1, current.column()};
    for (const QItemSelectionRange &r : selectionModel()->selection()) {
        s.top = std::min(s.top, r.top() + 1);
        s.bottom = std::max(s.bottom, r.bottom() + 1);
        s.left = std::min(s.left, r.left());
        s.right = std::max(s.right, r.right());
    }
    return s;
}

QModelIndex TObjectGrid::cellIndex(int col, int row) const
{
    return m_table.index(row - 1, col);
}

bool TObjectGrid::moveTo(int col, int row)
{
    return moveCurrent(col, row, QItemSelectionModel::ClearAndSelect);
}

bool TObjectGrid::moveCurrent(int col, int row, QItemSelectionModel::SelectionFlags selection)
{
    const QModelIndex target = cellIndex(col, row);
    if (!target.isValid())
        return false;
    if (selectCell && !selectCell(col, row))
        return false;
    m_ownMove = true;
    selectionModel()->setCurrentIndex(target, selection);
    m_ownMove = false;
    return true;
}

void TObjectGrid::setCurrentCellQuietly(int col, int row)
{
    const QModelIndex target = cellIndex(col, row);
    if (target.isValid())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
}

void TObjectGrid::scrollRowToTop(int row)
{
    const QModelIndex target = cellIndex(std::max(currentCol(), 0), row);
    if (target.isValid())
        scrollTo(target, QAbstractItemView::PositionAtTop);
}

QRect TObjectGrid::cellRect(int col, int row, QWidget *in) const
{
    const QRect r = visualRect(cellIndex(col, row));
    return QRect(viewport()->mapTo(in, r.topLeft()), r.size());
}

bool TObjectGrid::isEditing() const
{
    return state() == QAbstractItemView::EditingState;
}

void TObjectGrid::closeCellEditor()
{
    if (!isEditing())
        return;
    QWidget *editor = QApplication::focusWidget();
    if (!editor || editor == this || !isAncestorOf(editor))
        return;
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_table.endTyping();
}

bool TObjectGrid::isInside(const QWidget *widget) const
{
    return widget == this || isAncestorOf(widget);
}

int TObjectGrid::visibleRows() const
{
    return std::max(1, viewport()->height() / RowHeight);
}

// --- the user's moves -------------------------------------------------------

bool TObjectGrid::moveBy(int dCol, int dRow)
{
    const int rows = m_table.RowCount() - 1;
    if (rows < 1 || currentRow() < 1)
        return false;
    const int col = std::clamp(currentCol() + dCol, 0, TObjectTable::ColumnCount - 1);
    const int row = std::clamp(currentRow() + dRow, 1, rows);
    if (col == currentCol() && row == currentRow())
        return false;
    return moveTo(col, row);
}

void TObjectGrid::tabMove(bool backwards)
{
    const int rows = m_table.RowCount() - 1;
    if (rows < 1 || currentRow() < 1)
        return;
    // Cells in reading order; the first and the last cell end the way.
    const int last = TObjectTable::ColumnCount - 1;
    int col = currentCol() + (backwards ? -1 : 1);
    int row = currentRow();
    if (col > last) {
        col = 0;
        ++row;
    } else if (col < 0) {
        col = last;
        --row;
    }
    if (row >= 1 && row <= rows)
        moveTo(col, row);
}

void TObjectGrid::extendTo(int col, int row)
{
    selectRectangle(currentCol(), currentRow(), col, row);
    scrollTo(cellIndex(col, row));
}

void TObjectGrid::selectRectangle(int col1, int row1, int col2, int row2)
{
    const QModelIndex a = cellIndex(col1, row1);
    const QModelIndex b = cellIndex(col2, row2);
    if (!a.isValid() || !b.isValid())
        return;
    selectionModel()->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
}

QList<int> TObjectGrid::selectedRows() const
{
    QList<int> rows;
    const QItemSelection selected = selectionModel()->selection();
    for (const QItemSelectionRange &r : selected)
        for (int row = r.top() + 1; row <= r.bottom() + 1; ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

namespace {
// The rows as runs of neighbours, each one range of the selection.
QItemSelection rowRanges(const QAbstractItemModel &model, const QList<int> &rows, int left, int right)
{
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        const QModelIndex a = model.index(rows[i] - 1, left);
        const QModelIndex b = model.index(rows[j] - 1, right);
        if (a.isValid() && b.isValid())
            selection.append(QItemSelectionRange(a, b));
        i = j + 1;
    }
    return selection;
}
}

std::pair<int, int> TObjectGrid::selectionColumns() const
{
    if (selectionModel()->hasSelection()) {
        const TGridSelection s = selection();
        return {s.left, s.right};
    }
    const int col = std::max(currentCol(), 0);
    return {col, col};
}

void TObjectGrid::selectRows(const QList<int> &rows, int left, int right)
{
    if (left < 0)
        std::tie(left, right) = selectionColumns();
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    selectionModel()->select(rowRanges(m_table, sorted, left, right), QItemSelectionModel::ClearAndSelect);
}

void TObjectGrid::setRowSelected(int row, bool selected)
{
    const auto [left, right] = selectionColumns();
    selectionModel()->select(rowRanges(m_table, {row}, left, right),
                             selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void TObjectGrid::clearRowSelection()
{
    selectionModel()->clearSelection();
}

bool TObjectGrid::moveCurrentTo(int col, int row)
{
    return moveCurrent(col, row, QItemSelectionModel::NoUpdate);
}

// --- events -----------------------------------------------------------------

bool TObjectGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        emit mouseDown();
    return QTableView::eventFilter(watched, event);
}

void TObjectGrid::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown();
    event->accept();
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !at.isValid())
        return;
    if ((event->modifiers() & Qt::ShiftModifier) && currentIndex().isValid()) {
        extendTo(at.column(), at.row() + 1);
        m_dragging = true;
    } else {
        m_dragging = moveTo(at.column(), at.row() + 1);
    }
}

void TObjectGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    // Dragging stretches the selection; the current cell stays where the drag began.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid())
        extendTo(at.column(), at.row() + 1);
}

void TObjectGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool wasDragging = m_dragging;
    m_dragging = false;
    if (wasDragging && event->button() == Qt::LeftButton)
        emit gridClicked();
}

void TObjectGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit mouseDown();
    event->accept();
    const QModelIndex at = indexAt(event->position().toPoint());
    // The weapon column is chosen from the weapon list instead of typed.
    if (event->button() == Qt::LeftButton && at.isValid() && at == currentIndex()
        && at.column() != TObjectTable::ColWeapon)
        edit(at, QAbstractItemView::DoubleClicked, event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

bool TObjectGrid::editorKeyPress(QKeyEvent *event)
{
    if (keyDown && keyDown(event->key())) {
        closeCellEditor();
        return true;
    }
    return false;
}

void TObjectGrid::keyPressEvent(QKeyEvent *event)
{
    // Keys the in-place editor does not use come here as well; Enter has
    // been dealt with there already.
    const bool editing = isEditing();
    if (!editing && keyDown && keyDown(event->key())) {
        event->accept();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    int dCol = 0;
    int dRow = 0;
    const int rows = m_table.RowCount() - 1;
    switch (event->key()) {
    case Qt::Key_Tab:
        tabMove(false);
        event->accept();
        return;
    case Qt::Key_Backtab:
        tabMove(true);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!editing && currentIndex().isValid())
            edit(currentIndex());
        event->accept();
        return;
    case Qt::Key_Up: dRow = -1; break;
    case Qt::Key_Down: dRow = 1; break;
    case Qt::Key_Left: dCol = -1; break;
    case Qt::Key_Right: dCol = 1; break;
    case Qt::Key_PageUp: dRow = -visibleRows(); break;
    case Qt::Key_PageDown: dRow = visibleRows(); break;
    case Qt::Key_Home:
        if (control)
            dRow = -rows;
        else
            dCol = -TObjectTable::ColumnCount;
        break;
    case Qt::Key_End:
        if (control)
            dRow = rows;
        else
            dCol = TObjectTable::ColumnCount;
        break;
    default:
        // Typing on a cell starts editing it with the typed character.
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!shift) {
        moveBy(dCol, dRow);
        return;
    }
    // Shift moves the far end of the selection; the current cell stays.
    const TGridSelection s = selection();
    if (rows < 1 || currentRow() < 1)
        return;
    const int farCol = s.left == currentCol() ? s.right : s.left;
    const int farRow = s.top == currentRow() ? s.bottom : s.top;
    extendTo(std::clamp(farCol + dCol, 0, TObjectTable::ColumnCount - 1), std::clamp(farRow + dRow, 1, rows));
}

void TObjectGrid::keyReleaseEvent(QKeyEvent *event)
{
    emit keyReleased(event->key());
    QTableView::keyReleaseEvent(event);
}

void TObjectGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    // The table's state follows the cell the user comes back to (also the
    // first cell after a load, which no selection has made current yet).
    if (currentIndex().isValid())
        emit currentCellFollowed(currentCol(), currentRow());
}

void TObjectGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab and Shift+Tab in the editor end editing and move like Tab in the grid.
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
    m_table.endTyping();
    if (next || previous)
        tabMove(previous);
}

void TObjectGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_ownMove && current.isValid())
        emit currentCellFollowed(current.column(), current.row() + 1);
}

void TObjectGrid::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTableView::rowsInserted(parent, start, end);
    if (!currentIndex().isValid())
        setCurrentCellQuietly(0, 1);
}
