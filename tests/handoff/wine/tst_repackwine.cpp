// A save handed to the game for real: the editor saves a map whose game folder
// has blanks in its name with "Auto repack" and "KZ Auto start", Wine runs the
// batch, and stand-ins of the game's pack.exe and kz.exe log what they got.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "handoff/savemapdialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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
    }

private:
    QTemporaryDir m_prefix;
};

VELLUMAR_TEST(TestRepackUnderWine)
#include "tst_repackwine.moc"
