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

// One marker's look before and after a step (row as the table counts it).
struct TLookChange {
    int row = 0;
    TMarkerLook before;
    TMarkerLook after;
};
