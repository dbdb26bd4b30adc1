#pragma once
// Small builders of test inputs, written from the file layouts directly (not
// through the program's own codecs), so tests hold the code against the format.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class QTemporaryDir;

namespace build {

void putLE32(QByteArray &b, int offset, std::int32_t v);
void putLE16(QByteArray &b, int offset, std::int16_t v);
std::int32_t getLE32(const QByteArray &b, int offset);
std::int16_t getLE16(const QByteArray &b, int offset);

struct Object {
    std::int32_t item = 4076, id = 1, x = 0, y = 0, z = 0, radius = 0;
    std::int16_t horz = 0, vert = 0;
    std::uint8_t weapon = 0;
};

// A 96-byte record; filler puts this byte into every reserved byte.
QByteArray record(const Object &o, char filler = '\0');

struct Header {
    QByteArray magic = QByteArray("BMS\r", 4);
    QByteArray mapKey = "MPNAME01";
    QByteArray opaque = QByteArray(40, 'O');
    QByteArray terrain = "desert.trn";
    std::uint8_t terrainType = 1, nightGoggles = 0, gameTypes = 0;
    std::int32_t vehObj = 0, decoBuild = 0, markEff = 0, people = 0;
    std::int32_t s6003 = 0, s6004 = 0, s6002 = 0;
    char filler = '\0'; // reserved bytes
};
QByteArray header(const Header &h);

// Header whose counts say objects.size() objects (all in CountVehiclesObjects
// unless counts are given), the records, then tail.
QByteArray map(Header h, const QList<Object> &objects, const QByteArray &tail = QByteArray(1, '\0'),
               bool setCounts = true);

// A map of count objects of every category in turn (and one of none), whose
// header counts countInHeader objects, with the zero byte and the trailer.
QByteArray mapOfObjects(int count, std::int32_t countInHeader);

// line, count times over: long text files.
QByteArray repeated(const QByteArray &line, int count);

// kzmap.dat contents: n bytes of a recognisable pattern.
QByteArray trailer(int n = 20127);

// kzmpname.bin with the given names, head and 27-byte block as the game lays it out.
QByteArray nameList(const QList<QByteArray> &names, const QByteArray &head16 = QByteArray(),
                    const QByteArray &block27 = QByteArray());

// A JPEG picture of one flat grey, of any size, coded by hand: baseline when
// progressiveScans is 0, otherwise progressive in that many scans (the DC
// scan, then AC scans that skip every block with end-of-band runs, so a huge
// picture takes little space). Every prefix of the scans is a valid picture.
QByteArray flatGreyJpeg(int width, int height, int progressiveScans = 0);

// A PCX picture of one colour index, of any size the header allows: 256
// colours (with its palette) or 16 colours in four planes, runs of 63.
QByteArray flatPcx(int width, int height, bool sixteen = false, std::uint8_t value = 1);

// Writes bytes to dir/name and returns the path.
QString file(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);

// The whole file at path; empty when it cannot be read.
QByteArray readFile(const QString &path);
// A file of the bundled sample data, by its path inside samples/.
QByteArray sampleFile(const char *relative);

} // namespace build
