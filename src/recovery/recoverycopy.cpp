#include "recovery/recoverycopy.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/recoveryfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>

namespace {
const QString CopySuffix = QStringLiteral(".state");
const QString LockSuffix = QStringLiteral(".lock");
// A copy holds at most 2001 rows of eleven cells and their looks; far more
// than any real copy is damage.
constexpr qint64 MaxCopySize = 64 * 1024 * 1024;
}

QString TRecoveryCopy::newPath()
{
    static int made = 0;
    return RecoveryFolder()
        + QStringLiteral("unsaved-%1-%2-%3")
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(QCoreApplication::applicationPid())
              .arg(++made)
        + CopySuffix;
}

std::unique_ptr<QLockFile> TRecoveryCopy::lockFor(const QString &copyPath)
{
    auto lock = std::make_unique<QLockFile>(copyPath + LockSuffix);
    lock->setStaleLockTime(0);
    return lock;
}

QList<TRecoveryCopy> TRecoveryCopy::leftBehind(QStringList &unreadable)
{
    QList<TRecoveryCopy> found;
    const QDir folder(RecoveryFolder());
    // The names begin with the time they were made: oldest first.
    for (const QFileInfo &info : folder.entryInfoList({QLatin1Char('*') + CopySuffix}, QDir::Files, QDir::Name)) {
        std::shared_ptr<QLockFile> lock = lockFor(info.filePath());
        if (!lock->tryLock(0))
            continue; // its program runs
        TRecoveryCopy copy;
        try {
            copy.m_state = TRecoveryState::fromBytes(readWholeFile(info.filePath(), MaxCopySize), info.filePath());
        } catch (const TError &error) {
            lock.reset();
            const QString kept = KeepAside(info.filePath());
            unreadable << QStringLiteral("%1; it is kept in \"%2\"").arg(error.message(), kept);
            continue;
        }
        copy.m_path = info.filePath();
        copy.m_lock = std::move(lock);
        found << copy;
    }
    // A program killed after its copy went (the map saved) or before the
    // first one was written leaves only the copy's lock.
    for (const QFileInfo &info :
         folder.entryInfoList({QLatin1Char('*') + CopySuffix + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString copyPath = info.filePath().chopped(LockSuffix.size());
        if (QFileInfo::exists(copyPath))
            continue;
        const std::unique_ptr<QLockFile> lock = lockFor(copyPath);
        if (lock->tryLock(0))
            lock->unlock(); // its program is gone: the lock goes too
    }
    return found;
}

void TRecoveryCopy::remove() const
{
    QFile::remove(m_path);
}

QString TRecoveryCopy::keepAside() const
{
    return KeepAside(m_path);
}
