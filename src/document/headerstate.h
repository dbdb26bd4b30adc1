#pragma once
// THeaderState: the map's header values the user edits besides the object
// table: the terrain type, the map-name list with its selection, the game
// types of the main window and of the Save Map dialog, and night goggles.
// The document owns them; the boxes of both windows show them. One value,
// so a change of any of them is kept in the journal and put back as a whole.

#include "terrain/terrainfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

struct THeaderState {
    // The terrain-type box's entries: Jungle, Desert, Snow.
    static constexpr int TerrainTypeCount = 3;

    int terrainTypeIndex = -1;           // the terrain-type box's entry, -1 for none
    QList<QByteArray> mapNames;          // the map-name box's list
    int mapNameIndex = -1;               // its selection, -1 for none
    std::array<bool, 6> gameTypes{};     // the main window's boxes: what every save writes
    std::array<bool, 6> saveGameTypes{}; // the Save Map dialog's boxes
    bool nightGoggles = false;

    bool operator==(const THeaderState &other) const = default;
};

// The terrain the map goes with: the header's terrain-file field, where the
// TRN file is, and what was read from it (its values, the four picture paths
// and the Map Data text, with the pictures chosen since).
struct TTerrainState {
    QByteArray terrainField; // the header's TerrainFile bytes
    QString trnPath;
    TTerrain terrain;

    bool operator==(const TTerrainState &other) const = default;
};
