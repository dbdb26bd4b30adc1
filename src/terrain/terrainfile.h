#pragma once
// Terrain files (.TRN): three heading lines, then 18 value lines whose first
// 18 characters are a label and the rest the value. Values 1, 2, 3 and 7 name
// the colour, elevation, detail and sky maps (base names of .pcx files in the
// game-files directory). The whole text is also kept as the Save Map dialog's
// "Map Data", which is written back to the file on save.

#include <QImage>
#include <QString>
#include <QStringList>

enum class TMapPicture { Colour = 0, Elevation = 1, Detail = 2, Sky = 3 };

struct TTerrain {
    static constexpr int ValueCount = 18;
    static constexpr int LabelWidth = 18;
    // A terrain file is a short text of some twenty lines naming pictures;
    // a file beyond these limits is refused rather than read.
    static constexpr int MaxLines = 1000;
    static constexpr qsizetype MaxLineLength = 1024;

    QStringList TerrainValues = QStringList(ValueCount, QString());
    QString ColourMapPath;
    QString ElevationMapPath;
    QString DetailMapPath;
    QString SkyMapPath;
    QStringList MapData; // the Map Data box, one entry per line

    QString &path(TMapPicture which);
    const QString &path(TMapPicture which) const;

    bool operator==(const TTerrain &other) const = default;
};

// Entry of TerrainValues (0-based) and line of the Map Data box (0-based)
// that hold each picture's base name.
int valueIndexOf(TMapPicture which);
int mapDataLineOf(TMapPicture which);

// The title the picture dialog carries when LoadTerrain asks for a missing map.
QString missingPictureTitle(TMapPicture which);

// What LoadTerrain needs from the windows: the Save Map dialog's picture
// chooser and the map view's tiles.
class TTerrainHost {
public:
    virtual ~TTerrainHost() = default;
    // The terrain's Map Data lines were just read (the Save Map dialog shows them).
    virtual void mapDataRead() {}
    // Runs the Save Map dialog's chooser for a picture, with the picture
    // dialog's title and file name set as given: on confirm the chooser applies
    // the picture (ApplyChosenPicture) and shows it. Returns DialogConfirmed;
    // fileName is the dialog's file name afterwards (the chosen file, or unchanged).
    virtual bool runPictureChooser(TMapPicture which, const QString &title, QString &fileName) = 0;
    // The decoded colour map, for the four map tiles.
    virtual void showColourMap(const QImage &picture) = 0;
};

// Reads the file into terrain: the 18 values, the Map Data lines and the four
// picture paths (GameFilesDir + value + ".pcx"), without looking at the pictures.
// A file that cannot be read or is no terrain file raises its error naming
// the file and leaves terrain as it was.
void ReadTerrainFile(const QString &path, const QString &gameFilesDir, TTerrain &terrain);

// What the Save Map dialog's map choosers do with a confirmed picture: its
// path, its base name in TerrainValues and in its Map Data line from the 19th
// character on.
void ApplyChosenPicture(TTerrain &terrain, TMapPicture which, const QString &path);

// The terrain loader: reads the file, asks for a missing colour, elevation or
// detail map through the host, decodes the colour map and hands it to the
// host, and sets the sky map's path unchecked. A colour map that cannot be
// opened or decoded raises its error after the rest is done.
void LoadTerrain(const QString &path, const QString &gameFilesDir, TTerrain &terrain, TTerrainHost &host);
