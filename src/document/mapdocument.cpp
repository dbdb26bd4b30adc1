#include "mapdocument.h"
#include "category.h"
#include "numbers.h"

TMapDocument::TMapDocument() : Journal(*this)
{
    Header.initialise();
    Table.setJournal(&Journal);
}

TMapDocument::~TMapDocument()
{
    Table.setJournal(nullptr);
}

void TMapDocument::reset()
{
    const TJournal::TSuspension unrecorded(Journal);
    Journal.clear();
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
