// Export and Import of the object table: what an import does to the cells,
// the position cache and the markers, and the failures that lose nothing.
#include "../terrain/tst_mapviewfixture.h"
#include "builders.h"
#include "testregistry.h"

#include "handoff/tableexchange.h"
#include "handoff/tableimport.h"
#include "settings/infowindow.h"
#include "document/numbers.h"
#include "settings/settings.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// Three objects on the map, each row with all ten cells set.
struct TExchangeFixture : TMapViewFixture {
    QTemporaryDir dir;
    QString work = dir.path() + u'/';
    TForm6 info{&host};
    TTableExchange exchange{document, panel, dialogs, info, &host};

    TExchangeFixture()
    {
        load();
        for (int r = 1; r <= 3; ++r) {
            addObject(2001, r * 1310720, -r * 1310720, QStringLiteral("5"), QStringLiteral("Jeep"));
            for (int c : {1, 6, 7, 8, 10})
                document.Table.setCell(c, r, QString::number(c * 10 + r));
        }
    }
    // Columns 1 to 10 of a row, each followed by ';'.
    QString rowText(int row) const
    {
        QString text;
        for (int c = 1; c <= 10; ++c)
            text += document.Table.cell(c, row) + u';';
        return text;
    }
    QStringList rows() const { return {rowText(1), rowText(2), rowText(3)}; }
    QByteArray fileBytes(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
};

// The file's records: row k of an import of the exported form.
QByteArray record(int k, const QByteArray &x = QByteArray())
{
    return QByteArray::number(100 + k) + ";5001;Soldier " + QByteArray::number(k) + ';'
        + (x.isNull() ? QByteArray::number(k * 262144) : x) + ';' + QByteArray::number(-k * 393216)
        + ";7;8;9;10;11;";
}

} // namespace

class TestTableExchange : public QObject {
    Q_OBJECT
private slots:
    void importRule_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("code");      // the Setup field "~as ASCII"
        QTest::addColumn<QList<int>>("fromFile"); // rows that take file records 1, 2, ...
        QTest::addColumn<QString>("error");

        const QByteArray r1 = record(1), r2 = record(2), r3 = record(3);
        QTest::newRow("the exported form fills every row")
            << r1 + "\r\n" + r2 + "\r\n" + r3 + "\r\n" << "59" << QList<int>{1, 2, 3} << QString();
        QByteArray split = r1 + r2 + r3;
        split.replace(";", ";\r\n");
        QTest::newRow("records split over lines import the same")
            << split << "59" << QList<int>{1, 2, 3} << QString();
        QTest::newRow("several records on one line import the same")
            << r1 + r2 + "\n" + r3 << "59" << QList<int>{1, 2, 3} << QString();
        QByteArray tabs = r1 + "\r\n" + r2 + "\r\n" + r3;
        tabs.replace(';', '\t');
        QTest::newRow("the separator comes from the Setup field") << tabs << "9" << QList<int>{1, 2, 3} << QString();
        QTest::newRow("a separator the file does not hold changes no cell")
            << r1 + r2 + r3 << "44" << QList<int>{} << QString();
        QTest::newRow("records beyond the last row change nothing")
            << r1 + r2 + r3 + record(4) + record(5) << "59" << QList<int>{1, 2, 3} << QString();
        QTest::newRow("fewer records leave the later rows as they were")
            << r1 + "\r\n" << "59" << QList<int>{1} << QString();
        QTest::newRow("blank lines after the records are no part of a field")
            << r1 + r2 + build::repeated("\r\n", 600) + r3 << "59" << QList<int>{1, 2, 3} << QString();
        QTest::newRow("a cell of 1024 bytes between line ends is taken")
            << r1 + "102;5001;\r\n" + QByteArray(MaxImportFieldBytes, 'n') + "\r\n;524288;-786432;7;8;9;10;11;" + r3
            << "59" << QList<int>{1, 2, 3} << QString();
        QTest::newRow("a bad position keeps the cells, names its cell and moves the other rows")
            << r1 + record(2, "12a") + r3 << "59" << QList<int>{1, 2, 3}
            << "'12a' is not a valid integer value (row 2, column \"X-Axis\")";
    }
    void importRule()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, code);
        QFETCH(QList<int>, fromFile);
        QFETCH(QString, error);
        TExchangeFixture f;
        QStringList expected = f.rows();
        const std::array<std::int32_t, 3> oldX{f.document.ObjectX[0], f.document.ObjectX[1], f.document.ObjectX[2]};
        QByteArray fileForCells = file;
        if (code == QLatin1String("9"))
            fileForCells.replace('\t', ';');
        fileForCells.replace("\r", "").replace("\n", "");
        for (int i = 0; i < fromFile.size(); ++i)
            expected[fromFile[i] - 1] = QString::fromLatin1(fileForCells.split(';').mid(i * 10, 10).join(';') + ';');
        f.dialogs.answerOpen(build::file(f.dir, QStringLiteral("table.txt"), file));

        QCOMPARE(f.exchange.ImportTable(f.work, code), error.isEmpty());

        QCOMPARE(f.rows(), expected);
        QCOMPARE(f.dialogs.errors, error.isEmpty() ? QStringList() : QStringList{error});
        for (int r = 1; r <= 3; ++r) {
            const auto x = parseInt32(f.document.Table.cell(TObjectTable::ColX, r));
            QCOMPARE(f.document.ObjectX[r - 1], x ? *x : oldX[r - 1]);
            QCOMPARE(f.document.ObjectY[r - 1], *parseInt32(f.document.Table.cell(TObjectTable::ColY, r)));
            QCOMPARE(f.panel.Markers[r]->topLeft(), f.panel.Markers.markerPlaceForRow(r));
            QCOMPARE(f.panel.Markers[r]->toolTip(), f.document.Table.cell(TObjectTable::ColName, r));
        }
    }

    void failuresLoseNothing_data()
    {
        QTest::addColumn<QString>("command");   // export or import
        QTest::addColumn<QString>("workDir");   // below the temporary directory
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("file");   // the import's file
        QTest::addColumn<QString>("error");     // a part of the message
        QTest::newRow("export with a code that is no number names the setting")
            << "export" << "" << "5x" << QByteArray() << "'5x' is not a valid integer value (the separator code in Setup)";
        QTest::newRow("export into a missing work directory names the file")
            << "export" << "gone/" << "59" << QByteArray() << "gone/export.txt";
        QTest::newRow("import with a code that is no number reads nothing")
            << "import" << "" << "x" << record(1) << "'x' is not a valid integer value (the separator code in Setup)";
        QTest::newRow("import of a file with no separator in reach names the file and changes no cell")
            << "import" << "" << "59" << QByteArray(5000, '\0') << "table.txt";
        QTest::newRow("import of a cell of 1025 bytes between line ends is refused")
            << "import" << "" << "59" << record(1) + "\r\n" + QByteArray(MaxImportFieldBytes + 1, 'n') + "\r\n;"
            << "More than 1024 bytes without the separator \";\" (code 59) at row 2, column \"ID\"";
    }
    void failuresLoseNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, workDir);
        QFETCH(QString, code);
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        TExchangeFixture f;
        build::file(f.dir, QStringLiteral("export.txt"), "the old export\r\n");
        const QStringList before = f.rows();
        TSettings settings;
        settings.WorkDir = f.work + workDir;
        settings.SeparatorCode = code;
        if (command == QLatin1String("export")) {
            QVERIFY(!f.exchange.ExportTable(settings));
        } else {
            f.dialogs.answerOpen(build::file(f.dir, QStringLiteral("table.txt"), file));
            QVERIFY(!f.exchange.ImportTable(settings.WorkDir, code));
        }
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].contains(error), qPrintable(f.dialogs.errors[0]));
        QCOMPARE(f.rows(), before);
        QCOMPARE(f.fileBytes(QStringLiteral("export.txt")), QByteArray("the old export\r\n"));
        QVERIFY(!QDir(f.work + "gone").exists());
        QVERIFY(!f.info.isVisible());
    }

    void readerStopsWhereTheRowsAreFull()
    {
        // Two rows take twenty fields; what follows is never looked at, not
        // even a stretch that would be refused.
        const QByteArray text = record(1) + record(2) + QByteArray(MaxImportFieldBytes * 4, 'x');
        QCOMPARE(ImportFields(text, ';', 2).size(), 20);
        QVERIFY_THROWS_EXCEPTION(TError, ImportFields(text + ';', ';', 3));
    }
};

VELLUMAR_TEST(TestTableExchange)
#include "tst_tableexchange.moc"
