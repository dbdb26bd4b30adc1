#include "fileio/safetycopy.h"
#include "fileio/disksync.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/recoveryfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStorageInfo>

namespace {

const QByteArray Magic = "Vellumar safety copy 1\n";
const QString CopySuffix = QStringLiteral(".old");
const QString LockSuffix = QStringLiteral(".lock");

// The files the program writes whole and may therefore write in place, by
// the names their writers give them: the map-name list (kzmpname.bin), the
// settings (kzmap.ini), the repack batch (!VLMR_Repack.bat) and the table
// export (export.txt) always have their own names; a map is any name the
// user gives it ending in .bms, a terrain text one ending in .trn that the
// map's terrain field can hold (at most 12 characters).
const QStringList FixedNames{QStringLiteral("kzmpname.bin"), QStringLiteral("kzmap.ini"),
                             QStringLiteral("!VLMR_Repack.bat"), QStringLiteral("export.txt")};
constexpr qsizetype MaxTerrainFileName = 12;

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString newCopyName()
{
    static int written = 0;
    return QStringLiteral("write-%1-%2-%3")
               .arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch())
               .arg(++written)
        + CopySuffix;
}

// Overwriting a file without truncating it first takes only the blocks by
// which it grows.
void checkRoom(const QString &path, qint64 oldSize, qint64 newSize)
{
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    if (!volume.isValid())
        return;
    const qint64 block = qMax<qint64>(volume.blockSize(), 1);
    const auto blocks = [block](qint64 size) { return (size + block - 1) / block; };
    if ((blocks(newSize) - blocks(oldSize)) * block > volume.bytesAvailable())
        throw TError(Msg::DiskFull, path);
}

// The bytes from the file's start, the file cut to their length, on the disk.
bool overwrite(QFile &file, const QByteArray &bytes)
{
    return file.seek(0) && file.write(bytes) == bytes.size() && file.resize(bytes.size())
        && SyncFileToDisk(file.handle());
}

QLockFile *lockFor(const QString &copyPath)
{
    auto *lock = new QLockFile(copyPath + LockSuffix);
    // Held as long as its program runs, however long that is.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

void TSafetyCopy::writeInPlace(const QString &path, const QByteArray &bytes)
{
    const QByteArray old = readWholeFile(path);
    checkRoom(path, old.size(), bytes.size());

    const QString notKept = QStringLiteral("The file cannot be written in place: its old content could not be kept "
                                           "in the recovery folder \"%1\"");
    const QString folder = RecoveryFolder();
    const QString copyPath = folder + newCopyName();
    const std::unique_ptr<QLockFile> lock(lockFor(copyPath));
    {
        if (!QDir().mkpath(folder) || !lock->tryLock(0))
            throw TError(notKept.arg(folder), path);
        QSaveFile copy(copyPath);
        const QByteArray head = Magic + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding()
            + '\n' + QByteArray::number(old.size()) + ' ' + digest(old) + '\n' + QByteArray::number(bytes.size())
            + ' ' + digest(bytes) + '\n';
        if (!copy.open(QIODevice::WriteOnly) || copy.write(head) != head.size() || copy.write(old) != old.size()
            || !copy.commit() || !SyncFolderToDisk(QFile::encodeName(folder).constData()))
            throw TError(notKept.arg(folder), path);
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        QFile::remove(copyPath);
        throw TError(Msg::FileAccessDenied, path);
    }
    if (overwrite(file, bytes)) {
        file.close();
        QFile::remove(copyPath);
        return;
    }
    // The old bytes take no block the file did not have.
    if (overwrite(file, old)) {
        file.close();
        QFile::remove(copyPath);
        throw TError(Msg::DiskFull, path);
    }
    throw TError(QStringLiteral("Disk full, and the file could not be put back as it was: its old content is "
                                "kept in \"%1\"")
                     .arg(copyPath),
                 path);
}

bool TSafetyCopy::isWrittenInPlace(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.isAbsolute() || name.isEmpty())
        return false;
    if (FixedNames.contains(name))
        return true;
    if (name.endsWith(QLatin1String(".bms"), Qt::CaseInsensitive))
        return true;
    return name.endsWith(QLatin1String(".trn"), Qt::CaseInsensitive) && name.size() <= MaxTerrainFileName;
}

TSafetyCopy::TReadResult TSafetyCopy::read(const QString &copyPath)
{
    QByteArray all;
    try {
        all = readWholeFile(copyPath);
    } catch (const TError &) {
        return TReadResult::Unreadable;
    }
    if (!all.startsWith(Magic))
        return TReadResult::Unreadable;
    qsizetype at = Magic.size();
    QList<QByteArray> lines;
    for (int i = 0; i < 3; ++i) {
        const qsizetype end = all.indexOf('\n', at);
        if (end < 0)
            return TReadResult::Unreadable;
        lines << all.mid(at, end - at);
        at = end + 1;
    }
    const QList<QByteArray> oldPart = lines[1].split(' ');
    const QList<QByteArray> newPart = lines[2].split(' ');
    bool oldOk = false;
    bool newOk = false;
    if (oldPart.size() != 2 || newPart.size() != 2)
        return TReadResult::Unreadable;
    const qint64 oldSize = oldPart[0].toLongLong(&oldOk);
    m_newSize = newPart[0].toLongLong(&newOk);
    m_oldBytes = all.mid(at);
    if (!oldOk || !newOk || lines[0].isEmpty() || m_oldBytes.size() != oldSize || digest(m_oldBytes) != oldPart[1])
        return TReadResult::Unreadable;
    m_copyPath = copyPath;
    m_target = QFile::decodeName(QByteArray::fromPercentEncoding(lines[0]));
    m_newDigest = newPart[1];
    // The copy names the file it is put back into: only a file the program
    // itself writes in place, never any other.
    return isWrittenInPlace(m_target) ? TReadResult::Read : TReadResult::Refused;
}

QList<TSafetyCopy> TSafetyCopy::leftBehind(QStringList &refused)
{
    QList<TSafetyCopy> found;
    const QDir folder(RecoveryFolder());
    for (const QFileInfo &info : folder.entryInfoList({QLatin1Char('*') + CopySuffix}, QDir::Files, QDir::Name)) {
        std::shared_ptr<QLockFile> lock(lockFor(info.filePath()));
        if (!lock->tryLock(0))
            continue; // its write is running
        TSafetyCopy copy;
        const TReadResult result = copy.read(info.filePath());
        if (result != TReadResult::Read) {
            lock.reset();
            const QString kept = KeepAside(info.filePath());
            refused << (result == TReadResult::Unreadable
                            ? QStringLiteral("A copy Vellumar kept of a file while writing it cannot be read; it is "
                                             "kept in \"%1\"")
                                  .arg(kept)
                            : QStringLiteral("A copy Vellumar kept of a file while writing it names \"%1\", which is "
                                             "no file Vellumar writes; it is kept in \"%2\"")
                                  .arg(copy.m_target, kept));
            continue;
        }
        copy.m_lock = std::move(lock);
        found << copy;
    }
    // A write killed before its copy was made leaves only its lock.
    for (const QFileInfo &info : folder.entryInfoList({QLatin1Char('*') + CopySuffix + LockSuffix}, QDir::Files)) {
        const QString copyPath = info.filePath().chopped(LockSuffix.size());
        const std::unique_ptr<QLockFile> lock(lockFor(copyPath));
        if (!QFileInfo::exists(copyPath) && lock->tryLock(0))
            lock->unlock();
    }
    return found;
}

TSafetyCopy::TargetState TSafetyCopy::targetState() const
{
    QByteArray now;
    try {
        now = readWholeFile(m_target);
    } catch (const TError &) {
        return TargetState::Incomplete;
    }
    if (now == m_oldBytes)
        return TargetState::Untouched;
    if (now.size() == m_newSize && digest(now) == m_newDigest)
        return TargetState::Written;
    return TargetState::Incomplete;
}

void TSafetyCopy::putBack() const
{
    const QFileInfo now(m_target);
    if (now.isSymLink() || (now.exists() && !now.isFile()))
        throw TError(QStringLiteral("The file's old content is not put back: its name now belongs to something that "
                                    "is no regular file (a link, a folder, a device or a pipe)"),
                     m_target);
    writeWholeFile(m_target, m_oldBytes);
    remove();
}

void TSafetyCopy::remove() const
{
    QFile::remove(m_copyPath);
}

QString TSafetyCopy::keepAside() const
{
    return KeepAside(m_copyPath);
}
