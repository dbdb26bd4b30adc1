// The settings file kzmap.ini.
#include "builders.h"
#include "testregistry.h"

#include "settings/settings.h"

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
