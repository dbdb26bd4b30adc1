#pragma once
// TMapDocument: the one map the editor has open, and every value a save
// writes. The header keeps the file's byte image; the object values live in
// the table's cells; ObjectX/ObjectY cache each row's position for the map
// view (row r at index r - 1). The header values the user edits (terrain
// type, map names, game types, night goggles) and the terrain (its TRN file,
// values, pictures and Map Data text) are the document's too: the windows
// show them and change them through the setters here. Every change is
// recorded in the journal, which can take the map back to any earlier point
// and forward again; the three change signals tell the windows what to
// bring in line afterwards.

#include "bmsfile.h"
#include "fileio/filestamps.h"
#include "headerstate.h"
#include "journal/journal.h"
#include "mapheader.h"
#include "mapnamebox.h"
#include "mapnamelist.h"
#include "objecttable.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

class TMapDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxObjects = 2000;

    TMapDocument();
    ~TMapDocument() override;
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
    QString SaveName; // the name the quick save proposes
    // The map-name list as it was read (its head and block); the names
    // themselves are the header values' list.
    TMapNameList MapNameFile;
    // The map files as this program loaded or saved them.
    TFileStamps MapStamps;
    // Undo and redo of the changes made to the map; clean while the map is as
    // last loaded or saved.
    TJournal Journal;

    // Header initialisation (the window's creation and the start of a save).
    void initialiseHeader() { Header.initialise(); }

    // The data side of Reset document: header fields and values, ObjectCount
    // 0, the table back to its title row and one empty row, no terrain. The
    // journal is emptied.
    void reset();

    // Category of a row: its "Object" cell div 100 (raises the conversion
    // error when the cell is not a number).
    int categoryOfRow(int row) const;

    // --- the header values --------------------------------------------------
    THeaderState headerState() const;
    // Each setter records its change (a step of its own, or part of the
    // step open) and announces it; a value that stays as it is changes nothing.
    void setHeaderState(const THeaderState &state);
    void setTerrainTypeIndex(int index);
    // saveDialog: the Save Map dialog's set, else the main window's.
    void setGameTypes(bool saveDialog, const std::array<bool, 6> &types);
    void setGameType(bool saveDialog, int index, bool on);
    void setNightGoggles(bool on);
    // The map-name box's rules run on the list, its selection and what was
    // typed into it.
    const TMapNameBox &mapNames() const { return m_mapNames; }
    void changeMapNames(const std::function<void(TMapNameBox &)> &rule);
    // What a save writes of them.
    TMapControls mapControls() const;

    // --- the terrain --------------------------------------------------------
    const TTerrain &terrain() const { return m_terrain; }
    TTerrainState terrainState() const;
    void setTerrainState(const TTerrainState &state);
    // Runs edit on the terrain (it may also change TrnPath and the header's
    // terrain field) as one step named text, also when it stops with an error
    // after changing some of it.
    void editTerrain(const QString &text, const std::function<void(TTerrain &)> &edit);
    // The Map Data text typed: one stretch of typing is one step.
    void setMapData(const QStringList &lines);

    // --- saved state --------------------------------------------------------
    // A save wrote the map, and with writtenMapData the Map Data text into
    // the TRN file. A save that left a changed Map Data unwritten does not
    // make the map clean, and no later undo makes it clean either.
    void markSaved(bool mapDataWritten);
    // The map as loaded (or restored) is what the files hold.
    void takeAsSaved();
    // A save wrote the map to path: that file is the open map from now on,
    // the one BmsPath and SaveName name (and the repack batch packs).
    void savedAs(const QString &path);
    // Whether the Map Data text, the TRN file chosen or a picture differ from
    // what the last load or "Save all" left: only "Save all" writes them.
    bool terrainUnsaved() const;

signals:
    // The object table, positions, count or current row were put back by
    // the journal (undo, redo, a cancelled step) or a restore.
    void tableChanged();
    // The header values changed.
    void headerChanged();
    // The terrain changed (Map Data, TRN file, values, pictures).
    void terrainChanged();
    // A save made the file at path the open map.
    void openMapSaved(const QString &path);

private:
    int m_terrainTypeIndex = -1;
    std::array<bool, 6> m_gameTypes{};
    std::array<bool, 6> m_saveGameTypes{};
    bool m_nightGoggles = false;
    TMapNameBox m_mapNames;
    TTerrain m_terrain;
    QStringList m_writtenMapData; // the Map Data text as last loaded or written
    TTerrainState m_savedTerrain; // the terrain as the last load or "Save all" left it
};
