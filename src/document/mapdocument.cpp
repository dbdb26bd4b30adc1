#include "mapdocument.h"
#include "category.h"
#include "journal/journalstep.h"
#include "numbers.h"

#include <QScopeGuard>

TMapDocument::TMapDocument() : Journal(*this)
{
    Header.initialise();
    Table.setJournal(&Journal);
}

TMapDocument::~TMapDocument()
{
    Table.setJournal(nullptr);
}

void TMapDocument::reset()
{
    const TJournal::TSuspension unrecorded(Journal);
    Journal.clear();
    Header.resetForEmptyDocument();
    ObjectCount = 0;
    Table.setRowCount(2);
    Table.clearRow(1);
    ObjectX.fill(0);
    ObjectY.fill(0);
    MapStamps.clear();
    SaveName.clear();
    THeaderState empty;
    empty.terrainTypeIndex = m_terrainTypeIndex; // the terrain-type box keeps its entry
    setHeaderState(empty);
    m_mapNames.clear();
    takeAsSaved();
}

int TMapDocument::categoryOfRow(int row) const
{
    return categoryOf(StrToInt(Table.cell(TObjectTable::ColObject, row),
                               TObjectTable::cellName(TObjectTable::ColObject, row)));
}

// --- header values -------------------------------------------------------------

THeaderState TMapDocument::headerState() const
{
    return {m_terrainTypeIndex, m_mapNames.items, m_mapNames.selected, m_gameTypes, m_saveGameTypes,
            m_nightGoggles};
}

void TMapDocument::setHeaderState(const THeaderState &state)
{
    if (state == headerState())
        return;
    TJournalStep step(&Journal, QStringLiteral("Change header"));
    m_terrainTypeIndex = state.terrainTypeIndex;
    m_gameTypes = state.gameTypes;
    m_saveGameTypes = state.saveGameTypes;
    m_nightGoggles = state.nightGoggles;
    if (m_mapNames.items != state.mapNames || m_mapNames.selected != state.mapNameIndex) {
        m_mapNames.items = state.mapNames;
        m_mapNames.selected = state.mapNameIndex;
        m_mapNames.RememberedNameIndex = state.mapNameIndex;
        m_mapNames.TypedName.clear();
    }
    emit headerChanged();
}

void TMapDocument::setTerrainTypeIndex(int index)
{
    THeaderState s = headerState();
    s.terrainTypeIndex = index;
    setHeaderState(s);
}

void TMapDocument::setGameTypes(bool saveDialog, const std::array<bool, 6> &types)
{
    THeaderState s = headerState();
    (saveDialog ? s.saveGameTypes : s.gameTypes) = types;
    setHeaderState(s);
}

void TMapDocument::setGameType(bool saveDialog, int index, bool on)
{
    if (index < 0 || index >= 6)
        return;
    std::array<bool, 6> types = saveDialog ? m_saveGameTypes : m_gameTypes;
    types[index] = on;
    setGameTypes(saveDialog, types);
}

void TMapDocument::setNightGoggles(bool on)
{
    THeaderState s = headerState();
    s.nightGoggles = on;
    setHeaderState(s);
}

void TMapDocument::changeMapNames(const std::function<void(TMapNameBox &)> &rule)
{
    TMapNameBox names = m_mapNames;
    rule(names);
    const bool changed = names.items != m_mapNames.items || names.selected != m_mapNames.selected;
    if (!changed) {
        // Only what the box remembers of the typing.
        m_mapNames = std::move(names);
        return;
    }
    TJournalStep step(&Journal, QStringLiteral("Change header"));
    m_mapNames = std::move(names);
    emit headerChanged();
}

TMapControls TMapDocument::mapControls() const
{
    TMapControls c;
    c.gameTypeBoxes = m_gameTypes;
    c.nightGoggles = m_nightGoggles;
    c.terrainTypeIndex = qMax(0, m_terrainTypeIndex);
    c.mapNameIndex = m_mapNames.selected;
    return c;
}

// --- terrain -------------------------------------------------------------------

TTerrainState TMapDocument::terrainState() const
{
    return {Header.TerrainFile(), TrnPath, m_terrain};
}

void TMapDocument::setTerrainState(const TTerrainState &state)
{
    if (state == terrainState())
        return;
    TJournalStep step(&Journal, QStringLiteral("Change terrain"));
    Header.setTerrainFile(state.terrainField);
    TrnPath = state.trnPath;
    m_terrain = state.terrain;
    emit terrainChanged();
}

void TMapDocument::editTerrain(const QString &text, const std::function<void(TTerrain &)> &edit)
{
    TJournalStep step(&Journal, text);
    // Announced also when the edit stops with an error after changing some of it.
    const auto announce = qScopeGuard([this] { emit terrainChanged(); });
    edit(m_terrain);
}

void TMapDocument::setMapData(const QStringList &lines)
{
    if (lines == m_terrain.MapData)
        return;
    TJournalStep step(&Journal, QStringLiteral("Map Data"), TStepMerge{Journal.typingSession(), TStepMerge::MapDataColumn, TStepMerge::MapDataColumn, false});
    m_terrain.MapData = lines;
    emit terrainChanged();
}

// --- saved state ----------------------------------------------------------------

void TMapDocument::markSaved(bool mapDataWritten)
{
    if (mapDataWritten) {
        m_writtenMapData = m_terrain.MapData;
        m_savedTerrain = terrainState();
    }
    if (m_terrain.MapData == m_writtenMapData)
        Journal.setClean();
    else
        Journal.resetClean();
}

void TMapDocument::takeAsSaved()
{
    m_writtenMapData = m_terrain.MapData;
    m_savedTerrain = terrainState();
}

void TMapDocument::savedAs(const QString &path)
{
    BmsPath = path;
    SaveName = path;
    emit openMapSaved(path);
}

bool TMapDocument::terrainUnsaved() const
{
    return m_terrain.MapData != m_writtenMapData || !(terrainState() == m_savedTerrain);
}
