#include "rangefill.h"

#include "document/objecttable.h"

TRowRange rangeFillRows(const TGridSelection &selection, int currentRow)
{
    if (selection.top == selection.bottom)
        return {};
    if (selection.top == currentRow)
        return {selection.top + 1, selection.bottom};
    if (selection.bottom == currentRow)
        return {selection.top, selection.bottom - 1};
    return {};
}

TRowRange RangeFill(TObjectTable &table, const TGridSelection &selection, int currentRow, int col,
                    int sourceRow)
{
    const TRowRange rows = rangeFillRows(selection, currentRow);
    if (rows.isEmpty())
        return rows;
    table.setColumnCells(col, rows.first,
                         QList<QString>(rows.last - rows.first + 1, table.cell(col, sourceRow)));
    return rows;
}
