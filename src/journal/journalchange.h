#pragma once
// What one journal step changed in the map document, kept as the texts that
// were replaced and their replacements: single cells (a keystroke copied into
// 2000 rows is 2000 small entries, not 2000 rows), rows removed with their
// cells, the table's row count, the position caches, the object count and
// the header state the windows hold.

#include "document/headerstate.h"
#include "document/markerlook.h"
#include "document/objecttable.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct TCellChange {
    int col = 0;
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
};

// One entry of the position caches ObjectX/ObjectY (index = row - 1).
struct TCacheChange {
    int index = 0;
    std::int32_t xBefore = 0, yBefore = 0, xAfter = 0, yAfter = 0;
};

struct THeaderChange {
    THeaderState before;
    THeaderState after;
};

// How a step may merge with the step before it: the keystrokes of one cell
// in one typing session do, and so do the corrections a cell selection makes
// at the end of that session (followUp).
struct TStepMerge {
    quint64 session = 0; // 0: never merges
    int col = -1;
    int row = -1;
    bool followUp = false;
};

// A change a step made beside the document and the header boxes (the
// terrain the Save Map dialog loaded), put back by the window that made it.
class TJournalExtra {
public:
    virtual ~TJournalExtra() = default;
    // Forward: as it was after the step; else as before it.
    virtual void put(bool forward) = 0;
};

struct TJournalChange {
    std::vector<TTableChange> table;
    std::vector<TCacheChange> caches; // ordered by index
    int objectCountBefore = 0, objectCountAfter = 0;
    int currentRowBefore = 1, currentRowAfter = 1;
    std::unique_ptr<THeaderChange> header;
    // What the step did to the markers' looks (ordered by row). Looks alone
    // are no change of the map: a step of nothing else leaves no entry.
    std::vector<TLookChange> looks;
    // The selection marks before and after the step.
    TSelectionMarks marksBefore, marksAfter;
    std::vector<std::shared_ptr<TJournalExtra>> extras; // in the order they were made

    bool isEmpty() const
    {
        return table.empty() && caches.empty() && objectCountBefore == objectCountAfter && !header
            && extras.empty();
    }
    bool hasRowChanges() const
    {
        for (const TTableChange &c : table)
            if (c.kind != TTableChange::Cells)
                return true;
        return false;
    }
};
