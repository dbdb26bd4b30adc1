#pragma once
// Moving several objects as one, without the map window: each keeps its
// distance to the others exactly in game units. A move that would take any
// of them beyond the game's 32-bit coordinates moves none of them.

#include "terrain/viewtransform.h"

#include <QList>
#include <cstdint>
#include <vector>

class TMapDocument;

// The cached positions of the rows, in their order.
std::vector<TGamePoint> objectPositions(const TMapDocument &doc, const QList<int> &rows);

// Whether every position moved by (dx, dy) game units stays a 32-bit position.
bool movable(const std::vector<TGamePoint> &from, std::int64_t dx, std::int64_t dy);

// Puts the objects of rows (ascending, each an object row) at their
// positions `from` moved by (dx, dy): the position caches and the "X-Axis"
// and "Y-Axis" cells, each column one change of the table. False, changing
// nothing, when a position would leave the 32-bit range.
bool moveObjectsFrom(TMapDocument &doc, const QList<int> &rows, const std::vector<TGamePoint> &from,
                     std::int64_t dx, std::int64_t dy);
