#include "fileio/filestamps.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

QString key(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

void TFileStamps::record(const QString &path)
{
    try {
        record(path, readWholeFile(path));
    } catch (const TError &) {
        m_stamps.remove(key(path)); // unreadable now: nothing known to compare with
    }
}

void TFileStamps::record(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    m_stamps.insert(key(path), {bytes.size(), info.fileTime(QFileDevice::FileModificationTime), digest(bytes)});
}

bool TFileStamps::changedSince(const QString &path) const
{
    const auto stamp = m_stamps.constFind(key(path));
    const QFileInfo info(path);
    if (stamp == m_stamps.constEnd() || !info.isFile())
        return false;
    if (info.size() != stamp->size || info.fileTime(QFileDevice::FileModificationTime) != stamp->time)
        return true;
    try {
        return digest(readWholeFile(path)) != stamp->digest;
    } catch (const TError &) {
        return true;
    }
}
