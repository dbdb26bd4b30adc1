// The map-name list file and the rules of the map-name box.
#include "builders.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "document/mapnamebox.h"
#include "document/mapnamelist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QList<QByteArray> names(int n)
{
    QList<QByteArray> list;
    for (int i = 1; i <= n; ++i)
        list << "Map number " + QByteArray::number(i);
    return list;
}
}

class TestMapNameList : public QObject {
    Q_OBJECT
private slots:
    void keyBlockOfTwelveNames()
    {
        TMapNameList list;
        list.names = names(12);
        const QByteArray out = list.encode();
        QByteArray keys;
        for (const char *k : {"MPNAME01", "MPNAME02", "MPNAME03", "MPNAME04", "MPNAME05", "MPNAME06",
                              "MPNAME07", "MPNAME08", "MPNAME09", "MPNAME10", "MPNAME11", "MPNAME12"})
            keys += QByteArray(k) + '\0';
        QVERIFY(out.endsWith(keys));
        QCOMPARE(keys.size(), 12 * 9);
    }

    void unchangedListIsWrittenBackByteForByte()
    {
        const QByteArray original = build::nameList({"Green", "Dust Road", "\xe9t\xe9 \xa7"}, QByteArray("ABCD\x11\x22\x33\x44WXYZ\0\0\0\0", 16));
        const TMapNameList list = TMapNameList::decode(original, QStringLiteral("x"));
        QCOMPARE(list.names.size(), 3);
        QCOMPARE(list.names[2], QByteArray("\xe9t\xe9 \xa7")); // bytes kept as they are
        QCOMPARE(list.head.left(4), QByteArray("ABCD"));
        QCOMPARE(list.encode(), original);
    }

    void recomputedFieldsFollowTheNames()
    {
        // A list whose offset field, entry table and block byte 11 are wrong
        // comes back with them recomputed and everything else as read.
        QByteArray original = build::nameList({"One", "Two"});
        build::putLE32(original, 4, 12345);
        build::putLE32(original, 16 + 16, 999);
        const int blockAt = 16 + 32 + 8;
        original[blockAt + 11] = 'Q';
        const QByteArray out = TMapNameList::decode(original, QStringLiteral("x")).encode();
        QCOMPARE(build::getLE32(out, 4), blockAt + 3);
        QCOMPARE(build::getLE32(out, 32), 4);
        QCOMPARE(int(out[blockAt + 11]), 2);
        QCOMPARE(out.mid(blockAt, 11), original.mid(blockAt, 11));
        QCOMPARE(out.mid(blockAt + 12, 15), original.mid(blockAt + 12, 15));
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray hugeCount = build::nameList({"A"});
        build::putLE32(hugeCount, 12, 0x7FFFFFFF);
        QByteArray negative = build::nameList({"A"});
        build::putLE32(negative, 12, -3);
        QByteArray noTerminator = build::nameList({"A"}).left(16 + 16 + 1);
        QTest::newRow("shorter than its head") << QByteArray("abc");
        QTest::newRow("a count the file cannot hold") << hugeCount;
        QTest::newRow("a negative count") << negative;
        QTest::newRow("a name without its zero byte") << noTerminator;
        QTest::newRow("no room for the 27-byte block") << build::nameList({"A"}).left(16 + 16 + 2 + 20);
        QTest::newRow("1001 names are more than any list holds") << build::nameList(names(1001));
        QTest::newRow("a name of 1025 characters is no map name") << build::nameList({"A", QByteArray(1025, 'n')});
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(TError, TMapNameList::decode(bytes, QStringLiteral("kzmpname.bin")));
    }

    void listsAtTheReadingLimitsAreRead()
    {
        QCOMPARE(TMapNameList::decode(build::nameList(names(1000)), QString()).count(), 1000);
        QCOMPARE(TMapNameList::decode(build::nameList({QByteArray(1024, 'n')}), QString()).names[0].size(), 1024);
    }

    void limitsAreCheckedBeforeTheFileIsTouched_data()
    {
        QTest::addColumn<QList<QByteArray>>("list");
        QTest::addColumn<bool>("refused");
        QTest::newRow("100 names are fine") << names(100) << false;
        QTest::newRow("a 101st name is refused") << names(101) << true;
        QTest::newRow("a name of 40 characters is fine") << QList<QByteArray>{QByteArray(40, 'n')} << false;
        QTest::newRow("a name of 41 characters is refused") << QList<QByteArray>{"ok", QByteArray(41, 'n')} << true;
    }
    void limitsAreCheckedBeforeTheFileIsTouched()
    {
        QFETCH(QList<QByteArray>, list);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString path = build::file(dir, QStringLiteral("kzmpname.bin"), "old list");
        TMapNameList l;
        l.names = list;
        bool threw = false;
        try {
            l.write(path);
        } catch (const TError &e) {
            threw = true;
            QVERIFY(e.text().contains(path));
        }
        QCOMPARE(threw, refused);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll() == "old list", refused);
    }

    void missingFileIsReported()
    {
        QTemporaryDir dir;
        TMapNameList l;
        QVERIFY(!l.read(dir.filePath(QStringLiteral("kzmpname.bin"))));
    }
};

class TestMapNameBox : public QObject {
    Q_OBJECT
private slots:
    void mapKeySelectsItsEntry_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("attention");
        QTest::newRow("MPNAME03 selects the third") << QByteArray("MPNAME03") << 2 << false;
        QTest::newRow("MPNAME10 selects the tenth") << QByteArray("MPNAME10") << 9 << false;
        QTest::newRow("MPNAME00 selects nothing, no message") << QByteArray("MPNAME00") << -1 << false;
        QTest::newRow("beyond the list selects nothing") << QByteArray("MPNAME77") << -1 << false;
        QTest::newRow("not digits selects nothing") << QByteArray("MPNAMEx1") << -1 << false;
        QTest::newRow("eight spaces select the first, with the message") << QByteArray("        ") << 0 << true;
        QTest::newRow("all zero selects the first, with the message") << QByteArray(8, '\0') << 0 << true;
        QTest::newRow("a key cut by a zero byte") << QByteArray("MPNA\0E03", 8) << 0 << true;
    }
    void mapKeySelectsItsEntry()
    {
        QFETCH(QByteArray, key);
        QFETCH(int, selected);
        QFETCH(bool, attention);
        TMapNameBox box;
        QCOMPARE(box.fill(names(12), key), attention);
        QCOMPARE(box.selected, selected);
        QCOMPARE(box.RememberedNameIndex, selected);
    }

    void enterAddsANewNameOnce()
    {
        TMapNameBox box;
        box.fill(names(3), "MPNAME02");
        box.keyDown(true, QStringLiteral("Map number 1"));
        QCOMPARE(box.items.size(), 3);
        QCOMPARE(box.selected, 1); // unchanged
        box.keyDown(false, QStringLiteral("New"));
        box.keyDown(true, QStringLiteral("New map"));
        QCOMPARE(box.items.size(), 4);
        QCOMPARE(box.items.last(), QByteArray("New map"));
        QCOMPARE(box.selected, 3);
        QCOMPARE(box.RememberedNameIndex, 3);
        box.keyDown(true, QString());
        QCOMPARE(box.items.size(), 4);
    }

    // The fourth entry picked, a text typed key by key (and Enter pressed on
    // it), then the box left.
    void leavingWithoutEnterReturnsToTheRememberedEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QByteArray>("shown"); // the entry selected after leaving
        QTest::addColumn<int>("count");
        QTest::newRow("a half-typed name is dropped") << "Half typ" << false << QByteArray("Map number 4") << 5;
        QTest::newRow("another entry's name, typed but not confirmed, does not pick it")
            << "Map number 1" << false << QByteArray("Map number 4") << 5;
        QTest::newRow("Enter on another entry's name does not pick it either")
            << "Map number 1" << true << QByteArray("Map number 4") << 5;
        QTest::newRow("a new name confirmed with Enter is the one kept") << "New map" << true << QByteArray("New map") << 6;
    }
    void leavingWithoutEnterReturnsToTheRememberedEntry()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(QByteArray, shown);
        QFETCH(int, count);
        TMapNameBox box;
        box.fill(names(5), "MPNAME02");
        box.click(3);
        // Each key press sees the text as it stood before the key.
        for (qsizetype n = 0; n < typed.size(); ++n)
            box.keyDown(false, typed.left(n));
        if (enter)
            box.keyDown(true, typed);
        box.keyDown(false, typed); // the Tab that leaves the box
        box.exit();
        QCOMPARE(box.selectedText(), QString::fromLatin1(shown));
        QCOMPARE(box.RememberedNameIndex, box.selected);
        QCOMPARE(box.items.size(), count);
    }

    void deleting_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selectedBefore");
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<QByteArray>("nowAtSelection");
        QTest::newRow("the third of five: the fourth moves up") << 5 << 2 << 2 << QByteArray("Map number 4");
        QTest::newRow("the last selects the new last") << 5 << 4 << 3 << QByteArray("Map number 4");
        QTest::newRow("the only entry leaves no selection") << 1 << 0 << -1 << QByteArray();
        QTest::newRow("nothing selected deletes nothing") << 3 << -1 << -1 << QByteArray();
    }
    void deleting()
    {
        QFETCH(int, count);
        QFETCH(int, selectedBefore);
        QFETCH(int, selectedAfter);
        QFETCH(QByteArray, nowAtSelection);
        TMapNameBox box;
        box.fill(names(count), "MPNAME00");
        box.click(selectedBefore);
        box.deleteSelected();
        QCOMPARE(box.items.size(), selectedBefore < 0 ? count : count - 1);
        QCOMPARE(box.selected, selectedAfter);
        QCOMPARE(box.RememberedNameIndex, selectedAfter);
        if (selectedAfter >= 0)
            QCOMPARE(box.items[selectedAfter], nowAtSelection);
    }
};

VELLUMAR_TEST(TestMapNameList)
VELLUMAR_TEST(TestMapNameBox)
#include "tst_mapnamelist.moc"
