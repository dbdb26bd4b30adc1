#include "recovery/recoverykeeper.h"
#include "fileio/disksync.h"
#include "fileio/errors.h"
#include "fileio/recoveryfolder.h"
#include "journal/journal.h"
#include "recovery/recoverycopy.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <algorithm>

TRecoveryKeeper::TRecoveryKeeper(TJournal &journal, std::function<TRecoveryState()> capture, QObject *parent)
    : QObject(parent), m_journal(journal), m_capture(std::move(capture))
{
    // One writer: the copies are written, and removed, in the order given.
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    // A coarse timer may fire a twentieth of its interval late.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TRecoveryKeeper::timerFired);
    connect(&journal, &QUndoStack::indexChanged, this, &TRecoveryKeeper::journalMoved);
    connect(&journal, &QUndoStack::cleanChanged, this, &TRecoveryKeeper::journalMoved);
}

TRecoveryKeeper::~TRecoveryKeeper()
{
    m_writer.waitForDone();
}

void TRecoveryKeeper::adopt(const QString &copyPath, std::shared_ptr<QLockFile> lock)
{
    waitForWriter();
    dropCopy();
    m_copyPath = copyPath;
    m_lock = std::move(lock);
}

void TRecoveryKeeper::journalMoved()
{
    if (m_journal.isClean()) {
        m_timer.stop();
        m_changed = false;
        dropCopy();
        return;
    }
    markChanged();
    schedule();
}

// A change waits for the writer, counted from the oldest one waiting.
void TRecoveryKeeper::markChanged()
{
    if (!m_changed)
        m_waitingSince.start();
    m_changed = true;
}

// The change waiting is written once a whole interval has passed since the
// last write: at once after a pause, else when the interval is over.
void TRecoveryKeeper::schedule()
{
    if (m_timer.isActive() || m_writing > 0)
        return;
    const qint64 since = m_sinceWrite.isValid() ? m_sinceWrite.elapsed() : m_interval;
    const int wait = int(std::clamp<qint64>(m_interval - since, 0, m_interval));
    m_longestPlannedWait = std::max(m_longestPlannedWait, m_waitingSince.elapsed() + wait);
    m_timer.start(wait);
}

void TRecoveryKeeper::timerFired()
{
    // A write still running: the change waits for its end (writerDone).
    if (m_writing == 0)
        writeDue();
}

bool TRecoveryKeeper::claimCopy()
{
    if (m_lock)
        return true;
    try {
        MakeRecoveryFolder();
    } catch (const TError &error) {
        if (!m_failureSaid) {
            m_failureSaid = true;
            emit writeFailed(error.text());
        }
        return false;
    }
    const QString path = TRecoveryCopy::newPath();
    std::shared_ptr<QLockFile> lock = TRecoveryCopy::lockFor(path);
    if (!lock->tryLock(0))
        return false;
    m_copyPath = path;
    m_lock = std::move(lock);
    return true;
}

void TRecoveryKeeper::writeDue()
{
    m_timer.stop();
    if (!m_changed || m_journal.isClean() || !claimCopy())
        return;
    m_changed = false;
    m_sinceWrite.start();
    ++m_writing;
    // The cells are shared with the table, not copied: the writer turns them
    // into bytes while the user goes on.
    TRecoveryState state = m_capture();
    m_writer.start([this, state = std::move(state), path = m_copyPath] {
        const QByteArray bytes = state.toBytes();
        QSaveFile file(path);
        QString problem;
        bool written = true;
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            written = false;
            problem = QStringLiteral("The recovery copy cannot be written: %1 (%2)").arg(file.errorString(), path);
        } else if (!SyncFolderToDisk(QFile::encodeName(QFileInfo(path).absolutePath()).constData())) {
            problem = QStringLiteral("The recovery copy was written, but its folder could not be flushed to the disk "
                                     "(%1)")
                          .arg(QFileInfo(path).absolutePath());
        }
        QMetaObject::invokeMethod(this, [this, written, problem] { writerDone(written, problem); },
                                  Qt::QueuedConnection);
    });
}

// A copy that could not be replaced is written again after the interval,
// with the state of then: on Windows, a program that has the old copy open
// for a moment (a virus scanner, a backup) makes the replacing fail. Only a
// second failure in a row is said: a moment's hold is no problem of the
// user's.
void TRecoveryKeeper::writerDone(bool written, const QString &problem)
{
    --m_writing;
    m_failedWrites = written ? 0 : m_failedWrites + 1;
    if (!written && !m_journal.isClean())
        markChanged();
    if (!problem.isEmpty() && (written || m_failedWrites > 1) && !m_failureSaid) {
        m_failureSaid = true;
        emit writeFailed(problem);
    }
    if (m_changed)
        schedule();
}

void TRecoveryKeeper::dropCopy()
{
    if (!m_lock)
        return;
    // The copy goes first, then its lock: a program killed between the two
    // leaves a lock without a copy, which the next start removes.
    m_writer.start([path = m_copyPath, lock = std::move(m_lock)]() mutable {
        QFile::remove(path);
        lock.reset();
    });
    m_lock.reset();
}

void TRecoveryKeeper::waitForWriter()
{
    m_writer.waitForDone();
}

void TRecoveryKeeper::finish()
{
    m_timer.stop();
    m_changed = false;
    dropCopy();
    waitForWriter();
}
