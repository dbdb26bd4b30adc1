#include "bmsfile.h"
#include "catalogue/itemcatalogue.h"
#include "category.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "mapdocument.h"
#include "mapnamelist.h"
#include "numbers.h"

#include <QStringList>


MapHeader ReadHeader(const QString &path)
{
    QFile file;
    openForReading(file, path);
    return MapHeader::decode(readExactly(file, MapHeader::Size, path));
}

void CheckObjectCounts(const MapHeader &h, const QString &path)
{
    const bool negative = h.CountVehiclesObjects() < 0 || h.CountDecorationsBuildings() < 0
        || h.CountMarkersEffects() < 0 || h.CountPeople() < 0 || h.objectCountSum() < 0
        || h.objectCountSum() > INT32_MAX;
    if (negative)
        throw TError(QStringLiteral("The map's object counts are negative or out of range (%1, %2, %3, %4)")
                         .arg(h.CountVehiclesObjects())
                         .arg(h.CountDecorationsBuildings())
                         .arg(h.CountMarkersEffects())
                         .arg(h.CountPeople()),
                     path);
}

void ReadObjects(const QString &path, TMapDocument &doc, const TItemCatalogue &catalogue,
                 const TReadObjectsHooks &hooks)
{
    // Reading a map is no change of it.
    const TJournal::TSuspension unrecorded(doc.Journal);
    CheckObjectCounts(doc.Header, path);
    const std::int64_t n = doc.Header.objectCountSum();
    const int toRead = int(std::min<std::int64_t>(n, TMapDocument::MaxObjects));

    QFile file;
    openForReading(file, path);
    if (!file.seek(MapHeader::Size))
        throw TError(Msg::ReadBeyondEnd, path);
    if (hooks.progress)
        hooks.progress(int(n), 0);

    // Read the records in one piece; a short file fails at its first incomplete record.
    const QByteArray data = file.read(qint64(toRead) * ObjectRecord::Size);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.constData());
    if (doc.Table.RowCount() < toRead + 1)
        doc.Table.setRowCount(toRead + 1);

    for (int i = 1; i <= toRead; ++i) {
        if (data.size() < qsizetype(i) * ObjectRecord::Size)
            throw TError(Msg::ReadBeyondEnd, path);
        const ObjectRecord r = ObjectRecord::decode(bytes + qsizetype(i - 1) * ObjectRecord::Size);
        TObjectTable::Row cells = doc.Table.rowCells(i);
        cells[TObjectTable::ColNr] = QString::number(i);
        cells[TObjectTable::ColId] = QString::number(r.ObjectId);
        cells[TObjectTable::ColObject] = QString::number(r.ItemNumber);
        cells[TObjectTable::ColX] = QString::number(r.PosX);
        cells[TObjectTable::ColY] = QString::number(r.PosY);
        cells[TObjectTable::ColZ] = QString::number(r.PosZ);
        cells[TObjectTable::ColHorzAngle] = QString::number(r.HorzAngle);
        cells[TObjectTable::ColVertAngle] = QString::number(r.VertAngle);
        cells[TObjectTable::ColRadius] = QString::number(r.Radius);
        cells[TObjectTable::ColWeapon] = QString::number(r.Weapon);
        catalogue.LookupItemName(cells[TObjectTable::ColObject], cells[TObjectTable::ColName]);
        doc.Table.setRowCells(i, cells);
        doc.ObjectX[i - 1] = r.PosX;
        doc.ObjectY[i - 1] = r.PosY;
        if (hooks.objectRead)
            hooks.objectRead(i);
        if (hooks.progress)
            hooks.progress(int(n), i);
    }
    if (n > TMapDocument::MaxObjects)
        throw TError(Msg::RangeCheck,
                     QStringLiteral("%1: the map has %2 objects, at most %3 can be loaded")
                         .arg(path)
                         .arg(n)
                         .arg(TMapDocument::MaxObjects));
}

void PrepareObjectRows(TMapDocument &doc, const QString &path)
{
    const TJournal::TSuspension unrecorded(doc.Journal);
    CheckObjectCounts(doc.Header, path);
    doc.ObjectCount = int(std::min<std::int64_t>(doc.Header.objectCountSum(), TMapDocument::MaxObjects));
    doc.CurrentRow = 1;
    doc.Table.setRowCount(doc.ObjectCount + 1);
}

void LoadMapFile(const QString &path, TMapDocument &doc, const TItemCatalogue &catalogue,
                 const TReadObjectsHooks &hooks)
{
    doc.Header = ReadHeader(path);
    doc.BmsPath = path;
    PrepareObjectRows(doc, path);
    ReadObjects(path, doc, catalogue, hooks);
    doc.Journal.clear();
}

std::uint8_t GameTypesFromBoxes(const std::array<bool, 6> &boxes)
{
    static constexpr std::array<std::uint8_t, 6> bit{1, 2, 32, 4, 64, 16};
    std::uint8_t v = 0;
    for (int i = 0; i < 6; ++i)
        if (boxes[i])
            v += bit[i];
    return v;
}

std::array<bool, 6> BoxesFromGameTypes(std::uint8_t gameTypes)
{
    static constexpr std::array<std::uint8_t, 6> bit{1, 2, 32, 4, 64, 16};
    std::array<bool, 6> boxes{};
    for (int i = 0; i < 6; ++i)
        boxes[i] = (gameTypes & bit[i]) != 0;
    return boxes;
}

int TerrainTypeBoxIndex(std::uint8_t terrainType)
{
    return terrainType <= 2 ? terrainType : 0;
}

ObjectRecord RecordFromRow(const TMapDocument &doc, int row)
{
    const auto value = [&](int col) {
        const QString &text = doc.Table.rowCells(row)[col];
        if (const auto v = parseInt32(text))
            return *v;
        throw TError::notAnInteger(text, TObjectTable::cellName(col, row));
    };
    const auto ranged = [&](int col, std::int32_t lo, std::int32_t hi) {
        const std::int32_t v = value(col);
        if (v < lo || v > hi)
            throw TError(Msg::RangeCheck,
                         QStringLiteral("%1 holds %2, outside %3 to %4")
                             .arg(TObjectTable::cellName(col, row))
                             .arg(v)
                             .arg(lo)
                             .arg(hi));
        return v;
    };
    ObjectRecord r;
    r.ObjectId = value(TObjectTable::ColId);
    r.ItemNumber = value(TObjectTable::ColObject);
    r.PosX = value(TObjectTable::ColX);
    r.PosY = value(TObjectTable::ColY);
    r.PosZ = value(TObjectTable::ColZ);
    r.Radius = value(TObjectTable::ColRadius);
    r.HorzAngle = std::int16_t(ranged(TObjectTable::ColHorzAngle, -32768, 32767));
    r.VertAngle = std::int16_t(ranged(TObjectTable::ColVertAngle, -32768, 32767));
    r.Weapon = std::uint8_t(ranged(TObjectTable::ColWeapon, 0, 255));
    return r;
}

QByteArray ReadTrailer(const QString &trailerPath)
{
    QFile file;
    openForReading(file, trailerPath);
    return readExactly(file, TrailerSize, trailerPath);
}

static void checkMapKeyIndex(const TMapControls &controls, int nameCount)
{
    if (controls.mapNameIndex >= 99 && controls.mapNameIndex < nameCount)
        throw TError(QStringLiteral("Map name %1 of the list cannot be chosen: a map can name only "
                                    "entries 1 to 99 (MPNAME01 to MPNAME99)")
                         .arg(controls.mapNameIndex + 1));
}

QByteArray BuildMapFile(TMapDocument &doc, const TMapControls &controls, int nameCount,
                        const QByteArray &trailer, QList<int> *leftOutRows)
{
    checkMapKeyIndex(controls, nameCount);
    // Convert every row first, so a bad cell stops the save before anything changes.
    QList<ObjectRecord> records;
    records.reserve(doc.ObjectCount);
    for (int r = 1; r <= doc.ObjectCount; ++r)
        records.append(RecordFromRow(doc, r));

    MapHeader &h = doc.Header;
    h.initialise();
    std::int32_t decoBuild = 0, vehObj = 0, markEff = 0, people = 0, s6002 = 0, s6003 = 0, s6004 = 0;
    if (leftOutRows)
        leftOutRows->clear();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const ObjectRecord &rec = records.at(i);
        switch (categoryOf(rec.ItemNumber)) {
        case 10: case 30: ++decoBuild; break;
        case 20: case 40: ++vehObj; break;
        case 60: case 70: ++markEff; break;
        case 50: ++people; break;
        default:
            if (leftOutRows)
                leftOutRows->append(int(i) + 1);
            break;
        }
        if (rec.ItemNumber == StartPointDeathmatch)
            ++s6002;
        else if (rec.ItemNumber == StartPointTeamA)
            ++s6003;
        else if (rec.ItemNumber == StartPointTeamB)
            ++s6004;
    }
    h.setInt32At(MapHeader::OffCountDecorationsBuildings, decoBuild);
    h.setInt32At(MapHeader::OffCountVehiclesObjects, vehObj);
    h.setInt32At(MapHeader::OffCountMarkersEffects, markEff);
    h.setInt32At(MapHeader::OffCountPeople, people);
    h.setInt32At(MapHeader::OffCountStart6002, s6002);
    h.setInt32At(MapHeader::OffCountStart6003, s6003);
    h.setInt32At(MapHeader::OffCountStart6004, s6004);
    h.setGameTypes(GameTypesFromBoxes(controls.gameTypeBoxes));
    h.setNightGoggles(controls.nightGoggles ? 17 : 0);
    h.setMagic(QByteArray("BMS\r", 4));
    h.setTerrainType(std::uint8_t(controls.terrainTypeIndex));
    if (controls.mapNameIndex >= 0 && controls.mapNameIndex < nameCount)
        h.setMapKey(mapKeyForIndex(controls.mapNameIndex));

    const int written = decoBuild + vehObj + markEff + people;
    QByteArray out(MapHeader::Size + qsizetype(written) * ObjectRecord::Size + 1 + trailer.size(), '\0');
    auto *p = reinterpret_cast<std::uint8_t *>(out.data());
    std::copy(h.bytes.begin(), h.bytes.end(), p);
    p += MapHeader::Size;
    for (int category : RecordWriteOrder)
        for (const ObjectRecord &rec : records)
            if (categoryOf(rec.ItemNumber) == category) {
                rec.encodeInto(p);
                p += ObjectRecord::Size;
            }
    *p++ = 0;
    std::copy(trailer.begin(), trailer.end(), reinterpret_cast<char *>(p));
    return out;
}

QString RowRuns(const QList<int> &rows)
{
    const qsizetype n = rows.size();
    // Runs of neighbouring rows as "first-last", so a long list stays short.
    QStringList parts;
    for (qsizetype i = 0; i < n;) {
        qsizetype j = i;
        while (j + 1 < n && rows[j + 1] == rows[j] + 1)
            ++j;
        parts << (j == i ? QString::number(rows[i]) : QStringLiteral("%1-%2").arg(rows[i]).arg(rows[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

std::array<QString, 2> LeftOutRowsMessage(const QList<int> &rows)
{
    const qsizetype n = rows.size();
    const QString line1 = n == 1 ? QStringLiteral("1 row left out: its item number has no category")
                                 : QStringLiteral("%1 rows left out: their item numbers have no category").arg(n);
    return {line1, (n == 1 ? QStringLiteral("Row ") : QStringLiteral("Rows ")) + RowRuns(rows)};
}

void WriteMap(TMapDocument &doc, const TMapControls &controls, const TMapNameList &names,
              const TWriteMapTargets &targets)
{
    const QByteArray trailer = ReadTrailer(targets.trailerPath);
    names.checkLimits(targets.nameListPath);
    const QByteArray list = names.encode();
    const QByteArray map = BuildMapFile(doc, controls, names.count(), trailer);

    // An unwritable map target is found while every file is still as it was;
    // only then is the name list written, and the map after it.
    checkWritable(targets.mapPath);
    writeWholeFile(targets.nameListPath, list);
    writeWholeFile(targets.mapPath, map);
}
