// The header values and the terrain belong to the document: each setter is
// one undo step, undo and redo put the values back, a save writes them, a
// recovery copy brings them back, all without a window.
#include "testregistry.h"

#include "document/mapdocument.h"
#include "journal/journalstep.h"
#include "recovery/recoverystate.h"
#include "recovery/restore.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A map of one object with three names, the first selected.
void loadSmallMap(TMapDocument &doc)
{
    const TJournal::TSuspension unrecorded(doc.Journal);
    doc.BmsPath = QStringLiteral("/maps/small.bms");
    doc.ObjectCount = 1;
    doc.Table.setRowCount(2);
    doc.Table.setRowCells(1, {"1", "7", "2001", "Jeep", "0", "0", "0", "0", "0", "0", "0"});
    doc.changeMapNames([](TMapNameBox &names) { names.fill({"One", "Two", "Three"}, "MPNAME01"); });
    doc.editTerrain({}, [](TTerrain &terrain) { terrain.MapData = QStringList{"A", "B", "C"}; });
    doc.Journal.clear();
    doc.takeAsSaved();
}

QByteArray mapFile(TMapDocument &doc)
{
    return BuildMapFile(doc, doc.mapControls(), int(doc.mapNames().items.size()), QByteArray(TrailerSize, 'T'));
}

} // namespace

class TestDocumentHeader : public QObject {
    Q_OBJECT
private slots:
    void everyHeaderValueIsOneStepSavedAndRestored_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("inMapFile"); // the map file a save writes changes
        QTest::newRow("terrain type") << "terrain" << true;
        QTest::newRow("a game type of the main window") << "game" << true;
        QTest::newRow("a game type of the Save Map dialog: its own, not written") << "save game" << false;
        QTest::newRow("night goggles") << "goggles" << true;
        QTest::newRow("a map name added and selected") << "name" << true;
        QTest::newRow("the Map Data text, written to the TRN file only") << "map data" << false;
    }
    void everyHeaderValueIsOneStepSavedAndRestored()
    {
        QFETCH(QString, change);
        QFETCH(bool, inMapFile);
        TMapDocument doc;
        loadSmallMap(doc);
        const THeaderState loaded = doc.headerState();
        const TTerrainState loadedTerrain = doc.terrainState();
        const QByteArray loadedFile = mapFile(doc);
        QSignalSpy header(&doc, &TMapDocument::headerChanged);
        QSignalSpy terrain(&doc, &TMapDocument::terrainChanged);

        if (change == "terrain")
            doc.setTerrainTypeIndex(2);
        else if (change == "game")
            doc.setGameType(false, 1, true);
        else if (change == "save game")
            doc.setGameType(true, 4, true);
        else if (change == "goggles")
            doc.setNightGoggles(true);
        else if (change == "name")
            doc.changeMapNames([](TMapNameBox &names) { names.keyDown(true, QStringLiteral("Fourth")); });
        else
            doc.setMapData({"A", "B", "C", "D"});
        QCOMPARE(doc.Journal.count(), 1);
        QCOMPARE(header.size() + terrain.size(), 1);
        QVERIFY(!doc.Journal.isClean());
        const THeaderState changed = doc.headerState();
        const TTerrainState changedTerrain = doc.terrainState();
        const QByteArray changedFile = mapFile(doc);
        QCOMPARE(changedFile != loadedFile, inMapFile);
        QCOMPARE(doc.terrainUnsaved(), change == "map data");

        doc.Journal.undo();
        QCOMPARE(doc.headerState(), loaded);
        QCOMPARE(doc.terrainState(), loadedTerrain);
        QCOMPARE(mapFile(doc), loadedFile);
        QVERIFY(doc.Journal.isClean());
        QCOMPARE(header.size() + terrain.size(), 2);
        doc.Journal.redo();
        QCOMPARE(doc.headerState(), changed);
        QCOMPARE(doc.terrainState(), changedTerrain);
        QCOMPARE(mapFile(doc), changedFile);

        // A recovery copy of the changed map puts it back on the loaded one.
        const TRecoveryState copy =
            TRecoveryState::fromBytes(TRecoveryState::fromDocument(doc).toBytes(), QStringLiteral("copy.state"));
        TMapDocument restored;
        loadSmallMap(restored);
        {
            TJournalStep step(restored, QStringLiteral("Restore unsaved changes"));
            PutRecoveredState(restored, copy);
        }
        QCOMPARE(restored.headerState(), changed);
        QCOMPARE(restored.terrain().MapData, doc.terrain().MapData);
        QCOMPARE(mapFile(restored), changedFile);
        QCOMPARE(restored.Journal.count(), 1);
        restored.Journal.undo();
        QCOMPARE(restored.headerState(), loaded);
    }
};

VELLUMAR_TEST(TestDocumentHeader)
#include "tst_documentheader.moc"
