#pragma once
// Object categories: ItemNumber div 100. The seven known categories with their
// filter box captions and marker colours live here and nowhere else.

#include <QColor>
#include <array>
#include <cstdint>

struct TCategory {
    int code;            // 10, 20, ... 70
    const char *name;    // caption of its filter box C_10 .. C_70
    QRgb fill;           // marker fill
    QRgb outline;        // marker outline
};

inline constexpr std::array<TCategory, 7> Categories{{
    {10, "Decorations", 0xFF00FF00, 0xFF00FF00},
    {20, "Vehicles", 0xFFC0C0C0, 0xFFC0C0C0},
    {30, "Buildings", 0xFFFFFF00, 0xFFFFFF00},
    {40, "Objects", 0xFFFFFFFF, 0xFFFFFFFF},
    {50, "People", 0xFFFF00FF, 0xFFFF00FF},
    {60, "Markers", 0xFF00FFFF, 0xFF00FFFF},
    {70, "Effects", 0xFF000000, 0xFFFFFFFF},
}};

// Order in which the writer groups the records of a map file.
inline constexpr std::array<int, 7> RecordWriteOrder{20, 40, 10, 30, 60, 50, 70};

// Marker colour of an object that belongs to no category: orange, a colour no
// category uses, so the filter boxes never take such a marker for theirs.
inline constexpr QRgb NoCategoryColour = 0xFFFF8000;

// A newly added object's marker is yellow until its cells change.
inline constexpr QRgb NewObjectColour = 0xFFFFFF00;

// Item numbers of the start points.
inline constexpr std::int32_t StartPointDeathmatch = 6002;
inline constexpr std::int32_t StartPointTeamA = 6003;
inline constexpr std::int32_t StartPointTeamB = 6004;

// ItemNumber div 100, truncating toward zero (-1000 gives -10).
constexpr int categoryOf(std::int32_t itemNumber) { return itemNumber / 100; }

// The known category with this code, or nullptr.
const TCategory *findCategory(int code);

// Index 0..6 of the category (C_10 .. C_70), or -1.
int categoryIndex(int code);

QRgb markerFillFor(int code);
QRgb markerOutlineFor(int code);

// The known category whose marker fill is this colour, or nullptr.
const TCategory *categoryByFill(QRgb fill);
