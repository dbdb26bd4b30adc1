#include "terrainfile.h"
#include "fileio/errors.h"
#include "fileio/textlinereader.h"
#include "pcxctrl.h"

#include <QFileInfo>

QString &TTerrain::path(TMapPicture which)
{
    switch (which) {
    case TMapPicture::Colour: return ColourMapPath;
    case TMapPicture::Elevation: return ElevationMapPath;
    case TMapPicture::Detail: return DetailMapPath;
    case TMapPicture::Sky: break;
    }
    return SkyMapPath;
}

const QString &TTerrain::path(TMapPicture which) const
{
    return const_cast<TTerrain *>(this)->path(which);
}

int valueIndexOf(TMapPicture which)
{
    return which == TMapPicture::Sky ? 6 : int(which);
}

int mapDataLineOf(TMapPicture which)
{
    return valueIndexOf(which) + 3;
}

QString missingPictureTitle(TMapPicture which)
{
    switch (which) {
    case TMapPicture::Colour: return QStringLiteral("Colormap not found!");
    case TMapPicture::Elevation: return QStringLiteral("Elevationmap not found!");
    case TMapPicture::Detail: return QStringLiteral("Detailmap not found!");
    case TMapPicture::Sky: break;
    }
    return QString();
}

static QString picturePath(const QString &gameFilesDir, const QString &value)
{
    return gameFilesDir + value + QStringLiteral(".pcx");
}

void ReadTerrainFile(const QString &path, const QString &gameFilesDir, TTerrain &terrain)
{
    // Every line goes into the Map Data box; lines 4 to 21 also give the values.
    QStringList mapData;
    TTextLineReader reader(path, TTerrain::MaxLineLength);
    QByteArray line;
    while (reader.readLine(line)) {
        if (mapData.size() == TTerrain::MaxLines)
            throw TError(QStringLiteral("The terrain file has more than %1 lines; no terrain file is that long")
                             .arg(TTerrain::MaxLines),
                         path);
        mapData.append(QString::fromLatin1(line));
    }
    for (int i = 0; i < TTerrain::ValueCount; ++i) {
        const qsizetype index = 3 + i;
        terrain.TerrainValues[i] = index < mapData.size() ? mapData[index].mid(TTerrain::LabelWidth) : QString();
    }
    if (!mapData.isEmpty() && mapData.first().isEmpty())
        mapData.removeFirst();
    terrain.MapData = std::move(mapData);
    for (TMapPicture p : {TMapPicture::Colour, TMapPicture::Elevation, TMapPicture::Detail, TMapPicture::Sky})
        terrain.path(p) = picturePath(gameFilesDir, terrain.TerrainValues[valueIndexOf(p)]);
}

void ApplyChosenPicture(TTerrain &terrain, TMapPicture which, const QString &path)
{
    terrain.path(which) = path;
    const QString base = QFileInfo(path).completeBaseName();
    terrain.TerrainValues[valueIndexOf(which)] = base;
    const int line = mapDataLineOf(which);
    if (line < terrain.MapData.size())
        terrain.MapData[line] = terrain.MapData[line].left(TTerrain::LabelWidth) + base;
}

void LoadTerrain(const QString &path, const QString &gameFilesDir, TTerrain &terrain, TTerrainHost &host)
{
    ReadTerrainFile(path, gameFilesDir, terrain);
    host.mapDataRead();
    for (TMapPicture p : {TMapPicture::Colour, TMapPicture::Elevation, TMapPicture::Detail}) {
        if (QFileInfo::exists(terrain.path(p)))
            continue;
        QString fileName = terrain.path(p);
        host.runPictureChooser(p, missingPictureTitle(p), fileName);
        terrain.path(p) = fileName;
    }
    TPCXBitmap bitmap;
    bitmap.LoadFromFile(terrain.ColourMapPath);
    host.showColourMap(bitmap.picture());
    terrain.SkyMapPath = picturePath(gameFilesDir, terrain.TerrainValues[valueIndexOf(TMapPicture::Sky)]);
}
