#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

QString inputDir()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/vellumar-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/vellumar-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir.path() + u'/';
}

QString inputFile(const std::uint8_t *data, std::size_t size, const QString &name)
{
    const QString path = inputDir() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort(); // the harness itself failed, not the reader
    return path;
}
