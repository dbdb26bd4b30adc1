// Game folders whose paths hold letters of any language: set in Setup as a
// user types them, written to kzmap.ini at exit, read at the next start, and
// a map loaded through them; the file's bytes survive every run unchanged.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "settings/setupdialog.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Types text into a field as a keyboard does, one character per key press,
// also characters no Latin-1 key gives.
void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestSettingsPaths : public QObject {
    Q_OBJECT
private slots:
    void gameFoldersInAnyLanguage_data()
    {
        QTest::addColumn<QString>("folder");     // the game folder's name on disk
        QTest::addColumn<QByteArray>("written"); // the name's bytes in kzmap.ini; empty: as the file system names it
        QTest::newRow("ASCII") << "Games" << QByteArray();
        QTest::newRow("a Latin-1 byte 0xE9 from a copy made on Windows") << "Caf\u00e9" << QByteArray("Caf\xe9");
        QTest::newRow("Cyrillic") << "\u041a\u0430\u0440\u0442\u0430" << QByteArray();
        QTest::newRow("CJK") << "\u5730\u56fe" << QByteArray();
        QTest::newRow("the euro sign") << "\u20ac maps" << QByteArray();
    }
    void gameFoldersInAnyLanguage()
    {
        QFETCH(QString, folder);
        QFETCH(QByteArray, written);
#ifdef Q_OS_WIN
        // kzmap.ini holds the paths in the system's ANSI code page: a name
        // whose bytes there do not give it back is no folder this system's
        // settings can name (the Windows tests run under several code pages).
        if (QString::fromLocal8Bit(written.isEmpty() ? folder.toLocal8Bit() : written) != folder)
            QSKIP("the folder's name is not in this system's ANSI code page");
#endif
        QTemporaryDir dir;
        const QString root = dir.filePath(folder) + u'/';
        QVERIFY(QDir().mkpath(dir.filePath("prog")));
        for (const char *d : {"kz", "kzbase", "game", "work"})
            QVERIFY(QDir().mkpath(root + QLatin1String(d)));
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        build::file(dir, folder + "/kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx"})
            build::file(dir, folder + "/kz/" + QLatin1String(p), build::sampleFile("kz/vlmrd.pcx"));
        build::file(dir, folder + "/kzbase/kzmpname.bin", build::nameList({"First"}));
        build::Header h;
        h.terrain = "vlmrtest.trn";
        const QString map = build::file(dir, folder + "/kzbase/m.bms", build::map(h, {{2001, 1}, {2001, 2}}));

        const QString program = dir.filePath("prog/");
        const QString ini = program + "kzmap.ini";
        const QStringList places{root + "kz/", root + "kzbase/", root + "game/", root + "work/"};
        QByteArray expected;
        for (const QString &p : places)
            expected += (written.isEmpty() ? QFile::encodeName(p) : QFile::encodeName(p).replace(QFile::encodeName(folder), written))
                + "\r\n";
        expected += "\r\n59\r\n00\r\n";
        if (!written.isEmpty())
            build::file(dir, "prog/kzmap.ini", expected); // the copy from Windows

        {   // First run: the four places typed into Setup (or confirmed as read), Ok, exit.
            TFakeDialogs dialogs;
            TForm1 form(dialogs, QString(), program);
            form.createWindows();
            QTest::mouseClick(form.Button6, Qt::LeftButton);
            TForm2 &setup = *form.Form2;
            QVERIFY(setup.isVisible());
            if (written.isEmpty()) {
                const QList<QLineEdit *> fields{setup.Edit1, setup.Edit2, setup.Edit3, setup.Edit4};
                for (int i = 0; i < 4; ++i)
                    typeInto(fields[i], places[i]);
            } else {
                QCOMPARE(setup.Edit1->text(), places[0]);
            }
            QTest::mouseClick(setup.Button3, Qt::LeftButton);
            QCOMPARE(dialogs.errors, QStringList());
            QVERIFY(form.Store.SettingsComplete);
        }
        QCOMPARE(build::readFile(ini), expected);

        {   // Next start: the map loads through the places read back.
            TFakeDialogs dialogs;
            TForm1 form(dialogs, QString(), program);
            form.createWindows();
            QCOMPARE(form.Form2->Edit2->text(), places[1]);
            dialogs.answerOpen(map);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            QCOMPARE(dialogs.errors, QStringList());
            QCOMPARE(dialogs.openRequests.size(), 1); // no terrain search
            QCOMPARE(dialogs.openRequests[0].initialDir, places[1]);
            QVERIFY(form.Button1->isHidden());
            QCOMPARE(form.Document.ObjectCount, 2);
            QCOMPARE(form.Document.TrnPath, places[0] + "vlmrtest.trn");
        }
        QCOMPARE(build::readFile(ini), expected);
    }
};

VELLUMAR_TEST(TestSettingsPaths)
#include "tst_settingspaths.moc"
