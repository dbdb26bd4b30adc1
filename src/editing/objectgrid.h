#pragma once
// TObjectGrid: StringGrid1, the object table as the user edits it. A table
// view over TObjectTable that behaves like a spreadsheet grid: one current
// cell and one rectangular selection that keeps the current cell at the end
// where the user started it; Tab and Shift+Tab move between cells; typing on
// a cell starts editing it, and every keystroke of the in-place editor writes
// the cell through the table's setter. The table's rules are not here: every
// move of the current cell asks the owner first (selectCell), and the grid's
// other events are announced for the owner to act on.

#include "rangefill.h"

#include <QTableView>
#include <functional>
#include <utility>

class TCellEditorDelegate;
class TObjectTable;

class TObjectGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    TObjectGrid(TObjectTable &table, QWidget *parent);
    ~TObjectGrid() override;

    // Asked before the current cell moves to (col, row); false keeps it where
    // it is (StringGrid1SelectCell).
    std::function<bool(int col, int row)> selectCell;
    // A key pressed in the grid or its editor (StringGrid1KeyDown); true when
    // the key was used up and the grid must not act on it.
    std::function<bool(int key)> keyDown;

    // The current cell in the table's numbering (rows from 1); 0 and -1 when
    // there is none.
    int currentRow() const;
    int currentCol() const;
    // The selection rectangle; the current cell alone when nothing else is selected.
    TGridSelection selection() const;

    // Moves the current cell to (col, row) as the user's moves do, asking
    // selectCell first; the selection becomes that cell. False when refused.
    bool moveTo(int col, int row);
    // Puts the current cell on (col, row) without asking (the table changed
    // under it); the selection becomes that cell.
    void setCurrentCellQuietly(int col, int row);
    void scrollRowToTop(int row);
    // Selects the rectangle of cells between two corners; the current cell stays.
    void selectRectangle(int col1, int row1, int col2, int row2);

    // The selected objects are the rows with a selected cell, ascending (none
    // when only the current cell is marked and nothing is selected).
    QList<int> selectedRows() const;
    // Selects exactly these rows, in the columns left .. right, or (left -1)
    // those the selection spans now (the current column when nothing is
    // selected); the current cell stays.
    void selectRows(const QList<int> &rows, int left = -1, int right = -1);
    // Adds one row to the selection, in those columns, or takes it out.
    void setRowSelected(int row, bool selected);
    // Nothing selected; the current cell stays where it is.
    void clearRowSelection();
    // Moves the current cell as moveTo does, keeping the selection as it is.
    bool moveCurrentTo(int col, int row);
    // The rectangle of a cell in the given widget's coordinates.
    QRect cellRect(int col, int row, QWidget *in) const;

    bool isEditing() const;
    // Closes the in-place editor; the cell keeps what was typed.
    void closeCellEditor();

signals:
    void mouseDown();      // StringGrid1MouseDown: any press in the grid, its column titles too
    void gridClicked();    // StringGrid1Click
    void gridDoubleClicked(); // StringGrid1DblClick
    void keyReleased(int key); // StringGrid1KeyUp
    void exited();         // StringGrid1Exit: the focus went from the grid to another control of its window
    // The current cell moved without a cell selection (rows were loaded,
    // added or removed under it).
    void currentCellFollowed(int col, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    friend class TCellEditorDelegate;
    // Enter and the other keys of the in-place editor that the grid decides on.
    bool editorKeyPress(QKeyEvent *event);
    bool moveBy(int dCol, int dRow);
    // The current cell to (col, row), the selection changed by the given flags.
    bool moveCurrent(int col, int row, QItemSelectionModel::SelectionFlags selection);
    void tabMove(bool backwards);
    void extendTo(int col, int row);
    bool isInside(const QWidget *widget) const;
    // The columns the selection spans, or the current column alone.
    std::pair<int, int> selectionColumns() const;
    QModelIndex cellIndex(int col, int row) const;
    int visibleRows() const;

    TObjectTable &m_table;
    TCellEditorDelegate *m_delegate;
    bool m_dragging = false;
    bool m_ownMove = false;
};
