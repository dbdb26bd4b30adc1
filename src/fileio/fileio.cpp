#include "fileio/fileio.h"
#include "fileio/disksync.h"
#include "fileio/errors.h"
#include "fileio/safetycopy.h"

#include <QDir>
#include <QFileInfo>

void openForReading(QFile &file, const QString &path)
{
    file.setFileName(path);
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        throw TError(Msg::FileNotFound, path);
    }
    if (!file.open(QIODevice::ReadOnly))
        throw TError(Msg::FileAccessDenied, path);
}

QByteArray readExactly(QFile &file, qint64 n, const QString &path)
{
    QByteArray data = file.read(n);
    if (data.size() != n)
        throw TError(Msg::ReadBeyondEnd, path);
    return data;
}

QByteArray readWholeFile(const QString &path, qint64 maxSize)
{
    QFile file;
    openForReading(file, path);
    if (file.size() > maxSize)
        throw TError(QStringLiteral("The file is too large (more than %1 bytes)").arg(maxSize), path);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TError(Msg::StreamRead, path);
    return data;
}

void checkWritable(const QString &path)
{
    const QFileInfo info(path);
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir())
        throw TError(QStringLiteral("Path not found"), path);
    if (info.isDir() || (info.exists() ? !info.isWritable() : !dir.isWritable()))
        throw TError(Msg::FileAccessDenied, path);
}

bool openForWriting(QSaveFile &file, const QString &path)
{
    checkWritable(path);
    file.setFileName(path);
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly))
        return true;
    // The temporary file was refused, the file itself can be written.
    if (QFileInfo(path).isFile() && QFileInfo(path).isWritable())
        return false;
    throw TError(Msg::FileAccessDenied, path);
}

void writeAll(QSaveFile &file, const QByteArray &data, const QString &path)
{
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        throw TError(Msg::DiskFull, path);
    }
}

void commit(QSaveFile &file, const QString &path)
{
    if (!file.commit())
        throw TError(file.error() == QFileDevice::WriteError ? Msg::DiskFull : Msg::FileAccessDenied,
                     path);
    if (!SyncFolderToDisk(QFile::encodeName(QFileInfo(path).absolutePath()).constData()))
        throw TError(QStringLiteral("The file was written, but its folder could not be flushed to the disk"), path);
}

QByteArray joinLinesCRLF(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file;
    if (!openForWriting(file, path)) {
        TSafetyCopy::writeInPlace(path, bytes);
        return;
    }
    writeAll(file, bytes, path);
    commit(file, path);
}

void writeTextLinesCRLF(const QString &path, const QList<QByteArray> &lines)
{
    writeWholeFile(path, joinLinesCRLF(lines));
}
