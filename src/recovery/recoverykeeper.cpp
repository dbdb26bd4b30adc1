#include "recovery/recoverykeeper.h"
#include "fileio/errors.h"
#include "journal/journal.h"
#include "recovery/recoverycopy.h"
#include "fileio/recoveryfolder.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

TRecoveryKeeper::TRecoveryKeeper(TJournal &journal, std::function<TRecoveryState()> capture, QObject *parent)
    : QObject(parent), m_journal(journal), m_capture(std::move(capture))
{
    // One writer: the copies are written, and removed, in the order given.
    m_writer.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TRecoveryKeeper::writeDue);
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
    m_copyWritten = true;
}

void TRecoveryKeeper::journalMoved()
{
    if (m_journal.isClean()) {
        m_timer.stop();
        m_changed = false;
        dropCopy();
        return;
    }
    m_changed = true;
    if (m_timer.isActive())
        return;
    const qint64 since = m_sinceWrite.isValid() ? m_sinceWrite.elapsed() : m_interval;
    m_timer.start(int(std::max<qint64>(0, m_interval - since)));
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
    m_copyWritten = true;
    // The cells are shared with the table, not copied: the writer turns them
    // into bytes while the user goes on.
    TRecoveryState state = m_capture();
    m_writer.start([this, state = std::move(state), path = m_copyPath] {
        const QByteArray bytes = state.toBytes();
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return;
        const QString problem =
            QStringLiteral("The recovery copy cannot be written: %1 (%2)").arg(file.errorString(), path);
        QMetaObject::invokeMethod(
            this,
            [this, problem] {
                if (!m_failureSaid) {
                    m_failureSaid = true;
                    emit writeFailed(problem);
                }
            },
            Qt::QueuedConnection);
    });
}

void TRecoveryKeeper::dropCopy()
{
    if (!m_copyWritten)
        return;
    m_copyWritten = false;
    m_writer.start([path = m_copyPath] { QFile::remove(path); });
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
    m_lock.reset();
}
