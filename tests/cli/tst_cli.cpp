// vellumar-cli: the commands mappers script their maps with.
#include "builders.h"
#include "testregistry.h"

#include "cli/commands.h"
#include "settings/programdir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int status;
    QByteArray out;
    QString err;
};

Run cli(const QStringList &args)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString err;
    QTextStream errStream(&err);
    const int status = runCli(args, {out, errStream});
    errStream.flush();
    return {status, out.data(), err};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QTemporaryDir programDir; // where the program is: no item.ini, no kzmap.dat
    QString mapPath;
    QString trailerPath;

private slots:
    void initTestCase()
    {
        build::Header h;
        h.mapKey = "MPNAME07";
        h.gameTypes = 200;
        h.nightGoggles = 16;
        h.terrainType = 3;
        h.filler = char(0x11);
        mapPath = build::file(dir, QStringLiteral("map.bms"),
                              build::map(h, {{5001, 3, 100, -200, 7, 20, -90, 5, 30}, {1001, 4}, {4100, 9}},
                                         QByteArray(1, '\0') + build::trailer(20127) + "extra"));
        trailerPath = build::file(dir, QStringLiteral("kzmap.dat"), build::trailer(20127));
        build::file(dir, QStringLiteral("item.ini"), "5001\r\nSoldier\r\n1001\r\nPalm; tree\r\n");
        setProgramDirOverride(programDir.path());
    }
    void cleanupTestCase() { setProgramDirOverride(QString()); }

    void infoListsHeaderAndObjects()
    {
        const Run r = cli({QStringLiteral("info"), mapPath});
        QCOMPARE(r.status, 0);
        const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        QCOMPARE(lines[0], QStringLiteral("Magic: 424d530d"));
        QCOMPARE(lines[1], QStringLiteral("MapKey: MPNAME07"));
        QCOMPARE(lines[3], QStringLiteral("TerrainFile: desert.trn"));
        QCOMPARE(lines[6], QStringLiteral("GameTypes: 200"));
        QCOMPARE(lines[14], QStringLiteral("Object 1: ObjectId=3 ItemNumber=5001 PosX=100 PosY=-200 PosZ=7 HorzAngle=-90 VertAngle=5 Radius=20 Weapon=30"));
    }

    void infoAsJson()
    {
        const Run r = cli({QStringLiteral("info"), mapPath, QStringLiteral("--json")});
        QCOMPARE(r.status, 0);
        QJsonParseError error;
        const QJsonObject doc = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject header = doc[QStringLiteral("header")].toObject();
        QCOMPARE(header[QStringLiteral("MapKey")].toString(), QStringLiteral("MPNAME07"));
        QCOMPARE(header[QStringLiteral("OpaqueText")].toString(), QString::fromLatin1(QByteArray(40, 'O').toHex()));
        QCOMPARE(header[QStringLiteral("CountVehiclesObjects")].toInt(), 3);
        const QJsonArray objects = doc[QStringLiteral("objects")].toArray();
        QCOMPARE(objects.size(), 3);
        QCOMPARE(objects[0].toObject()[QStringLiteral("PosY")].toInt(), -200);
        QCOMPARE(objects[2].toObject()[QStringLiteral("ItemNumber")].toInt(), 4100);
    }

    void exportWritesTheTableAsTheEditorDoes()
    {
        const Run r = cli({QStringLiteral("export"), mapPath, QStringLiteral("--items"),
                           dir.filePath(QStringLiteral("item.ini"))});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("3;5001;Soldier;100;-200;7;-90;5;20;30;\r\n"
                                   "4;1001;Palm; tree;0;0;0;0;0;0;0;\r\n"
                                   "9;4100;;0;0;0;0;0;0;0;\r\n"));
        const Run tab = cli({QStringLiteral("export"), mapPath, QStringLiteral("--separator"), QStringLiteral("9")});
        QVERIFY(tab.out.startsWith("3\t5001\t\t100\t"));
        // A catalogue of any name.
        const QString other = build::file(dir, QStringLiteral("catalogue.txt"), "5001\r\nRifleman\r\n");
        const Run named = cli({QStringLiteral("export"), mapPath, QStringLiteral("--items"), other});
        QCOMPARE(named.status, 0);
        QVERIFY(named.out.startsWith("3;5001;Rifleman;"));
        // Without --items, the item.ini beside the program, as the editor reads it.
        setProgramDirOverride(dir.path());
        const Run besideProgram = cli({QStringLiteral("export"), mapPath});
        setProgramDirOverride(programDir.path());
        QCOMPARE(besideProgram.status, 0);
        QVERIFY2(besideProgram.out.startsWith("3;5001;Soldier;100;"), besideProgram.out.constData());
    }

    void resaveWritesTheKeyTheEditorWould_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("MPNAME07 is kept") << QByteArray("MPNAME07") << QByteArray("MPNAME07");
        QTest::newRow("MPNAME00 names no entry and is kept") << QByteArray("MPNAME00") << QByteArray("MPNAME00");
        QTest::newRow("eight spaces become the first name") << QByteArray("        ") << QByteArray("MPNAME01");
        QTest::newRow("MPNAME cut by a zero byte becomes the first name")
            << QByteArray("MPNA\0E03", 8) << QByteArray("MPNAME01");
    }
    void resaveWritesTheKeyTheEditorWould()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, written);
        build::Header h;
        h.mapKey = key;
        const QString in = build::file(dir, QStringLiteral("key.bms"), build::map(h, {{2001, 1}}));
        const QString out = dir.filePath(QStringLiteral("key-out.bms"));
        QCOMPARE(cli({QStringLiteral("resave"), in, QStringLiteral("-o"), out, QStringLiteral("--trailer"), trailerPath}).status, 0);
        QCOMPARE(readAll(out).mid(4, 8), written);
    }

    void resaveKeepsWhatTheEditorKeeps()
    {
        const QString out = dir.filePath(QStringLiteral("out.bms"));
        const Run r = cli({QStringLiteral("resave"), mapPath, QStringLiteral("-o"), out,
                           QStringLiteral("--trailer"), trailerPath});
        QCOMPARE(r.status, 0);
        const QByteArray bytes = readAll(out);
        QCOMPARE(bytes.size(), 252 + 2 * 96 + 1 + 20127); // 4100 is dropped, and named
        QCOMPARE(r.err, "vellumar-cli: 1 row left out: its item number has no category\nvellumar-cli: Row 3\n");
        QCOMPARE(bytes.mid(4, 8), QByteArray("MPNAME07"));
        QCOMPARE(int(std::uint8_t(bytes[123])), 64); // only TKH of 200
        QCOMPARE(int(bytes[122]), 0);                // 16 is not "on"
        QCOMPARE(int(bytes[116]), 0);                // 3 shows "Jungle"
        QCOMPARE(bytes.mid(12, 32), QByteArray(32, '\0'));
        // Written in category order: decorations (10) before people (50).
        QCOMPARE(build::getLE32(bytes, 252 + 16), 1001);
        QCOMPARE(build::getLE32(bytes, 252 + 96 + 16), 5001);
    }

    void namesAndTrailer()
    {
        const QString list = build::file(dir, QStringLiteral("kzmpname.bin"), build::nameList({"One", "Two"}));
        const Run r = cli({QStringLiteral("names"), list});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("MPNAME01\tOne\nMPNAME02\tTwo\n"));

        const QString dat = dir.filePath(QStringLiteral("extracted.dat"));
        QCOMPARE(cli({QStringLiteral("extract-trailer"), mapPath, QStringLiteral("-o"), dat}).status, 0);
        QCOMPARE(readAll(dat), build::trailer(20127));

        const QString shortMap = build::file(dir, QStringLiteral("short.bms"), build::map({}, {{2001, 1}}));
        const Run tooShort = cli({QStringLiteral("extract-trailer"), shortMap, QStringLiteral("-o"), dat});
        QCOMPARE(tooShort.status, 1);
        QVERIFY(tooShort.err.contains(shortMap));
        QCOMPARE(readAll(dat), build::trailer(20127)); // left as it was
    }

    void importCommand_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("sameAsResaveOf"); // or empty: the command fails
        QTest::addColumn<QString>("error");
        const QByteArray exported = cli({QStringLiteral("export"), mapPath}).out;
        const QByteArray tabs = cli({QStringLiteral("export"), mapPath, QStringLiteral("--separator"), QStringLiteral("9")}).out;
        build::Header h;
        h.mapKey = "MPNAME07";
        h.gameTypes = 200;
        h.nightGoggles = 16;
        h.terrainType = 3;
        const QString edited = build::file(dir, QStringLiteral("edited.bms"),
                                           build::map(h, {{5001, 3, 555, -200, 7, 20, -90, 5, 30}, {1001, 4}, {4100, 9}},
                                                      QByteArray(1, '\0') + build::trailer(20127)));
        QTest::newRow("an unchanged export imports to the resave's bytes")
            << exported << QStringList{} << mapPath << QString();
        QTest::newRow("--separator reads a table in another separator")
            << tabs << QStringList{"--separator", "9"} << mapPath << QString();
        QTest::newRow("an edited cell reaches the map")
            << QByteArray(exported).replace("3;5001;;100;", "3;5001;;555;") << QStringList{} << edited << QString();
        QTest::newRow("a cell the writer refuses leaves OUT untouched and names text, row and column")
            << QByteArray(exported).replace("4;1001;;0;", "4;1001;;12a;") << QStringList{} << QString()
            << "'12a' is not a valid integer value (row 2, column \"X-Axis\")";
    }
    void importCommand()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, options);
        QFETCH(QString, sameAsResaveOf);
        QFETCH(QString, error);
        const QString out = build::file(dir, QStringLiteral("imported.bms"), "the old map");
        const QString text = build::file(dir, QStringLiteral("table.txt"), table);
        const Run r = cli(QStringList{QStringLiteral("import"), mapPath, text, QStringLiteral("-o"), out,
                                      QStringLiteral("--trailer"), trailerPath} + options);
        QCOMPARE(r.status, error.isEmpty() ? 0 : 1);
        QVERIFY2(r.err.contains(error), qPrintable(r.err));
        // Every table here keeps 4100 in row 3, which the map cannot hold.
        QCOMPARE(r.err.contains("vellumar-cli: Row 3\n"), error.isEmpty());
        if (sameAsResaveOf.isEmpty()) {
            QCOMPARE(readAll(out), QByteArray("the old map"));
            return;
        }
        const QString resaved = dir.filePath(QStringLiteral("resaved.bms"));
        QCOMPARE(cli({QStringLiteral("resave"), sameAsResaveOf, QStringLiteral("-o"), resaved, QStringLiteral("--trailer"),
                      trailerPath}).status, 0);
        QCOMPARE(readAll(out), readAll(resaved));
    }

    void outputKeepsTheFilesBytes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected"); // a part of the output
        build::Header h;
        h.terrain = "d\xe9sert.trn";
        const QString map = build::file(dir, QStringLiteral("accent.bms"), build::map(h, {{5001, 1}}));
        QDir(dir.path()).mkdir(QStringLiteral("accent"));
        const QString items = build::file(dir, QStringLiteral("accent/item.ini"), "5001\r\nSold\xe9\r\n");
        const QString names = build::file(dir, QStringLiteral("accent.bin"), build::nameList({"Caf\xe9"}));
        QTest::newRow("names") << QStringList{"names", names} << QByteArray("MPNAME01\tCaf\xe9\n");
        QTest::newRow("info") << QStringList{"info", map} << QByteArray("TerrainFile: d\xe9sert.trn\n");
        QTest::newRow("info as JSON escapes the byte by its code")
            << QStringList{"info", map, "--json"} << QByteArray("\"TerrainFile\": \"d\\u00e9sert.trn\"");
        QTest::newRow("export") << QStringList{"export", map, "--items", items} << QByteArray(";Sold\xe9;");
    }
    void outputKeepsTheFilesBytes()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        const Run r = cli(args);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(expected), r.out.constData());
    }

    void picturesAndTerrain()
    {
        const QString pcx = QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrd.pcx");
        const QString bmp = dir.filePath(QStringLiteral("d.bmp"));
        QCOMPARE(cli({QStringLiteral("pcx2bmp"), pcx, QStringLiteral("-o"), bmp}).status, 0);
        const QByteArray stream = readAll(bmp);
        QCOMPARE(stream.left(2), QByteArray("BM"));
        QCOMPARE(build::getLE32(stream, 2), stream.size()); // bfSize
        QCOMPARE(int(build::getLE16(stream, 28)), 4);        // 16 colours: 4 bits a pixel

        for (const QString &in : {pcx, QStringLiteral(VELLUMAR_SAMPLES "/images/4076.jpg")}) {
            const QString png = dir.filePath(QStringLiteral("p.png"));
            QFile::remove(png);
            QCOMPARE(cli({QStringLiteral("picture"), in, QStringLiteral("-o"), png}).status, 0);
            QImage back(png);
            QVERIFY(!back.isNull());
        }
        const QString notPcx = build::file(dir, QStringLiteral("fake.pcx"), "not a picture at all");
        const Run bad = cli({QStringLiteral("pcx2bmp"), notPcx, QStringLiteral("-o"), bmp});
        QCOMPARE(bad.status, 1);
        QVERIFY(bad.err.contains(notPcx));

        const Run t = cli({QStringLiteral("terrain"), QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrtest.trn"),
                           QStringLiteral("--game-files"), QStringLiteral("/games")});
        QCOMPARE(t.status, 0);
        const QStringList lines = QString::fromUtf8(t.out).split(u'\n');
        QCOMPARE(lines[0], QStringLiteral("Value 1: vlmrc"));
        QCOMPARE(lines[18], QStringLiteral("ColourMapPath: /games/vlmrc.pcx"));
        QCOMPARE(lines[21], QStringLiteral("SkyMapPath: /games/vlmrs.pcx"));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("no command") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
        QTest::newRow("unknown option") << QStringList{"info", "x.bms", "--fast"} << 2;
        QTest::newRow("missing -o") << QStringList{"resave", "x.bms"} << 2;
        QTest::newRow("a separator that is no number") << QStringList{"export", "x.bms", "--separator", "semicolon"} << 2;
        QTest::newRow("a separator past 32 bits") << QStringList{"export", "x.bms", "--separator", "99999999999"} << 2;
        QTest::newRow("an import separator that is no number")
            << QStringList{"import", "x.bms", "t.txt", "-o", "y.bms", "--separator", "tab"} << 2;
        QTest::newRow("missing map") << QStringList{"info", "/nonexistent/x.bms"} << 1;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("version") << QStringList{"--version"} << 0;
    }
    void exitStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        const Run r = cli(args);
        QCOMPARE(r.status, status);
        if (status == 1)
            QVERIFY(r.err.contains(QStringLiteral("/nonexistent/x.bms")) && r.err.contains(QStringLiteral("File not found")));
        if (status == 2)
            QVERIFY(!r.err.isEmpty());
    }
};

VELLUMAR_TEST(TestCli)
#include "tst_cli.moc"
