// PCX pictures: a terrain picture loaded from its stream, as LoadFromFile
// loads it once the file is open.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "terrain/pcxctrl.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QBuffer stream;
    stream.setData(inputBytes(data, size));
    stream.open(QIODevice::ReadOnly);
    TPCXBitmap bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const TError &) {
    }
    return 0;
}
