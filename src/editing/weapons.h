#pragma once
// The weapon list of the "Weapon" column: 14 entries, each standing for its
// own code. Captions repeat ("M16" for 1, 3 and 8; "M4" for 5 and 6), so an
// entry is known by its place, never by its caption.

#include <array>
#include <cstdint>

struct TWeapon {
    const char *caption;
    std::int32_t code;
};

inline constexpr std::array<TWeapon, 14> Weapons{{
    {"nothing", 0}, {"M16", 1}, {"AK47", 2}, {"M16", 3}, {"M40A1", 4}, {"M4", 5}, {"M4", 6},
    {"Heckler&Koch (SD)", 7}, {"M16", 8}, {"Pistol", 9}, {"Pistol (SD)", 11}, {"Knife", 30},
    {"SAW", 131}, {".50 Sniper Rifle", 161},
}};

// The entry that stands for a code, or -1 for a code without an entry
// (10, 12, ...).
constexpr int weaponEntryForCode(std::int32_t code)
{
    for (int i = 0; i < int(Weapons.size()); ++i)
        if (Weapons[i].code == code)
            return i;
    return -1;
}
