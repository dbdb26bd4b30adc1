#include "builders.h"

#include <QFile>
#include <QTemporaryDir>

namespace build {

void putLE32(QByteArray &b, int offset, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i)
        b[offset + i] = char((u >> (8 * i)) & 0xFF);
}

void putLE16(QByteArray &b, int offset, std::int16_t v)
{
    const auto u = std::uint16_t(v);
    b[offset] = char(u & 0xFF);
    b[offset + 1] = char(u >> 8);
}

std::int32_t getLE32(const QByteArray &b, int offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(std::uint8_t(b[offset + i])) << (8 * i);
    return std::int32_t(u);
}

std::int16_t getLE16(const QByteArray &b, int offset)
{
    return std::int16_t(std::uint16_t(std::uint8_t(b[offset])) | std::uint16_t(std::uint8_t(b[offset + 1])) << 8);
}

QByteArray record(const Object &o, char filler)
{
    QByteArray r(96, filler);
    putLE32(r, 16, o.item);
    putLE32(r, 24, o.id);
    putLE32(r, 32, o.x);
    putLE32(r, 36, o.y);
    putLE32(r, 40, o.z);
    putLE32(r, 44, o.radius);
    putLE16(r, 68, o.horz);
    putLE16(r, 70, o.vert);
    r[86] = char(o.weapon);
    return r;
}

QByteArray header(const Header &h)
{
    QByteArray b(252, h.filler);
    b.replace(0, 4, h.magic.leftJustified(4, '\0', true));
    b.replace(4, 8, h.mapKey.leftJustified(8, '\0', true));
    b.replace(44, 40, h.opaque.leftJustified(40, '\0', true));
    b.replace(84, 12, h.terrain.leftJustified(12, '\0', true));
    b[116] = char(h.terrainType);
    b[122] = char(h.nightGoggles);
    b[123] = char(h.gameTypes);
    putLE32(b, 152, h.vehObj);
    putLE32(b, 156, h.decoBuild);
    putLE32(b, 160, h.markEff);
    putLE32(b, 164, h.people);
    putLE32(b, 240, h.s6003);
    putLE32(b, 244, h.s6004);
    putLE32(b, 248, h.s6002);
    return b;
}

QByteArray map(Header h, const QList<Object> &objects, const QByteArray &tail, bool setCounts)
{
    if (setCounts) {
        h.vehObj = std::int32_t(objects.size());
        h.decoBuild = h.markEff = h.people = 0;
    }
    QByteArray out = header(h);
    for (const Object &o : objects)
        out += record(o);
    return out + tail;
}

QByteArray trailer(int n)
{
    QByteArray t(n, '\0');
    for (int i = 0; i < n; ++i)
        t[i] = char((i * 7 + 3) & 0xFF);
    return t;
}

QByteArray nameList(const QList<QByteArray> &names, const QByteArray &head16, const QByteArray &block27)
{
    const int n = int(names.size());
    QByteArray out = head16.isEmpty() ? QByteArray("HEAD\0\0\0\0XYZW\0\0\0\0", 16) : head16;
    putLE32(out, 12, n);
    std::int32_t offset = 0;
    for (const QByteArray &name : names) {
        QByteArray entry(16, '\0');
        putLE32(entry, 0, offset);
        out += entry;
        offset += std::int32_t(name.size()) + 1;
    }
    for (const QByteArray &name : names)
        out += name + QByteArray(1, '\0');
    const int p = int(out.size());
    QByteArray block = block27.isEmpty() ? QByteArray("abcdefghijk#mnopqrstuvwxyz!") : block27;
    block[11] = char(n);
    out += block;
    for (int i = 1; i <= n; ++i)
        out += QByteArray("MPNAME") + QByteArray::number(i).rightJustified(2, '0') + QByteArray(1, '\0');
    putLE32(out, 4, p + 3);
    return out;
}

QString file(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray sampleFile(const char *relative)
{
    return readFile(QStringLiteral(VELLUMAR_SAMPLES "/") + QLatin1String(relative));
}

} // namespace build
