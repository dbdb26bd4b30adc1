#pragma once
// Shared by the fuzz harnesses: the fuzz input as a file, for the readers
// that take a path. Each harness process writes into a directory of its own,
// in memory where /dev/shm exists, removed when the process ends.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Writes data to the process's directory under name and returns its path.
QString inputFile(const std::uint8_t *data, std::size_t size, const QString &name);

// The process's directory, with its separator.
QString inputDir();

inline QByteArray inputBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
