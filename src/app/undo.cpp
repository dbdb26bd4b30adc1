// Undo and redo in the main window: the header state its boxes hold, the
// refresh after the journal put the map back, the caption's mark of unsaved
// changes and the command keys.
#include "mainwindow.h"

#include "windowkeys.h"

#include "editing/objectgrid.h"
#include "editing/tableediting.h"
#include "handoff/savemapdialog.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

THeaderState TForm1::headerState() const
{
    THeaderState s;
    s.terrainTypeIndex = ComboBox1->currentIndex();
    s.mapNames = MapNames.items;
    s.mapNameIndex = MapNames.selected;
    s.mapNameText = MapNames.selectedText();
    for (int i = 0; i < 6; ++i) {
        s.gameTypes[i] = CheckBox[i]->isChecked();
        s.saveGameTypes[i] = Form3 && Form3->CheckBox[i]->isChecked();
    }
    s.nightGoggles = C_NG->isChecked();
    s.mapData = Terrain.MapData;
    return s;
}

void TForm1::setHeaderState(const THeaderState &state)
{
    applyHeaderState(state);
    Document.Journal.noteHeader();
}

void TForm1::applyHeaderState(const THeaderState &state)
{
    const TJournal::TSuspension unrecorded(Document.Journal);
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(state.terrainTypeIndex);
    }
    MapNames.items = state.mapNames;
    MapNames.selected = state.mapNameIndex;
    MapNames.RememberedNameIndex = state.mapNameIndex;
    MapNames.TypedName.clear();
    syncMapNameBox();
    for (int i = 0; i < 6; ++i) {
        CheckBox[i]->setChecked(state.gameTypes[i]);
        if (Form3)
            Form3->CheckBox[i]->setChecked(state.saveGameTypes[i]);
    }
    C_NG->setChecked(state.nightGoggles);
    if (Terrain.MapData != state.mapData) {
        Terrain.MapData = state.mapData;
        if (Form3)
            Form3->refreshMapData();
    }
}

void TForm1::connectJournal()
{
    TJournal &journal = Document.Journal;
    journal.headerSource = [this] { return headerState(); };
    journal.headerSink = [this](const THeaderState &state) { applyHeaderState(state); };
    journal.lookSource = [this] { return MapView->markerLooks(); };
    journal.lookSink = [this](int row, const TMarkerLook &look) { MapView->setMarkerLook(row, look); };
    journal.marksSource = [this] { return MapView->selectionMarks(); };
    journal.marksSink = [this](const TSelectionMarks &marks) {
        MapView->putSelectionMarks(marks);
        if (marks.heading)
            TableEditing->DrawHeadingIndicator(true);
    };
    journal.takeHeaderAsRecorded();
    connect(&journal, &TJournal::replayed, this, &TForm1::journalReplayed);
    connect(&journal, &QUndoStack::cleanChanged, this, [this] { showCaption(m_caption); });

    // A change of a header box by the user is a step. The journal is the
    // connections' context: they end with it.
    const auto note = [this] { Document.Journal.noteHeader(); };
    connect(ComboBox1, &QComboBox::currentIndexChanged, &journal, note);
    for (int i = 0; i < 6; ++i) {
        connect(CheckBox[i], &QCheckBox::toggled, &journal, note);
        connect(Form3->CheckBox[i], &QCheckBox::toggled, &journal, note);
    }
    connect(C_NG, &QCheckBox::toggled, &journal, note);
    // The keystrokes of one stretch of typing in the Map Data text are one step.
    connect(Form3->RichEdit1, &QPlainTextEdit::textChanged, &journal, [this] {
        Document.Journal.noteHeader(TStepMerge{Document.Journal.typingSession(), -2, -2, false});
    });

    m_keys = new TWindowKeys(this);
    m_keys->undo = [this] { undoStep(); };
    m_keys->redo = [this] { redoStep(); };
    m_keys->save = [this] {
        if (Button7->isEnabled())
            Button7Click();
    };
    m_keys->load = [this] {
        if (Button1->isVisible() && Button1->isEnabled())
            Button1Click();
    };
}

void TForm1::disconnectJournal()
{
    TJournal &journal = Document.Journal;
    // Destroying a journal that is not clean announces the change.
    QObject::disconnect(&journal, nullptr, nullptr, nullptr);
    journal.headerSource = nullptr;
    journal.headerSink = nullptr;
    journal.lookSource = nullptr;
    journal.lookSink = nullptr;
    journal.marksSource = nullptr;
    journal.marksSink = nullptr;
}

bool TForm1::mapLoaded() const
{
    return Button1->isHidden() && !Button8->isHidden();
}

void TForm1::undoStep()
{
    if (!mapLoaded())
        return;
    // An edit still open in a cell is part of what is undone.
    commitTableEdit();
    Document.Table.endTyping();
    Document.Journal.undo();
}

void TForm1::redoStep()
{
    if (!mapLoaded())
        return;
    commitTableEdit();
    Document.Table.endTyping();
    Document.Journal.redo();
}

void TForm1::journalReplayed()
{
    MapView->followDocument();
    // The table's current cell on the row that was current at that point.
    const int row = Document.CurrentRow;
    if (row >= 1 && row < Document.Table.RowCount() && StringGrid1->currentRow() != row)
        StringGrid1->setCurrentCellQuietly(std::max(StringGrid1->currentCol(), 0), row);
}

void TForm1::showCaption(const QString &caption)
{
    m_caption = caption;
    const bool changed = caption != SavedCaption && !Document.Journal.isClean();
    setWindowTitle(changed ? caption + QStringLiteral(" *") : caption);
}
