// Editing on the map: the pointer readouts, presses on markers and on the
// empty map, moving the armed object with the right button, the measuring circle.
#include "editingfixture.h"
#include "testregistry.h"

#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHeaderView>
#include <QLabel>

namespace {
using T = TObjectTable;

QRect bounds(const TCircleShape *c)
{
    return QRect(c->left(), c->top(), c->width(), c->height());
}
}

class TestMouseEditing : public QObject {
    Q_OBJECT
private slots:
    void pointerReadouts_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QStringList>("labels"); // Label1, Label4, Label2, Label5
        QTest::newRow("zoom 1, offsets 0") << 1 << QPoint(0, 0) << QPoint(10, 20)
                                           << QStringList{"10", "1310720", "20", "-2621440"};
        QTest::newRow("zoom 2 after zooming in once") << 2 << QPoint(-256, -256) << QPoint(10, 20)
                                                      << QStringList{"10", "17432576", "20", "-18087936"};
        QTest::newRow("divisions truncate toward zero") << 3 << QPoint(100, -50) << QPoint(7, 7)
                                                        << QStringList{"7", "-4019542", "7", "-2402986"};
        QTest::newRow("moving over a marker leaves them") << 1 << QPoint(0, 0) << QPoint(301, 301)
                                                          << QStringList{"Local_x", "KZ_x", "Local_y", "KZ_y"};
    }
    void pointerReadouts()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        QFETCH(QPoint, pointer);
        QFETCH(QStringList, labels);
        TEditingFixture f({object(4076, 300 * U, -300 * U)});
        f.setView(zoom, offsets.x(), offsets.y());
        f.panel().Label1->setText(QStringLiteral("Local_x"));
        f.panel().Label4->setText(QStringLiteral("KZ_x"));
        f.panel().Label2->setText(QStringLiteral("Local_y"));
        f.panel().Label5->setText(QStringLiteral("KZ_y"));
        f.moveInMap(pointer);
        QCOMPARE((QStringList{f.panel().Label1->text(), f.panel().Label4->text(), f.panel().Label2->text(),
                              f.panel().Label5->text()}),
                 labels);
    }

    // A press on a marker selects its object; the right button also arms it,
    // and a right click on the empty map then moves it there.
    void pressesSelectAndMove_data()
    {
        QTest::addColumn<Qt::MouseButton>("onMarker");
        QTest::addColumn<QString>("tablePress"); // before the marker: "cell", "title" or none
        QTest::addColumn<bool>("leftClickBetween");
        QTest::addColumn<bool>("moves");
        QTest::newRow("a right press arms: right clicks move the marker") << Qt::RightButton << "" << false << true;
        QTest::newRow("a left press selects without arming") << Qt::LeftButton << "" << false << false;
        QTest::newRow("a middle press selects without arming") << Qt::MiddleButton << "" << false << false;
        QTest::newRow("a press in the table arms") << Qt::LeftButton << "cell" << false << true;
        QTest::newRow("sizing a column by its title arms") << Qt::LeftButton << "title" << false << true;
        QTest::newRow("a left click on the empty map disarms") << Qt::RightButton << "" << true << false;
    }
    void pressesSelectAndMove()
    {
        QFETCH(Qt::MouseButton, onMarker);
        QFETCH(QString, tablePress);
        QFETCH(bool, leftClickBetween);
        QFETCH(bool, moves);
        QList<build::Object> objects;
        for (int i = 1; i <= 80; ++i)
            objects << (i == 41 ? object(5001, 300 * U, -300 * U, i) : object(2001, 5 * i * U, -10 * U, i));
        TEditingFixture f(objects);
        f.table().setCell(T::ColRadius, 41, QStringLiteral("10"));
        if (tablePress == QLatin1String("cell"))
            f.clickCell(T::ColZ, 2);
        if (tablePress == QLatin1String("title")) {
            // The edge between the "Z-Axis" and "Horz-Angel" titles, dragged 10 pixels right.
            QHeaderView *titles = f.grid().horizontalHeader();
            const QPoint edge(titles->sectionViewportPosition(T::ColZ) + titles->sectionSize(T::ColZ) - 1,
                              titles->height() / 2);
            QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, edge);
            QTest::mouseMove(titles->viewport(), edge + QPoint(10, 0));
            QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, edge + QPoint(10, 0));
            QCOMPARE(f.grid().columnWidth(T::ColZ), 74);
        }
        f.pressInMap(QPoint(301, 302), onMarker);
        QCOMPARE(f.form->Document.CurrentRow, 41);
        QCOMPARE(f.grid().currentRow(), 41);
        QCOMPARE(f.grid().rowAt(0), 40); // the table scrolled the row to its top
        QVERIFY(f.map().Selector->isVisible());
        QCOMPARE(bounds(f.map().Ranger), QRect(297, 297, 10, 10));
        if (leftClickBetween) {
            f.pressInMap(QPoint(100, 400));
            QVERIFY(!f.map().Selector->isVisible());
            QVERIFY(!f.map().Ranger->isVisible());
        }
        for (QPoint to : {QPoint(100, 50), QPoint(120, 70)}) {
            f.pressInMap(to, Qt::RightButton);
            const QPoint expected = moves ? to : QPoint(300, 300);
            QCOMPARE(f.marker(41)->topLeft(), expected);
            QCOMPARE(f.cell(T::ColX, 41), QString::number(expected.x() * U));
            QCOMPARE(f.cell(T::ColY, 41), QString::number(-expected.y() * U));
            QCOMPARE(f.shown().pixel(expected + QPoint(1, 1)), qRgb(255, 0, 255));
            if (moves)
                QCOMPARE(bounds(f.map().Ranger), QRect(to - QPoint(3, 3), QSize(10, 10)));
        }
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void theLaterMarkerTakesThePress()
    {
        TEditingFixture f({object(2001, 50 * U, -50 * U), object(5001, 50 * U, -50 * U)});
        f.pressInMap(QPoint(53, 53));
        QCOMPARE(f.form->Document.CurrentRow, 2);
        f.pressInMap(QPoint(54, 54));
        QVERIFY(!f.map().Selector->isVisible()); // the pixel beside the square is the empty map
    }

    void aRadiusThatIsNoNumberStillSelects()
    {
        TEditingFixture f({object(2001, 10 * U, -10 * U), object(2001, 50 * U, -50 * U)});
        f.table().setCell(T::ColRadius, 2, QStringLiteral("12a"));
        f.pressInMap(QPoint(51, 51), Qt::RightButton);
        QCOMPARE(f.dialogs.errors,
                 QStringList{QStringLiteral("'12a' is not a valid integer value (row 2, column \"Radius\")")});
        QCOMPARE(f.form->Document.CurrentRow, 2);
        QVERIFY(f.map().Selector->isVisible());
    }

    void measuringCircle_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("press");   // Alt + left
        QTest::addColumn<QPoint>("pointer"); // then moved there with Alt held
        QTest::addColumn<QRect>("circle");
        QTest::addColumn<QString>("caption");
        QTest::newRow("50 pixels at zoom 1 read 100 metres")
            << 1 << QPoint(100, 100) << QPoint(150, 100) << QRect(50, 50, 100, 100) << "100";
        QTest::newRow("50 pixels at zoom 2 read 50 metres")
            << 2 << QPoint(100, 100) << QPoint(150, 100) << QRect(50, 50, 100, 100) << "50";
        QTest::newRow("on a marker the circle is anchored at its centre")
            << 1 << QPoint(201, 201) << QPoint(232, 242) << QRect(152, 152, 100, 100) << "100";
    }
    void measuringCircle()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, press);
        QFETCH(QPoint, pointer);
        QFETCH(QRect, circle);
        QFETCH(QString, caption);
        TEditingFixture f({object(4076, 200 * U, -200 * U), object(4076, 10 * U, -10 * U)});
        f.setView(zoom, zoom == 1 ? 0 : -200, zoom == 1 ? 0 : -200);
        f.pressInMap(press, Qt::LeftButton, Qt::AltModifier);
        QVERIFY(f.map().MetaMeter->isVisible());
        QVERIFY(f.map().MeterAnz->isVisible());
        f.moveInMap(pointer, Qt::AltModifier);
        QCOMPARE(bounds(f.map().MetaMeter), circle);
        QCOMPARE(f.map().MeterAnz->text(), caption);
        QCOMPARE(f.map().MeterAnz->pos(), QPointF(pointer + QPoint(15, 10)));
        // Without Alt the circle stays as it is; a second Alt+left press hides it.
        f.moveInMap(pointer + QPoint(30, 0));
        QCOMPARE(bounds(f.map().MetaMeter), circle);
        f.pressInMap(QPoint(400, 400), Qt::LeftButton, Qt::AltModifier);
        QVERIFY(!f.map().MetaMeter->isVisible());
        QVERIFY(!f.map().MeterAnz->isVisible());
    }

    void aLeftPressOnTheMapHidesTheWeaponList()
    {
        TEditingFixture f({object(4076, 200 * U, -200 * U)});
        f.doubleClickCell(T::ColWeapon, 1);
        QVERIFY(f.form->ComboBox3->isVisible());
        f.pressInMap(QPoint(10, 10), Qt::RightButton);
        QVERIFY(f.form->ComboBox3->isVisible());
        f.pressInMap(QPoint(10, 10));
        QVERIFY(!f.form->ComboBox3->isVisible());
    }
};
VELLUMAR_TEST(TestMouseEditing)
#include "tst_mouseediting.moc"
