// The map-name list (kzmpname.bin): read as Load reads it, then laid out
// again as the writer would.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "document/mapnamelist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = inputFile(data, size, QStringLiteral("kzmpname.bin"));
    TMapNameList list;
    try {
        list.read(path);
        list.encode();
    } catch (const TError &) {
    }
    return 0;
}
