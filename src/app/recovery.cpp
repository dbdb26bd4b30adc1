// The recovery copy of the main window's unsaved changes: what it keeps of
// the windows, and the restore at the start after a run that did not end
// normally.
#include "mainwindow.h"

#include "ui/dialogs.h"
#include "journal/journalstep.h"
#include "recovery/recoverycopy.h"
#include "recovery/recoverykeeper.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"
#include "terrain/mapviewpanel.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {
// The terrain's pictures in the order the recovery copy keeps their paths.
constexpr std::array<TMapPicture, 4> Pictures{TMapPicture::Colour, TMapPicture::Elevation, TMapPicture::Detail,
                                              TMapPicture::Sky};
} // namespace

void TForm1::startRecoveryCopies()
{
    Recovery = std::make_unique<TRecoveryKeeper>(Document.Journal, [this] { return recoveryState(); });
    connect(Recovery.get(), &TRecoveryKeeper::writeFailed, this,
            [this](const QString &problem) { Form6->ShowInfoMessage(QStringLiteral("Attention!"), problem, QString()); });
}

TRecoveryState TForm1::recoveryState() const
{
    TRecoveryState s = TRecoveryState::fromDocument(Document);
    s.saveName = SaveName;
    s.header = headerState();
    s.looks = MapView->markerLooks();
    s.terrain = Terrain.TerrainValues;
    for (const TMapPicture p : Pictures)
        s.terrain << Terrain.path(p);
    return s;
}

void TForm1::putRecoveredState(const TRecoveryState &state)
{
    TObjectTable &table = Document.Table;
    table.setRowCount(int(state.rows.size()) + 1);
    for (int row = 1; row <= int(state.rows.size()); ++row)
        table.setRowCells(row, state.rows[row - 1]);
    Document.ObjectCount = state.objectCount;
    Document.CurrentRow = state.currentRow;
    std::copy(state.objectX.begin(), state.objectX.end(), Document.ObjectX.begin());
    std::copy(state.objectY.begin(), state.objectY.end(), Document.ObjectY.begin());
    if (!state.saveName.isEmpty())
        SaveName = state.saveName;
    applyHeaderState(state.header);
    MapView->followDocument();
    for (int row = 1; row < int(state.looks.size()); ++row)
        MapView->setMarkerLook(row, state.looks[row]);
    if (state.currentRow < table.RowCount())
        StringGrid1->setCurrentCellQuietly(std::max(StringGrid1->currentCol(), 0), state.currentRow);
}

void TForm1::restoreRecovered(const TRecoveryCopy &copy)
{
    const TRecoveryState &state = copy.state();
    const bool mapThere = QFileInfo(state.bmsPath).isFile();
    // The map is loaded as Load loads it (its terrain, the name list); a map
    // that is gone takes its header from the copy.
    m_openOnce = state.bmsPath;
    m_recovering = mapThere ? nullptr : &state;
    Button1Click();
    m_openOnce.clear();
    m_recovering = nullptr;
    if (!mapLoaded() || Document.BmsPath != state.bmsPath) {
        m_dialogs.showError(this, QStringLiteral("The unsaved changes to \"%1\" could not be restored; their "
                                                 "recovery copy is kept in \"%2\"")
                                      .arg(state.bmsPath, copy.keepAside()));
        return;
    }
    // This run's copy is the one restored from, until the next write replaces it.
    Recovery->adopt(copy.path(), copy.lock());
    // A terrain chosen in the Save Map dialog is chosen again, so the restored
    // Map Data goes with its own TRN file and the header names it.
    // The pictures chosen since come back too, for the repack batch.
    const auto chooseTerrainAgain = [&] {
        const QByteArray field = MapHeader::decode(state.headerBytes).TerrainFile();
        const bool trnChosen = field != Document.Header.TerrainFile() || state.trnPath != Document.TrnPath;
        const bool terrainKept = state.terrain.size() == TTerrain::ValueCount + qsizetype(Pictures.size());
        if (!trnChosen && !terrainKept)
            return;
        runGuarded(m_dialogs, this, [&] {
            changeTerrain(QStringLiteral("Choose TRN"), [&] {
                if (trnChosen) {
                    Document.Header.setTerrainFile(field);
                    Form3->E_TRNFile->setText(state.trnPath);
                    Document.TrnPath = state.trnPath;
                    loadTerrainFrom(state.trnPath);
                }
                if (terrainKept) {
                    Terrain.TerrainValues = state.terrain.mid(0, TTerrain::ValueCount);
                    int i = TTerrain::ValueCount;
                    for (const TMapPicture p : Pictures)
                        Terrain.path(p) = state.terrain[i++];
                }
            });
        });
    };
    if (mapThere) {
        // One step on top of the map as loaded: Ctrl+Z shows the file again.
        TJournalStep step(Document, QStringLiteral("Restore unsaved changes"));
        chooseTerrainAgain();
        putRecoveredState(state);
        return;
    }
    {
        const TJournal::TSuspension unrecorded(Document.Journal);
        chooseTerrainAgain();
        putRecoveredState(state);
    }
    // Nothing lies below the restored state; it has never been saved.
    Document.Journal.takeHeaderAsRecorded();
    Document.Journal.resetClean();
}
