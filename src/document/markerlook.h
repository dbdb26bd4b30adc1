#pragma once
// TMarkerLook: how the map view shows one object's marker: whether it has
// one, its colours, whether the filters show it, its hint. The journal keeps
// what a step changed of it, since a marker's colour is not always that of
// its row's cells (a new object's marker stays yellow until its cells change).

#include <QRgb>
#include <QString>

struct TMarkerLook {
    bool exists = false;
    QRgb fill = 0;
    QRgb outline = 0;
    bool visible = false;
    QString hint;

    bool operator==(const TMarkerLook &other) const = default;
};

// The marks of the selected object the map view shows: the selection ring
// (Selector) and whether it stands in front of the markers, the radius circle
// (Ranger) and the heading line. Where they stand follows from the current
// row; whether they are shown is what a step may change (Del Item hides them,
// Add Item shows them on the new object).
struct TSelectionMarks {
    bool selector = false;
    bool selectorInFront = false;
    bool ranger = false;
    bool heading = false;
    // The radius circle's size in window pixels and the zoom it was drawn
    // at: a radius half typed ("3a") leaves the circle as the last number drew it.
    int rangerSize = 0;
    int zoom = 1;

    bool operator==(const TSelectionMarks &other) const = default;
};

// One marker's look before and after a step (row as the table counts it).
struct TLookChange {
    int row = 0;
    TMarkerLook before;
    TMarkerLook after;
};
