// The quick save of the main window, and what every save takes from it.
#include "mainwindow.h"

#include "ui/dialogs.h"
#include "handoff/lookupfeedback.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"

#include "journal/journalstep.h"
#include "recovery/recoverykeeper.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalBlocker>

bool TForm1::Button7Click()
{
    TFileRequest request;
    request.filter = QStringLiteral("KZ Map Files (*.BMS)|*.bms");
    request.initialDir = Store.Settings.BaseFilesDir;
    request.fileName = SaveName;
    request.fileMustExist = false;
    setEnabled(false);
    DialogConfirmed = false;
    DialogConfirmed = m_dialogs.saveFile(this, request);
    // No TRN text, and BmsPath stays: the batch packs BmsPath whatever name was chosen.
    bool wrote = false;
    if (DialogConfirmed)
        wrote = RunSaveCommand(*this, m_dialogs, this, {false, request.fileName}, Form3->C_AutoRepack->isChecked());
    setEnabled(true);
    return wrote;
}

bool TForm1::mayDropChanges()
{
    commitTableEdit();
    if (Document.Journal.isClean())
        return true;
    enum { Save, Discard, Cancel };
    const TQuestion question{QStringLiteral("The map has unsaved changes."),
                             {QStringLiteral("Save"), QStringLiteral("Discard"), QStringLiteral("Cancel")}, Cancel,
                             Cancel};
    switch (m_dialogs.ask(this, question)) {
    case Save:
        return Button7Click();
    case Discard:
        return true;
    default:
        return false;
    }
}

bool TForm1::sessionMayEnd(bool interactionAllowed)
{
    commitTableEdit();
    if (Document.Journal.isClean())
        return true;
    if (!interactionAllowed) {
        // Nothing may be asked: the next start offers the changes back.
        bringRecoveryCopyUpToDate();
        m_sessionEndAt = Document.Journal.index();
        m_sessionKeepsCopy = true;
        return true;
    }
    if (!mayDropChanges())
        return false;
    // Discarded (a save left the journal clean): the session's close asks no more.
    if (!Document.Journal.isClean()) {
        m_sessionEndAt = Document.Journal.index();
        m_sessionKeepsCopy = false;
    }
    return true;
}

void TForm1::sessionStateSaved()
{
    commitTableEdit();
    if (Document.Journal.isClean())
        return;
    bringRecoveryCopyUpToDate();
    m_sessionSavedAt = Document.Journal.index();
}

void TForm1::bringRecoveryCopyUpToDate()
{
    if (!Recovery || Document.Journal.isClean())
        return;
    Recovery->writeDue();
    Recovery->waitForWriter();
}

TMapSaveInputs TForm1::mapSaveInputs()
{
    // The value typed last into a cell is the one saved (both save commands come here).
    commitTableEdit();
    TMapSaveInputs in;
    in.Document = &Document;
    in.Terrain = &Terrain;
    for (int i = 0; i < 6; ++i)
        in.Controls.gameTypeBoxes[i] = CheckBox[i]->isChecked();
    in.Controls.nightGoggles = C_NG->isChecked();
    in.Controls.terrainTypeIndex = qMax(0, ComboBox1->currentIndex());
    in.Controls.mapNameIndex = MapNames.selected;
    in.Names = MapNameFile;
    in.Names.names = MapNames.items;
    in.ProgramDir = m_files.trailerDir;
    in.BaseFilesDir = Store.Settings.BaseFilesDir;
    in.GameMainDir = Store.Settings.GameMainDir;
    in.KzStart = Form3->C_KZstart->isChecked();
    // The lookup can take seconds (Wine's first start): the user sees why.
    in.ShortPaths = TLookupFeedback::around(this, ShortPaths);
    return in;
}

void TForm1::loadTerrainFrom(const QString &trnPath)
{
    LoadTerrain(trnPath, Store.Settings.GameFilesDir, Terrain, *this);
}

namespace {
// A terrain choice in the journal: the terrain state before and after it.
class TTerrainChange : public TJournalExtra {
public:
    TTerrainChange(TForm1 &form, TForm1::TTerrainState before, TForm1::TTerrainState after)
        : m_form(form), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void put(bool forward) override { m_form.putTerrainState(forward ? m_after : m_before); }

private:
    TForm1 &m_form;
    TForm1::TTerrainState m_before, m_after;
};
} // namespace

void TForm1::changeTerrain(const QString &text, const std::function<void()> &change)
{
    TJournalStep step(Document, text);
    const TTerrainState before = terrainState();
    // What changed is recorded also when the change stops with an error.
    const auto record = qScopeGuard([&] {
        TTerrainState now = terrainState();
        if (!(now == before))
            Document.Journal.attach(std::make_shared<TTerrainChange>(*this, before, std::move(now)));
    });
    change();
}

TForm1::TTerrainState TForm1::terrainState() const
{
    return {Document.Header.TerrainFile(), Document.TrnPath, Terrain, MapView->Panel1->picture()};
}

void TForm1::putTerrainState(const TTerrainState &state)
{
    Document.Header.setTerrainFile(state.terrainField);
    Document.TrnPath = state.trnPath;
    {
        const QSignalBlocker block(Form3->E_TRNFile);
        Form3->E_TRNFile->setText(state.trnPath);
    }
    Terrain = state.terrain;
    Form3->refreshMapData();
    if (state.picture.isNull())
        MapView->clearPicture();
    else
        MapView->setPicture(state.picture);
}

void TForm1::bmsLocationChosen(const QString &path)
{
    showCaption(SavedCaption + QStringLiteral(" \"") + path + u'"');
}

void TForm1::ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2)
{
    Form6->ShowInfoMessage(caption, line1, line2);
}
