#pragma once
// The save command behind both save buttons (the Save Map dialog's "Save all"
// and the main window's quick save): the map's values are gathered from the
// main window, the questions before writing asked (a file that is not the
// open map, a map changed by another program, objects the file leaves out,
// objects off the terrain;
// Cancel writes nothing), the files written (an error shown in the standard
// error box stops the command), "Saved" shown in the Info window, and with
// "Auto repack" the repack batch started.

#include "mapsave.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TDialogs;
class TMapDocument;

// What a save needs from the main window, which owns the map.
class TSaveHost {
public:
    virtual ~TSaveHost() = default;
    // The document: its BmsPath and TrnPath are the Save Map dialog's file locations.
    virtual TMapDocument &saveDocument() = 0;
    // Commits an edit still open in the object table, then gathers what the
    // writer reads from the main window.
    virtual TMapSaveInputs mapSaveInputs() = 0;
    // "Choose TRN": the terrain loader on the chosen file, into the
    // document's terrain, showing its colour map.
    virtual void loadTerrainFrom(const QString &trnPath) = 0;
    // The BMS location was chosen with its "..." button: the caption names it.
    virtual void bmsLocationChosen(const QString &path) = 0;
    virtual void ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2) = 0;
};

// The rows of the objects a save writes that lie off the terrain: their
// markers stand on the dimmed copies beyond its edge.
QList<int> ObjectsOutsideTerrain(const TMapDocument &document);

// Runs one save. Returns true when every file was written.
bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack);

// Starts GameMainDir's repack batch there without waiting for it; a failed
// start shows "The program ... was not executed" in the error box. Under Wine
// its output goes to !VLMR_Repack.log beside it, and a run that fails is
// shown in the Info window with the log's path.
void StartRepackBatch(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const QString &gameMainDir);
