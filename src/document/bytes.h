#pragma once
// Little-endian field access for the game's binary records. Records are
// encoded field by field at their offsets, never by copying a packed struct.

#include <cstdint>
#include <cstring>

inline std::int32_t getInt32LE(const std::uint8_t *p)
{
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8
                                     | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

inline std::int16_t getInt16LE(const std::uint8_t *p)
{
    return static_cast<std::int16_t>(std::uint16_t(p[0]) | std::uint16_t(p[1]) << 8);
}

inline void putInt32LE(std::uint8_t *p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline void putInt16LE(std::uint8_t *p, std::int16_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

inline void putUInt16LE(std::uint8_t *p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

inline void putUInt32LE(std::uint8_t *p, std::uint32_t v)
{
    putInt32LE(p, static_cast<std::int32_t>(v));
}
