// What an Import says it did: the Info window names the records read and the
// rows they went into, and warns when the file does not hold one record per
// row of the table; one Ctrl+Z takes the Import back.
#include "../editing/editingfixture.h"
#include "testregistry.h"

#include "settings/infowindow.h"

#include <QLabel>
#include <QPushButton>

namespace {
using T = TObjectTable;

QByteArray record(int k)
{
    return QByteArray::number(100 + k) + ";5001;Soldier " + QByteArray::number(k) + ';'
        + QByteArray::number(k * 262144) + ';' + QByteArray::number(-k * 393216) + ";7;8;9;10;11;";
}

QByteArray records(int n)
{
    QByteArray text;
    for (int k = 1; k <= n; ++k)
        text += record(k) + "\r\n";
    return text;
}

QStringList cells(TEditingFixture &f)
{
    QStringList all;
    for (int row = 1; row <= 5; ++row)
        for (int col = 0; col < T::ColumnCount; ++col)
            all << f.cell(col, row);
    return all;
}
} // namespace

class TestImportReport : public QObject {
    Q_OBJECT
private slots:
    void importSaysWhatItRead_data()
    {
        QTest::addColumn<QByteArray>("file"); // imported into a table of five rows
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("one record per row")
            << records(5) << "Import OK" << "5 records were read into the table's 5 rows." << "";
        QTest::newRow("a line lost") << records(4) << "Attention!" << "The file holds 4 records, the table 5 rows!"
                                     << "4 records were read into rows 1 to 4.";
        QTest::newRow("a line added") << records(6) << "Attention!" << "The file holds 6 records, the table 5 rows!"
                                      << "5 records were read into rows 1 to 5.";
        QTest::newRow("a separator lost inside a record")
            << QByteArray(records(5)).replace("Soldier 3;", "Soldier 3") << "Attention!"
            << "The file holds 4 records and 9 fields, the table 5 rows!"
            << "4 records and 9 fields were read into rows 1 to 5.";
        QTest::newRow("text that is no table after the records")
            << records(5) + QByteArray(2000, 'x') + ';' << "Attention!"
            << "The file goes on after 5 records, the table has 5 rows!" << "5 records were read into rows 1 to 5.";
        QTest::newRow("no separator of the setting in the file")
            << QByteArray(records(5)).replace(';', ',') << "Attention!" << "The file holds 0 records, the table 5 rows!"
            << "No record was read: no row changed.";
    }
    void importSaysWhatItRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, caption);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QList<build::Object> objects;
        for (int i = 1; i <= 5; ++i)
            objects << object(2001, 10 * i * U, -20 * U, i);
        TEditingFixture f(objects);
        const QStringList before = cells(f);
        f.dialogs.answerOpen(build::file(f.dir, QStringLiteral("table.txt"), file));
        QTest::mouseClick(f.form->B_Import, Qt::LeftButton);

        TForm6 &info = *f.form->Form6;
        QVERIFY(info.isVisible());
        QCOMPARE(info.windowTitle(), caption);
        QCOMPARE(info.L_Text1->text(), line1);
        QCOMPARE(info.L_Text2->text(), line2);
        // The lines are cut at the labels' edges: they must fit.
        for (const QLabel *l : {info.L_Text1, info.L_Text2})
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(), qPrintable(l->text()));
        QVERIFY(f.dialogs.errors.isEmpty());

        QTest::keyClick(f.form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cells(f), before);
    }
};

VELLUMAR_TEST(TestImportReport)
#include "tst_importreport.moc"
