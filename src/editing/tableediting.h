#pragma once
// TTableEditing: the rules of the object table. It answers the grid's events
// (StringGrid1SelectCell, StringGrid1SetEditText, the keys, the clicks, the
// exit) over the map document and the map view, so every cell change reaches
// the object's marker, position cache and the selection marks at once. It
// also carries the search over the table, RangeFill, the heading indicator
// and the Item List's Use over the selected rows.
//
// Every change of an object value goes through the table's setters and their
// change notification; the in-place editor's keystrokes arrive here through
// the table's cellEdited signal.

#include "rangefill.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <map>
#include <utility>

class QWidget;
class TDialogs;
class TItemCatalogue;
class TMapDocument;
class TMapViewPanel;
class TObjectGrid;

class TTableEditing : public QObject {
    Q_OBJECT
public:
    // Connects itself to the grid's events and to the table's edits.
    TTableEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid,
                  const TItemCatalogue &catalogue, TDialogs &dialogs, QWidget *host);
    ~TTableEditing() override;

    // The cell that was selected last, and its value: the base of a relative entry.
    int EditRow = 0;
    int EditCol = 0;
    std::int32_t EditBaseValue = 0;

    // A cell becomes current: validation, the editing state, the current
    // object with its selection marks, the heading line. A cell that must be
    // read as an integer and is none shows the conversion message and the
    // result is false (the current cell stays); nothing but the cell
    // corrections has changed then.
    bool StringGrid1SelectCell(int col, int row);
    // The text of cell (col, row) changed in the in-place editor (already in
    // the cell): the object's marker, cached position and selection marks
    // follow; a half-typed number ends this silently. RangeFill runs in any case.
    void StringGrid1SetEditText(int col, int row, const QString &text);
    // Enter on a relative entry; true when the key was used.
    bool StringGrid1KeyDown(int key);
    void StringGrid1KeyUp(int key);
    void StringGrid1MouseDown();
    void StringGrid1Click();
    void StringGrid1Exit();
    // Enter in the search field: the next cell containing text becomes current.
    void E_searchKeyDown(int key, const QString &text);

    // Draws the current object's heading on Work_maske; unless forced, only
    // while the selection is a single cell.
    void DrawHeadingIndicator(bool forced);
    // Copies cell (col, row) into the other rows a typing reaches: the rest
    // of the selection's rectangle, or, for objects selected apart from each
    // other, each of them. Rows filled in "X-Axis" or "Y-Axis" move their
    // cached positions and markers too, so the map shows what the table (and
    // the next save) holds. What a filled cell held before is kept as its own
    // value for a relative entry.
    void RangeFill(int col, int row);
    // Use: item number and name into the selected rows, their markers
    // recoloured and given the name as hint; no other processing.
    void applyItem(const QString &number, const QString &name);
    // The grid's current cell moved without a selection: the editing state follows it.
    void followCurrentCell(int col, int row);

signals:
    // The weapon list is hidden by every click in the grid and every selection.
    void weaponBoxHideRequested();

private:
    void selectCellSteps(int col, int row);
    void textChangeSteps(int col, int row);
    void paintHeadingLine();
    bool hasObject(int row) const;
    // Relative entry over the rows a fill writes: each takes the offset onto
    // its own value. All sums are worked out before any cell changes.
    void relativeEntryInRows(const QString &text, std::int32_t sum, const QList<int> &rows);
    // Moves the cached positions and markers of rows whose "X-Axis" or
    // "Y-Axis" cells were written.
    void followPositionCells(int col, const QList<int> &rows);
    // The rows besides the current one that a text typed into row reaches,
    // ascending.
    QList<int> otherTypedRows(int row) const;

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    const TItemCatalogue &m_catalogue;
    TDialogs &m_dialogs;
    QWidget *m_host;
    // The text each cell of a fill's rows held before the typing wrote over
    // it: its last number, or its first text when it held no number. Kept
    // from one cell selection to the next.
    std::map<std::pair<int, int>, QString> m_ownTexts; // (col, row)
};
