#include "builders.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

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

QByteArray mapOfObjects(int count, std::int32_t countInHeader)
{
    Header h;
    QList<Object> objects;
    const std::int32_t items[] = {1001, 2001, 3001, 4076, 5001, 6002, 6003, 6004, 7001, 999};
    for (int i = 0; i < count; ++i)
        objects.append({items[i % 10], i + 1, i * 131072, -i * 131072, i, i % 50, std::int16_t(i), std::int16_t(-i),
                        std::uint8_t(i)});
    h.vehObj = countInHeader;
    return map(h, objects, QByteArray(1, '\0') + trailer(), false);
}

QByteArray repeated(const QByteArray &line, int count)
{
    QByteArray out;
    out.reserve(line.size() * count);
    for (int i = 0; i < count; ++i)
        out += line;
    return out;
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

namespace {

// Entropy-coded data: bits written from the top of each byte, a 0xFF byte
// followed by a stuffed zero, the last byte padded with ones.
struct BitWriter {
    QByteArray out;
    std::uint32_t acc = 0;
    int count = 0;
    void put(std::uint32_t bits, int n)
    {
        for (int i = n - 1; i >= 0; --i) {
            acc = acc << 1 | (bits >> i & 1);
            if (++count == 8)
                flushByte();
        }
    }
    void flushByte()
    {
        out += char(acc);
        if (std::uint8_t(acc) == 0xFF)
            out += '\0';
        acc = 0;
        count = 0;
    }
    QByteArray finish()
    {
        while (count != 0)
            put(1, 1);
        return out;
    }
};

QByteArray segment(std::uint8_t marker, const QByteArray &body)
{
    QByteArray s;
    s += char(0xFF);
    s += char(marker);
    s += char((body.size() + 2) >> 8);
    s += char((body.size() + 2) & 0xFF);
    return s + body;
}

QByteArray scanHeader(int ss, int se, int ah, int al)
{
    QByteArray b;
    b += '\x01';         // one component
    b += '\x01';         // component 1
    b += '\x00';         // DC and AC table 0
    b += char(ss);
    b += char(se);
    b += char(ah << 4 | al);
    return segment(0xDA, b);
}

// AC codes: the fifteen end-of-band runs EOB0 to EOB14 (symbols r << 4),
// four bits each, symbol r coded as r.
void putEndOfBandRuns(BitWriter &bits, std::int64_t blocks)
{
    while (blocks > 0) {
        const std::int64_t run = std::min<std::int64_t>(blocks, 32767);
        int r = 0;
        while ((std::int64_t(2) << r) <= run)
            ++r;
        bits.put(std::uint32_t(r), 4);
        bits.put(std::uint32_t(run - (std::int64_t(1) << r)), r);
        blocks -= run;
    }
}

} // namespace

QByteArray flatGreyJpeg(int width, int height, int progressiveScans)
{
    const std::int64_t blocks = std::int64_t((width + 7) / 8) * ((height + 7) / 8);
    QByteArray j("\xFF\xD8", 2);
    j += segment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\x01'));
    QByteArray frame("\x08", 1);
    frame += char(height >> 8);
    frame += char(height & 0xFF);
    frame += char(width >> 8);
    frame += char(width & 0xFF);
    frame += QByteArray("\x01\x01\x11\x00", 4);
    j += segment(progressiveScans > 0 ? 0xC2 : 0xC0, frame);
    // DC: one code "0" for a difference of 0. AC: EOB0..EOB14 in four bits.
    QByteArray dht(1, '\x00');
    dht += '\x01';
    dht += QByteArray(15, '\0');
    dht += '\0';
    dht += '\x10';
    dht += QByteArray(3, '\0');
    dht += char(15);
    dht += QByteArray(12, '\0');
    for (int r = 0; r < 15; ++r)
        dht += char(r << 4);
    j += segment(0xC4, dht);

    if (progressiveScans == 0) {
        j += scanHeader(0, 63, 0, 0);
        BitWriter bits;
        for (std::int64_t b = 0; b < blocks; ++b) {
            bits.put(0, 1); // DC difference 0
            bits.put(0, 4); // EOB
        }
        j += bits.finish();
    } else {
        j += scanHeader(0, 0, 0, 0);
        BitWriter dc;
        for (std::int64_t b = 0; b < blocks; ++b)
            dc.put(0, 1);
        j += dc.finish();
        int made = 1;
        for (int k = 1; k < 64 && made < progressiveScans; ++k)
            for (int bit = 13; bit >= 0 && made < progressiveScans; --bit, ++made) {
                j += scanHeader(k, k, bit == 13 ? 0 : bit + 1, bit);
                BitWriter ac;
                putEndOfBandRuns(ac, blocks);
                j += ac.finish();
            }
    }
    return j + QByteArray("\xFF\xD9", 2);
}

QByteArray flatPcx(int width, int height, bool sixteen, std::uint8_t value)
{
    QByteArray h(128, '\0');
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = char(sixteen ? 1 : 8);
    putLE16(h, 8, std::int16_t(width - 1));
    putLE16(h, 10, std::int16_t(height - 1));
    h[65] = char(sixteen ? 4 : 1);
    const int bytesPerLine = sixteen ? (width + 7) / 8 : width;
    putLE16(h, 66, std::int16_t(bytesPerLine));
    // One coded line, repeated: each plane in runs of at most 63 bytes; in
    // four planes, plane p holds bit p of the colour index.
    QByteArray line;
    for (int plane = 0; plane < (sixteen ? 4 : 1); ++plane) {
        const char byte = char(sixteen ? ((value >> plane & 1) ? 0xFF : 0x00) : value);
        for (int left = bytesPerLine; left > 0; left -= 63) {
            line += char(0xC0 | std::min(left, 63));
            line += byte;
        }
    }
    QByteArray out = h;
    out.reserve(out.size() + line.size() * height + 769);
    for (int y = 0; y < height; ++y)
        out += line;
    if (!sixteen) {
        out += '\x0C';
        for (int i = 0; i < 256; ++i)
            out += QByteArray(3, char(i));
    }
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
