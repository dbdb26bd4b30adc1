#pragma once
// Reading and writing map files (.BMS): the 252-byte header, the object
// records, one zero byte and the trailer block taken from kzmap.dat.

#include "mapheader.h"
#include "objectrecord.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>

class TMapDocument;
class TItemCatalogue;
class TMapNameList;

constexpr int TrailerSize = 20127;
inline constexpr const char *TrailerFileName = "kzmap.dat";

// Reads the header of the map file at path.
MapHeader ReadHeader(const QString &path);

// Checks the header's object counts before a load uses them: counts that are
// negative, or add up to a negative number, are refused.
void CheckObjectCounts(const MapHeader &header, const QString &path);

struct TReadObjectsHooks {
    // PBar1: called once with (max, 0) and after each object with (max, i).
    std::function<void(int max, int position)> progress;
    // Called after row i has been filled and cached, to create its marker.
    std::function<void(int row)> objectRead;
};

// Reads the N object records that follow the header into rows 1..N of the
// document's table (which the caller has sized to N + 1 rows), the position
// cache, and the hooks. More than MaxObjects objects: the first MaxObjects are
// read and the load stops with "Range check error".
void ReadObjects(const QString &path, TMapDocument &doc, const TItemCatalogue &catalogue,
                 const TReadObjectsHooks &hooks = {});

// Sizes the table for the header's objects (at most MaxObjects) and sets
// ObjectCount and CurrentRow, as Load does before reading the objects.
void PrepareObjectRows(TMapDocument &doc, const QString &path);

// Header and objects in one go, for callers without a terrain to load between.
void LoadMapFile(const QString &path, TMapDocument &doc, const TItemCatalogue &catalogue,
                 const TReadObjectsHooks &hooks = {});

// What the writer takes from the main window's controls.
struct TMapControls {
    std::array<bool, 6> gameTypeBoxes{}; // CheckBox1 .. CheckBox6
    bool nightGoggles = false;           // C_NG
    int terrainTypeIndex = 0;            // ComboBox1's selected index
    int mapNameIndex = -1;               // ComboBox2's selected entry, -1 for none
};

// GameTypes from the six game-type boxes: 1, 2, 32, 4, 64, 16.
std::uint8_t GameTypesFromBoxes(const std::array<bool, 6> &boxes);
// The boxes a header's GameTypes ticks (bits 3 and 7 are not used).
std::array<bool, 6> BoxesFromGameTypes(std::uint8_t gameTypes);

// The entry of the terrain-type box (0 "Jungle", 1 "Desert", 2 "Snow") that
// a header's TerrainType selects; the box has no entry beyond 2, so those show
// "Jungle".
int TerrainTypeBoxIndex(std::uint8_t terrainType);

// Builds one record from table row r, raising the conversion or range error
// that names the cell.
ObjectRecord RecordFromRow(const TMapDocument &doc, int row);

struct TWriteMapTargets {
    QString mapPath;        // the .BMS file to write
    QString nameListPath;   // BaseFilesDir + "kzmpname.bin"
    QString trailerPath;    // the program's directory + "kzmap.dat"
};

// Writes the map. Everything is checked first (cells, the map key, the name
// list's limits, kzmap.dat); a failure leaves every file as it was. Then the
// header is rebuilt, the name list written, and the map file written whole.
void WriteMap(TMapDocument &doc, const TMapControls &controls, const TMapNameList &names,
              const TWriteMapTargets &targets);

// The map file's bytes as WriteMap would write them (the header is rebuilt in doc).
// An object whose item number gives no category has no place in the file and
// is left out; leftOutRows, when given, receives the table rows of those.
QByteArray BuildMapFile(TMapDocument &doc, const TMapControls &controls, int nameCount,
                        const QByteArray &trailer, QList<int> *leftOutRows = nullptr);

// Rows in ascending order as "4, 9-12".
QString RowRuns(const QList<int> &rows);

// The two lines that tell the user which rows a save left out ("3 rows left
// out: ...", "Rows 4, 9-12"); rows in ascending order, at least one.
std::array<QString, 2> LeftOutRowsMessage(const QList<int> &rows);

// The first TrailerSize bytes of kzmap.dat ("File not found", "Read beyond end of file").
QByteArray ReadTrailer(const QString &trailerPath);
