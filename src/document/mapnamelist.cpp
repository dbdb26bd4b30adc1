#include "mapnamelist.h"
#include "bytes.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"

#include <QFileInfo>

// A name list holds at most a few thousand bytes; anything far larger is not one.
static constexpr qint64 MaxListFileSize = 16 * 1024 * 1024;

bool TMapNameList::read(const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
    *this = decode(readWholeFile(path, MaxListFileSize), path);
    return true;
}

TMapNameList TMapNameList::decode(const QByteArray &data, const QString &path)
{
    TMapNameList list;
    if (data.size() < HeadSize)
        throw TError(Msg::ReadBeyondEnd, path);
    list.head = data.left(HeadSize);
    const std::int32_t n = getInt32LE(reinterpret_cast<const std::uint8_t *>(data.constData()) + 12);
    // Every name takes at least its entry and its zero byte; a count the file
    // cannot hold is refused before anything is allocated for it.
    if (n < 0 || qint64(n) * 17 > data.size() - HeadSize)
        throw TError(QStringLiteral("The map-name list says it holds %1 names, which the file "
                                    "cannot hold")
                         .arg(n),
                     path);
    if (n > MaxReadNames)
        throw TError(QStringLiteral("The map-name list says it holds %1 names; no map-name list holds more "
                                    "than %2")
                         .arg(n)
                         .arg(MaxReadNames),
                     path);
    qsizetype pos = HeadSize + qsizetype(n) * 16;
    list.names.reserve(n);
    for (int i = 0; i < n; ++i) {
        const qsizetype zero = data.indexOf('\0', pos);
        if (zero < 0)
            throw TError(Msg::ReadBeyondEnd, path);
        if (zero - pos > MaxReadNameLength)
            throw TError(QStringLiteral("Map name %1 is %2 characters long; no map name is longer than %3")
                             .arg(i + 1)
                             .arg(zero - pos)
                             .arg(MaxReadNameLength),
                         path);
        list.names.append(data.mid(pos, zero - pos));
        pos = zero + 1;
    }
    if (data.size() - pos < BlockSize)
        throw TError(Msg::ReadBeyondEnd, path);
    list.block = data.mid(pos, BlockSize);
    return list;
}

void TMapNameList::checkLimits(const QString &path) const
{
    if (names.size() > MaxNames)
        throw TError(QStringLiteral("The map-name list holds %1 names; it can hold at most %2")
                         .arg(names.size())
                         .arg(MaxNames),
                     path);
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].size() > MaxNameLength)
            throw TError(QStringLiteral("Map name %1 (\"%2\") is %3 characters long; a name can have "
                                        "at most %4")
                             .arg(i + 1)
                             .arg(QString::fromLatin1(names[i]))
                             .arg(names[i].size())
                             .arg(MaxNameLength),
                         path);
}

QByteArray TMapNameList::encode() const
{
    const int n = count();
    QByteArray out = head.leftJustified(HeadSize, '\0', true);
    auto *h = reinterpret_cast<std::uint8_t *>(out.data());
    putInt32LE(h + 12, n);

    std::int32_t offset = 0;
    for (const QByteArray &name : names) {
        QByteArray entry(16, '\0');
        putInt32LE(reinterpret_cast<std::uint8_t *>(entry.data()), offset);
        out += entry;
        offset += std::int32_t(name.size()) + 1;
    }
    for (const QByteArray &name : names) {
        out += name;
        out += '\0';
    }
    const auto p = std::int32_t(out.size());
    QByteArray b = block.leftJustified(BlockSize, '\0', true);
    b[11] = char(std::uint8_t(n));
    out += b;
    for (int i = 1; i <= n; ++i) {
        out += i < 10 ? "MPNAME0" + QByteArray::number(i) : "MPNAME" + QByteArray::number(i);
        out += '\0';
    }
    putInt32LE(reinterpret_cast<std::uint8_t *>(out.data()) + 4, p + 3);
    return out;
}

void TMapNameList::write(const QString &path) const
{
    checkLimits(path);
    writeWholeFile(path, encode());
}
