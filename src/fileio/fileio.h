#pragma once
// File access shared by every reader and writer. Files that are only read are
// opened read-only; every file the program writes goes through QSaveFile (or,
// where only the file can be written, through TSafetyCopy), so a failure
// leaves the old file as it was. Failures raise TError with the
// standard message and the file's path.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>

// Files read whole that are larger than this are refused rather than read into memory.
constexpr qint64 MaxTextFileSize = 64 * 1024 * 1024;

// Opens path read-only; "File not found" or "File access denied" otherwise.
// Anything but a regular file (a device, a pipe, a socket) is refused.
void openForReading(QFile &file, const QString &path);

// Reads exactly n bytes at the current position or raises "Read beyond end of file".
QByteArray readExactly(QFile &file, qint64 n, const QString &path);

// The whole file, at most maxSize bytes: a larger file is refused, whatever
// size the system reports for it (one growing while it is read, one that
// reports none), after reading at most one byte beyond the limit.
QByteArray readWholeFile(const QString &path, qint64 maxSize = MaxTextFileSize);

// Opens a QSaveFile for path, raising the standard message when it cannot.
// The new content goes to a temporary file beside path that replaces it at
// commit. Returns false, with nothing opened, where the directory cannot hold
// that file (a map in a shared folder, settings beside a program installed
// read-only) but path itself can be written: the content is then written in
// place through TSafetyCopy, so build and check the whole content first.
bool openForWriting(QSaveFile &file, const QString &path);
void writeAll(QSaveFile &file, const QByteArray &data, const QString &path);
// Commits, then flushes the folder so the new name is on the disk too. A
// folder that cannot be flushed once the file has its new content under its
// name leaves the write done: where unflushed is given, the path is added
// to it (for a warning); else it is raised as an error.
void commit(QSaveFile &file, const QString &path, QStringList *unflushed = nullptr);

// The checks openForWriting makes before it opens: the folder exists, no
// folder takes the name, the file (or a new one in the folder) can be
// written. Raises their message without opening or changing anything, so a
// save that writes several files checks the later ones before the first.
void checkWritable(const QString &path);

// Writes bytes as the whole file at path (open, write, commit; or in place
// with a safety copy where the folder cannot be written). unflushed: as for
// commit.
void writeWholeFile(const QString &path, const QByteArray &bytes, QStringList *unflushed = nullptr);

// Writes the lines, each followed by CR LF, as one whole file.
void writeTextLinesCRLF(const QString &path, const QList<QByteArray> &lines, QStringList *unflushed = nullptr);

QByteArray joinLinesCRLF(const QList<QByteArray> &lines);
