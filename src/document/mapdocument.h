#pragma once
// TMapDocument: the one map the editor has open. The header keeps the file's
// byte image; the object values live in the table's cells; ObjectX/ObjectY
// cache each row's position for the map view (row r at index r - 1). The
// journal records every change of the table and can take the map back to any
// earlier point and forward again.

#include "fileio/filestamps.h"
#include "journal/journal.h"
#include "mapheader.h"
#include "objecttable.h"

#include <QString>
#include <array>
#include <cstdint>

class TMapDocument {
public:
    static constexpr int MaxObjects = 2000;

    TMapDocument();
    ~TMapDocument();
    TMapDocument(const TMapDocument &) = delete;
    TMapDocument &operator=(const TMapDocument &) = delete;

    MapHeader Header;
    TObjectTable Table;
    int ObjectCount = 0;
    int CurrentRow = 1;
    std::array<std::int32_t, MaxObjects + 1> ObjectX{};
    std::array<std::int32_t, MaxObjects + 1> ObjectY{};
    QString BmsPath;
    QString TrnPath;
    // The map files as this program loaded or saved them.
    TFileStamps MapStamps;
    // Undo and redo of the changes made to the map; clean while the map is as
    // last loaded or saved.
    TJournal Journal;

    // Header initialisation (the window's creation and the start of a save).
    void initialiseHeader() { Header.initialise(); }

    // The data side of Reset document: header fields, ObjectCount 0, the table
    // back to its title row and one empty row. The journal is emptied.
    void reset();

    // Category of a row: its "Object" cell div 100 (raises the conversion
    // error when the cell is not a number).
    int categoryOfRow(int row) const;
};
