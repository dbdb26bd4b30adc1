#include "recovery/recoverystate.h"
#include "fileio/errors.h"
#include "document/category.h"
#include "document/mapdocument.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

namespace {

// Version 2 added the terrain; version 3 keeps the rows' added marks where
// the earlier ones kept the markers' looks. Copies of versions 1 and 2 are
// still read.
const QByteArray Magic = "Vellumar recovery copy 3\n";
const QByteArray MagicTwo = "Vellumar recovery copy 2\n";
const QByteArray MagicOne = "Vellumar recovery copy 1\n";
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;
// More rows than the table can be given, more names than any list holds:
// counts read beyond these are damage, not a map.
constexpr quint32 MaxRows = TMapDocument::MaxObjects + 1;
constexpr quint32 MaxTerrainEntries = 64;
constexpr quint32 MaxListEntries = 100000;

// Whether every index and count the restore and the windows use lies in
// range, as a copy of a real document has it: the table's rows for the
// objects (one empty row without any), their added marks, a position cache
// entry for every possible object, the current row among the rows, the
// terrain-type box's entry and the map-name box's selection.
bool valuesInRange(const TRecoveryState &s)
{
    const qsizetype rows = s.rows.size();
    const THeaderState &h = s.header;
    return s.objectCount >= 0 && s.objectCount <= TMapDocument::MaxObjects && rows >= s.objectCount
        && rows <= std::max(s.objectCount, 1) && s.added.size() == rows
        && s.objectX.size() == std::size_t(TMapDocument::MaxObjects) + 1 && s.objectY.size() == s.objectX.size()
        && s.currentRow >= 1 && s.currentRow <= std::max<qsizetype>(rows, 1) && h.terrainTypeIndex >= -1
        && h.terrainTypeIndex < THeaderState::TerrainTypeCount && h.mapNameIndex >= -1
        && h.mapNameIndex < h.mapNames.size();
}

QByteArray fingerprint(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

void writeHeaderState(QDataStream &out, const THeaderState &h, const QStringList &mapData)
{
    out << qint32(h.terrainTypeIndex) << quint32(h.mapNames.size());
    for (const QByteArray &name : h.mapNames)
        out << name;
    out << qint32(h.mapNameIndex) << (h.mapNameIndex >= 0 && h.mapNameIndex < h.mapNames.size()
                                          ? QString::fromLatin1(h.mapNames[h.mapNameIndex])
                                          : QString());
    for (int i = 0; i < 6; ++i)
        out << h.gameTypes[i] << h.saveGameTypes[i];
    out << h.nightGoggles << quint32(mapData.size());
    for (const QString &line : mapData)
        out << line;
}

// Reads what writeHeaderState and toBytes wrote, refusing counts beyond their
// bounds before anything is allocated for them.
class TStateReader {
public:
    explicit TStateReader(QDataStream &in) : m_in(in) {}

    bool ok() const { return m_in.status() == QDataStream::Ok; }

    quint32 count(quint32 max)
    {
        quint32 n = 0;
        m_in >> n;
        if (n > max)
            m_in.setStatus(QDataStream::ReadCorruptData);
        return ok() ? n : 0;
    }
    qint32 int32()
    {
        qint32 v = 0;
        m_in >> v;
        return v;
    }
    template <typename T> T value()
    {
        T v{};
        m_in >> v;
        return v;
    }

    THeaderState headerState(QStringList &mapData)
    {
        THeaderState h;
        h.terrainTypeIndex = int32();
        for (quint32 n = count(MaxListEntries), i = 0; i < n && ok(); ++i)
            h.mapNames << value<QByteArray>();
        h.mapNameIndex = int32();
        value<QString>(); // the selected name's text, as the box showed it
        for (int i = 0; i < 6; ++i) {
            h.gameTypes[i] = value<bool>();
            h.saveGameTypes[i] = value<bool>();
        }
        h.nightGoggles = value<bool>();
        for (quint32 n = count(MaxListEntries), i = 0; i < n && ok(); ++i)
            mapData << value<QString>();
        return h;
    }

private:
    QDataStream &m_in;
};

} // namespace

TRecoveryState TRecoveryState::fromDocument(const TMapDocument &document)
{
    TRecoveryState s;
    s.bmsPath = document.BmsPath;
    s.trnPath = document.TrnPath;
    s.saveName = document.SaveName;
    s.headerBytes = document.Header.encode();
    s.header = document.headerState();
    s.mapData = document.terrain().MapData;
    s.rows = document.Table.objectRows();
    for (int row = 1; row <= int(s.rows.size()); ++row)
        s.added << document.Table.isAdded(row);
    s.objectCount = document.ObjectCount;
    s.currentRow = document.CurrentRow;
    s.objectX.assign(document.ObjectX.begin(), document.ObjectX.end());
    s.objectY.assign(document.ObjectY.begin(), document.ObjectY.end());
    const TTerrain &terrain = document.terrain();
    s.terrain = terrain.TerrainValues;
    for (const TMapPicture p : {TMapPicture::Colour, TMapPicture::Elevation, TMapPicture::Detail, TMapPicture::Sky})
        s.terrain << terrain.path(p);
    return s;
}

QByteArray TRecoveryState::toBytes() const
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << bmsPath << trnPath << saveName << headerBytes;
        writeHeaderState(out, header, mapData);
        out << qint32(objectCount) << qint32(currentRow) << quint32(rows.size());
        for (int i = 0; i < int(rows.size()); ++i) {
            for (const QString &cell : rows[i])
                out << cell;
            out << added.value(i);
        }
        out << quint32(objectX.size());
        for (std::size_t i = 0; i < objectX.size(); ++i)
            out << qint32(objectX[i]) << qint32(i < objectY.size() ? objectY[i] : 0);
        out << quint32(terrain.size());
        for (const QString &t : terrain)
            out << t;
    }
    return Magic + QByteArray::number(payload.size()) + ' ' + fingerprint(payload) + '\n' + payload;
}

TRecoveryState TRecoveryState::fromBytes(const QByteArray &bytes, const QString &fileName)
{
    const auto damaged = [&fileName](const char *problem) {
        return TError(QStringLiteral("The recovery copy cannot be read: %1").arg(QLatin1String(problem)), fileName);
    };
    const int version = bytes.startsWith(Magic) ? 3 : bytes.startsWith(MagicTwo) ? 2 : bytes.startsWith(MagicOne) ? 1 : 0;
    if (version == 0)
        throw damaged("it is no recovery copy of this program");
    const qsizetype lineEnd = bytes.indexOf('\n', Magic.size());
    const QList<QByteArray> check = bytes.mid(Magic.size(), lineEnd - Magic.size()).split(' ');
    bool sizeOk = false;
    const qint64 size = check.value(0).toLongLong(&sizeOk);
    const QByteArray payload = lineEnd < 0 ? QByteArray() : bytes.mid(lineEnd + 1);
    if (lineEnd < 0 || check.size() != 2 || !sizeOk || size != payload.size())
        throw damaged("it is incomplete");
    if (fingerprint(payload) != check[1])
        throw damaged("it is damaged");

    QDataStream in(payload);
    in.setVersion(StreamVersion);
    TStateReader r(in);
    TRecoveryState s;
    s.bmsPath = r.value<QString>();
    s.trnPath = r.value<QString>();
    s.saveName = r.value<QString>();
    s.headerBytes = r.value<QByteArray>();
    s.header = r.headerState(s.mapData);
    s.objectCount = r.int32();
    s.currentRow = r.int32();
    for (quint32 n = r.count(MaxRows), i = 0; i < n && r.ok(); ++i) {
        TObjectTable::Row row;
        for (QString &cell : row)
            cell = r.value<QString>();
        s.rows << row;
        s.added << (version >= 3 && r.value<bool>());
    }
    const quint32 caches = r.count(MaxRows);
    for (quint32 i = 0; i < caches && r.ok(); ++i) {
        s.objectX.push_back(r.int32());
        s.objectY.push_back(r.int32());
    }
    if (version < 3) {
        // The markers' looks: a row whose marker was a new object's is an added one.
        for (quint32 n = r.count(MaxRows), i = 0; i < n && r.ok(); ++i) {
            const bool exists = r.value<bool>();
            const quint32 fill = r.value<quint32>();
            r.value<quint32>(); // outline
            r.value<bool>();    // visible
            r.value<QString>(); // hint
            if (exists && fill == NewObjectColour && i >= 1 && i <= quint32(s.added.size()))
                s.added[i - 1] = true;
        }
    }
    if (version >= 2)
        for (quint32 n = r.count(MaxTerrainEntries), i = 0; i < n && r.ok(); ++i)
            s.terrain << r.value<QString>();
    if (!r.ok() || !in.atEnd())
        throw damaged("its content is not in order");
    if (s.headerBytes.size() != MapHeader::Size || s.bmsPath.isEmpty())
        throw damaged("its content is not in order");
    if (!valuesInRange(s))
        throw damaged("a value in it is out of range");
    return s;
}
