#include "recovery/restore.h"

#include "document/mapdocument.h"
#include "journal/journalstep.h"
#include "recovery/recoverycopy.h"
#include "recovery/recoverykeeper.h"

#include <QFileInfo>
#include <algorithm>
#include <array>

namespace {
// The terrain's pictures in the order the recovery copy keeps their paths.
constexpr std::array<TMapPicture, 4> Pictures{TMapPicture::Colour, TMapPicture::Elevation, TMapPicture::Detail,
                                              TMapPicture::Sky};

// A terrain chosen in the Save Map dialog is chosen again, so the restored
// Map Data goes with its own TRN file and the header names it; the pictures
// chosen since come back too, for the repack batch.
void chooseTerrainAgain(TMapDocument &doc, const TRecoveryState &state, TRestoreHost &host)
{
    const QByteArray field = MapHeader::decode(state.headerBytes).TerrainFile();
    const bool trnChosen = field != doc.Header.TerrainFile() || state.trnPath != doc.TrnPath;
    const bool terrainKept = state.terrain.size() == TTerrain::ValueCount + qsizetype(Pictures.size());
    if (!trnChosen && !terrainKept)
        return;
    host.guarded([&] {
        doc.editTerrain(QStringLiteral("Choose TRN"), [&](TTerrain &terrain) {
            if (trnChosen) {
                doc.Header.setTerrainFile(field);
                doc.TrnPath = state.trnPath;
                host.loadTerrainFrom(state.trnPath);
            }
            if (terrainKept) {
                terrain.TerrainValues = state.terrain.mid(0, TTerrain::ValueCount);
                int i = TTerrain::ValueCount;
                for (const TMapPicture p : Pictures)
                    terrain.path(p) = state.terrain[i++];
            }
        });
    });
}
} // namespace

void PutRecoveredState(TMapDocument &doc, const TRecoveryState &state)
{
    TObjectTable &table = doc.Table;
    table.setRowCount(int(state.rows.size()) + 1);
    for (int row = 1; row <= int(state.rows.size()); ++row) {
        table.setRowCells(row, state.rows[row - 1]);
        table.setAdded(row, state.added.value(row - 1));
    }
    doc.ObjectCount = state.objectCount;
    doc.CurrentRow = state.currentRow;
    std::copy(state.objectX.begin(), state.objectX.end(), doc.ObjectX.begin());
    std::copy(state.objectY.begin(), state.objectY.end(), doc.ObjectY.begin());
    // The restored map is the open map: the quick save proposes its file,
    // not a name the run that left the copy had kept from its Load.
    doc.SaveName = state.bmsPath;
    doc.setHeaderState(state.header);
    doc.setMapData(state.mapData);
    emit doc.tableChanged();
}

void RestoreRecovered(TMapDocument &doc, TRecoveryKeeper &keeper, const TRecoveryCopy &copy, TRestoreHost &host)
{
    const TRecoveryState &state = copy.state();
    const bool mapThere = QFileInfo(state.bmsPath).isFile();
    // The map is loaded as Load loads it (its terrain, the name list); a map
    // that is gone takes its header from the copy.
    if (!host.loadForRestore(state.bmsPath, mapThere ? nullptr : &state)) {
        host.restoreFailed(QStringLiteral("The unsaved changes to \"%1\" could not be restored; their "
                                          "recovery copy is kept in \"%2\"")
                               .arg(state.bmsPath, copy.keepAside()));
        return;
    }
    // This run's copy is the one restored from, until the next write replaces it.
    keeper.adopt(copy.path(), copy.lock());
    if (mapThere) {
        // One step on top of the map as loaded: Ctrl+Z shows the file again.
        TJournalStep step(doc, QStringLiteral("Restore unsaved changes"));
        chooseTerrainAgain(doc, state, host);
        PutRecoveredState(doc, state);
        return;
    }
    {
        const TJournal::TSuspension unrecorded(doc.Journal);
        chooseTerrainAgain(doc, state, host);
        PutRecoveredState(doc, state);
    }
    // Nothing lies below the restored state; it has never been saved.
    doc.Journal.resetClean();
}
