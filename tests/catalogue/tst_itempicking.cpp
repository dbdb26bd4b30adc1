// Finding and viewing items in the Item List: the category buttons, the
// search, View with the Object View beside the list, and what the Object View
// says about a picture it cannot show.
#include "builders.h"
#include "testregistry.h"

#include "catalogue/itemcatalogue.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/objectviewwindow.h"
#include "settings/settings.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Headings at rows 1, 22 and 33 (table rows), items between them; long
// enough that a found row can be scrolled to the top.
QByteArray longCatalogue()
{
    QByteArray text = "----\r\nDecorations\r\n";
    for (int i = 1; i <= 20; ++i)
        text += QByteArray::number(1000 + i) + "\r\nTree " + QByteArray::number(i) + "\r\n";
    text += "----\r\nPeople\r\n";
    for (int i = 1; i <= 10; ++i)
        text += QByteArray::number(5000 + i) + "\r\nSoldier " + QByteArray::number(i) + "\r\n";
    text += "----\r\nPeople\r\n5099\r\nABC\r\n";
    for (int i = 1; i <= 40; ++i)
        text += QByteArray::number(7000 + i) + "\r\nFire " + QByteArray::number(i) + "\r\n";
    return text;
}

struct TListFixture {
    QTemporaryDir dir;
    TItemCatalogue catalogue;
    TSettingsStore store;
    QWidget main;
    TForm5 list{catalogue, &main};
    TForm7 view{store};

    TListFixture()
    {
        build::file(dir, QStringLiteral("item.ini"), longCatalogue());
        catalogue.LoadItemCatalogue(dir.path() + u'/');
        store.Settings.ImageListDir = dir.path() + u'/';
        QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/images/1001.jpg"), dir.filePath(QStringLiteral("1001.jpg")));
        build::file(dir, QStringLiteral("1002.jpg"), QByteArray("\xFF\xD8\xFF\xE0 no picture", 16));
        list.setObjectView(&view);
        list.move(100, 50);
        list.show();
        (void)QTest::qWaitForWindowExposed(&list);
    }
    int currentRow() const { return list.ItemList->currentIndex().row() + 1; }
    void pick(int row)
    {
        list.ItemList->scrollTo(catalogue.index(row - 1, 1));
        QTest::mouseClick(list.ItemList->viewport(), Qt::LeftButton, {},
                          list.ItemList->visualRect(catalogue.index(row - 1, 1)).center());
    }
};
}

class TestItemPicking : public QObject {
    Q_OBJECT
private slots:
    void categoryButtons_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("button"); // BitBtn index
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("found");
        QTest::newRow("People finds the next row naming People, at the list's top") << 1 << 4 << 1 << 22;
        QTest::newRow("People twice finds the next one") << 1 << 4 << 2 << 33;
        QTest::newRow("People a third time wraps to the first") << 1 << 4 << 3 << 22;
        QTest::newRow("Decorations from below wraps to row 1") << 40 << 0 << 1 << 1;
        QTest::newRow("a category no row names stays where it is") << 5 << 1 << 1 << 5;
    }
    void categoryButtons()
    {
        QFETCH(int, from);
        QFETCH(int, button);
        QFETCH(int, presses);
        QFETCH(int, found);
        TListFixture f;
        f.pick(from);
        for (int i = 0; i < presses; ++i)
            QTest::mouseClick(f.list.BitBtn[button], Qt::LeftButton);
        QCOMPARE(f.currentRow(), found);
        if (found != from)
            QCOMPARE(f.list.ItemList->rowAt(0), found - 1);
    }

    void search_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enter"); // Enter in the field instead of SEARCH
        QTest::addColumn<int>("found");
        QTest::addColumn<QString>("picked"); // Label1 afterwards
        QTest::newRow("10 finds the next row whose number or name contains it") << 3 << "10" << false << 4 << "1003";
        QTest::newRow("a name matches too, and picks the item") << 1 << "Soldier 2" << true << 24 << "5002";
        QTest::newRow("case counts: abc is not ABC") << 1 << "abc" << false << 1 << "Number";
        QTest::newRow("ABC is found") << 1 << "ABC" << true << 34 << "5099";
    }
    void search()
    {
        QFETCH(int, from);
        QFETCH(QString, text);
        QFETCH(bool, enter);
        QFETCH(int, found);
        QFETCH(QString, picked);
        TListFixture f;
        f.pick(from);
        if (from == 1)
            QCOMPARE(f.list.Label1->text(), QStringLiteral("Number"));
        f.list.E_search->setText(text);
        if (enter)
            QTest::keyClick(f.list.E_search, Qt::Key_Return);
        else
            QTest::mouseClick(f.list.B_search, Qt::LeftButton);
        QCOMPARE(f.currentRow(), found);
        QCOMPARE(f.list.Label1->text(), picked);
    }

    // An item is picked by selecting its row, not by the list's current row.
    void pickingTakesASelection_data()
    {
        QTest::addColumn<QList<int>>("keys"); // pressed in the search field, one after another
        QTest::addColumn<QString>("picked");  // Label1 afterwards
        QTest::newRow("tabbing into the list picks nothing") << QList<int>{Qt::Key_Tab} << "Number";
        QTest::newRow("Down after tabbing in picks the row it selects")
            << QList<int>{Qt::Key_Tab, Qt::Key_Down} << "1001";
    }
    void pickingTakesASelection()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, picked);
        TListFixture f;
        f.list.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.list));
        f.list.E_search->setFocus();
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), f.list.ItemList);
        QCOMPARE(f.list.Label1->text(), picked);
        QCOMPARE(f.list.Button1->isEnabled(), picked != QLatin1String("Number"));
    }

    void viewShowsThePickedItemBesideTheList()
    {
        TListFixture f;
        f.pick(2); // 1001, a picture
        QTest::mouseClick(f.list.B_ViewO, Qt::LeftButton);
        QVERIFY(f.view.isVisible());
        const QRect list = f.list.frameGeometry();
        QCOMPARE(f.view.frameGeometry().topLeft(), QPoint(list.x() + list.width(), list.y()));
        QVERIFY(!f.view.I_NOImage->isVisible());
        QCOMPARE(f.view.JPEGImage1->pixmap().size(), QSize(320, 240));
        // Picking while it is shown: a file that cannot be decoded shows the
        // placeholder and says why in its tooltip; a missing one says nothing.
        f.pick(3);
        QVERIFY(f.view.I_NOImage->isVisible());
        const QString tip = f.view.I_NOImage->toolTip();
        QVERIFY2(tip.startsWith(f.dir.filePath(QStringLiteral("1002.jpg")) + QStringLiteral(": ")), qPrintable(tip));
        QVERIFY(tip.size() > f.dir.filePath(QStringLiteral("1002.jpg")).size() + 2);
        f.pick(4);
        QVERIFY(f.view.I_NOImage->isVisible());
        QCOMPARE(f.view.I_NOImage->toolTip(), QString());
        QTest::mouseClick(f.list.B_ViewO, Qt::LeftButton);
        QVERIFY(!f.view.isVisible());
        f.pick(2);
        QVERIFY(!f.view.I_NOImage->isHidden()); // a hidden view does not follow
    }
};

VELLUMAR_TEST(TestItemPicking)
#include "tst_itempicking.moc"
