// The quick save of the main window, and what every save takes from it.
#include "mainwindow.h"

#include "ui/dialogs.h"
#include "editing/mouseediting.h"
#include "handoff/lookupfeedback.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"

#include "recovery/recoverykeeper.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

bool TForm1::Button7Click()
{
    // A drag in progress ends where it is: that is what is saved.
    MouseEditing->endDrag();
    TFileRequest request;
    request.filter = QStringLiteral("KZ Map Files (*.BMS)|*.bms");
    request.initialDir = Store.Settings.BaseFilesDir;
    request.fileName = Document.SaveName;
    request.fileMustExist = false;
    setEnabled(false);
    DialogConfirmed = false;
    DialogConfirmed = m_dialogs.saveFile(this, request);
    // No TRN text; the file written becomes the open map. Another file that
    // is there is replaced only when the user says so (the dialog does not ask).
    bool wrote = false;
    if (DialogConfirmed)
        wrote = RunSaveCommand(*this, m_dialogs, this, {false, request.fileName, true},
                               Form3->C_AutoRepack->isChecked());
    setEnabled(true);
    return wrote;
}

int TForm1::askUnsaved()
{
    const TQuestion question{QStringLiteral("The map has unsaved changes."),
                             {QStringLiteral("Save"), QStringLiteral("Discard"), QStringLiteral("Cancel")},
                             TClosing::Cancel, TClosing::Cancel};
    return m_dialogs.ask(this, question);
}

void TForm1::saveUnsaved()
{
    // Only "Save all" writes the Map Data text into the TRN file, and the
    // terrain and pictures chosen go with it.
    if (Document.terrainUnsaved())
        Form3->SaveAllAndDo();
    else
        Button7Click();
}

void TForm1::updateRecoveryCopy()
{
    if (!Recovery || Document.Journal.isClean())
        return;
    Recovery->writeDue();
    Recovery->waitForWriter();
}

void TForm1::endProgram()
{
    // Also ends the loop of a dialog that is open.
    QCoreApplication::exit(0);
}

TMapSaveInputs TForm1::mapSaveInputs()
{
    // The value typed last into a cell is the one saved (both save commands come here).
    commitTableEdit();
    TMapSaveInputs in;
    in.Document = &Document;
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
    Document.editTerrain(QStringLiteral("Load terrain"), [&](TTerrain &terrain) {
        LoadTerrain(trnPath, Store.Settings.GameFilesDir, terrain, *this);
    });
}

void TForm1::bmsLocationChosen(const QString &path)
{
    showCaption(SavedCaption + QStringLiteral(" \"") + path + u'"');
}

void TForm1::openMapSaved(const QString &path)
{
    // The Save Map dialog's BMS File and the caption name the file now open,
    // and a copy kept for a Map Data text left unsaved names it too.
    if (Form3->E_BMSfile->text() != path)
        Form3->E_BMSfile->setText(path);
    bmsLocationChosen(path);
    if (Recovery)
        Recovery->keptValueChanged();
}

void TForm1::ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2)
{
    Form6->ShowInfoMessage(caption, line1, line2);
}
