// The settings file (kzmap.ini), read as the main window's creation reads it.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    inputFile(data, size, QStringLiteral("kzmap.ini"));
    TSettingsStore store;
    try {
        store.LoadSettings(inputDir());
        store.readyToLoad();
    } catch (const TError &) {
    }
    return 0;
}
