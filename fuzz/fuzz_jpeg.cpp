// Item pictures (.jpg), decoded for the Object View's picture box as
// LoadItemPicture decodes a file's bytes.
#include "fuzzinput.h"

#include "catalogue/jpegpicture.h"
#include "fileio/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        DecodeItemPicture(inputBytes(data, size), QStringLiteral("item.jpg"), ItemPictureBox);
    } catch (const TError &) {
    }
    return 0;
}
