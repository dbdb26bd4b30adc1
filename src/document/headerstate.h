#pragma once
// THeaderState: the part of a map the windows hold rather than the object
// table: the terrain-type box, the map-name box with its list and selection,
// the game-type boxes of the main window and of the Save Map dialog, the
// night-goggles box and the Map Data text. One value, so a change of any of
// them can be kept in the journal and put back as a whole.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct THeaderState {
    int terrainTypeIndex = -1;          // ComboBox1's selected entry
    QList<QByteArray> mapNames;         // ComboBox2's list
    int mapNameIndex = -1;              // its selection, -1 for none
    QString mapNameText;                // the text it shows for the selection
    std::array<bool, 6> gameTypes{};    // the main window's CheckBox1 .. CheckBox6
    std::array<bool, 6> saveGameTypes{}; // the Save Map dialog's CheckBox1 .. CheckBox6
    bool nightGoggles = false;          // C_NG
    QStringList mapData;                // the Save Map dialog's Map Data lines

    bool operator==(const THeaderState &other) const = default;
};
