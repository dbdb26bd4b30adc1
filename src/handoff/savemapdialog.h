#pragma once
// TForm3: the Save Map dialog ("Save Map as"). It shows the terrain's Map
// Data text for editing, chooses the four map pictures, holds the game-mode
// boxes, the file locations and the two hand-off options.

#include "terrain/terrainfile.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TDialogs;
class TMapDocument;
class TSaveHost;
struct TSettingsStore;

class TForm3 : public QWidget {
    Q_OBJECT
public:
    // document: its terrain's MapData is what RichEdit1 shows and edits, its
    // BmsPath and TrnPath are the file locations; store: the settings
    // (GameFilesDir, SaveOptions). mainWindow is not the parent, so the
    // dialog stays usable while the main window is disabled.
    TForm3(TMapDocument &document, TSettingsStore &store, TDialogs &dialogs, QWidget *mainWindow);

    // Fills RichEdit1 from the terrain's MapData (after the terrain was read
    // or changed) without writing it back; a box that shows it already is
    // left as it is, with its cursor.
    void refreshMapData();

    // The terrain loader's way into a map chooser: runs it with the picture
    // dialog's title and file name set as given, then restores the title.
    // Returns DialogConfirmed; fileName := the dialog's file name (the chosen
    // file, or unchanged when cancelled).
    bool runChooser(TMapPicture which, const QString &title, QString &fileName);

    // Shows a picture in the map window (the map view's ShowMapFile); set by
    // the main window. Used for the colour, elevation and detail maps.
    std::function<void(const QString &)> showMapFile;

    // The main window, which saves the map; set by it. Without it the dialog
    // only edits the terrain's Map Data and pictures.
    TSaveHost *SaveHost = nullptr;

    // OpenPictureDialog1: the picture-open dialog's title and file name, kept
    // between runs as the dialog keeps them.
    QString OpenPictureDialog1Title;
    QString OpenPictureDialog1FileName;
    bool DialogConfirmed = false;

    QGroupBox *GroupBox1;                  // "Available for"
    std::array<QCheckBox *, 6> CheckBox{}; // CheckBox1 .. CheckBox6 at [0] .. [5]
    QGroupBox *GroupBox3;                  // "Map Data"
    QPlainTextEdit *RichEdit1;
    QPushButton *Button6; // "Choose TRN"
    QPushButton *Button2; // "Color Map"
    QPushButton *Button3; // "Depth Map"
    QPushButton *Button4; // "Detail Map"
    QPushButton *Button5; // "Sky Map"
    QGroupBox *GroupBox2; // "File Locations"
    QLabel *Label1;
    QLineEdit *E_BMSfile;
    QPushButton *B_BMSloc;
    QLabel *Label2;
    QLineEdit *E_TRNFile;
    QPushButton *B_TRNloc;
    QGroupBox *GroupBox5; // "Click to Save"
    QPushButton *Button1; // "Save all & Do ----->"
    QPushButton *Button7; // "Cancel"
    QGroupBox *GroupBox4; // "Save & Start"
    QCheckBox *C_AutoRepack;
    QCheckBox *C_KZstart;

public slots:
    void SaveAllAndDo(); // Button1, "Save all && Do ----->"
    void Button6Click(); // "Choose TRN"
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button7Click();
    void B_BMSlocClick();
    void B_TRNlocClick();
    void E_BMSfileChange();
    void E_TRNFileChange();
    void C_AutoRepackClick();
    void C_KZstartClick();
    void RichEdit1Change();

private:
    // Runs OpenPictureDialog1 for one map and, on confirm, applies the
    // picture to the document's terrain and shows it. Returns DialogConfirmed.
    bool choosePicture(TMapPicture which);
    // A map button: the chooser, with an error stopping only this command.
    void mapButtonClick(TMapPicture which);
    void setSaveOption(int index, bool on);
    // A "..." button: OpenDialog1 on the field's file; true with the field
    // set to the chosen path.
    bool chooseLocation(QLineEdit *field, const QString &filter);

    TMapDocument &m_document;
    TSettingsStore &m_store;
    TDialogs &m_dialogs;
    QWidget *m_mainWindow;
    bool m_refreshing = false;
};
