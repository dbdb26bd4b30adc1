#include "fileio/fileio.h"
#include "fileio/disksync.h"
#include "fileio/errors.h"
#include "fileio/regularfile.h"
#include "fileio/safetycopy.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
// What a whole-file read takes at a time once the size the system reported
// has been read.
constexpr qint64 ReadChunk = 64 * 1024;
}

void openForReading(QFile &file, const QString &path)
{
    file.setFileName(path);
#ifdef Q_OS_WIN
    const QByteArray nativePath = path.toUtf8();
#else
    const QByteArray nativePath = QFile::encodeName(path);
#endif
    int fd = -1;
    switch (OpenRegularFileForReading(nativePath.constData(), fd)) {
    case TReadOpen::Missing:
    case TReadOpen::Folder:
        throw TError(Msg::FileNotFound, path);
    case TReadOpen::NotRegular:
        throw TError(QStringLiteral("This is no regular file (a device, a pipe or a socket); it is not read"), path);
    case TReadOpen::Denied:
        throw TError(Msg::FileAccessDenied, path);
    case TReadOpen::Opened:
        break;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        CloseReadDescriptor(fd);
        throw TError(Msg::FileAccessDenied, path);
    }
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
    const auto tooLarge = [&] {
        return TError(QStringLiteral("The file is too large (more than %1 bytes)").arg(maxSize), path);
    };
    const qint64 reported = file.size();
    if (reported > maxSize)
        throw tooLarge();
    // The size the system reports is taken as a hint only (a file may grow
    // while it is read, and some report no size at all): the bytes are read
    // until the file ends, and never more than one beyond the limit.
    QByteArray data;
    qint64 chunk = std::max(reported + 1, ReadChunk);
    for (;;) {
        const qsizetype had = data.size();
        const qint64 want = std::min<qint64>(chunk, maxSize + 1 - had);
        data.resize(had + qsizetype(want));
        const qint64 got = file.read(data.data() + had, want);
        if (got < 0)
            throw TError(Msg::StreamRead, path);
        data.resize(had + qsizetype(got));
        if (got == 0)
            break;
        if (data.size() > maxSize)
            throw tooLarge();
        chunk = ReadChunk;
    }
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

void commit(QSaveFile &file, const QString &path, QStringList *unflushed)
{
    if (!file.commit())
        throw TError(file.error() == QFileDevice::WriteError ? Msg::DiskFull : Msg::FileAccessDenied,
                     path);
    if (SyncFolderToDisk(QFile::encodeName(QFileInfo(path).absolutePath()).constData()))
        return;
    if (!unflushed)
        throw TError(QStringLiteral("The file was written, but its folder could not be flushed to the disk"), path);
    unflushed->append(path);
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

void writeWholeFile(const QString &path, const QByteArray &bytes, QStringList *unflushed)
{
    QSaveFile file;
    if (!openForWriting(file, path)) {
        TSafetyCopy::writeInPlace(path, bytes);
        return;
    }
    writeAll(file, bytes, path);
    commit(file, path, unflushed);
}

void writeTextLinesCRLF(const QString &path, const QList<QByteArray> &lines, QStringList *unflushed)
{
    writeWholeFile(path, joinLinesCRLF(lines), unflushed);
}
