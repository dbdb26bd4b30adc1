// The header and record codecs, and the document's own rules.
#include "builders.h"
#include "testregistry.h"

#include "document/category.h"
#include "fileio/errors.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "document/objectrecord.h"

#include <QTest>

class TestMapHeader : public QObject {
    Q_OBJECT
private slots:
    void decodesEveryFieldAtItsOffset()
    {
        build::Header h;
        h.mapKey = "MPNAME42";
        h.terrain = "twelve_chars";
        h.terrainType = 2;
        h.nightGoggles = 17;
        h.gameTypes = 0xC3;
        h.vehObj = 1;
        h.decoBuild = -2;
        h.markEff = 300000;
        h.people = 4;
        h.s6003 = 5;
        h.s6004 = 6;
        h.s6002 = 7;
        const MapHeader m = MapHeader::decode(build::header(h));
        QCOMPARE(m.Magic(), QByteArray("BMS\r"));
        QCOMPARE(m.MapKey(), QByteArray("MPNAME42"));
        QCOMPARE(m.terrainFileName(), QStringLiteral("twelve_chars")); // no terminator at 12
        QCOMPARE(int(m.TerrainType()), 2);
        QCOMPARE(int(m.NightGoggles()), 17);
        QCOMPARE(int(m.GameTypes()), 0xC3);
        QCOMPARE(m.CountVehiclesObjects(), 1);
        QCOMPARE(m.CountDecorationsBuildings(), -2);
        QCOMPARE(m.CountMarkersEffects(), 300000);
        QCOMPARE(m.CountPeople(), 4);
        QCOMPARE(m.CountStart6003(), 5);
        QCOMPARE(m.CountStart6004(), 6);
        QCOMPARE(m.CountStart6002(), 7);
        QCOMPARE(m.encode(), build::header(h));
    }

    void initialisationKeepsOnlyKeyTextAndTerrain()
    {
        build::Header h;
        h.filler = char(0xAA);
        h.gameTypes = 5;
        h.nightGoggles = 17;
        h.vehObj = 3;
        MapHeader m = MapHeader::decode(build::header(h));
        m.initialise();
        build::Header expected;
        expected.magic = "    ";
        expected.terrainType = 0;
        QCOMPARE(m.encode(), build::header(expected));
    }

    void resetClearsTheMapsOwnFields()
    {
        build::Header h;
        h.filler = char(0xAA);
        h.gameTypes = 5;
        h.nightGoggles = 17;
        h.terrainType = 2;
        h.vehObj = 3;
        h.s6002 = 1;
        TMapDocument doc;
        doc.Header = MapHeader::decode(build::header(h));
        doc.ObjectCount = 1;
        doc.Table.setRowCount(2);
        doc.Table.setCell(2, 1, QStringLiteral("2001"));
        doc.reset();
        const MapHeader &m = doc.Header;
        QCOMPARE(m.MapKey(), QByteArray(8, '\0'));
        QCOMPARE(m.OpaqueText(), QByteArray(40, '\0'));
        QCOMPARE(m.TerrainFile(), QByteArray(12, '\0'));
        QCOMPARE(int(m.GameTypes()), 0);
        QCOMPARE(m.objectCountSum(), 0);
        QCOMPARE(m.CountStart6002(), 0);
        // Reset leaves Magic, TerrainType, NightGoggles and the reserved bytes.
        QCOMPARE(m.Magic(), QByteArray("BMS\r"));
        QCOMPARE(int(m.TerrainType()), 2);
        QCOMPARE(int(m.NightGoggles()), 17);
        QCOMPARE(int(m.bytes[20]), 0xAA);
        QCOMPARE(doc.ObjectCount, 0);
        QCOMPARE(doc.Table.RowCount(), 2);
        QCOMPARE(doc.Table.cell(2, 1), QString());
    }

    void recordRoundTripDropsReservedBytes()
    {
        const build::Object o{-4076, 77, INT32_MIN, INT32_MAX, -5, 12, -32768, 32767, 255};
        const QByteArray dirty = build::record(o, char(0x5A));
        const ObjectRecord r = ObjectRecord::decode(reinterpret_cast<const std::uint8_t *>(dirty.constData()));
        QCOMPARE(r.ItemNumber, -4076);
        QCOMPARE(r.PosX, INT32_MIN);
        QCOMPARE(r.HorzAngle, std::int16_t(-32768));
        QCOMPARE(int(r.Weapon), 255);
        QCOMPARE(r.encode(), build::record(o));
    }

    void categories_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("category");
        QTest::addColumn<bool>("known");
        QTest::newRow("1000 is a decoration") << 1000 << 10 << true;
        QTest::newRow("7099 is an effect") << 7099 << 70 << true;
        QTest::newRow("999 has no category") << 999 << 9 << false;
        QTest::newRow("1100 has no category") << 1100 << 11 << false;
        QTest::newRow("-1000 is category -10") << -1000 << -10 << false;
        QTest::newRow("-1099 truncates toward zero") << -1099 << -10 << false;
    }
    void categories()
    {
        QFETCH(int, item);
        QFETCH(int, category);
        QFETCH(bool, known);
        QCOMPARE(categoryOf(item), category);
        QCOMPARE(findCategory(category) != nullptr, known);
        if (!known)
            QCOMPARE(markerFillFor(category), NoCategoryColour);
    }

    void markerColoursAreDistinct()
    {
        QCOMPARE(markerOutlineFor(70), QRgb(0xFFFFFFFF));
        QCOMPARE(markerFillFor(70), QRgb(0xFF000000));
        QCOMPARE(categoryByFill(NoCategoryColour), nullptr);
        for (const TCategory &c : Categories)
            QCOMPARE(categoryByFill(c.fill)->code, c.code);
    }

    void strictIntegers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "123" << true << 123;
        QTest::newRow("signed") << "-2147483648" << true << INT32_MIN;
        QTest::newRow("plus sign") << "+7" << true << 7;
        QTest::newRow("largest") << "2147483647" << true << INT32_MAX;
        QTest::newRow("one past the largest") << "2147483648" << false << 0;
        QTest::newRow("one below the smallest") << "-2147483649" << false << 0;
        QTest::newRow("a sign alone") << "-" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("a space") << " 1" << false << 0;
        QTest::newRow("hexadecimal") << "$1F" << false << 0;
        QTest::newRow("trailing letters") << "12a" << false << 0;
        QTest::newRow("very long") << "00000000000000000000000000000001" << true << 1;
    }
    void strictIntegers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = parseInt32(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
        else
            QVERIFY_THROWS_EXCEPTION(TError, StrToInt(text));
    }

    void checkedArithmeticRaisesOverflow()
    {
        QCOMPARE(checkedMul(50, 512), 25600);
        QVERIFY_THROWS_EXCEPTION(TError, checkedMul(65536, 65536));
        QVERIFY_THROWS_EXCEPTION(TError, checkedAdd(INT32_MAX, 1));
        QVERIFY_THROWS_EXCEPTION(TError, checkedSub(INT32_MIN, 1));
    }
};

VELLUMAR_TEST(TestMapHeader)
#include "tst_mapheader.moc"
