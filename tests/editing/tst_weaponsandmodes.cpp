// The weapon list over the "Weapon" column, and the game-type boxes of the
// main window and the Save Map dialog checking the start points.
#include "editingfixture.h"
#include "testregistry.h"

#include "handoff/savemapdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>

namespace {
using T = TObjectTable;

// The user picks entry k of the list with the keyboard.
void choose(QComboBox *box, int k)
{
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < k; ++i)
        QTest::keyClick(box, Qt::Key_Down);
}

QList<bool> ticks(const std::array<QCheckBox *, 6> &boxes)
{
    QList<bool> t;
    for (QCheckBox *b : boxes)
        t << b->isChecked();
    return t;
}
}

class TestWeaponBox : public QObject {
    Q_OBJECT
private slots:
    void choosingAWeapon_data()
    {
        QTest::addColumn<QString>("code");   // the cell's code when the list opens
        QTest::addColumn<int>("shown");      // the entry the list opens on
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("errors");
        QTest::newRow("30 opens on Knife; .50 Sniper Rifle writes 161") << "30" << 11 << 13 << "161" << 0;
        QTest::newRow("10 has no entry: the last choice shows") << "10" << 5 << 0 << "0" << 0;
        QTest::newRow("12 has no entry either") << "12" << 5 << 9 << "9" << 0;
        QTest::newRow("the second M16 writes 3") << "0" << 0 << 3 << "3" << 0;
        QTest::newRow("the third M16 writes 8") << "131" << 12 << 8 << "8" << 0;
    }
    void choosingAWeapon()
    {
        QFETCH(QString, code);
        QFETCH(int, shown);
        QFETCH(int, chosen);
        QFETCH(QString, written);
        QFETCH(int, errors);
        TEditingFixture f({object(5001, 0, 0), object(5001, 0, 0)});
        QComboBox *box = f.form->ComboBox3;
        box->setCurrentIndex(5); // chosen last time
        f.table().setCell(T::ColWeapon, 2, code);
        f.doubleClickCell(T::ColWeapon, 2);
        QVERIFY(box->isVisible());
        QVERIFY(!f.grid().isEditing());
        QCOMPARE(box->geometry(), f.grid().cellRect(T::ColWeapon, 2, f.form.get()));
        QCOMPARE(box->currentIndex(), shown);
        QCOMPARE(f.dialogs.errors.size(), errors);
        choose(box, chosen);
        QCOMPARE(f.cell(T::ColWeapon, 2), written);
        QCOMPARE(f.cell(T::ColWeapon, 1), QStringLiteral("0"));
        QVERIFY(box->isVisible());
        f.clickCell(T::ColZ, 1);
        QVERIFY(!box->isVisible());
    }

    void theListOpensOnlyOverTheWeaponColumn()
    {
        TEditingFixture f({object(5001, 0, 0)});
        f.doubleClickCell(T::ColRadius, 1);
        QVERIFY(!f.form->ComboBox3->isVisible());
        QVERIFY(f.grid().isEditing());
    }

    // The list opens over the current cell; a choice fills the rows the
    // selection holds when the double click is done.
    void aChoiceFillsTheSelectedRows_data()
    {
        QTest::addColumn<int>("doubleClickRow");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QStringList>("codes"); // rows 1 .. 5 after choosing Knife
        QTest::newRow("a Shift+double click on row 4 fills rows 2 to 4 from the current row")
            << 4 << true << QStringList{"0", "30", "30", "30", "0"};
        QTest::newRow("a Shift+double click above the current row fills up to it")
            << 1 << true << QStringList{"30", "30", "0", "0", "0"};
        QTest::newRow("a plain double click in the selection first makes it its own row")
            << 3 << false << QStringList{"0", "0", "30", "0", "0"};
    }
    void aChoiceFillsTheSelectedRows()
    {
        QFETCH(int, doubleClickRow);
        QFETCH(bool, shift);
        QFETCH(QStringList, codes);
        TEditingFixture f(QList<build::Object>(5, object(5001, 0, 0)));
        f.selectRows(T::ColWeapon, 2, 4);
        f.doubleClickCell(T::ColWeapon, doubleClickRow, shift ? Qt::ShiftModifier : Qt::NoModifier);
        QVERIFY(f.form->ComboBox3->isVisible());
        choose(f.form->ComboBox3, 11); // Knife
        QStringList written;
        for (int row = 1; row <= 5; ++row)
            written << f.cell(T::ColWeapon, row);
        QCOMPARE(written, codes);
    }
};

class TestGameModeBoxes : public QObject {
    Q_OBJECT
private slots:
    void movingOverABoxChecksTheStartPoints_data()
    {
        QTest::addColumn<QStringList>("items");  // "Object" texts of the rows
        QTest::addColumn<bool>("overSaveDialog"); // the box under the pointer is the dialog's
        QTest::addColumn<int>("box");
        QTest::addColumn<QList<bool>>("mainTicks");
        QTest::addColumn<QList<bool>>("saveTicks");
        const QList<bool> all{true, true, true, true, true, true};
        QTest::newRow("team start points missing: TDM, TKH, CTF go; the dialog keeps all but Coop's copy")
            << QStringList{"6002", "6003"} << false << 0 << QList<bool>{true, true, false, true, false, false} << all;
        QTest::newRow("without 6002 DM and KoTH go; both teams keep the team types")
            << QStringList{"6003", "6004"} << false << 2 << QList<bool>{true, false, true, false, true, true} << all;
        QTest::newRow("a leading space or zero is no start point")
            << QStringList{" 6002", "06003", "6004"} << false << 1
            << QList<bool>{true, false, false, false, false, false}
            << QList<bool>{true, false, true, true, true, true};
        QTest::newRow("the dialog checks its own boxes and hands the one under the pointer over")
            << QStringList{"6002"} << true << 2 << QList<bool>{true, true, false, true, true, true}
            << QList<bool>{true, true, false, true, false, false};
    }
    void movingOverABoxChecksTheStartPoints()
    {
        QFETCH(QStringList, items);
        QFETCH(bool, overSaveDialog);
        QFETCH(int, box);
        QFETCH(QList<bool>, mainTicks);
        QFETCH(QList<bool>, saveTicks);
        QList<build::Object> objects;
        for (qsizetype i = 0; i < items.size(); ++i)
            objects << object(4076, 0, 0);
        TEditingFixture f(objects, 1 | 2 | 4 | 16 | 32 | 64);
        for (int i = 0; i < int(items.size()); ++i)
            f.table().setCell(T::ColObject, i + 1, items[i]);
        QTest::mouseClick(f.form->Button11, Qt::LeftButton); // shows the Save Map dialog
        (void)QTest::qWaitForWindowExposed(f.form->Form3.get());
        QCOMPARE(ticks(f.form->CheckBox), (QList<bool>{true, true, true, true, true, true}));
        QCheckBox *target = (overSaveDialog ? f.form->Form3->CheckBox : f.form->CheckBox)[box];
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QCOMPARE(ticks(f.form->CheckBox), mainTicks);
        QCOMPARE(ticks(f.form->Form3->CheckBox), saveTicks);
    }
};

VELLUMAR_TEST(TestWeaponBox)
VELLUMAR_TEST(TestGameModeBoxes)
#include "tst_weaponsandmodes.moc"
