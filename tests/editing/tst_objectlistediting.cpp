// Add Item and Del Item as the mapper uses them: the new object's cells,
// marker and selection; the delete that moves rows, numbers, cache and marker
// looks up by one; the refusals that leave the map as it was.
#include "editingfixture.h"
#include "testregistry.h"

#include "document/category.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
using T = TObjectTable;

QStringList column(TEditingFixture &f, int col)
{
    QStringList cells;
    for (int row = 1; row < f.table().RowCount(); ++row)
        cells << f.cell(col, row);
    return cells;
}
}

class TestObjectListEditing : public QObject {
    Q_OBJECT
private slots:
    void addItem_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("picked"); // the Item List's number label
        QTest::addColumn<QPoint>("offsets");
        QTest::addColumn<QStringList>("cells"); // the new row
        QTest::newRow("IDs 5, 17, 9 give 18; nothing picked gives 4076")
            << QList<int>{5, 17, 9} << "Number" << QPoint(0, 0)
            << QStringList{"4", "18", "4076", "Crate", "33554432", "-33554432", "0", "0", "0", "0", "0"};
        QTest::newRow("the picked item and its name; the centre of a scrolled view")
            << QList<int>{3} << "1001" << QPoint(100, 50)
            << QStringList{"2", "4", "1001", "Tree", "20447232", "-27000832", "0", "0", "0", "0", "0"};
        QTest::newRow("an item the catalogue does not know has no name")
            << QList<int>{3} << "1099" << QPoint(0, 0)
            << QStringList{"2", "4", "1099", "", "33554432", "-33554432", "0", "0", "0", "0", "0"};
        QTest::newRow("the first object of an empty map gets ID 1")
            << QList<int>{} << "" << QPoint(0, 0)
            << QStringList{"1", "1", "4076", "Crate", "33554432", "-33554432", "0", "0", "0", "0", "0"};
    }
    void addItem()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, picked);
        QFETCH(QPoint, offsets);
        QFETCH(QStringList, cells);
        QList<build::Object> objects;
        for (int id : ids)
            objects << object(2001, 10 * U, -10 * U, id);
        TEditingFixture f(objects);
        f.setView(1, offsets.x(), offsets.y());
        f.form->Form5->Label1->setText(picked);
        f.form->MapView->C_40->setChecked(false); // new objects show whatever the filters say
        QTest::mouseClick(f.form->Button9, Qt::LeftButton);
        const int row = int(ids.size()) + 1;
        QCOMPARE(f.form->Document.ObjectCount, row);
        QStringList got;
        for (int col = 0; col < T::ColumnCount; ++col)
            got << f.cell(col, row);
        QCOMPARE(got, cells);
        TMarker *m = f.marker(row);
        QVERIFY(m && m->isVisible());
        QCOMPARE(m->topLeft(), QPoint(256, 256));
        QCOMPARE(m->fillColour(), NewObjectColour);
        QCOMPARE(m->hint(), cells[T::ColName]);
        QCOMPARE(f.shown().pixel(257, 257), qRgb(255, 255, 0));
        QCOMPARE(f.grid().currentRow(), row);
        QCOMPARE(f.form->Document.CurrentRow, row);
        QCOMPARE(f.map().Selector->topLeft(), QPoint(252, 252));
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("badRow"); // its "ID" (add) or "Nr." (delete) holds "x"
        QTest::addColumn<QString>("error");
        QTest::newRow("an ID that is no number stops the add before anything changes")
            << true << 2 << "'x' is not a valid integer value (row 2, column \"ID\")";
        QTest::newRow("a Nr. that is no number stops the delete before anything changes")
            << false << 1 << "'x' is not a valid integer value (row 1, column \"Nr.\")";
    }
    void refusals()
    {
        QFETCH(bool, add);
        QFETCH(int, badRow);
        QFETCH(QString, error);
        TEditingFixture f({object(2001, 10 * U, -10 * U, 1), object(5001, 20 * U, -10 * U, 2),
                           object(6002, 30 * U, -10 * U, 3)});
        f.table().setCell(add ? T::ColId : T::ColNr, badRow, QStringLiteral("x"));
        f.clickCell(T::ColZ, 2);
        QTest::mouseClick(add ? f.form->Button9 : f.form->Button10, Qt::LeftButton);
        QCOMPARE(f.dialogs.errors, QStringList{error});
        QCOMPARE(f.form->Document.ObjectCount, 3);
        QCOMPARE(f.table().RowCount(), 4);
        QCOMPARE(column(f, T::ColObject), (QStringList{"2001", "5001", "6002"}));
        QVERIFY(f.marker(3) && !f.marker(4));
        QCOMPARE(f.marker(2)->fillColour(), QRgb(0xFFFF00FF));
    }

    void delItem_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("hidePeople");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("current");
        QTest::newRow("row 2 of 5: the rows below move up") << 2 << false
                                                           << QStringList{"1001", "3001", "5001", "6002"} << 2;
        QTest::newRow("the last row goes with its marker; the new last row is current")
            << 5 << false << QStringList{"1001", "2001", "3001", "5001"} << 4;
        QTest::newRow("a hidden marker stays hidden with its object") << 1 << true
                                                                     << QStringList{"2001", "3001", "5001", "6002"} << 1;
    }
    void delItem()
    {
        QFETCH(int, row);
        QFETCH(bool, hidePeople);
        QFETCH(QStringList, items);
        QFETCH(int, current);
        const QList<int> all{1001, 2001, 3001, 5001, 6002};
        QList<build::Object> objects;
        for (int i = 0; i < 5; ++i)
            objects << object(all[i], 20 * (i + 1) * U, -20 * (i + 1) * U, i + 1);
        TEditingFixture f(objects);
        if (hidePeople)
            f.form->MapView->C_50->setChecked(false);
        f.clickCell(T::ColZ, row);
        QTest::mouseClick(f.form->Button10, Qt::LeftButton);
        QCOMPARE(f.form->Document.ObjectCount, 4);
        QCOMPARE(column(f, T::ColObject), items);
        QCOMPARE(column(f, T::ColNr), (QStringList{"1", "2", "3", "4"}));
        QVERIFY(!f.marker(5));
        const QImage shown = f.shown();
        for (int r = 1; r <= 4; ++r) {
            const int item = items[r - 1].toInt();
            const int place = 20 * (all.indexOf(item) + 1);
            QCOMPARE(f.marker(r)->topLeft(), QPoint(place, place));
            QCOMPARE(f.marker(r)->fillColour(), markerFillFor(item / 100));
            QCOMPARE(f.marker(r)->hint(), f.cell(T::ColName, r));
            QCOMPARE(f.marker(r)->isVisible(), !(hidePeople && item == 5001));
            QCOMPARE(shown.pixel(place + 1, place + 1) == markerFillFor(item / 100), f.marker(r)->isVisible());
        }
        QCOMPARE(f.grid().currentRow(), current);
        QCOMPARE(f.form->Document.CurrentRow, current);
        QVERIFY(!f.map().Selector->isVisible());
        QVERIFY(!f.map().Ranger->isVisible());
    }

    void theLastObjectStaysAndThe2001stIsNotAdded_data()
    {
        QTest::addColumn<int>("objects");
        QTest::addColumn<bool>("add");
        QTest::newRow("deleting with one object left does nothing") << 1 << false;
        QTest::newRow("the 2001st add does nothing") << 2000 << true;
    }
    void theLastObjectStaysAndThe2001stIsNotAdded()
    {
        QFETCH(int, objects);
        QFETCH(bool, add);
        TEditingFixture f(QList<build::Object>(objects, object(2001, 10 * U, -10 * U)));
        f.clickCell(T::ColZ, 1);
        QTest::mouseClick(add ? f.form->Button9 : f.form->Button10, Qt::LeftButton);
        QCOMPARE(f.form->Document.ObjectCount, objects);
        QCOMPARE(f.table().RowCount(), objects + 1);
        QVERIFY(f.marker(objects));
        QCOMPARE(f.map().Selector->isVisible(), add);
        QVERIFY(f.dialogs.errors.isEmpty());
    }
};
VELLUMAR_TEST(TestObjectListEditing)

// The Item List's Use over the table's selected rows.
class TestItemUse : public QObject {
    Q_OBJECT
private slots:
    void useAppliesThePickedItem_data()
    {
        QTest::addColumn<QString>("pickedName"); // the Item List row clicked; empty: none
        QTest::addColumn<QString>("gesture");    // Use, a double click on the row or below the last row
        QTest::addColumn<QStringList>("items"); // "Object" of rows 1 .. 7 afterwards
        QTest::addColumn<QRgb>("fill");          // marker colour of rows 3 .. 6
        const QString old = QStringLiteral("2001");
        QTest::newRow("Use writes number and name into rows 3 to 6 and recolours their markers")
            << "Soldier" << "Use" << QStringList{old, old, "5001", "5001", "5001", "5001", old} << QRgb(0xFFFF00FF);
        QTest::newRow("a double click on a row does the same")
            << "Start" << "row" << QStringList{old, old, "6002", "6002", "6002", "6002", old} << QRgb(0xFF00FFFF);
        QTest::newRow("a double click below the last row uses the picked item")
            << "Start" << "below" << QStringList{old, old, "6002", "6002", "6002", "6002", old} << QRgb(0xFF00FFFF);
        QTest::newRow("a double click on a heading before any pick changes nothing")
            << "" << "row" << QStringList{old, old, old, old, old, old, old} << QRgb(0xFFC0C0C0);
    }
    void useAppliesThePickedItem()
    {
        QFETCH(QString, pickedName);
        QFETCH(QString, gesture);
        QFETCH(QStringList, items);
        QFETCH(QRgb, fill);
        TEditingFixture f(QList<build::Object>(7, object(2001, 10 * U, -10 * U)));
        f.selectRows(T::ColZ, 3, 6);
        TForm5 &list = *f.form->Form5;
        const QAbstractItemModel *catalogue = list.ItemList->model();
        int listRow = 0; // the first heading
        for (int r = 0; r < catalogue->rowCount(); ++r)
            if (!pickedName.isEmpty() && catalogue->index(r, 1).data().toString() == pickedName)
                listRow = r;
        const QPoint at = list.ItemList->visualRect(catalogue->index(listRow, 1)).center();
        if (gesture == QLatin1String("Use")) {
            QTest::mouseClick(list.ItemList->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseClick(list.Button1, Qt::LeftButton);
        } else if (gesture == QLatin1String("row")) {
            TEditingFixture::doubleClick(list.ItemList->viewport(), at);
        } else {
            QTest::mouseClick(list.ItemList->viewport(), Qt::LeftButton, {}, at);
            const QRect last = list.ItemList->visualRect(catalogue->index(catalogue->rowCount() - 1, 1));
            QVERIFY(last.bottom() + 20 < list.ItemList->viewport()->height());
            TEditingFixture::doubleClick(list.ItemList->viewport(), QPoint(last.center().x(), last.bottom() + 10));
        }
        QCOMPARE(column(f, T::ColObject), items);
        for (int row = 3; row <= 6; ++row) {
            QCOMPARE(f.marker(row)->fillColour(), fill);
            QCOMPARE(f.marker(row)->hint(), pickedName.isEmpty() ? QStringLiteral("Jeep") : pickedName);
        }
        QCOMPARE(f.marker(2)->fillColour(), QRgb(0xFFC0C0C0));
        QCOMPARE(f.cell(T::ColName, 7), QStringLiteral("Jeep"));
    }

    void anItemNumberThatIsNoNumberLeavesTheMarkers()
    {
        TEditingFixture f(QList<build::Object>(3, object(2001, 10 * U, -10 * U)));
        f.selectRows(T::ColZ, 1, 2);
        f.form->Form5->Label1->setText(QStringLiteral("12a"));
        f.form->Form5->Label2->setText(QStringLiteral("Odd"));
        f.form->Form5->Button1->setEnabled(true);
        QTest::mouseClick(f.form->Form5->Button1, Qt::LeftButton);
        QCOMPARE(column(f, T::ColObject), (QStringList{"12a", "12a", "2001"}));
        QCOMPARE(column(f, T::ColName), (QStringList{"Odd", "Odd", "Jeep"}));
        QCOMPARE(f.marker(1)->fillColour(), QRgb(0xFFC0C0C0));
        QCOMPARE(f.marker(1)->hint(), QStringLiteral("Jeep"));
        QVERIFY(f.dialogs.errors.isEmpty());
    }
};
VELLUMAR_TEST(TestItemUse)
#include "tst_objectlistediting.moc"
