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
