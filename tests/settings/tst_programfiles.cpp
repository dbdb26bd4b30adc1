// Where the program's files are: beside the program in the build folder or a
// portable copy, in the user's folders and the bundled share/vellumar/ for
// an installed copy.
#include "builders.h"
#include "testregistry.h"

#include "settings/programdir.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFiles : public QObject {
    Q_OBJECT
private slots:
    void filesLiveWhereTheCopyKeepsThem_data()
    {
        // Paths below a prefix made for the row: the program is in bin/, the
        // user's folders are config/ and data/. The three places are named
        // by those folders, "bundled" being share/vellumar/.
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("places"); // kzmap.ini, item.ini, kzmap.dat
        const QStringList beside{"bin", "bin", "bin"};
        QTest::newRow("the build folder keeps all three beside the program") << QStringList{"bin/item.ini"} << beside;
        QTest::newRow("an installed copy: settings in the user's folder, the bundled catalogue and trailer")
            << QStringList{"share/vellumar/item.ini"} << QStringList{"config", "bundled", "bundled"};
        QTest::newRow("the user's own item.ini takes the bundled one's place")
            << QStringList{"share/vellumar/item.ini", "data/item.ini"} << QStringList{"config", "data", "bundled"};
        QTest::newRow("the user's own kzmap.dat alone")
            << QStringList{"share/vellumar/item.ini", "data/kzmap.dat"} << QStringList{"config", "bundled", "data"};
        QTest::newRow("kzmap.ini beside an installed program makes it a portable copy")
            << QStringList{"share/vellumar/item.ini", "bin/kzmap.ini", "data/item.ini"} << beside;
    }
    void filesLiveWhereTheCopyKeepsThem()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, places);
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath(QStringLiteral("bin"));
        for (const QString &path : present) {
            QDir(prefix.path()).mkpath(QFileInfo(path).path());
            build::file(prefix, path, QByteArray("x"));
        }
        const QString root = prefix.path() + u'/';
        auto dir = [&root](const QString &place) {
            return QDir::toNativeSeparators(root + (place == QLatin1String("bundled") ? QStringLiteral("share/vellumar")
                                                                                     : place) + u'/');
        };
        const TProgramFiles files = LocateProgramFiles(root + QStringLiteral("bin/"), root + QStringLiteral("config"),
                                                       root + QStringLiteral("data"));
        QCOMPARE(QDir::toNativeSeparators(files.settingsDir), dir(places[0]));
        QCOMPARE(QDir::toNativeSeparators(files.catalogueDir), dir(places[1]));
        QCOMPARE(QDir::toNativeSeparators(files.trailerDir), dir(places[2]));
        QCOMPARE(files.beside, places == QStringList({"bin", "bin", "bin"}));
    }
};

VELLUMAR_TEST(TestProgramFiles)
#include "tst_programfiles.moc"
