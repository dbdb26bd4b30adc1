// The settings file kzmap.ini.
#include "builders.h"
#include "ordinaryuser.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("workDir");
        QTest::addColumn<QString>("saveOptions");
        QTest::newRow("no file: empty values, options 00") << QByteArray() << false << "" << "00";
        QTest::newRow("seven lines") << QByteArray("C:\\kz\\\r\nC:\\base\\\r\nC:\\game\\\r\nC:\\work\\\r\n\r\n59\r\n10\r\n") << true << "C:\\work\\" << "10";
        QTest::newRow("a short file empties the options too") << QByteArray("a\\\r\nb\\\r\n") << true << "" << "";
        QTest::newRow("an empty first line is incomplete") << QByteArray("\r\nb\r\nc\r\nd\r\n\r\n59\r\n00\r\n") << false << "d" << "00";
        QTest::newRow("values keep their spaces") << QByteArray("x\r\n\r\n\r\n  work dir  \r\n") << true << "  work dir  " << "";
        QTest::newRow("what follows the seven lines is not read")
            << QByteArray("a\r\nb\r\nc\r\nd\r\n\r\n59\r\n01\r\n") + QByteArray(1 << 20, '\n') + QByteArray(40000, 'x')
            << true << "d" << "01";
    }
    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, complete);
        QFETCH(QString, workDir);
        QFETCH(QString, saveOptions);
        QTemporaryDir dir;
        if (!file.isEmpty())
            build::file(dir, QStringLiteral("kzmap.ini"), file);
        TSettingsStore s;
        s.LoadSettings(dir.path() + u'/');
        QCOMPARE(s.SettingsPath, dir.filePath(QStringLiteral("kzmap.ini")));
        QCOMPARE(s.SettingsComplete, complete);
        QCOMPARE(s.Settings.WorkDir, workDir);
        QCOMPARE(s.Settings.SaveOptions, saveOptions);
    }

    void writingSevenLines()
    {
        QTemporaryDir dir;
        TSettingsStore s;
        s.LoadSettings(dir.path() + u'/');
        s.SaveSettings();
        QFile f(s.SettingsPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n00\r\n"));
        f.close();

        s.Settings = {QStringLiteral("/kz/"), QStringLiteral("/base/"), QStringLiteral("/game/"),
                      QStringLiteral("/work/"), QString(), QStringLiteral("59"), QStringLiteral("11")};
        s.SaveSettings();
        TSettingsStore again;
        again.LoadSettings(dir.path() + u'/');
        QCOMPARE(again.Settings, s.Settings);
        QVERIFY(again.readyToLoad());
        QVERIFY(again.autoRepack() && again.autoStart());

        // A text no file name can hold (a lone UTF-16 half) is refused; the file stays.
        const QByteArray kept = build::readFile(s.SettingsPath);
        s.Settings.WorkDir = QStringLiteral("/home/") + QChar(0xD800) + QStringLiteral("/work/");
        QVERIFY_THROWS_EXCEPTION(TError, s.SaveSettings());
        QCOMPARE(build::readFile(s.SettingsPath), kept);
    }

    void valuesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("a path byte 0xE9 stays one byte")
            << QByteArray("C:\\Spi\xe9le\\kz\\\r\nb\r\nc\r\nd\r\n\r\n59\r\n00\r\n");
        QByteArray high;
        for (int c = 0x80; c <= 0xFF; ++c)
            high += char(c);
        QTest::newRow("every byte from 0x80 to 0xFF") << QByteArray("a\r\n") + high + "\r\nc\r\nd\r\ne\r\n59\r\n11\r\n";
        QTest::newRow("a line of the longest length kept")
            << QByteArray(TSettingsStore::MaxLineLength, 'p') + "\r\nb\r\nc\r\nd\r\n\r\n59\r\n00\r\n";
    }
    void valuesComeBackByteForByte()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = build::file(dir, QStringLiteral("kzmap.ini"), file);
        TSettingsStore s;
        s.LoadSettings(dir.path() + u'/');
        s.SaveSettingsAtExit();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), file);
    }

    // As an ordinary user, since root may read any file.
    void unreadableFileReadsAsMissingAndIsKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a directory named kzmap.ini") << "directory";
#ifndef Q_OS_WIN // Windows keeps no file that can be written but not read
        QTest::newRow("a file without read permission") << "no permission";
#endif
        QTest::newRow("a line longer than any path") << "long line";
    }
    void unreadableFileReadsAsMissingAndIsKept()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kzmap.ini"));
        const QByteArray content = kind == "long line" ? QByteArray(TSettingsStore::MaxLineLength + 1, 'p') + "\r\nb\r\n"
                                                       : QByteArray("C:\\kz\\\r\nb\r\nc\r\nd\r\n\r\n59\r\n10\r\n");
        if (kind == "directory")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("kzmap.ini")));
        else
            build::file(dir, QStringLiteral("kzmap.ini"), content);
        openToEveryone(dir.path());
        if (kind == "no permission")
            setMode(path, 0222);
        const QString result = asOrdinaryUser([&] {
            TSettingsStore s;
            QString error;
            try {
                s.LoadSettings(dir.path() + u'/');
            } catch (const TError &e) {
                error = e.text();
            }
            // What a missing file gives, and the exit leaves the file alone.
            if (!s.SettingsUnreadable || s.SettingsComplete || s.Settings != TSettings{})
                return QStringLiteral("not read as missing: ") + error;
            s.SaveSettingsAtExit();
            return error;
        });
        setMode(path, 0666);
        QVERIFY2(result.contains(path), qPrintable(result));
        if (kind != "directory") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    void settingsConfirmedAfterAnUnreadableFileAreWritten()
    {
        QTemporaryDir dir;
        build::file(dir, QStringLiteral("kzmap.ini"), QByteArray(TSettingsStore::MaxLineLength + 1, 'p'));
        TSettingsStore s;
        QVERIFY_THROWS_EXCEPTION(TError, s.LoadSettings(dir.path() + u'/'));
        s.Settings.GameFilesDir = QStringLiteral("/kz/");
        s.SaveSettings(); // Setup's Ok
        s.Settings.WorkDir = QStringLiteral("/work/");
        s.SaveSettingsAtExit();
        QFile f(s.SettingsPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("/kz/\r\n\r\n\r\n/work/\r\n\r\n\r\n00\r\n"));
    }

    void readyToLoadNeedsTheFourDirectories()
    {
        TSettingsStore s;
        s.SettingsComplete = true;
        s.Settings = {QStringLiteral("kz"), QStringLiteral("base"), QStringLiteral("game"), QString(),
                      QString(), QString(), QStringLiteral("00")};
        QVERIFY(!s.readyToLoad());
        s.Settings.WorkDir = QStringLiteral("w");
        QVERIFY(s.readyToLoad());
        s.SettingsComplete = false;
        QVERIFY(!s.readyToLoad());
    }
};

VELLUMAR_TEST(TestSettings)
#include "tst_settings.moc"
