// A save handed to the game for real: the editor saves a map whose game folder
// has blanks in its name with "Auto repack" and "KZ Auto start", Wine runs the
// batch, and stand-ins of the game's pack.exe and kz.exe log what they got.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "handoff/repackrun.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A game folder with blanks in its name, without the game's programs, and a
// map to save into it.
struct Game {
    QTemporaryDir dir;
    QString kz, base, game, map;
    Game()
    {
        for (const char *d : {"prog", "kz", "kzbase", "Game Folder"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        kz = dir.filePath("kz/");
        base = dir.filePath("kzbase/");
        game = dir.filePath("Game Folder/");
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        build::file(dir, "prog/kzmap.dat", build::trailer());
        build::file(dir, "prog/kzmap.ini",
                    (kz + "\r\n" + base + "\r\n" + game + "\r\n" + base + "\r\n\r\n59\r\n00\r\n").toLocal8Bit());
        build::file(dir, "kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx", "vlmrs.pcx"})
            QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/kz/") + QLatin1String(p), kz + QLatin1String(p));
        build::file(dir, "kzbase/kzmpname.bin", build::nameList({"First"}));
        build::Header h;
        h.terrain = "vlmrtest.trn";
        map = build::file(dir, "kzbase/m.bms", build::map(h, {{2001, 1}}, QByteArray(1, '\0') + build::trailer()));
    }
};
} // namespace

class TestRepackUnderWine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A Wine prefix of the test's own.
        QVERIFY(m_prefix.isValid());
        qputenv("WINEPREFIX", m_prefix.path().toLocal8Bit());
        qputenv("WINEDEBUG", "-all");
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
        // The prefix is set up before the save, so the save's own path lookup
        // does not race the set-up against its time limit on a busy machine.
        QCOMPARE(QProcess::execute(QStringLiteral("wine"), {QStringLiteral("wineboot"), QStringLiteral("--init")}), 0);
    }
    void cleanupTestCase()
    {
        QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
    }

    void batchPacksEverySavedFileAndStartsTheGame()
    {
        QTemporaryDir dir;
        for (const char *d : {"prog", "kz", "kzbase", "Game Folder With Blanks"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        const QString kz = dir.filePath("kz/"), base = dir.filePath("kzbase/");
        const QString game = dir.filePath("Game Folder With Blanks/");
        QVERIFY(QFile::copy(QStringLiteral(STANDIN_PACK), game + "pack.exe"));
        QVERIFY(QFile::copy(QStringLiteral(STANDIN_GAME), game + "kz.exe"));
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        build::file(dir, "prog/kzmap.dat", build::trailer());
        build::file(dir, "prog/kzmap.ini",
                    (kz + "\r\n" + base + "\r\n" + game + "\r\n" + base + "\r\n\r\n59\r\n00\r\n").toLocal8Bit());
        build::file(dir, "kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        // Pictures of different sizes, so each line's size tells its file.
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx", "vlmrs.pcx"})
            QVERIFY(QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/kz/") + QLatin1String(p), kz + QLatin1String(p)));
        build::file(dir, "kzbase/kzmpname.bin", build::nameList({"First", "Second"}));
        build::Header h;
        h.terrain = "vlmrtest.trn";
        const QString map = build::file(dir, "kzbase/wine test.bms",
                                        build::map(h, {{2001, 1}, {6002, 2}}, QByteArray(1, '\0') + build::trailer()));

        TFakeDialogs dialogs;
        TForm1 form(dialogs, QString(), dir.filePath("prog/"));
        form.createWindows();
        dialogs.answerOpen(map);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Form3->C_KZstart, Qt::LeftButton); // also ticks "Auto repack"
        QVERIFY(form.Form3->C_AutoRepack->isChecked());
        QTest::mouseClick(form.Form3->Button1, Qt::LeftButton);
        QCOMPARE(dialogs.errors, QStringList());

        const QString log = game + "repack.log";
        QVERIFY2(QTest::qWaitFor([&] { return build::readFile(log).count('\n') >= 8; }, 180000), build::readFile(log).constData());
        const QList<QByteArray> lines = build::readFile(log).split('\n');
        const std::pair<const char *, QString> packed[] = {
            {"kzbase.pff", map},         {"kzbase.pff", base + "kzmpname.bin"}, {"kz.pff", kz + "vlmrtest.trn"},
            {"kz.pff", kz + "vlmrc.pcx"}, {"kz.pff", kz + "vlmre.pcx"},          {"kz.pff", kz + "vlmrd.pcx"},
            {"kz.pff", kz + "vlmrs.pcx"},
        };
        for (int i = 0; i < 7; ++i) {
            const QList<QByteArray> got = lines[i].split('|');
            QCOMPARE(got.size(), 3);
            QCOMPARE(got[0], QByteArray(packed[i].first));
            QVERIFY2(!got[1].contains(' ') && got[1].contains('\\'), got[1].constData());
            QCOMPARE(got[2].toLongLong(), QFileInfo(packed[i].second).size());
        }
        QCOMPARE(lines[7], QByteArray("kz.exe started"));
        // The batch's output is in the log beside it, and a run that went
        // through adds nothing to "Saved".
        QVERIFY(QTest::qWaitFor([&] { return form.Form3->findChildren<TRepackRun *>().isEmpty(); }, 60000));
        const QByteArray repackLog = build::readFile(game + "!VLMR_Repack.log");
        QVERIFY2(repackLog.count("pack.exe kz.pff ") == 5 && repackLog.contains("kz.exe"), repackLog.constData());
        QCOMPARE(form.Form6->windowTitle(), QStringLiteral("Saved"));
    }

    // A batch whose lines fail is shown in the Info window with its log; the
    // program waited for nothing meanwhile.
    void failedRepackIsShownWithItsLog_data()
    {
        QTest::addColumn<bool>("withPack"); // pack.exe in the game's folder
        QTest::addColumn<QString>("missing"); // a picture removed before the save
        QTest::addColumn<QString>("failure");
        QTest::newRow("no pack.exe: a line cmd cannot run") << false << "" << "a line of the batch could not be run";
        QTest::newRow("the last pack.exe line fails (no sky map)")
            << true << "vlmrs.pcx" << "line 7 of the batch ended with exit code 1";
        QTest::newRow("a pack.exe line amid lines that go through fails (no detail map)")
            << true << "vlmrd.pcx" << "line 6 of the batch ended with exit code 1";
    }
    void failedRepackIsShownWithItsLog()
    {
        QFETCH(bool, withPack);
        QFETCH(QString, missing);
        QFETCH(QString, failure);
        Game g;
        if (withPack)
            QVERIFY(QFile::copy(QStringLiteral(STANDIN_PACK), g.game + "pack.exe"));
        if (!missing.isEmpty())
            QVERIFY(QFile::remove(g.kz + missing));
        TFakeDialogs dialogs;
        TForm1 form(dialogs, QString(), g.dir.filePath("prog/"));
        form.createWindows();
        dialogs.answerOpen(g.map);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Button11, Qt::LeftButton);
        form.Form3->C_AutoRepack->setChecked(true);
        QTest::mouseClick(form.Form3->Button1, Qt::LeftButton);
        QCOMPARE(dialogs.errors, QStringList());
        QCOMPARE(form.Form6->windowTitle(), QStringLiteral("Saved")); // the batch is not waited for
        QVERIFY(QTest::qWaitFor([&] { return form.Form6->windowTitle() == "Repack"; }, 120000));
        QCOMPARE(form.Form6->L_Text1->text(), "Repack failed: " + failure);
        const QString log = g.game + "!VLMR_Repack.log";
        QCOMPARE(form.Form6->L_Text2->text(), "See " + log);
        QVERIFY2(build::readFile(log).contains("pack.exe kzbase.pff"), build::readFile(log).constData());
    }

    // The first save where Wine never ran sets Wine up while it looks the
    // paths up: a busy cursor at once, after half a second a window saying
    // so, and the program's windows go on painting.
    void firstSaveWithoutWineKeepsTheUserInformed()
    {
        QTemporaryDir freshPrefix;
        const QByteArray prefix = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", freshPrefix.path().toLocal8Bit());
        Game g;
        TFakeDialogs dialogs;
        TForm1 form(dialogs, QString(), g.dir.filePath("prog/"));
        form.createWindows();
        dialogs.answerOpen(g.map);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Seen every 50 ms while the save runs.
        QElapsedTimer clock;
        int ticks = 0, busyTicks = 0;
        qint64 firstBusy = -1, dialogAt = -1, lastTick = 0, longestGap = 0;
        QString dialogText;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            ++ticks;
            longestGap = std::max(longestGap, clock.elapsed() - lastTick);
            lastTick = clock.elapsed();
            if (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor) {
                ++busyTicks;
                if (firstBusy < 0)
                    firstBusy = clock.elapsed();
            }
            for (auto *d : form.findChildren<QProgressDialog *>())
                if (d->isVisible() && dialogAt < 0) {
                    dialogAt = clock.elapsed();
                    dialogText = d->labelText();
                }
        });
        dialogs.answerSave(g.map);
        clock.start();
        watch.start(50);
        QTest::mouseClick(form.Button7, Qt::LeftButton);
        const qint64 took = clock.elapsed();
        watch.stop();
        QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
        qputenv("WINEPREFIX", prefix);

        QCOMPARE(dialogs.errors, QStringList());
        QVERIFY2(took > 1000, "Wine's set-up was quicker than the test needs");
        QVERIFY(firstBusy >= 0 && firstBusy < 500);
        QVERIFY2(dialogAt >= 450 && dialogAt < 1500, qPrintable(QString::number(dialogAt)));
        QCOMPARE(dialogText, QStringLiteral("Looking up the game's paths with Wine..."));
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap))); // the event loop ran throughout
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(form.findChildren<QProgressDialog *>().isEmpty());
        // The batch has the short Windows paths Wine gave.
        QVERIFY2(build::readFile(g.game + "!VLMR_Repack.bat").contains("pack.exe kzbase.pff Z:\\"),
                 build::readFile(g.game + "!VLMR_Repack.bat").constData());
    }

private:
    QTemporaryDir m_prefix;
};

VELLUMAR_TEST(TestRepackUnderWine)
#include "tst_repackwine.moc"
