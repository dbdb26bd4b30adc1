#pragma once
// FindInGrid: the text search of the object table and of the Item List. It
// knows a grid only by its row and column counts (row 0 being the titles) and
// a way to read a cell, so both grids use the one search.

#include <QString>
#include <functional>

// The text of cell (col, row) of the grid being searched.
using TGridCellText = std::function<QString(int col, int row)>;

// Searches the data rows 1 .. rowCount - 1 for the first cell that contains
// text (case significant), beginning with the row after `row` and wrapping
// from the last row to row 1, so the starting row comes last; within a row
// columns 0 .. columnCount - 1 in order. An empty text matches nothing. On a
// match row and col become the match and the result is true; otherwise both
// keep their values.
bool FindInGrid(const QString &text, int rowCount, int columnCount, const TGridCellText &cell, int &row,
                int &col);
