// Where the Item List opens: beside the main window, never over its map.
#include "testregistry.h"

#include "catalogue/itemlistwindow.h"

#include <QTest>

namespace {
const QSize List(272, 697);   // the list's outer frame
constexpr int ObjectView = 331; // room kept for the Object View after it
} // namespace

class TestItemListPlace : public QObject {
    Q_OBJECT
private slots:
    void placeBeside_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("mainAfter");
        QTest::addColumn<QRect>("list");
        QTest::newRow("a wide screen: the list right of the main window, which stays")
            << QRect(0, 0, 2560, 1440) << QRect(780, 400, 1002, 630) << QPoint(780, 400)
            << QRect(1782, 400, 272, 697);
        QTest::newRow("room for the list but not the Object View: the main window moves left just enough")
            << QRect(0, 0, 1920, 1080) << QRect(459, 200, 1002, 630) << QPoint(315, 200)
            << QRect(1317, 200, 272, 697);
        QTest::newRow("no room either side: the main window moves to the screen's left edge")
            << QRect(0, 0, 1280, 1024) << QRect(139, 197, 1002, 630) << QPoint(0, 197)
            << QRect(1002, 197, 272, 697);
        QTest::newRow("a screen narrower than both: the list keeps to its right edge, over the table's end")
            << QRect(0, 0, 1024, 768) << QRect(11, 69, 1002, 630) << QPoint(0, 69) << QRect(752, 69, 272, 697);
        QTest::newRow("a main window low on the screen: the list moves up to end at the screen's bottom")
            << QRect(0, 0, 2560, 1440) << QRect(100, 900, 1002, 630) << QPoint(100, 900)
            << QRect(1102, 743, 272, 697);
        QTest::newRow("a screen lower than the list: the list takes the screen's height")
            << QRect(0, 0, 2560, 600) << QRect(100, 0, 1002, 600) << QPoint(100, 0) << QRect(1102, 0, 272, 600);
        QTest::newRow("a second screen right of the first: its own edges count")
            << QRect(1920, 0, 1280, 1024) << QRect(2059, 100, 1002, 630) << QPoint(1920, 100)
            << QRect(2922, 100, 272, 697);
    }

    void placeBeside()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, main);
        QFETCH(QPoint, mainAfter);
        QFETCH(QRect, list);
        const TItemListPlace place = TForm5::placeBeside(main, List, ObjectView, screen);
        QCOMPARE(place.mainWindow, mainAfter);
        QCOMPARE(place.itemList, list);
        // Never over the map, which ends 536 pixels into the main window.
        QVERIFY(place.itemList.left() >= place.mainWindow.x() + 536);
    }

    void objectViewPlace_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QPoint>("view");
        QTest::newRow("room on the right: directly right of the list, tops aligned")
            << QRect(0, 0, 1920, 1080) << QRect(1317, 200, 272, 697) << QPoint(1589, 200);
        QTest::newRow("no room on the right: on the list's left")
            << QRect(0, 0, 1280, 1024) << QRect(1002, 197, 272, 697) << QPoint(671, 197);
        QTest::newRow("a list low on the screen: the view moves up to stay on it")
            << QRect(0, 0, 1920, 1080) << QRect(1317, 900, 272, 180) << QPoint(1589, 824);
    }

    void objectViewPlace()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, list);
        QFETCH(QPoint, view);
        QCOMPARE(TForm5::objectViewPlace(list, QSize(331, 256), screen), view);
    }
};

VELLUMAR_TEST(TestItemListPlace)

#include "tst_itemlistplace.moc"
