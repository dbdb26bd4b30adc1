#pragma once
// TRecoveryKeeper: keeps this program's recovery copy while the map has
// unsaved changes. Every change reaches the copy within one second: the
// first change after a pause is written at once, and the changes that follow
// it (typing, a drag) are gathered and written together once the interval
// has passed, so a steady stream of changes is written every interval too. The
// state is taken on the user-interface thread (cheap: the cells are shared,
// not copied) and written whole on a writer thread of its own, its folder
// flushed after it. When the map is clean again (saved, discarded, reset,
// undone back to its saved point) the copy goes with its lock, and at a
// normal end of the program too.

#include "recovery/recoverystate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>

class QLockFile;
class TJournal;

class TRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // The longest a change waits before its state goes to the writer, in
    // milliseconds: with the write itself (tens of milliseconds for 2000
    // objects) every change is on the disk within a second.
    static constexpr int DefaultInterval = 800;

    // capture: the whole editing state as it stands now.
    TRecoveryKeeper(TJournal &journal, std::function<TRecoveryState()> capture, QObject *parent = nullptr);
    ~TRecoveryKeeper() override;

    void setInterval(int milliseconds) { m_interval = milliseconds; }
    // Goes on with a copy left by an earlier run, under its lock, as this
    // program's own: it is replaced by the next write and removed as ours.
    void adopt(const QString &copyPath, std::shared_ptr<QLockFile> lock);
    const QString &copyPath() const { return m_copyPath; }

    // A value the copy keeps changed outside the journal (the open map's
    // file, after a save under another name): written as after a change.
    void keptValueChanged() { journalMoved(); }
    // Takes the state and hands it to the writer, if a change waits for it.
    void writeDue();
    // Waits until the writer has done all it was given.
    void waitForWriter();
    // The normal end: no copy is left.
    void finish();
    // The longest any change was to wait, as its write was planned, before
    // it went to the writer (milliseconds): the interval at most, unless a
    // write took longer than that.
    qint64 longestPlannedWait() const { return m_longestPlannedWait; }

signals:
    // A copy could not be written (the folder, the disk): said once a run.
    void writeFailed(const QString &problem);

private:
    void journalMoved();
    void markChanged();
    void schedule();
    void timerFired();
    void writerDone(bool written, const QString &problem);
    void dropCopy();
    bool claimCopy();

    TJournal &m_journal;
    std::function<TRecoveryState()> m_capture;
    int m_interval = DefaultInterval;
    QTimer m_timer;
    QElapsedTimer m_sinceWrite;
    bool m_changed = false;
    // Since the oldest change that is in no state given to the writer.
    QElapsedTimer m_waitingSince;
    qint64 m_longestPlannedWait = 0;
    // Writes handed to the writer whose end has not been heard of yet: the
    // timer gives it no second one meanwhile, so states never queue up.
    int m_writing = 0;
    int m_failedWrites = 0; // in a row
    bool m_failureSaid = false;
    QString m_copyPath;
    // Held while this program has a copy (being written, written or adopted).
    std::shared_ptr<QLockFile> m_lock;
    QThreadPool m_writer;
};
