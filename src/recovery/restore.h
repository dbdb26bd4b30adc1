#pragma once
// Putting a recovery copy back: the map it was made for is loaded as Load
// loads it, and the copy's unsaved changes are put on top of it as one step
// (or, when the map file is gone, on the copy's own header as the map's
// first state, never saved).

#include <QString>
#include <functional>

class TMapDocument;
class TRecoveryCopy;
class TRecoveryKeeper;
struct TRecoveryState;

// The document's part of a restore: cells with their added marks, the object
// count, the current row, the position caches, the header values, the save
// name and the Map Data text. The windows follow from the document's change
// signals.
void PutRecoveredState(TMapDocument &document, const TRecoveryState &state);

// What a restore needs from the program around the document.
class TRestoreHost {
public:
    virtual ~TRestoreHost() = default;
    // Loads the map at bmsPath as the Load command does, without asking for
    // it; fromCopy, when given, stands in for a map file that is gone (its
    // header and cells). True when that map is loaded.
    virtual bool loadForRestore(const QString &bmsPath, const TRecoveryState *fromCopy) = 0;
    // The terrain loader on a TRN file, into the document's terrain.
    virtual void loadTerrainFrom(const QString &trnPath) = 0;
    // Runs a command whose error is shown and ends only that command.
    virtual void guarded(const std::function<void()> &command) = 0;
    virtual void restoreFailed(const QString &message) = 0;
};

// Restores copy into document; keeper goes on with the copy as its own.
void RestoreRecovered(TMapDocument &document, TRecoveryKeeper &keeper, const TRecoveryCopy &copy,
                      TRestoreHost &host);
