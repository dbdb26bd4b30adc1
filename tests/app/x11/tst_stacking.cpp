// What the user sees on top while the program starts: the windows the start
// opens in front of the main window (which is disabled behind Setup), read
// from the X server's stacking, with and without a window manager.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/programstart.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestStacking : public QObject {
    Q_OBJECT
private slots:
    void startWindowsAreInFrontOfTheMainWindow_data()
    {
        QTest::addColumn<bool>("settings");  // a complete kzmap.ini
        QTest::addColumn<QString>("window"); // the one expected in front
        QTest::newRow("a map argument without settings: Setup") << false << "Setup";
        QTest::newRow("a map argument whose name key is no entry: Attention!") << true << "Info";
    }
    void startWindowsAreInFrontOfTheMainWindow()
    {
        QFETCH(bool, settings);
        QFETCH(QString, window);
        QTemporaryDir dir;
        for (const char *d : {"prog", "kz", "kzbase", "game"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        const QString kz = dir.filePath("kz/"), base = dir.filePath("kzbase/");
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        if (settings)
            build::file(dir, "prog/kzmap.ini",
                        (kz + "\r\n" + base + "\r\n" + dir.filePath("game/") + "\r\n" + base + "\r\n\r\n59\r\n00\r\n")
                            .toLocal8Bit());
        build::file(dir, "kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx"})
            build::file(dir, QStringLiteral("kz/") + QLatin1String(p), build::sampleFile("kz/vlmrd.pcx"));
        build::file(dir, "kzbase/kzmpname.bin", build::nameList({"First"}));
        build::Header h;
        h.terrain = "vlmrtest.trn";
        h.mapKey = "        "; // names no entry
        const QString map = build::file(dir, "kzbase/m.bms", build::map(h, {{2001, 1}}));

        TFakeDialogs dialogs;
        const auto form = StartProgram(dialogs, {QStringLiteral("vellumar"), map}, dir.filePath("prog/"));
        QWidget *front = window == "Setup" ? static_cast<QWidget *>(form->Form2.get()) : form->Form6.get();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(dialogs.errors, QStringList());
        QVERIFY(QTest::qWaitFor([front] { return front->isVisible(); }));
        QCOMPARE(form->isEnabled(), window != "Setup");
        // Where front overlaps the main window, the user sees front; given the
        // window manager time to place and stack what was mapped.
        const QRect overlap = front->frameGeometry() & form->frameGeometry();
        QVERIFY2(!overlap.isEmpty(), "the window does not lie over the main window");
        const QPoint inside = front->geometry().intersected(form->frameGeometry()).center();
        QTest::qWait(500);
        QWidget *seen = QApplication::widgetAt(inside);
        QVERIFY2(seen && seen->window() == front,
                 qPrintable(QStringLiteral("on top at (%1, %2): %3")
                                .arg(inside.x())
                                .arg(inside.y())
                                .arg(seen ? seen->window()->windowTitle() : QStringLiteral("nothing"))));
        form->close();
    }
};

VELLUMAR_TEST(TestStacking)
#include "tst_stacking.moc"
