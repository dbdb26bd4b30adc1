// Makes the seed corpus of every fuzz harness: the bundled samples and the
// tests' data files of each kind, and files at the readers' limits (the
// largest pictures a header allows, text files of the most and the longest
// lines, maps and name lists at their counts), which random mutation of small
// seeds never reaches.
//
//   fuzz_seeds SOURCE_DIR OUT_DIR    writes OUT_DIR/<reader>/...

#include "builders.h"

#include "catalogue/itemcatalogue.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "document/mapdocument.h"
#include "handoff/tableexport.h"
#include "document/mapnamelist.h"
#include "recovery/recoverystate.h"
#include "settings/settings.h"
#include "terrain/terrainfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

QString outDir;
QString sourceDir;
bool failed = false;

void put(const QString &reader, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(outDir + u'/' + reader);
    QFile f(outDir + u'/' + reader + u'/' + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        failed = true;
}

// Copies the files of the source tree's folder that match the patterns.
void copy(const QString &reader, const QString &folder, const QStringList &patterns)
{
    const QDir dir(sourceDir + u'/' + folder);
    for (const QFileInfo &info : dir.entryInfoList(patterns, QDir::Files)) {
        QFile f(info.filePath());
        if (!f.open(QIODevice::ReadOnly)) {
            failed = true;
            continue;
        }
        put(reader, QStringLiteral("sample-") + info.fileName(), f.readAll());
    }
}

void mapSeeds()
{
    copy(QStringLiteral("map"), QStringLiteral("samples/kzbase"), {QStringLiteral("*.bms")});
    put(QStringLiteral("map"), QStringLiteral("two-objects.bms"), build::map({}, {{2001, 1}, {6002, 2}}));
    put(QStringLiteral("map"), QStringLiteral("2000-objects.bms"), build::mapOfObjects(2000, 2000));
    put(QStringLiteral("map"), QStringLiteral("2001-counted.bms"), build::mapOfObjects(2001, 2001));
}

void nameListSeeds()
{
    copy(QStringLiteral("namelist"), QStringLiteral("samples/kzbase"), {QStringLiteral("*.bin")});
    QList<QByteArray> longest;
    for (int i = 0; i < TMapNameList::MaxReadNames; ++i)
        longest.append(QByteArray(TMapNameList::MaxReadNameLength, char('A' + i % 26)));
    put(QStringLiteral("namelist"), QStringLiteral("most-and-longest-names.bin"), build::nameList(longest));
    put(QStringLiteral("namelist"), QStringLiteral("three-names.bin"), build::nameList({"One", "Two", "Three"}));
}

// Whole recovery copies, and their content alone (the harness gives it its
// fingerprint): an empty map and one of 2000 rows, every other one added.
void recoverySeeds()
{
    TRecoveryState s;
    s.bmsPath = QStringLiteral("/maps/test.bms");
    s.headerBytes = QByteArray(252, '\0');
    s.objectX.assign(2001, 0);
    s.objectY.assign(2001, 0);
    s.rows << TObjectTable::Row{};
    s.added << false;
    s.header.mapNames = {"One", "Two"};
    s.mapData = QStringList{QStringLiteral("a line")};
    const auto both = [](const QString &name, const QByteArray &copy) {
        put(QStringLiteral("recovery"), name + QStringLiteral(".state"), copy);
        put(QStringLiteral("recovery"), name + QStringLiteral("-content"), copy.mid(copy.indexOf('\n', 25) + 1));
    };
    both(QStringLiteral("empty"), s.toBytes());
    s.rows.clear();
    s.added.clear();
    s.objectCount = 2000;
    for (int row = 1; row <= 2000; ++row) {
        TObjectTable::Row r;
        for (int col = 0; col < TObjectTable::ColumnCount; ++col)
            r[col] = QString::number(row * 100 + col);
        r[TObjectTable::ColX] = QStringLiteral("12a");
        s.rows << r;
        s.added << (row % 2 == 0);
    }
    both(QStringLiteral("2000-rows"), s.toBytes());

    // Copies of the sample map, which the harness keeps beside it as
    // "vlmrtest.bms": restored onto the map as loaded, and, named as a map
    // that is gone, onto the copy's own header. Edited as a mapper edits:
    // cells, one object added, a name typed and selected, a terrain type.
    TMapDocument doc;
    const TItemCatalogue none;
    TMapNameList names;
    const QString base = sourceDir + QStringLiteral("/samples/kzbase/");
    try {
        LoadMapFile(base + QStringLiteral("vlmrtest.bms"), doc, none);
    } catch (const TError &) {
        failed = true;
        return;
    }
    if (!names.read(base + QStringLiteral("kzmpname.bin"))) {
        failed = true;
        return;
    }
    TRecoveryState m = TRecoveryState::fromDocument(doc);
    m.bmsPath = QStringLiteral("vlmrtest.bms");
    m.header.mapNames = names.names;
    m.header.mapNames << "Typed name";
    m.header.mapNameIndex = int(m.header.mapNames.size()) - 1;
    m.header.terrainTypeIndex = 2;
    m.header.gameTypes[1] = true;
    m.rows[0][TObjectTable::ColZ] = QStringLiteral("77");
    m.rows[1][TObjectTable::ColX] = QStringLiteral("12a");
    TObjectTable::Row added = m.rows.last();
    added[TObjectTable::ColNr] = QString::number(m.rows.size() + 1);
    m.rows << added;
    m.added << true;
    m.objectCount = int(m.rows.size());
    m.currentRow = m.objectCount;
    both(QStringLiteral("sample-map"), m.toBytes());
    m.bmsPath = QStringLiteral("gone.bms");
    both(QStringLiteral("sample-map-gone"), m.toBytes());
    // A map-name index no list has, its fingerprint made anew: refused.
    m.bmsPath = QStringLiteral("vlmrtest.bms");
    m.header.mapNameIndex = 5000;
    both(QStringLiteral("sample-map-name-5000"), m.toBytes());
}

void catalogueSeeds()
{
    copy(QStringLiteral("catalogue"), QStringLiteral("samples"), {QStringLiteral("item.ini")});
    put(QStringLiteral("catalogue"), QStringLiteral("most-rows.ini"),
        build::repeated("1001\r\nPalm\r\n", TItemCatalogue::MaxRows));
    put(QStringLiteral("catalogue"), QStringLiteral("longest-line.ini"),
        "----\r\nDecorations\r\n1001\r\n" + QByteArray(TItemCatalogue::MaxLineLength, 'n') + "\n");
    put(QStringLiteral("catalogue"), QStringLiteral("line-ends.ini"), QByteArray(1 << 20, '\n'));
}

void settingsSeeds()
{
    put(QStringLiteral("settings"), QStringLiteral("typical.ini"),
        "C:\\KZ\\Files\\\r\nC:\\KZ\\Base\\\r\nC:\\Games\\Kozarak\\\r\nC:\\Work\\\r\nC:\\Bilder\\caf\xe9\\\r\n59\r\n10\r\n");
    put(QStringLiteral("settings"), QStringLiteral("short.ini"), "C:\\kz\\\nC:\\base\\\n");
    put(QStringLiteral("settings"), QStringLiteral("longest-lines.ini"),
        build::repeated(QByteArray(TSettingsStore::MaxLineLength, 'p') + "\r\n", 7));
    put(QStringLiteral("settings"), QStringLiteral("line-ends.ini"), QByteArray(1 << 20, '\n'));
}

void terrainSeeds()
{
    copy(QStringLiteral("terrain"), QStringLiteral("samples/kz"), {QStringLiteral("*.trn")});
    put(QStringLiteral("terrain"), QStringLiteral("most-and-longest-lines.trn"),
        build::repeated(QByteArray(TTerrain::MaxLineLength, 'v') + "\r\n", TTerrain::MaxLines));
    put(QStringLiteral("terrain"), QStringLiteral("line-ends.trn"), QByteArray(1 << 20, '\n'));
}

void pcxSeeds()
{
    copy(QStringLiteral("pcx"), QStringLiteral("samples/kz"), {QStringLiteral("*.pcx")});
    copy(QStringLiteral("pcx"), QStringLiteral("tests/terrain/data"), {QStringLiteral("*.pcx")});
    put(QStringLiteral("pcx"), QStringLiteral("largest-256.pcx"), build::flatPcx(8192, 8192));
    put(QStringLiteral("pcx"), QStringLiteral("largest-16.pcx"), build::flatPcx(8192, 8192, true, 5));
    put(QStringLiteral("pcx"), QStringLiteral("small-256.pcx"), build::flatPcx(5, 3, false, 7));
    put(QStringLiteral("pcx"), QStringLiteral("small-16.pcx"), build::flatPcx(9, 2, true, 9));
}

void jpegSeeds()
{
    copy(QStringLiteral("jpeg"), QStringLiteral("samples/images"), {QStringLiteral("*.jpg")});
    copy(QStringLiteral("jpeg"), QStringLiteral("tests/catalogue/data"), {QStringLiteral("*.jpg")});
    put(QStringLiteral("jpeg"), QStringLiteral("largest-baseline.jpg"), build::flatGreyJpeg(16384, 16384));
    put(QStringLiteral("jpeg"), QStringLiteral("largest-progressive.jpg"), build::flatGreyJpeg(8192, 4096, 16));
    put(QStringLiteral("jpeg"), QStringLiteral("huge-progressive-300-scans.jpg"),
        build::flatGreyJpeg(16384, 16384, 300));
    put(QStringLiteral("jpeg"), QStringLiteral("500-scans.jpg"), build::flatGreyJpeg(4096, 4096, 500));
    put(QStringLiteral("jpeg"), QStringLiteral("small-progressive.jpg"), build::flatGreyJpeg(40, 24, 12));
}

// The table import's input: the separator, the table's rows div 8, the text.
QByteArray importInput(char separator, int rows, const QByteArray &text)
{
    return QByteArray(1, separator) + char(rows / 8) + text;
}

void tableImportSeeds()
{
    TMapDocument doc;
    TItemCatalogue catalogue;
    catalogue.LoadItemCatalogue(sourceDir + QStringLiteral("/samples/"));
    try {
        LoadMapFile(sourceDir + QStringLiteral("/samples/kzbase/vlmrtest.bms"), doc, catalogue);
    } catch (const TError &) {
        failed = true;
        return;
    }
    const QByteArray exported = ExportTableText(doc.Table, ';');
    const QString reader = QStringLiteral("tableimport");
    put(reader, QStringLiteral("sample-export.txt"), importInput(';', doc.ObjectCount, exported));
    put(reader, QStringLiteral("split-records.txt"), importInput(';', 16, QByteArray(exported).replace(';', ";\r\n")));
    put(reader, QStringLiteral("tab-separated.txt"), importInput('\t', 16, QByteArray(exported).replace(';', '\t')));
    put(reader, QStringLiteral("2000-rows.txt"),
        importInput(';', 2000, build::repeated("7;4076;Barrel;33554432;-33554432;0;0;0;0;0;\r\n", 2001)));
    put(reader, QStringLiteral("long-field.txt"), importInput(';', 8, QByteArray(4096, 'x') + ';'));
    // Line ends are skipped and count toward no field, however many there are.
    put(reader, QStringLiteral("blank-lines.txt"),
        importInput(';', 8, build::repeated("7;4076;Barrel;0;0;0;0;0;0;0;" + build::repeated("\r\n", 600), 9)));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds SOURCE_DIR OUT_DIR\n");
        return 2;
    }
    sourceDir = QString::fromLocal8Bit(argv[1]);
    outDir = QString::fromLocal8Bit(argv[2]);
    mapSeeds();
    nameListSeeds();
    recoverySeeds();
    catalogueSeeds();
    settingsSeeds();
    terrainSeeds();
    pcxSeeds();
    jpegSeeds();
    tableImportSeeds();
    return failed ? 1 : 0;
}
