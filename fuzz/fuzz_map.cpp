// Map files (.BMS): the reader Load runs (header, then the objects into the
// table), then the writer's file image of what was read.
#include "fuzzinput.h"

#include "catalogue/itemcatalogue.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "document/mapdocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = inputFile(data, size, QStringLiteral("map.bms"));
    static const TItemCatalogue catalogue;
    TMapDocument doc;
    try {
        LoadMapFile(path, doc, catalogue);
        BuildMapFile(doc, TMapControls{}, 0, QByteArray(TrailerSize, '\0'));
    } catch (const TError &) {
    }
    return 0;
}
