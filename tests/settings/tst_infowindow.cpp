// The Info window (placement, caption and lines, OK) and the About window
// (placement beside the Save Map dialog and on the main window, its picture).
#include "testregistry.h"

#include "settings/aboutwindow.h"
#include "settings/infowindow.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

class TestInfoWindow : public QObject {
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<int>("infoWidth");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("1000 wide at left 0 with a 459-wide Info window gives left 41")
            << QRect(0, 0, 1000, 600) << 459 << QPoint(41, 100);
        QTest::newRow("an odd width is halved toward zero, left and top carry over")
            << QRect(200, 50, 801, 600) << 459 << QPoint(141, 150);
        QTest::newRow("a narrow main window puts the Info window left of it")
            << QRect(0, -20, 600, 400) << 459 << QPoint(-159, 80);
    }
    void placement()
    {
        QFETCH(QRect, mainFrame);
        QFETCH(int, infoWidth);
        QFETCH(QPoint, place);
        QCOMPARE(TForm6::infoWindowPlace(mainFrame, infoWidth), place);
    }

    // A main window 700 wide in the test platform's 2-pixel frame: the Info
    // window ends at its centre, 352 pixels in, and its top is 100 below the
    // main window's, wherever that is.
    void windowFollowsTheMainWindow_data()
    {
        QTest::addColumn<QList<QPoint>>("mainPlaces"); // the main window moved there in turn
        QTest::addColumn<int>("right");                // the Info window's right edge (exclusive)
        QTest::addColumn<int>("top");
        QTest::newRow("at 120,80") << QList<QPoint>{QPoint(120, 80)} << 472 << 180;
        QTest::newRow("moved to 300,40 after a first message there")
            << QList<QPoint>{QPoint(120, 80), QPoint(300, 40)} << 652 << 140;
    }
    void windowFollowsTheMainWindow()
    {
        QFETCH(QList<QPoint>, mainPlaces);
        QFETCH(int, right);
        QFETCH(int, top);
        QWidget main;
        main.setGeometry(120, 80, 700, 500);
        main.show();
        TForm6 info(&main);
        for (const QPoint mainAt : mainPlaces) {
            main.move(mainAt);
            info.ShowInfoMessage(QStringLiteral("Saved"), QStringLiteral("one"), QStringLiteral("two"));
        }
        QCOMPARE(info.frameGeometry().right() + 1, right);
        QCOMPARE(info.frameGeometry().top(), top);
    }

    void messages_data()
    {
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<QString>("firstLine2");
        QTest::addColumn<bool>("captionGiven");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("shownCaption");
        QTest::newRow("a null caption keeps the caption shown before")
            << "Error" << "b" << false << "" << "Item-List \"ITEM.INI\" NOT Found"
            << "The Program will started, but no Item-List for you!" << "Error";
        QTest::newRow("the export message empties the second line")
            << "Saved" << "was created in the KZ-Main dir." << true << "Export OK"
            << "Ok, the Table is exported to \"export.txt\" in the Work-Dir." << "" << "Export OK";
    }
    void messages()
    {
        QFETCH(QString, firstCaption);
        QFETCH(QString, firstLine2);
        QFETCH(bool, captionGiven);
        QFETCH(QString, caption);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QString, shownCaption);
        QWidget main;
        main.setGeometry(0, 0, 1000, 600);
        main.show();
        TForm6 info(&main);
        QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
        info.ShowInfoMessage(firstCaption, QStringLiteral("first"), firstLine2);
        info.ShowInfoMessage(captionGiven ? caption : QString(), line1, line2);
        // The call returned at once with the window showing.
        QVERIFY(info.isVisible());
        QCOMPARE(info.windowTitle(), shownCaption);
        QCOMPARE(info.L_Text1->text(), line1);
        QCOMPARE(info.L_Text2->text(), line2);
    }

    void staysUsableWhileTheMainWindowIsDisabled()
    {
        QWidget main;
        main.show();
        TForm6 info(&main);
        main.setEnabled(false);
        info.ShowInfoMessage(QStringLiteral("Error"), QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(info.B_OK->isEnabled());
        QTest::mouseClick(info.B_OK, Qt::LeftButton);
        QVERIFY(!info.isVisible());
    }
};

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    // A 300 by 200 stand-in for the dialog (304 by 204 with the test
    // platform's frame) on that platform's 800 by 800 screen; the About
    // window (320 by 282) stays on it.
    void besideTheSaveMapDialog_data()
    {
        QTest::addColumn<QPoint>("dialogAt");
        QTest::addColumn<QPoint>("aboutAt");
        QTest::newRow("at the dialog's right edge, tops aligned") << QPoint(100, 200) << QPoint(404, 200);
        QTest::newRow("a dialog low on the screen: the window moves up to end at its bottom")
            << QPoint(100, 600) << QPoint(404, 518);
        QTest::newRow("a dialog near the right edge: the window keeps to that edge")
            << QPoint(400, 100) << QPoint(480, 100);
    }
    void besideTheSaveMapDialog()
    {
        QFETCH(QPoint, dialogAt);
        QFETCH(QPoint, aboutAt);
        QWidget saveDialog;
        saveDialog.setGeometry(QRect(dialogAt, QSize(300, 200)));
        saveDialog.show();
        QCOMPARE(saveDialog.screen()->availableGeometry(), QRect(0, 0, 800, 800));
        saveDialog.move(dialogAt);
        TForm4 about;
        about.resize(500, 500); // every showing sets the size again
        about.showBesideSaveDialog(&saveDialog);
        QVERIFY(about.isVisible());
        QCOMPARE(about.frameGeometry(), QRect(aboutAt, TForm4::ShownSize));
    }

    void centredOnTheMainWindow_data()
    {
        QTest::addColumn<QPoint>("mainAt");
        QTest::addColumn<QPoint>("aboutAt");
        QTest::newRow("main window at 0,0: centred on 280,280") << QPoint(0, 0) << QPoint(280 - 160, 280 - 141);
        QTest::newRow("the main window's place carries over") << QPoint(100, 50) << QPoint(220, 189);
    }
    void centredOnTheMainWindow()
    {
        QFETCH(QPoint, mainAt);
        QFETCH(QPoint, aboutAt);
        QCOMPARE(TForm4::centredPlace(QRect(mainAt, QSize(1000, 600)), TForm4::ShownSize), aboutAt);
        QWidget main;
        main.setGeometry(QRect(mainAt, QSize(1000, 600)));
        main.show();
        main.move(mainAt);
        TForm4 about;
        about.showCentredOn(&main);
        QVERIFY(about.isVisible());
        QCOMPARE(about.frameGeometry().size(), TForm4::ShownSize);
        QCOMPARE(about.frameGeometry().topLeft(), aboutAt);
    }

    // Shown by "?", the window is active; Escape closes it as its close box does.
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("open");
        QTest::newRow("Escape closes it") << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter leaves it open") << int(Qt::Key_Return) << true;
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, open);
        QWidget main;
        main.setGeometry(100, 50, 1000, 600);
        main.show();
        TForm4 about;
        about.showCentredOn(&main);
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &about;
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(about.isVisible(), open);
    }

    void picture()
    {
        TForm4 about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        const QImage shown = about.Image1->pixmap().toImage();
        QCOMPARE(shown.size(), QSize(300, 250));
        QCOMPARE(shown.size(), about.Image1->size());
        // A drawn picture, not a blank area.
        QSet<QRgb> colours;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                colours.insert(shown.pixel(x, y) | 0xFF000000u);
        QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size())));
    }
};

VELLUMAR_TEST(TestInfoWindow)
VELLUMAR_TEST(TestAboutWindow)
#include "tst_infowindow.moc"
