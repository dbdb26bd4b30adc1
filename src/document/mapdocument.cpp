#include "mapdocument.h"
#include "category.h"
#include "numbers.h"

TMapDocument::TMapDocument()
{
    Header.initialise();
}

void TMapDocument::reset()
{
    Header.resetForEmptyDocument();
    ObjectCount = 0;
    Table.setRowCount(2);
    Table.clearRow(1);
    ObjectX.fill(0);
    ObjectY.fill(0);
    MapStamps.clear();
}

int TMapDocument::categoryOfRow(int row) const
{
    return categoryOf(StrToInt(Table.cell(TObjectTable::ColObject, row),
                               TObjectTable::cellName(TObjectTable::ColObject, row)));
}
