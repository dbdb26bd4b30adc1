// Reading and writing a map of 2000 objects: median milliseconds of each.
#include "catalogue/itemcatalogue.h"
#include "document/bmsfile.h"
#include "document/mapdocument.h"
#include "document/mapnamelist.h"
#include "document/objectrecord.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int n = 2000;
    const int runs = 31;

    // A map of n objects spread over every category.
    MapHeader header;
    header.initialise();
    header.setMagic(QByteArray("BMS\r", 4));
    header.setMapKey("MPNAME01");
    header.setTerrainFile("vlmrtest.trn");
    header.setInt32At(MapHeader::OffCountVehiclesObjects, n);
    QByteArray bytes = header.encode();
    std::mt19937 rnd(482);
    const int items[] = {1001, 2001, 3001, 4076, 5001, 6002, 7001};
    for (int i = 0; i < n; ++i) {
        ObjectRecord r;
        r.ItemNumber = items[rnd() % 7];
        r.ObjectId = i + 1;
        r.PosX = int(rnd() % 67108864);
        r.PosY = -int(rnd() % 67108864);
        r.Radius = int(rnd() % 50);
        r.HorzAngle = std::int16_t(rnd() % 360);
        bytes += r.encode();
    }
    bytes += QByteArray(1 + TrailerSize, '\0');
    const QString mapPath = dir.filePath(QStringLiteral("bench.bms"));
    const QString trailerPath = dir.filePath(QStringLiteral("kzmap.dat"));
    for (auto [path, data] : {std::pair{mapPath, bytes}, {trailerPath, QByteArray(TrailerSize, 'T')}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(data);
    }

    TItemCatalogue catalogue;
    catalogue.LoadItemCatalogue(QStringLiteral(VELLUMAR_SAMPLES "/"));
    TMapNameList names;
    names.names = {"Bench map"};

    std::vector<double> readMs, writeMs, buildMs;
    TMapDocument doc;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        LoadMapFile(mapPath, doc, catalogue);
        readMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        WriteMap(doc, {}, names,
                 {dir.filePath(QStringLiteral("out.bms")), dir.filePath(QStringLiteral("kzmpname.bin")), trailerPath});
        writeMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const QByteArray built = BuildMapFile(doc, {}, names.count(), QByteArray(TrailerSize, 'T'));
        buildMs.push_back(t.nsecsElapsed() / 1e6);
        if (built.size() < MapHeader::Size)
            return 1;
    }
    std::printf("map of %d objects, median of %d runs\n", n, runs);
    std::printf("  read  (header, rows, names, cache): %.2f ms (target < 10 ms)\n", median(readMs));
    std::printf("  write (checks, list, map, trailer): %.2f ms (target < 10 ms)\n", median(writeMs));
    std::printf("    of which building the bytes:    %.2f ms (the rest is the safe save's sync to disk)\n",
                median(buildMs));
    return 0;
}
