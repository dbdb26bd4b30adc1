#pragma once
// ObjectRecord: one 96-byte object record of a map file. Reserved bytes are
// not kept: every record is written with them zero.

#include <QByteArray>
#include <cstdint>

struct ObjectRecord {
    static constexpr int Size = 96;
    enum Offset : int {
        OffItemNumber = 16,
        OffObjectId = 24,
        OffPosX = 32,
        OffPosY = 36,
        OffPosZ = 40,
        OffRadius = 44,
        OffHorzAngle = 68,
        OffVertAngle = 70,
        OffWeapon = 86,
    };

    std::int32_t ItemNumber = 0;
    std::int32_t ObjectId = 0;
    std::int32_t PosX = 0;
    std::int32_t PosY = 0;
    std::int32_t PosZ = 0;
    std::int32_t Radius = 0;
    std::int16_t HorzAngle = 0;
    std::int16_t VertAngle = 0;
    std::uint8_t Weapon = 0;

    static ObjectRecord decode(const std::uint8_t *data); // Size bytes
    void encodeInto(std::uint8_t *data) const;            // writes all Size bytes
    QByteArray encode() const;

    bool operator==(const ObjectRecord &) const = default;
};
