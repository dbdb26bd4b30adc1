// The item catalogue read from item.ini.
#include "builders.h"
#include "testregistry.h"

#include "catalogue/itemcatalogue.h"
#include "fileio/errors.h"

#include <QTemporaryDir>
#include <QTest>

class TestItemCatalogue : public QObject {
    Q_OBJECT
private slots:
    void linePairsBecomeRows_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<QString>("lastNumber");
        QTest::addColumn<QString>("lastName");
        QTest::newRow("heading and two items") << QByteArray("----\r\nDecorations\r\n1001\r\nN1\r\n1002\r\nN2\r\n") << 4 << "1002" << "N2";
        QTest::newRow("LF line ends read the same") << QByteArray("----\nDecorations\n1001\nN1\n1002\nN2\n") << 4 << "1002" << "N2";
        QTest::newRow("an odd line count leaves the last name empty") << QByteArray("1001\r\nN1\r\n1002\r\n") << 3 << "1002" << "";
        QTest::newRow("a blank line at the end adds an empty row") << QByteArray("1001\r\nN1\r\n\r\n") << 3 << "" << "";
        QTest::newRow("no final line end") << QByteArray("1001\r\nN1") << 2 << "1001" << "N1";
        QTest::newRow("names keep their bytes") << QByteArray("1001\r\nCaf\xe9 \xa7\r\n") << 2 << "1001" << QString::fromLatin1("Caf\xe9 \xa7");
        QTest::newRow("an empty file") << QByteArray() << 1 << "Number" << "Object";
    }
    void linePairsBecomeRows()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, gridRows);
        QFETCH(QString, lastNumber);
        QFETCH(QString, lastName);
        QTemporaryDir dir;
        build::file(dir, QStringLiteral("item.ini"), file);
        TItemCatalogue cat;
        QVERIFY(cat.LoadItemCatalogue(dir.path() + u'/').found);
        QCOMPARE(cat.RowCount(), gridRows);
        QCOMPARE(cat.cell(0, gridRows - 1), lastNumber);
        QCOMPARE(cat.cell(1, gridRows - 1), lastName);
        QCOMPARE(cat.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
        QCOMPARE(cat.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Object"));
    }

    void refusesWhatNoItemListCouldBe_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error"); // empty: read
        QByteArray rows;
        for (int i = 0; i < TItemCatalogue::MaxRows; ++i)
            rows += "1001\r\nN\r\n";
        QTest::newRow("10000 rows are read") << rows << "";
        QTest::newRow("a 10001st row is refused") << rows + "1002\r\n" << "more than 10000 items";
        QTest::newRow("megabytes of line ends are refused") << QByteArray(8 << 20, '\n') << "more than 10000 items";
        QTest::newRow("a name of 1024 characters is read") << "1001\r\n" + QByteArray(1024, 'n') << "";
        QTest::newRow("a line of 1025 characters is refused")
            << "1001\r\n" + QByteArray(1025, 'n') + "\r\n" << "Line 2 is longer than 1024 characters";
    }
    void refusesWhatNoItemListCouldBe()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = build::file(dir, QStringLiteral("items.txt"), file);
        TItemCatalogue cat;
        try {
            cat.LoadItemCatalogueFile(path);
            QVERIFY2(error.isEmpty(), "read");
            QCOMPARE(cat.cell(0, 1), QStringLiteral("1001"));
        } catch (const TError &e) {
            QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.text()));
            QCOMPARE(e.where(), path);
            QCOMPARE(cat.RowCount(), TItemCatalogue::DesignRows); // as it was
        }
    }

    void lookupTakesTheLastMatch()
    {
        QTemporaryDir dir;
        build::file(dir, QStringLiteral("item.ini"), "1001\r\nFirst\r\n1002\r\nN2\r\n1001\r\nSecond\r\n");
        TItemCatalogue cat;
        cat.LoadItemCatalogue(dir.path() + u'/');
        QString name = QStringLiteral("before");
        QVERIFY(cat.LookupItemName(QStringLiteral("1001"), name));
        QCOMPARE(name, QStringLiteral("Second"));
        name = QStringLiteral("kept");
        QVERIFY(!cat.LookupItemName(QStringLiteral("1003"), name));
        QVERIFY(!cat.LookupItemName(QStringLiteral("01001"), name)); // text, not value
        QCOMPARE(name, QStringLiteral("kept"));
    }

    void missingFileReportsTheInfoTexts()
    {
        QTemporaryDir dir;
        TItemCatalogue cat;
        const TCatalogueLoadResult r = cat.LoadItemCatalogue(dir.path() + u'/');
        QVERIFY(!r.found);
        QCOMPARE(r.line1, QStringLiteral("Item-List \"ITEM.INI\" NOT Found"));
        QCOMPARE(r.line2, QStringLiteral("The Program will started, but no Item-List for you!"));
        QCOMPARE(cat.RowCount(), 50); // the empty design rows, no titles
        QVERIFY(!cat.headerData(0, Qt::Horizontal).isValid());
        QString name = QStringLiteral("kept");
        QVERIFY(!cat.LookupItemName(QString(), name));
    }
};

VELLUMAR_TEST(TestItemCatalogue)
#include "tst_itemcatalogue.moc"
