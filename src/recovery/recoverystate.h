#pragma once
// TRecoveryState: everything a mapper has changed in the open map and not
// saved, as one value the recovery copy keeps: the paths, the header's byte
// image and the header state the windows hold, every cell as typed (also a
// cell that is not a valid number yet), the position caches, the object
// count, the current row, the markers' looks and the terrain's pictures. Its bytes carry their own
// length and fingerprint, so a copy cut short or damaged is known as such.

#include "document/headerstate.h"
#
#include "document/objecttable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TMapDocument;

struct TRecoveryState {
    QString bmsPath;
    QString trnPath;
    QString saveName;
    QByteArray headerBytes; // MapHeader::Size bytes
    THeaderState header;
    QStringList mapData;
    QList<TObjectTable::Row> rows; // object rows 1 .. n
    QList<bool> added;             // their added marks
    int objectCount = 0;
    int currentRow = 1;
    std::vector<std::int32_t> objectX, objectY; // MaxObjects + 1 entries each
    // The terrain read, with the pictures chosen since: its values, then the
    // colour, elevation, detail and sky map paths. A copy of the first
    // version holds none.
    QStringList terrain;

    static TRecoveryState fromDocument(const TMapDocument &document);

    QByteArray toBytes() const;
    // The state the bytes hold; raises a TError naming fileName and the
    // problem when they are not a whole, undamaged recovery copy.
    static TRecoveryState fromBytes(const QByteArray &bytes, const QString &fileName);

    bool operator==(const TRecoveryState &other) const = default;
};
