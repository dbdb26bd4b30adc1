#include "objectrecord.h"
#include "bytes.h"

#include <cstring>

ObjectRecord ObjectRecord::decode(const std::uint8_t *d)
{
    ObjectRecord r;
    r.ItemNumber = getInt32LE(d + OffItemNumber);
    r.ObjectId = getInt32LE(d + OffObjectId);
    r.PosX = getInt32LE(d + OffPosX);
    r.PosY = getInt32LE(d + OffPosY);
    r.PosZ = getInt32LE(d + OffPosZ);
    r.Radius = getInt32LE(d + OffRadius);
    r.HorzAngle = getInt16LE(d + OffHorzAngle);
    r.VertAngle = getInt16LE(d + OffVertAngle);
    r.Weapon = d[OffWeapon];
    return r;
}

void ObjectRecord::encodeInto(std::uint8_t *d) const
{
    std::memset(d, 0, Size);
    putInt32LE(d + OffItemNumber, ItemNumber);
    putInt32LE(d + OffObjectId, ObjectId);
    putInt32LE(d + OffPosX, PosX);
    putInt32LE(d + OffPosY, PosY);
    putInt32LE(d + OffPosZ, PosZ);
    putInt32LE(d + OffRadius, Radius);
    putInt16LE(d + OffHorzAngle, HorzAngle);
    putInt16LE(d + OffVertAngle, VertAngle);
    d[OffWeapon] = Weapon;
}

QByteArray ObjectRecord::encode() const
{
    QByteArray out(Size, '\0');
    encodeInto(reinterpret_cast<std::uint8_t *>(out.data()));
    return out;
}
