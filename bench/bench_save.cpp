// Saving a map of 2000 objects as "Save all" does (terrain text, name list,
// map, repack batch): median milliseconds, without any Wine process. With
// --wine, also the short-path lookup the batch costs under Wine.
#include "document/bmsfile.h"
#include "document/mapdocument.h"
#include "handoff/launch.h"
#include "handoff/mapsave.h"
#include "terrain/terrainfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Medians of `runs` saves of doc into the folder root (with kzmap.dat there).
static double saveMedian(const QString &root, TMapDocument &doc, int runs)
{
    QFile trailer(root + QLatin1String(TrailerFileName));
    if (!trailer.open(QIODevice::WriteOnly) || trailer.write(QByteArray(TrailerSize, 'T')) != TrailerSize)
        return -1;
    trailer.close();
    doc.BmsPath = root + QStringLiteral("bench.bms");
    doc.TrnPath = root + QStringLiteral("bench.trn");
    TMapSaveInputs in;
    in.Document = &doc;
    in.ProgramDir = root;
    in.BaseFilesDir = root;
    in.GameMainDir = root;
    in.KzStart = true;
    // A system without short names: the batch takes the paths as they are.
    in.ShortPaths = [](const std::vector<std::string> &paths) { return paths; };
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        SaveMapFiles(in, {true, doc.BmsPath});
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

// What one whole-file write waits for the disk: a QSaveFile of a few bytes.
static double commitMedian(const QString &root, int runs)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        QSaveFile f(root + QStringLiteral("flush.txt"));
        if (!f.open(QIODevice::WriteOnly) || f.write("x\r\n") != 3 || !f.commit())
            return -1;
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = 2000;
    const int runs = 31;

    // A loaded map: n objects over every category, the sample terrain, twelve names.
    TMapDocument doc;
    doc.Header.setMapKey("MPNAME01");
    doc.ObjectCount = n;
    doc.Table.setRowCount(n + 1);
    std::mt19937 rnd(482);
    const int items[] = {1001, 2001, 3001, 4076, 5001, 6002, 7001};
    for (int i = 1; i <= n; ++i) {
        TObjectTable::Row cells;
        const int values[] = {i, i, items[rnd() % 7], 0, int(rnd() % 67108864), -int(rnd() % 67108864), 0,
                              int(rnd() % 360), 0, int(rnd() % 50), int(rnd() % 12)};
        for (int c = 0; c < TObjectTable::ColumnCount; ++c)
            cells[c] = c == TObjectTable::ColName ? QStringLiteral("Item") : QString::number(values[c]);
        doc.Table.setRowCells(i, cells);
    }
    doc.editTerrain({}, [](TTerrain &terrain) {
        ReadTerrainFile(QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrtest.trn"), QStringLiteral(VELLUMAR_SAMPLES "/kz/"),
                        terrain);
    });
    doc.changeMapNames([](TMapNameBox &names) {
        for (int i = 1; i <= 12; ++i)
            names.items.append("Bench map " + QByteArray::number(i));
        names.selected = 0;
    });

    QTemporaryDir disk;
    const QString root = disk.path() + u'/';
    std::printf("save of a map of %d objects (terrain text, name list, map, batch), median of %d runs\n", n, runs);
    std::printf("  without Wine, on disk:            %6.2f ms (target <= 20 ms)\n", saveMedian(root, doc, runs));
    std::printf("    one whole-file write waits:     %6.2f ms for the disk (four files are written)\n",
                commitMedian(root, runs));
    QTemporaryDir ram(QStringLiteral("/dev/shm/bench_save-XXXXXX"));
    if (ram.isValid())
        std::printf("  without Wine, in memory (tmpfs):  %6.2f ms\n",
                    saveMedian(ram.path() + u'/', doc, runs));

    if (app.arguments().contains(QStringLiteral("--wine"))) {
        // The batch's paths looked up in one winepath run, as a save under Wine does.
        std::vector<std::string> paths;
        for (const char *name : {"bench.bms", "kzmpname.bin", "bench.trn", "!VLMR_Repack.bat"})
            paths.push_back((root + QLatin1String(name)).toStdString());
        std::vector<double> lookupMs;
        for (int run = 0; run < 6; ++run) {
            QElapsedTimer t;
            t.start();
            const std::vector<std::string> shortPaths = ToShortPaths(paths);
            lookupMs.push_back(t.nsecsElapsed() / 1e6);
            if (run == 0)
                std::printf("  Wine short-path lookup, first:    %6.0f ms (%s)\n", lookupMs[0], shortPaths[0].c_str());
        }
        lookupMs.erase(lookupMs.begin());
        std::printf("  Wine short-path lookup, median of the next 5: %.0f ms\n", median(lookupMs));
    }
    return 0;
}
