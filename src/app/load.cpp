// The Load and Reset commands of the main window.
#include "mainwindow.h"

#include "ui/dialogs.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "recovery/recoverystate.h"
#include "handoff/mapsave.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"
#include "catalogue/itemlistwindow.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

namespace {
// Thrown by a Load that stopped on purpose after it had emptied the document.
struct LoadStopped {};
}

void TForm1::Button1Click()
{
    // Steps 1 to 6 leave the window as it was when they stop; from the
    // header on, a Load that fails shows its error and returns to Empty.
    bool started = false;
    // Loading is no change of the map; the loaded map starts a new journal.
    const TJournal::TSuspension unrecorded(Document.Journal);
    const bool ok = runGuarded(m_dialogs, this, [&] {
        try {
            started = false;
            if (!Store.readyToLoad()) {
                Form2->showSetup();
                return;
            }
            TFileRequest open;
            open.filter = QStringLiteral("BMS Files (*.BMS)|*.BMS");
            open.initialDir = Form2->Edit2->text();
            DialogConfirmed = false;
            // A restore opens its map, and the start the command line's, unasked.
            const bool commandLine = m_openOnce.isEmpty() && m_commandLinePending;
            if (!m_openOnce.isEmpty() || commandLine) {
                open.fileName = commandLine ? m_commandLineFile : m_openOnce;
                DialogConfirmed = true;
            } else {
                // Any later Load asks, proposing the file the program was started with.
                open.fileName = m_commandLineFile;
                DialogConfirmed = m_dialogs.openFile(this, open);
            }
            if (!DialogConfirmed)
                return;
            if (commandLine)
                m_commandLinePending = false;
            Document.SaveName = open.fileName;
            Document.BmsPath = open.fileName;
            started = true;
            load();
        } catch (const LoadStopped &) {
        }
    });
    if (!ok && started)
        Button8Click();
    if (started) {
        Document.Journal.clear();
        Document.takeAsSaved();
    }
}

void TForm1::load()
{
    const QString path = Document.BmsPath;
    Document.Header = m_recovering ? MapHeader::decode(m_recovering->headerBytes) : ReadHeader(path);
    Document.setTerrainTypeIndex(TerrainTypeBoxIndex(Document.Header.TerrainType()));
    showCaption(SavedCaption + QStringLiteral(" \"") + path + u'"');

    const TSettings &settings = Store.Settings;
    Document.TrnPath = settings.GameFilesDir + Document.Header.terrainFileName();
    // An empty terrain name leaves the game-files directory itself: not a file.
    if (!QFileInfo(Document.TrnPath).isFile()) {
        TFileRequest trn;
        trn.title = Document.Header.terrainFileName() + QStringLiteral(" not found!");
        trn.filter = QStringLiteral("TRN Dateien (*.TRN)|*.TRN");
        trn.initialDir = settings.GameFilesDir;
        trn.fileName = Document.TrnPath;
        DialogConfirmed = false;
        DialogConfirmed = m_dialogs.openFile(this, trn);
        if (!DialogConfirmed) {
            ResetDocument();
            throw LoadStopped{};
        }
        // A name the map's field cannot hold is refused as the save would refuse it.
        Document.Header.setTerrainFile(TerrainFileFieldFor(trn.fileName));
        Document.TrnPath = trn.fileName;
    }

    Document.editTerrain(QStringLiteral("Load"),
                         [&](TTerrain &terrain) { LoadTerrain(Document.TrnPath, settings.GameFilesDir, terrain, *this); });

    CheckObjectCounts(Document.Header, path);
    Document.ObjectCount = int(std::min<std::int64_t>(Document.Header.objectCountSum(), TMapDocument::MaxObjects));
    Document.CurrentRow = 1;
    applyHeaderToBoxes();

    if (!readMapNameList())
        throw LoadStopped{};

    Form3->E_BMSfile->setText(Document.BmsPath);
    Form3->E_TRNFile->setText(Document.TrnPath);
    showItemList();
    MapView->setMapControlsEnabled(true);
    for (QWidget *w : std::initializer_list<QWidget *>{StringGrid1, ComboBox1, ComboBox2, B_delmpname})
        w->setEnabled(true);

    Document.Table.setRowCount(Document.ObjectCount + 1);
    // A restore without its map file puts the copy's cells and markers in after the Load.
    if (!m_recovering) {
        ReadObjects(path, Document, Catalogue,
                    {[this](int max, int position) {
                         PBar1->setMaximum(qMax(max, 1));
                         PBar1->setValue(position);
                     },
                     [this](int row) { MapView->Markers.createForRow(row); }});
    }

    Button12->setEnabled(true);
    MapView->View.ViewOffsetX = 0;
    MapView->View.ViewOffsetY = 0;

    Button8->show();
    Button8->setEnabled(true);
    Button7->setEnabled(true);
    Button1->hide();
    Button1->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{Button9, Button10, Button11, B_Export, B_Import, C_NG,
                                                       ComboBox1, E_search})
        w->setEnabled(true);
    for (QCheckBox *b : CheckBox)
        b->setEnabled(true);

    MapView->centreOnObjects();
    // What a later save must not overwrite unasked when another program changes it.
    if (m_recovering)
        Document.MapStamps.clear();
    else
        Document.MapStamps.record(path);
}

// Ticks the game types of both windows and night goggles from the header.
void TForm1::applyHeaderToBoxes()
{
    THeaderState h = Document.headerState();
    const std::array<bool, 6> boxes = BoxesFromGameTypes(Document.Header.GameTypes());
    for (int i = 0; i < 6; ++i)
        if (boxes[i]) {
            h.gameTypes[i] = true;
            h.saveGameTypes[i] = true;
        }
    if (Document.Header.NightGoggles() > 16)
        h.nightGoggles = true;
    Document.setHeaderState(h);
}

// Reads the map-name list and selects the map's name; false when the file is
// missing (the document has then been emptied and the message shown).
bool TForm1::readMapNameList()
{
    const QString path = Store.Settings.BaseFilesDir + QLatin1String(TMapNameList::FileName);
    TMapNameList list;
    if (!list.read(path)) {
        Form6->ShowInfoMessage(QStringLiteral("Error"), QStringLiteral("Error, File \"KZMPNAME.BIN\" is missing!"),
                               QStringLiteral("Check, have you extract this File from the kzbase.pff"));
        ResetDocument();
        return false;
    }
    Document.MapNameFile = list;
    bool noName = false;
    Document.changeMapNames([&](TMapNameBox &names) { noName = names.fill(list.names, Document.Header.MapKey()); });
    if (noName)
        Form6->ShowInfoMessage(QStringLiteral("Attention!"), QStringLiteral("Attention! No Map-Name Found!"),
                               QStringLiteral("Map-Name set to the first in list!"));
    return true;
}

// The Reset command: Reset document, then the controls of the Empty state.
void TForm1::Button8Click()
{
    ResetDocument();
    PBar1->setValue(0);
    setEmptyStateControls(false);
    if (Form5)
        Form5->hide();
    if (Form3)
        Form3->hide();
}

// Reset document, as Load also runs it when it stops on purpose: the
// document, the view and the boxes that show the header, nothing else.
void TForm1::ResetDocument()
{
    const TJournal::TSuspension unrecorded(Document.Journal);
    showCaption(SavedCaption);
    MapView->Markers.destroyAll();
    // The header values emptied: the boxes of both windows unticked.
    Document.reset();
    MapView->resetView();
    StringGrid1->setEnabled(false);
    for (QCheckBox *box : CheckBox)
        box->setEnabled(false);
    C_NG->setEnabled(false);
    syncMapNameBox();
}
