#pragma once
// Which game types a map's start points allow: the deathmatch types need a
// start point 6002, the team types both 6003 and 6004. Cooperative play needs
// none. Start points are counted by the exact text of the "Object" cell, so
// " 6002" and "06002" are no start points.

#include <array>

class TObjectTable;

struct TStartPoints {
    int deathmatch = 0; // rows holding "6002"
    int teamA = 0;      // "6003"
    int teamB = 0;      // "6004"
};

TStartPoints countStartPoints(const TObjectTable &table, int objectCount);

// For CheckBox1 .. CheckBox6 (Coop, DM, TDM, KoTH, TKH, CTF): whether the box
// may stay ticked. A box that may not is unticked; one that may keeps its state.
std::array<bool, 6> allowedGameTypes(const TStartPoints &points);
