#pragma once
// MapHeader: the first 252 bytes of a map file, held as the file's own byte
// image. Typed accessors read and write each field at its offset.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

struct MapHeader {
    static constexpr int Size = 252;

    enum Offset : int {
        OffMagic = 0,
        OffMapKey = 4,
        OffReserved1 = 12,
        OffOpaqueText = 44,
        OffTerrainFile = 84,
        OffReserved2 = 96,
        OffTerrainType = 116,
        OffReserved3 = 117,
        OffNightGoggles = 122,
        OffGameTypes = 123,
        OffReserved4 = 124,
        OffCountVehiclesObjects = 152,
        OffCountDecorationsBuildings = 156,
        OffCountMarkersEffects = 160,
        OffCountPeople = 164,
        OffReserved5 = 168,
        OffCountStart6003 = 240,
        OffCountStart6004 = 244,
        OffCountStart6002 = 248,
    };
    static constexpr int MagicSize = 4;
    static constexpr int MapKeySize = 8;
    static constexpr int OpaqueTextSize = 40;
    static constexpr int TerrainFileSize = 12;

    std::array<std::uint8_t, Size> bytes{};

    static MapHeader decode(const QByteArray &data); // data holds at least Size bytes
    QByteArray encode() const;

    QByteArray Magic() const { return field(OffMagic, MagicSize); }
    void setMagic(const QByteArray &v) { setField(OffMagic, MagicSize, v); }
    QByteArray MapKey() const { return field(OffMapKey, MapKeySize); }
    void setMapKey(const QByteArray &v) { setField(OffMapKey, MapKeySize, v); }
    QByteArray OpaqueText() const { return field(OffOpaqueText, OpaqueTextSize); }
    void setOpaqueText(const QByteArray &v) { setField(OffOpaqueText, OpaqueTextSize, v); }
    QByteArray TerrainFile() const { return field(OffTerrainFile, TerrainFileSize); }
    void setTerrainFile(const QByteArray &v) { setField(OffTerrainFile, TerrainFileSize, v); }

    // A field's text up to its first zero byte (Latin-1, byte for byte).
    QString mapKeyText() const;
    QString terrainFileName() const;

    std::uint8_t TerrainType() const { return bytes[OffTerrainType]; }
    void setTerrainType(std::uint8_t v) { bytes[OffTerrainType] = v; }
    std::uint8_t NightGoggles() const { return bytes[OffNightGoggles]; }
    void setNightGoggles(std::uint8_t v) { bytes[OffNightGoggles] = v; }
    std::uint8_t GameTypes() const { return bytes[OffGameTypes]; }
    void setGameTypes(std::uint8_t v) { bytes[OffGameTypes] = v; }

    std::int32_t int32At(int offset) const;
    void setInt32At(int offset, std::int32_t v);

    std::int32_t CountVehiclesObjects() const { return int32At(OffCountVehiclesObjects); }
    std::int32_t CountDecorationsBuildings() const { return int32At(OffCountDecorationsBuildings); }
    std::int32_t CountMarkersEffects() const { return int32At(OffCountMarkersEffects); }
    std::int32_t CountPeople() const { return int32At(OffCountPeople); }
    std::int32_t CountStart6003() const { return int32At(OffCountStart6003); }
    std::int32_t CountStart6004() const { return int32At(OffCountStart6004); }
    std::int32_t CountStart6002() const { return int32At(OffCountStart6002); }

    // The four category counts added up, in 64 bits so no sum can wrap.
    std::int64_t objectCountSum() const;

    // Header initialisation: every field but MapKey, OpaqueText and
    // TerrainFile takes its initial value (Magic four spaces, the rest zero).
    void initialise();

    // The header side of Reset document: counts, start-point counts,
    // GameTypes, MapKey, OpaqueText and TerrainFile become zero.
    void resetForEmptyDocument();

    bool operator==(const MapHeader &) const = default;

private:
    QByteArray field(int offset, int size) const;
    void setField(int offset, int size, const QByteArray &v);
};

// "MPNAME" followed by index + 1 as two digits ("MPNAME01" for the first entry).
QByteArray mapKeyForIndex(int index);
