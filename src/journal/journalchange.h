#pragma once
// What one journal step changed in the map document, kept as the texts that
// were replaced and their replacements: single cells (a keystroke copied into
// 2000 rows is 2000 small entries, not 2000 rows), rows removed with their
// cells, the table's row count, the position caches, the object count, the
// current row, the header values and the terrain.

#include "document/headerstate.h"
#include "document/objecttable.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct TCellChange {
    int col = 0; // TObjectTable::AddedMark for a row's added mark ("1" set, "" not)
    int row = 0;
    QString before;
    QString after;
};

// One change of the table in the order it was made.
struct TTableChange {
    enum Kind : std::uint8_t { Cells, RemoveRow, Resize };
    Kind kind = Cells;
    int row = 0;   // RemoveRow: the row removed; Resize: object rows before
    int count = 0; // Resize: object rows after
    std::vector<TCellChange> cells;     // Cells
    QList<TObjectTable::Row> rows;      // RemoveRow: its cells; Resize: the rows a shrink removed
    QList<bool> added;                  // the added marks of those rows
};

// One entry of the position caches ObjectX/ObjectY (index = row - 1).
struct TCacheChange {
    int index = 0;
    std::int32_t xBefore = 0, yBefore = 0, xAfter = 0, yAfter = 0;
};

template <typename T> struct TValueChange {
    T before;
    T after;
};

// How a step may merge with the step before it: the keystrokes of one cell
// in one typing session do, and so do the corrections a cell selection makes
// at the end of that session (followUp); the moves of one drag do too.
struct TStepMerge {
    static constexpr int MapDataColumn = -2; // the Map Data text's typing
    static constexpr int DragColumn = -3;    // the moves of one drag of a row's marker
    quint64 session = 0; // 0: never merges
    int col = -1;
    int row = -1;
    bool followUp = false;
};

struct TJournalChange {
    std::vector<TTableChange> table;
    std::vector<TCacheChange> caches; // ordered by index
    int objectCountBefore = 0, objectCountAfter = 0;
    int currentRowBefore = 1, currentRowAfter = 1;
    std::unique_ptr<TValueChange<THeaderState>> header;
    std::unique_ptr<TValueChange<TTerrainState>> terrain;

    bool isEmpty() const
    {
        return table.empty() && caches.empty() && objectCountBefore == objectCountAfter && !header && !terrain;
    }
    bool hasRowChanges() const
    {
        for (const TTableChange &c : table)
            if (c.kind != TTableChange::Cells)
                return true;
        return false;
    }
};
