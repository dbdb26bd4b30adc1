// The main window and the document: the boxes that show the header values
// and change them through the document's setters, the windows following the
// document after an undo or a redo, the caption's mark of unsaved changes
// and the command keys.
#include "mainwindow.h"

#include "viewhistory.h"
#include "windowkeys.h"

#include "editing/objectgrid.h"
#include "editing/tableediting.h"
#include "handoff/savemapdialog.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

void TForm1::showHeader()
{
    const THeaderState h = Document.headerState();
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(h.terrainTypeIndex);
    }
    syncMapNameBox();
    for (int i = 0; i < 6; ++i) {
        const QSignalBlocker main(CheckBox[i]);
        CheckBox[i]->setChecked(h.gameTypes[i]);
        if (Form3) {
            const QSignalBlocker save(Form3->CheckBox[i]);
            Form3->CheckBox[i]->setChecked(h.saveGameTypes[i]);
        }
    }
    const QSignalBlocker block(C_NG);
    C_NG->setChecked(h.nightGoggles);
}

void TForm1::connectJournal()
{
    TJournal &journal = Document.Journal;
    connect(&Document, &TMapDocument::headerChanged, this, &TForm1::showHeader);
    connect(&Document, &TMapDocument::tableChanged, this, &TForm1::tableFollowsDocument);
    connect(&journal, &QUndoStack::cleanChanged, this, [this] { showCaption(m_caption); });
    // What the map showed around each step comes back with it.
    m_viewHistory = new TViewHistory(
        journal, [this] { return TViewMoment{MapView->Markers.selectionMarks(), MapView->Panel1->picture()}; },
        [this](const TViewMoment &moment) {
            MapView->Markers.putSelectionMarks(moment.marks);
            if (moment.marks.heading)
                TableEditing->DrawHeadingIndicator(true);
            if (moment.picture.cacheKey() != MapView->Panel1->picture().cacheKey()) {
                if (moment.picture.isNull())
                    MapView->clearPicture();
                else
                    MapView->setPicture(moment.picture);
            }
        },
        this);

    // A change of a header box by the user is a change of the document.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { Document.setTerrainTypeIndex(index); });
    // The game-type boxes of both windows change both sets (TGameModeBoxes).
    connect(C_NG, &QCheckBox::toggled, this, [this](bool on) { Document.setNightGoggles(on); });

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
    // Destroying a journal that is not clean announces the change.
    QObject::disconnect(&Document.Journal, nullptr, nullptr, nullptr);
    QObject::disconnect(&Document, nullptr, nullptr, nullptr);
}

bool TForm1::mapLoaded() const
{
    return Button1->isHidden() && !Button8->isHidden();
}

void TForm1::undoStep()
{
    if (!mapLoaded())
        return;
    // A drag ends where it is, and an edit still open in a cell is part of
    // what is undone.
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

void TForm1::tableFollowsDocument()
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
