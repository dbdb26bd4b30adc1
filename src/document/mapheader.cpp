#include "mapheader.h"
#include "bytes.h"

#include <algorithm>

MapHeader MapHeader::decode(const QByteArray &data)
{
    MapHeader h;
    std::copy_n(reinterpret_cast<const std::uint8_t *>(data.constData()),
                std::min<qsizetype>(Size, data.size()), h.bytes.begin());
    return h;
}

QByteArray MapHeader::encode() const
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), Size);
}

QByteArray MapHeader::field(int offset, int size) const
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data() + offset), size);
}

void MapHeader::setField(int offset, int size, const QByteArray &v)
{
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = i < v.size() ? std::uint8_t(v[i]) : 0;
}

static QString upToZero(const QByteArray &field)
{
    const qsizetype zero = field.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? field : field.left(zero));
}

QString MapHeader::mapKeyText() const { return upToZero(MapKey()); }
QString MapHeader::terrainFileName() const { return upToZero(TerrainFile()); }

std::int32_t MapHeader::int32At(int offset) const { return getInt32LE(bytes.data() + offset); }
void MapHeader::setInt32At(int offset, std::int32_t v) { putInt32LE(bytes.data() + offset, v); }

std::int64_t MapHeader::objectCountSum() const
{
    return std::int64_t(CountVehiclesObjects()) + CountDecorationsBuildings() + CountMarkersEffects()
        + CountPeople();
}

void MapHeader::initialise()
{
    const QByteArray key = MapKey(), opaque = OpaqueText(), terrain = TerrainFile();
    bytes.fill(0);
    setMagic("    ");
    setMapKey(key);
    setOpaqueText(opaque);
    setTerrainFile(terrain);
}

void MapHeader::resetForEmptyDocument()
{
    for (int off : {OffCountVehiclesObjects, OffCountDecorationsBuildings, OffCountMarkersEffects,
                    OffCountPeople, OffCountStart6003, OffCountStart6004, OffCountStart6002})
        setInt32At(off, 0);
    setGameTypes(0);
    setMapKey(QByteArray());
    setOpaqueText(QByteArray());
    setTerrainFile(QByteArray());
}

QByteArray mapKeyForIndex(int index)
{
    return "MPNAME" + QByteArray::number(index + 1).rightJustified(2, '0');
}
