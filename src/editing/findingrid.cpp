#include "findingrid.h"

bool FindInGrid(const QString &text, int rowCount, int columnCount, const TGridCellText &cell, int &row,
                int &col)
{
    const int last = rowCount - 1;
    if (last < 1 || text.isEmpty())
        return false;
    int r = row + 1;
    if (r > last || r < 1)
        r = 1;
    for (int examined = 0; examined < last; ++examined) {
        for (int c = 0; c < columnCount; ++c) {
            if (cell(c, r).contains(text, Qt::CaseSensitive)) {
                row = r;
                col = c;
                return true;
            }
        }
        r = r == last ? 1 : r + 1;
    }
    return false;
}
