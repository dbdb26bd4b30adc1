#pragma once
// One save of the map: the terrain's Map Data text, the map-name list, the
// map file and the repack batch, in this order. Everything that can be known
// to fail is checked before the first file is written, so a refused save
// leaves every file (and the document) as it was; each file is then written
// whole, and a failure while writing one leaves that file as it was, keeps
// the files written before it and writes none after it.

#include "document/bmsfile.h"
#include "document/mapnamelist.h"
#include "repackbatch.h"

#include <QString>

class TMapDocument;

// The Info window's message after a save (the batch's name is spelt as the
// program always spelt it there).
namespace SavedMessage {
inline const char *const Caption = "Saved";
inline const char *const Line1 = "File is saved and Batch \"!VLMR_reapck.bat\"";
inline const char *const Line2 = "was created in the KZ-Main dir.";
// Saved, but a folder could not be flushed to the disk after its file was
// written (a power cut now may bring back the old file); the files follow.
inline const char *const NotFlushed = "Saved, but the folder could not be flushed to the disk:";
}

// What a save reads: the document (the table, the header and its values,
// the map-name list, the terrain with its Map Data text and pictures,
// BmsPath and TrnPath) and the places of the files around it.
struct TMapSaveInputs {
    TMapDocument *Document = nullptr;
    QString ProgramDir;               // where kzmap.dat is
    QString BaseFilesDir;             // the name list's directory
    QString GameMainDir;              // the batch's directory
    bool KzStart = false;             // C_KZstart: the batch also starts the game
    TShortPaths ShortPaths;           // the short-path service for the batch
};

struct TSaveTarget {
    bool WriteMapData = false; // "Save all": the Map Data text goes to TrnPath first
    QString MapPath;           // where the map file goes
    // The quick save: a file at MapPath that is not the open map is replaced
    // only when the user says so ("Save all" writes its BMS File unasked).
    bool AskBeforeReplacing = false;
};

// The save. The map header's TerrainFile becomes the file name of TrnPath
// (at most 12 characters). Once the map file is written it is the open map
// (BmsPath and SaveName name it), and the batch packs it.
// Returns the table rows left out of the map file (item numbers without a
// category), in ascending order. A file whose folder could not be flushed
// after it was written is no failure: the save goes on, and where unflushed
// is given the file's path is added to it.
QList<int> SaveMapFiles(const TMapSaveInputs &inputs, const TSaveTarget &target, QStringList *unflushed = nullptr);

// The TerrainFile field for a terrain path: its file name, refused when it is
// empty, longer than the field or holds a character beyond Latin-1.
QByteArray TerrainFileFieldFor(const QString &trnPath);
