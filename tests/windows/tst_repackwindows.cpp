// The Windows program hands a save to the game itself: "Save all && Do"
// with "Auto repack" and "KZ Auto start" writes the batch with the short
// (8.3) paths of a game folder whose name has blanks, and starts it through
// CreateProcessA, which runs it with cmd.exe in the game's folder. Stand-ins
// of the game's pack.exe and kz.exe log what they got.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestRepackOnWindows : public QObject {
    Q_OBJECT
private slots:
    void batchPacksEverySavedFileAndStartsTheGame_data()
    {
        QTest::addColumn<bool>("gameStart");
        QTest::newRow("with KZ Auto start: seven files packed, then the game") << true;
        QTest::newRow("without it: seven files packed, no game") << false;
    }
    void batchPacksEverySavedFileAndStartsTheGame()
    {
        QFETCH(bool, gameStart);
        QTemporaryDir dir;
        for (const char *d : {"prog", "kz", "kzbase", "Game Folder With Blanks"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        const QString kz = QDir::toNativeSeparators(dir.filePath("kz")) + '\\';
        const QString base = QDir::toNativeSeparators(dir.filePath("kzbase")) + '\\';
        const QString game = QDir::toNativeSeparators(dir.filePath("Game Folder With Blanks")) + '\\';
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
        const QString map = QDir::toNativeSeparators(build::file(
            dir, "kzbase/windows test.bms", build::map(h, {{2001, 1}, {6002, 2}}, QByteArray(1, '\0') + build::trailer())));

        TFakeDialogs dialogs;
        TForm1 form(dialogs, QString(), dir.filePath("prog/"));
        form.createWindows();
        dialogs.answerOpen(map);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        if (gameStart)
            QTest::mouseClick(form.Form3->C_KZstart, Qt::LeftButton); // also ticks "Auto repack"
        else
            QTest::mouseClick(form.Form3->C_AutoRepack, Qt::LeftButton);
        QVERIFY(form.Form3->C_AutoRepack->isChecked());
        QCOMPARE(form.Form3->C_KZstart->isChecked(), gameStart);
        QTest::mouseClick(form.Form3->Button1, Qt::LeftButton);
        QCOMPARE(dialogs.errors, QStringList());
        QCOMPARE(form.Form6->windowTitle(), QStringLiteral("Saved")); // the batch is not waited for

        const QString log = game + "repack.log";
        const int expected = gameStart ? 8 : 7;
        QVERIFY2(QTest::qWaitFor([&] { return build::readFile(log).count('\n') >= expected; }, 120000),
                 build::readFile(log).constData());
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
            // The short form: no blank splits the unquoted argument.
            QVERIFY2(!got[1].contains(' ') && got[1].contains('\\'), got[1].constData());
            QCOMPARE(got[2].toLongLong(), QFileInfo(packed[i].second).size());
        }
        QCOMPARE(lines.value(7), gameStart ? QByteArray("kz.exe started") : QByteArray());
        // The Windows program runs the batch as Windows does, with no log of its own.
        QVERIFY(!QFile::exists(game + "!VLMR_Repack.log"));
    }
};

VELLUMAR_TEST(TestRepackOnWindows)
#include "tst_repackwindows.moc"
