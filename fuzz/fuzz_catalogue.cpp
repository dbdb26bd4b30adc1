// The item catalogue (item.ini), read as the Item List's creation reads it.
#include "fuzzinput.h"

#include "catalogue/itemcatalogue.h"
#include "fileio/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    inputFile(data, size, QStringLiteral("item.ini"));
    TItemCatalogue catalogue;
    try {
        catalogue.LoadItemCatalogue(inputDir());
        QString name;
        catalogue.LookupItemName(catalogue.cell(0, catalogue.RowCount() - 1), name);
    } catch (const TError &) {
    }
    return 0;
}
