// Reading and writing map files, byte for byte against files built here.
#include "builders.h"
#include "ordinaryuser.h"
#include "testregistry.h"
#include "userdatafolder.h"

#include "catalogue/itemcatalogue.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "document/mapdocument.h"
#include "document/mapnamelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using build::Object;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Fixture {
    QTemporaryDir dir;
    QString trailerPath;
    QString listPath;
    TMapNameList names;
    TItemCatalogue catalogue;

    Fixture()
    {
        trailerPath = build::file(dir, QStringLiteral("kzmap.dat"), build::trailer(20200));
        listPath = dir.filePath(QStringLiteral("kzmpname.bin"));
        names.names = {"Alpha", "Beta"};
    }
    QString load(TMapDocument &doc, const QByteArray &mapBytes, const QString &name = QStringLiteral("in.bms"))
    {
        const QString path = build::file(dir, name, mapBytes);
        LoadMapFile(path, doc, catalogue);
        return path;
    }
    QByteArray save(TMapDocument &doc, const TMapControls &controls = {}, const QString &name = QStringLiteral("out.bms"))
    {
        const QString path = dir.filePath(name);
        WriteMap(doc, controls, names, {path, listPath, trailerPath});
        return readAll(path);
    }
};

QList<std::int32_t> writtenItems(const QByteArray &file)
{
    QList<std::int32_t> items;
    const int n = build::getLE32(file, 152) + build::getLE32(file, 156) + build::getLE32(file, 160)
        + build::getLE32(file, 164);
    for (int i = 0; i < n; ++i)
        items << build::getLE32(file, 252 + 96 * i + 16);
    return items;
}

} // namespace

class TestBmsFile : public QObject {
    Q_OBJECT
private slots:
    void readerFillsRowsInFileOrder()
    {
        Fixture f;
        QFile ini(f.dir.filePath(QStringLiteral("item.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("2001\r\nJeep\r\n7001\r\nFire\r\n2001\r\nBig jeep\r\n");
        ini.close();
        f.catalogue.LoadItemCatalogue(f.dir.path() + u'/');

        TMapDocument doc;
        QList<int> created;
        QList<QPair<int, int>> progress;
        const QString path = build::file(f.dir, QStringLiteral("m.bms"),
                                         build::map({}, {{7001, 5, 131072, -262144, 9, 20, -32768, 32767, 255},
                                                         {2001, 6, -1, 2, 3, 4, 5, 6, 7},
                                                         {9999, 7}}));
        doc.Header = ReadHeader(path);
        PrepareObjectRows(doc, path);
        ReadObjects(path, doc, f.catalogue,
                    {[&](int max, int pos) { progress.append({max, pos}); },
                     [&](int row) { created << row; }});

        QCOMPARE(doc.ObjectCount, 3);
        QCOMPARE(doc.Table.RowCount(), 4);
        const QStringList row1{"1", "5", "7001", "Fire", "131072", "-262144", "9", "-32768", "32767", "20", "255"};
        for (int c = 0; c < 11; ++c)
            QCOMPARE(doc.Table.cell(c, 1), row1[c]);
        QCOMPARE(doc.Table.cell(3, 2), QStringLiteral("Big jeep")); // last catalogue match wins
        QCOMPARE(doc.Table.cell(3, 3), QString());                  // no match keeps the cell
        QCOMPARE(doc.ObjectX[0], 131072);
        QCOMPARE(doc.ObjectY[0], -262144);
        QCOMPARE(doc.ObjectX[1], -1);
        QCOMPARE(created, (QList<int>{1, 2, 3}));
        QCOMPARE(progress.first(), (QPair<int, int>(3, 0)));
        QCOMPARE(progress.last(), (QPair<int, int>(3, 3)));
    }

    void saveWithoutEditsCleansReservedBytes()
    {
        Fixture f;
        build::Header h;
        h.filler = char(0x55);
        h.magic = "XYZW";
        h.mapKey = "MPNAME02";
        h.terrainType = 2;
        h.vehObj = 99; // counts that do not match the objects
        h.s6002 = 7;
        QByteArray bytes = build::header(h);
        build::putLE32(bytes, 152, 2);
        bytes += build::record({2001, 1}, char(0x66)) + build::record({6002, 2}, char(0x66));
        bytes += "data after the records that is not kept";
        TMapDocument doc;
        f.load(doc, bytes);
        const QByteArray out = f.save(doc, {{}, false, 2, -1});

        QCOMPARE(out.size(), 252 + 2 * 96 + 1 + 20127);
        QCOMPARE(out.left(4), QByteArray("BMS\r"));
        QCOMPARE(out.mid(4, 8), QByteArray("MPNAME02"));
        QCOMPARE(out.mid(44, 40), h.opaque);
        QCOMPARE(out.mid(84, 12), QByteArray("desert.trn\0\0", 12));
        QCOMPARE(int(out[116]), 2);
        for (auto [from, to] : {std::pair{12, 44}, {96, 116}, {117, 122}, {124, 152}, {168, 240}})
            QCOMPARE(out.mid(from, to - from), QByteArray(to - from, '\0'));
        QCOMPARE(build::getLE32(out, 152), 1);
        QCOMPARE(build::getLE32(out, 160), 1);
        QCOMPARE(build::getLE32(out, 248), 1);
        QCOMPARE(out.mid(252, 96), build::record({2001, 1}));
        QCOMPARE(out.mid(252 + 96, 96), build::record({6002, 2}));
        QCOMPARE(out.at(252 + 192), '\0');
        QCOMPARE(out.mid(253 + 192), build::trailer(20200).left(20127));
    }

    void writerGroupsRecordsByCategory()
    {
        Fixture f;
        TMapDocument doc;
        f.load(doc, build::map({}, {{7001, 1}, {1001, 2}, {5001, 3}, {2001, 4}, {6003, 5}, {3001, 6},
                                    {4001, 7}, {1002, 8}, {2002, 9}, {999, 10}, {4100, 11}, {-1000, 12}}));
        const QByteArray out = f.save(doc);
        QCOMPARE(writtenItems(out), (QList<std::int32_t>{2001, 2002, 4001, 1001, 1002, 3001, 6003, 5001, 7001}));
        QCOMPARE(build::getLE32(out, 152), 3); // 20 and 40
        QCOMPARE(build::getLE32(out, 156), 3); // 10 and 30
        QCOMPARE(build::getLE32(out, 160), 2); // 60 and 70
        QCOMPARE(build::getLE32(out, 164), 1); // 50
        QCOMPARE(build::getLE32(out, 240), 1); // 6003
        QCOMPARE(out.size(), 252 + 9 * 96 + 1 + 20127);
        // The writer leaves the table as it was.
        QCOMPARE(doc.Table.cell(2, 1), QStringLiteral("7001"));
        QCOMPARE(doc.ObjectCount, 12);
    }

    void emptyMapIsHeaderZeroByteAndTrailer()
    {
        Fixture f;
        TMapDocument doc;
        f.load(doc, build::map({}, {}));
        QCOMPARE(doc.Table.RowCount(), 1);
        const QByteArray out = f.save(doc);
        QCOMPARE(out.size(), 20380);
        for (int off : {152, 156, 160, 164, 240, 244, 248})
            QCOMPARE(build::getLE32(out, off), 0);
    }

    // A file's game-type byte ticks the boxes, and the ticked boxes are the
    // byte the next save writes.
    void gameTypesFromBoxes_data()
    {
        QTest::addColumn<int>("loaded");
        QTest::addColumn<QList<bool>>("boxes"); // Coop, DM, TDM, KoTH, TKH, CTF
        QTest::addColumn<int>("saved");
        QTest::newRow("every used bit survives a load and save")
            << 0x77 << QList<bool>{true, true, true, true, true, true} << 0x77;
        QTest::newRow("200 keeps only TKH (bits 3 and 7 unused)")
            << 200 << QList<bool>{false, false, false, false, true, false} << 64;
        QTest::newRow("8 alone ticks nothing and saves 0") << 8 << QList<bool>(6, false) << 0;
        QTest::newRow("34 is DM and TDM") << 34 << QList<bool>{false, true, true, false, false, false} << 34;
        QTest::newRow("4 is KoTH") << 4 << QList<bool>{false, false, false, true, false, false} << 4;
        QTest::newRow("17 is Coop and CTF") << 17 << QList<bool>{true, false, false, false, false, true} << 17;
    }
    void gameTypesFromBoxes()
    {
        QFETCH(int, loaded);
        QFETCH(QList<bool>, boxes);
        QFETCH(int, saved);
        Fixture f;
        build::Header h;
        h.gameTypes = std::uint8_t(loaded);
        TMapDocument doc;
        f.load(doc, build::map(h, {{2001, 1}}));
        const std::array<bool, 6> ticked = BoxesFromGameTypes(doc.Header.GameTypes());
        QCOMPARE(QList<bool>(ticked.begin(), ticked.end()), boxes);
        const QByteArray out = f.save(doc, {ticked, false, 0, 0});
        QCOMPARE(int(std::uint8_t(out[123])), saved);
    }

    void boxOrderMatchesBits()
    {
        // CheckBox1..6 are Coop, DM, TDM, KoTH, TKH, CTF.
        QCOMPARE(int(GameTypesFromBoxes({true, false, false, false, false, false})), 1);
        QCOMPARE(int(GameTypesFromBoxes({false, false, true, false, false, false})), 32);
        QCOMPARE(int(GameTypesFromBoxes({false, false, false, true, false, false})), 4);
        QCOMPARE(int(GameTypesFromBoxes({false, false, false, false, false, true})), 16);
    }

    void controlsReachTheHeader()
    {
        Fixture f;
        f.names.names = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
        TMapDocument doc;
        f.load(doc, build::map({}, {{2001, 1}}));
        QByteArray out = f.save(doc, {{false, true, false, false, true, false}, true, 1, 8});
        QCOMPARE(out.mid(4, 8), QByteArray("MPNAME09"));
        QCOMPARE(int(std::uint8_t(out[123])), 2 + 64);
        QCOMPARE(int(out[122]), 17);
        QCOMPARE(int(out[116]), 1);
        out = f.save(doc, {{}, false, 0, 9});
        QCOMPARE(out.mid(4, 8), QByteArray("MPNAME10"));
        QCOMPARE(int(out[122]), 0);
    }

    void hundredthNameIsRefusedBeforeWriting()
    {
        Fixture f;
        for (int i = 0; i < 100; ++i)
            f.names.names.append("Name " + QByteArray::number(i));
        f.names.names.remove(0, 2);
        TMapDocument doc;
        f.load(doc, build::map({}, {{2001, 1}}));
        const QString out = build::file(f.dir, QStringLiteral("out.bms"), "old map");
        try {
            WriteMap(doc, {{}, false, 0, 99}, f.names, {out, f.listPath, f.trailerPath});
            QFAIL("the save went through");
        } catch (const TError &e) {
            QVERIFY(e.text().contains(QStringLiteral("99")));
        }
        QCOMPARE(readAll(out), QByteArray("old map"));
        QVERIFY(!QFile::exists(f.listPath));
        // The 99th is fine.
        WriteMap(doc, {{}, false, 0, 98}, f.names, {out, f.listPath, f.trailerPath});
        QCOMPARE(readAll(out).mid(4, 8), QByteArray("MPNAME99"));
    }

    void failedSaveLeavesFilesAsTheyWere_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cellText");
        QTest::addColumn<int>("trailerSize");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a cell that is not a number") << 4 << "12a" << 20127 << "'12a' is not a valid integer value (row 2, column \"X-Axis\")";
        QTest::newRow("an empty cell") << 1 << "" << 20127 << "'' is not a valid integer value (row 2, column \"ID\")";
        QTest::newRow("a number past 32 bits") << 9 << "2147483648" << 20127 << "'2147483648' is not a valid integer value";
        QTest::newRow("an angle past 16 bits") << 7 << "32768" << 20127 << "Range check error (row 2, column \"Horz-Angel\"";
        QTest::newRow("an angle below -32768") << 8 << "-32769" << 20127 << "Range check error (row 2, column \"Vert-Angel\"";
        QTest::newRow("a weapon past 255") << 10 << "256" << 20127 << "Range check error (row 2, column \"Weapon\"";
        QTest::newRow("a negative weapon") << 10 << "-1" << 20127 << "Range check error";
        QTest::newRow("a short kzmap.dat") << 1 << "1" << 20126 << "Read beyond end of file";
        QTest::newRow("no kzmap.dat") << 1 << "1" << -1 << "File not found";
    }
    void failedSaveLeavesFilesAsTheyWere()
    {
        QFETCH(int, column);
        QFETCH(QString, cellText);
        QFETCH(int, trailerSize);
        QFETCH(QString, expected);
        Fixture f;
        if (trailerSize < 0)
            QFile::remove(f.trailerPath);
        else
            build::file(f.dir, QStringLiteral("kzmap.dat"), build::trailer(trailerSize));
        TMapDocument doc;
        f.load(doc, build::map({}, {{2001, 1}, {999, 2}}));
        doc.Table.setCell(column, 2, cellText); // row 2 is of no category: it is checked all the same
        const QString out = build::file(f.dir, QStringLiteral("out.bms"), "the old map");
        build::file(f.dir, QStringLiteral("kzmpname.bin"), "the old list");
        try {
            WriteMap(doc, {}, f.names, {out, f.listPath, f.trailerPath});
            QFAIL("the save went through");
        } catch (const TError &e) {
            QVERIFY2(e.text().startsWith(expected), qPrintable(e.text()));
        }
        QCOMPARE(readAll(out), QByteArray("the old map"));
        QCOMPARE(readAll(f.listPath), QByteArray("the old list"));
    }

    // Permissions hold for an ordinary user only, so the saves run as one.
    void unwritableTargetKeepsTheOldMap_data()
    {
        QTest::addColumn<unsigned>("folderMode");
        QTest::addColumn<int>("mapMode"); // -1: no map there yet
        QTest::addColumn<QString>("error"); // empty: the save goes through
        QTest::addColumn<unsigned>("listMode");
        QTest::newRow("a map in a writable folder is replaced") << 0777u << 0666 << "" << 0666u;
        QTest::newRow("a writable map in a folder that cannot be written is written in place")
            << 0555u << 0666 << "" << 0666u;
        QTest::newRow("a read-only map in a folder that cannot be written keeps its content")
            << 0555u << 0444 << Msg::FileAccessDenied << 0666u;
        QTest::newRow("a read-only map in a writable folder keeps its content")
            << 0777u << 0444 << Msg::FileAccessDenied << 0666u;
#ifndef Q_OS_WIN // Windows' read-only attribute on a folder stops no new files
        QTest::newRow("no new map can be made in a folder that cannot be written")
            << 0555u << -1 << Msg::FileAccessDenied << 0666u;
#endif
        QTest::newRow("a read-only name list stops the save before a map written in place is touched")
            << 0555u << 0666 << Msg::FileAccessDenied << 0444u;
    }
    void unwritableTargetKeepsTheOldMap()
    {
        QFETCH(unsigned, folderMode);
        QFETCH(int, mapMode);
        QFETCH(QString, error);
        QFETCH(unsigned, listMode);
        Fixture f;
        TUserDataFolder data; // a write in place keeps the old map's bytes there
        TMapDocument doc;
        f.load(doc, build::map({}, {{2001, 1}}));
        const QByteArray expected = BuildMapFile(doc, {}, f.names.count(), build::trailer(20127));
        const QByteArray oldList = "the old list";
        build::file(f.dir, QStringLiteral("kzmpname.bin"), oldList);
        QDir(f.dir.path()).mkdir(QStringLiteral("shared"));
        const QString folder = f.dir.filePath(QStringLiteral("shared"));
        const QString out = folder + QStringLiteral("/out.bms");
        if (mapMode >= 0)
            build::file(f.dir, QStringLiteral("shared/out.bms"), "the old map");
        openToEveryone(f.dir.path());
        if (mapMode >= 0)
            setMode(out, unsigned(mapMode));
        setMode(f.listPath, listMode);
        setMode(folder, folderMode);
        const QString result = asOrdinaryUser([&] {
            try {
                WriteMap(doc, {}, f.names, {out, f.listPath, f.trailerPath});
                return QString();
            } catch (const TError &e) {
                return e.text();
            }
        });
        setMode(folder, 0777);
        QVERIFY2(error.isEmpty() ? result.isEmpty() : result.startsWith(error), qPrintable(result));
        if (error.isEmpty())
            QCOMPARE(readAll(out), expected);
        else
            QCOMPARE(readAll(out), mapMode >= 0 ? QByteArray("the old map") : QByteArray());
        if (!error.isEmpty())
            QCOMPARE(readAll(f.listPath), oldList);
        // Nothing is left behind beside the map.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), mapMode >= 0 || error.isEmpty() ? 1 : 0);
    }

    void mapTargetThatCannotBeWrittenLeavesTheNameList()
    {
        Fixture f;
        TMapDocument doc;
        f.load(doc, build::map({}, {{2001, 1}}));
        build::file(f.dir, QStringLiteral("kzmpname.bin"), "the old list");
        QDir(f.dir.path()).mkdir(QStringLiteral("taken.bms"));
        QVERIFY_THROWS_EXCEPTION(TError, WriteMap(doc, {}, f.names, {f.dir.filePath(QStringLiteral("taken.bms")),
                                                                     f.listPath, f.trailerPath}));
        QVERIFY_THROWS_EXCEPTION(TError, WriteMap(doc, {}, f.names, {f.dir.filePath(QStringLiteral("no/such/dir.bms")),
                                                                     f.listPath, f.trailerPath}));
        QCOMPARE(readAll(f.listPath), QByteArray("the old list"));
    }

    void loadRefusesBadCounts_data()
    {
        QTest::addColumn<int>("vehObj");
        QTest::addColumn<int>("people");
        QTest::newRow("a negative count") << -1 << 2;
        QTest::newRow("counts adding up past 32 bits") << 2147483647 << 2147483647;
        QTest::newRow("a negative count hidden by a positive one") << -5 << 10;
    }
    void loadRefusesBadCounts()
    {
        QFETCH(int, vehObj);
        QFETCH(int, people);
        Fixture f;
        build::Header h;
        h.vehObj = vehObj;
        h.people = people;
        const QString path = build::file(f.dir, QStringLiteral("bad.bms"), build::map(h, {{2001, 1}}, {}, false));
        TMapDocument doc;
        try {
            LoadMapFile(path, doc, f.catalogue);
            QFAIL("loaded");
        } catch (const TError &e) {
            QVERIFY(e.text().contains(path));
            QVERIFY(e.text().contains(QStringLiteral("negative or out of range")));
        }
        QCOMPARE(doc.Table.RowCount(), 2); // untouched
    }

    void truncatedFileKeepsWhatWasRead()
    {
        Fixture f;
        QByteArray bytes = build::map({}, {{2001, 1}, {2002, 2}, {2003, 3}}, {});
        bytes.chop(10);
        TMapDocument doc;
        int markers = 0;
        const QString path = build::file(f.dir, QStringLiteral("short.bms"), bytes);
        doc.Header = ReadHeader(path);
        PrepareObjectRows(doc, path);
        try {
            ReadObjects(path, doc, f.catalogue, {{}, [&](int) { ++markers; }});
            QFAIL("loaded");
        } catch (const TError &e) {
            QCOMPARE(e.text(), QStringLiteral("Read beyond end of file (%1)").arg(path));
        }
        QCOMPARE(markers, 2);
        QCOMPARE(doc.Table.cell(2, 2), QStringLiteral("2002"));
        QCOMPARE(doc.Table.cell(2, 3), QString());
    }

    void shortHeaderIsReadBeyondEnd()
    {
        Fixture f;
        const QString path = build::file(f.dir, QStringLiteral("tiny.bms"), QByteArray(251, 'x'));
        QVERIFY_THROWS_EXCEPTION(TError, ReadHeader(path));
        QVERIFY_THROWS_EXCEPTION(TError, ReadHeader(f.dir.filePath(QStringLiteral("missing.bms"))));
    }

    void moreThanMaxObjectsStopsAtTheLimit()
    {
        Fixture f;
        QList<Object> objects;
        for (int i = 0; i < 2003; ++i)
            objects.append({2001, i + 1, i * 1000});
        TMapDocument doc;
        int markers = 0;
        const QString path = build::file(f.dir, QStringLiteral("big.bms"), build::map({}, objects));
        doc.Header = ReadHeader(path);
        PrepareObjectRows(doc, path);
        QCOMPARE(doc.ObjectCount, 2000);
        try {
            ReadObjects(path, doc, f.catalogue, {{}, [&](int) { ++markers; }});
            QFAIL("loaded");
        } catch (const TError &e) {
            QVERIFY(e.text().startsWith(QStringLiteral("Range check error")));
            QVERIFY(e.text().contains(path));
        }
        QCOMPARE(markers, 2000);
        QCOMPARE(doc.Table.RowCount(), 2001);
        QCOMPARE(doc.Table.cell(1, 2000), QStringLiteral("2000"));
        QCOMPARE(doc.ObjectX[1999], 1999000);
    }

    void readOnlyMapLoads()
    {
        // A map, a name list and a kzmap.dat that are only read may be read-only.
        Fixture f;
        const QString path = build::file(f.dir, QStringLiteral("ro.bms"), build::map({}, {{2001, 1}}));
        build::file(f.dir, QStringLiteral("kzmpname.bin"), build::nameList({"One"}));
        openToEveryone(f.dir.path());
        for (const QString &readOnly : {path, f.trailerPath})
            setMode(readOnly, 0444);
        const QString result = asOrdinaryUser([&] {
            try {
                TMapDocument doc;
                LoadMapFile(path, doc, f.catalogue);
                TMapNameList list;
                list.read(f.listPath);
                WriteMap(doc, {}, list, {f.dir.filePath(QStringLiteral("out.bms")), f.listPath, f.trailerPath});
                return QString::number(doc.ObjectCount);
            } catch (const TError &e) {
                return e.text();
            }
        });
        QCOMPARE(result, QStringLiteral("1"));
        QCOMPARE(readAll(f.dir.filePath(QStringLiteral("out.bms"))).size(), 252 + 96 + 1 + 20127);
    }
};

VELLUMAR_TEST(TestBmsFile)
#include "tst_bmsfile.moc"
