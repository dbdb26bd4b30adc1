#pragma once
// RangeFill: typing into a cell of a multi-row selection writes the same
// text into the selection's other rows, so one entry edits many objects.

#include <QString>

class TObjectTable;

// The grid's one rectangular selection, in table rows (1 ..) and columns.
struct TGridSelection {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    bool isSingleRow() const { return top == bottom; }
    bool isSingleCell() const { return top == bottom && left == right; }
    bool operator==(const TGridSelection &) const = default;
};

// Rows first .. last (empty when last < first).
struct TRowRange {
    int first = 0;
    int last = -1;
    bool isEmpty() const { return last < first; }
    bool operator==(const TRowRange &) const = default;
};

// The rows a fill from the current row writes: the rest of the selection
// below it when it is the selection's top row, above it when it is the
// bottom row, none when the selection is a single row.
TRowRange rangeFillRows(const TGridSelection &selection, int currentRow);

