#include "mapsave.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "document/mapdocument.h"
#include "terrain/terrainfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A file the save will write: it needs a name, an existing folder, and no
// folder in its place.
void checkTarget(const QString &path, const char *what)
{
    if (path.isEmpty())
        throw TError(QStringLiteral("No file name is given for the %1").arg(QLatin1String(what)));
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw TError(QStringLiteral("Path not found: the folder of the %1 does not exist").arg(QLatin1String(what)),
                     path);
    if (info.isDir())
        throw TError(QStringLiteral("The %1 cannot be written: a folder has its name").arg(QLatin1String(what)), path);
    // A read-only file, or a new file in a folder that cannot be written.
    checkWritable(path);
}

} // namespace

QByteArray TerrainFileFieldFor(const QString &trnPath)
{
    const QString name = QFileInfo(trnPath).fileName();
    const QByteArray field = name.toLatin1();
    // The field holds the game's 8-bit text: a character beyond it would be
    // saved as '?' and name no file at the next Load.
    for (const QChar c : name)
        if (c.unicode() > 0xFF)
            throw TError(QStringLiteral("The terrain file name \"%1\" holds the character '%2', which a map cannot "
                                        "name its terrain file with (one byte per character, Latin-1)")
                             .arg(name, QString(c)),
                         trnPath);
    if (field.isEmpty())
        throw TError(QStringLiteral("The map needs the name of its terrain file, and the TRN file's path names none"),
                     trnPath);
    if (field.size() > MapHeader::TerrainFileSize)
        throw TError(QStringLiteral("The terrain file name \"%1\" has %2 characters; a map can name a terrain file "
                                    "of at most %3")
                         .arg(name)
                         .arg(field.size())
                         .arg(MapHeader::TerrainFileSize),
                     trnPath);
    return field;
}

QList<int> SaveMapFiles(const TMapSaveInputs &in, const TSaveTarget &target, QStringList *unflushed)
{
    TMapDocument &doc = *in.Document;
    const TTerrain &terrain = doc.terrain();
    TMapNameList names = doc.MapNameFile;
    names.names = doc.mapNames().items;
    const QString listPath = in.BaseFilesDir + QLatin1String(TMapNameList::FileName);
    const TRepackBatchInputs batch{target.MapPath,       in.BaseFilesDir,        doc.TrnPath,
                                   terrain.ColourMapPath, terrain.ElevationMapPath, terrain.DetailMapPath,
                                   terrain.SkyMapPath,    in.GameMainDir,           in.KzStart};

    // Everything is built and checked before the first file is touched.
    if (target.WriteMapData)
        checkTarget(doc.TrnPath, "terrain file");
    checkTarget(listPath, "map-name list");
    checkTarget(target.MapPath, "map file");
    checkTarget(RepackBatchPath(in.GameMainDir), "repack batch");
    const QByteArray terrainField = TerrainFileFieldFor(doc.TrnPath);
    const QByteArray trailer = ReadTrailer(in.ProgramDir + QLatin1String(TrailerFileName));
    names.checkLimits(listPath);
    const QByteArray list = names.encode();
    QList<QByteArray> mapData;
    mapData.reserve(terrain.MapData.size());
    for (const QString &line : terrain.MapData)
        mapData.append(line.toLatin1());

    // The header is rebuilt for the file; a refused save keeps it as it was.
    const MapHeader headerBefore = doc.Header;
    QByteArray map;
    QList<int> leftOut;
    try {
        doc.Header.setTerrainFile(terrainField);
        map = BuildMapFile(doc, doc.mapControls(), names.count(), trailer, &leftOut);
    } catch (...) {
        doc.Header = headerBefore;
        throw;
    }

    // A folder that could not be flushed stops no write: each file is
    // written and has its name.
    QStringList notFlushed;
    if (target.WriteMapData)
        writeTextLinesCRLF(doc.TrnPath, mapData, &notFlushed);
    writeWholeFile(listPath, list, &notFlushed);
    writeWholeFile(target.MapPath, map, &notFlushed);
    doc.MapStamps.record(target.MapPath, map);
    // The map as it now stands is the saved one, unless its Map Data text
    // was changed and not written.
    doc.markSaved(target.WriteMapData);
    // The file just written is the map being edited: a later save proposes
    // it, and the batch packs it, not the file it was loaded from.
    doc.savedAs(target.MapPath);
    // Written last: its short paths name the files as they now exist.
    WriteRepackBatch(batch, in.ShortPaths, &notFlushed);
    if (unflushed)
        *unflushed << notFlushed;
    return leftOut;
}
