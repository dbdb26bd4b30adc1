// Terrain files (.TRN): the values, the Map Data lines and the picture paths.
#include "fuzzinput.h"

#include "fileio/errors.h"
#include "terrain/terrainfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = inputFile(data, size, QStringLiteral("terrain.trn"));
    TTerrain terrain;
    try {
        ReadTerrainFile(path, inputDir(), terrain);
        ApplyChosenPicture(terrain, TMapPicture::Colour, inputDir() + QStringLiteral("colour.pcx"));
    } catch (const TError &) {
    }
    return 0;
}
