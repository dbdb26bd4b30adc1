// The table import (the Import button): a separated table text read into the
// object table's rows, the fields past them counted for the report, then the
// rows' positions taken into the position cache.
// The first byte of the input is the separator, the second the number of
// object rows the table has (times 8, so tables up to 2000 rows are reached);
// the rest is the file.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "document/mapdocument.h"
#include "handoff/tableimport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const char separator = char(data[0]);
    const int rows = std::min(int(data[1]) * 8 + 1, int(TMapDocument::MaxObjects));
    const QString path = inputFile(data + 2, size - 2, QStringLiteral("export.txt"));
    static TMapDocument doc;
    doc.Table.setRowCount(rows + 1);
    doc.ObjectCount = rows;
    try {
        TImportCount count;
        PutImportedFields(doc.Table, ReadImportFile(path, separator, ImportRowCount(doc.Table), &count));
        ImportReport(count, ImportRowCount(doc.Table));
        TakeImportedPositions(doc);
    } catch (const TError &) {
    }
    return 0;
}
