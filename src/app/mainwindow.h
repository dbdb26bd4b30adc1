#pragma once
// TForm1: the main window. It owns the program's state (the map document, the
// view, the settings, the terrain, the catalogue) and the six other windows,
// lays out its controls at their design places, and runs the Load and Reset
// commands that bring every part into its loaded or empty state.

#include "app/closing.h"
#include "catalogue/itemcatalogue.h"
#include "document/mapdocument.h"
#include "handoff/launch.h"
#include "handoff/savecommand.h"
#include "editing/objectgrid.h"
#include "recovery/restore.h"
#include "settings/programdir.h"
#include "settings/settings.h"
#include "terrain/terrainfile.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TDialogs;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TGameModeBoxes;
class TMapViewPanel;
class TTableExchange;
class TMouseEditing;
class TObjectListEditing;
class TRecoveryCopy;
class TRecoveryKeeper;
struct TRecoveryState;
class TTableEditing;
class TViewHistory;
class TWeaponBox;
class TWindowKeys;

class TForm1 : public QWidget, public TTerrainHost, public TSaveHost, public TRestoreHost, public TCloseHost {
    Q_OBJECT
public:
    static constexpr const char *DesignedCaption = "Vellumar (v1.1.0 Final Rev.:482)";

    // commandLineFile: the program's first argument, or empty. files: where
    // kzmap.ini, item.ini and kzmap.dat are (a directory: all three there).
    TForm1(TDialogs &dialogs, const QString &commandLineFile, const TProgramFiles &files);
    ~TForm1() override;

    // Program start, after the main window: the other windows in their order
    // (Info, Setup, Save Map, About, Item List, Object View); the last one's
    // creation runs the command-line Load.
    void createWindows();
    // Program start, once the main window is shown: Setup and the Info
    // window, when the start opened them, go above it.
    void frontStartWindows();

    // State the window owns.
    TMapDocument Document;
    TSettingsStore Store;
    TItemCatalogue Catalogue;
    QString SavedCaption;
    bool DialogConfirmed = false;
    // The short-path service the repack batch is written with.
    TShortPaths ShortPaths = ToShortPaths;

    // The other windows (created by createWindows).
    std::unique_ptr<TForm6> Form6;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
    std::unique_ptr<TForm7> Form7;

    // Controls, named as the designer names them.
    QPushButton *Button6;  // "Setup"
    QPushButton *Button1;  // "Load"
    QPushButton *Button8;  // "Reset"
    QPushButton *Button7;  // "Save"
    QPushButton *Button11; // "Extended"
    QProgressBar *PBar1;
    QFrame *Panel3;
    QLineEdit *E_search;
    QPushButton *Button9;  // "Add Item"
    QPushButton *Button12; // "L"
    QPushButton *Button10; // "Del Item"
    std::array<QCheckBox *, 6> CheckBox{}; // CheckBox1 .. CheckBox6 at [0] .. [5]
    std::array<QLabel *, 7> GameTypeLabels{};
    QCheckBox *C_NG;
    QPushButton *BitBtn1;  // "?"
    TObjectGrid *StringGrid1;
    QComboBox *ComboBox1;  // terrain type
    QComboBox *ComboBox2;  // map name
    QPushButton *B_delmpname;
    QPushButton *B_Import;
    QPushButton *B_Export;
    QComboBox *ComboBox3;  // weapon list
    std::unique_ptr<TMapViewPanel> MapView; // Panel1 and its strip of controls
    std::unique_ptr<TTableExchange> Exchange; // B_Export and B_Import

    // Editing: the table's rules, the mouse on the map, Add Item and Del
    // Item, the weapon list, the game-type boxes of both windows.
    std::unique_ptr<TTableEditing> TableEditing;
    std::unique_ptr<TMouseEditing> MouseEditing;
    std::unique_ptr<TObjectListEditing> ObjectListEditing;
    std::unique_ptr<TWeaponBox> WeaponBox;
    std::unique_ptr<TGameModeBoxes> GameModeBoxes;
    // The recovery copy of the unsaved changes (recovery.cpp).
    std::unique_ptr<TRecoveryKeeper> Recovery;
    // What closing the program, Reset and the session's end do with unsaved changes.
    std::unique_ptr<TClosing> Closing;

    // Commands.
    void Button1Click(); // Load
    void Button8Click(); // Reset: Reset document and every control back to Empty
    // Save: the quick save (save.cpp); true when it wrote the map.
    bool Button7Click();
    // Reset document: the document, the view and the header's boxes emptied;
    // the other controls keep their state.
    void ResetDocument();

    // Ends a gesture on the map where it is and closes the object table's
    // in-place editor, keeping what was typed in the cell, so a command that
    // reads the map (undo, redo, save, export) sees it as the user left it.
    void commitTableEdit();

    // Ctrl+Z and Ctrl+Y: an edit open in a cell is committed first; nothing
    // happens while no map is loaded.
    void undoStep();
    void redoStep();
    bool mapLoaded() const;

    // Program start, once the windows are shown: loads the map of a copy a
    // run that did not end normally left, and puts its unsaved changes on top
    // as one step. A map that is gone takes its header from the copy.
    void restoreRecovered(const TRecoveryCopy &copy);

    // Shows the Item List beside the main window (Load and "L").
    void showItemList();

    // The map-name box shows the document's names and selection.
    void syncMapNameBox();
    QString commandLineFile() const { return m_commandLineFile; }

    // TTerrainHost
    void mapDataRead() override;
    bool runPictureChooser(TMapPicture which, const QString &title, QString &fileName) override;
    void showColourMap(const QImage &picture) override;

    // TSaveHost (save.cpp)
    TMapDocument &saveDocument() override { return Document; }
    TMapSaveInputs mapSaveInputs() override;
    void loadTerrainFrom(const QString &trnPath) override;
    void bmsLocationChosen(const QString &path) override;
    void ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2) override;

    // TCloseHost (save.cpp)
    void commitEdits() override { commitTableEdit(); }
    bool isClean() const override { return Document.Journal.isClean(); }
    int journalIndex() const override { return Document.Journal.index(); }
    int askUnsaved() override;
    void saveUnsaved() override;
    void updateRecoveryCopy() override;
    bool closeWindow() override { return close(); }
    void endProgram() override;

    // TRestoreHost (recovery.cpp)
    bool loadForRestore(const QString &bmsPath, const TRecoveryState *fromCopy) override;
    void guarded(const std::function<void()> &command) override;
    void restoreFailed(const QString &message) override;

protected:
    void resizeEvent(QResizeEvent *event) override; // FormResize
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void createControls();
    void createEditing();
    void setEmptyStateControls(bool atStart);
    void load();
    void applyHeaderToBoxes();
    bool readMapNameList();
    void centreViewOnObjects();
    // recovery.cpp
    void startRecoveryCopies();
    // save.cpp: a save made the file at path the open map; the windows name it.
    void openMapSaved(const QString &path);
    // undo.cpp
    void connectJournal();
    // The journal outlives the window's members: it no longer reaches them.
    void disconnectJournal();
    // The boxes of both windows show the document's header values.
    void showHeader();
    // The journal or a restore put the table back: the map and the table follow.
    void tableFollowsDocument();
    // The caption, with " *" while the map has changes not saved.
    void showCaption(const QString &caption);

    TDialogs &m_dialogs;
    QString m_commandLineFile;
    // The command-line file waits for its Load (the one at start, or the
    // first after Setup when the start had none); later Loads only propose it.
    bool m_commandLinePending = false;
    TProgramFiles m_files;
    bool m_keepCopyAtEnd = false; // the session ended without a question
    bool m_settingsSaved = false;
    QString m_caption;
    TWindowKeys *m_keys = nullptr;
    TViewHistory *m_viewHistory = nullptr;
    // A restore's Load: the map it opens without asking, and the copy whose
    // header and cells stand in for a map file that is gone.
    QString m_openOnce;
    const TRecoveryState *m_recovering = nullptr;
};
