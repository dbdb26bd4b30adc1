// The .bms file association: ShellExt1's values and property rules, and the
// Setup dialog's two buttons against the real freedesktop tools in a
// temporary home (the Windows registry side runs under Wine, see wine/).
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "settings/settings.h"
#include "settings/setupdialog.h"
#include "settings/shellext.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every file below dir with its bytes.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(QDir(dir).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>"));
    }
    return files;
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return QStringLiteral("<did not finish>");
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// XDG_DATA_HOME and XDG_CONFIG_HOME pointed into a temporary home for the
// test's lifetime, so the buttons never touch the real user's files.
struct TXdgHome {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("share"));
    QString config = dir.filePath(QStringLiteral("config"));
    QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    TXdgHome()
    {
        QDir().mkpath(data);
        QDir().mkpath(config);
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    }
    ~TXdgHome()
    {
        restore("XDG_DATA_HOME", oldData);
        restore("XDG_CONFIG_HOME", oldConfig);
    }
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QMap<QString, QByteArray> files() const { return snapshot(dir.path()); }
};

// An environment variable set for a scope.
struct TEnvValue {
    const char *name;
    QByteArray old;
    TEnvValue(const char *n, const QByteArray &value) : name(n), old(qgetenv(n)) { qputenv(name, value); }
    ~TEnvValue() { TXdgHome::restore(name, old); }
};

} // namespace

class TestShellExt : public QObject {
    Q_OBJECT
private slots:
    void setupDialogLinksBmsFilesToThisProgram()
    {
        TSettingsStore store;
        TFakeDialogs dialogs;
        TForm2 form(store, dialogs, nullptr);
        const TShellExt &ext = *form.ShellExt1;
        QCOMPARE(ext.IconIndex(), 0);
        QCOMPARE(ext.ExtDescription(), QStringLiteral("KZ Mapfile"));
        QCOMPARE(ext.FileDescription(), QStringLiteral("Kozarak Map File"));
        QCOMPARE(ext.Extension(), QStringLiteral(".bms"));
        QCOMPARE(ext.ParamString(), QStringLiteral("%1"));
        QVERIFY(ext.OpenWithMe());
        QCOMPARE(ext.OpenWith(), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    }

    void openWithFollowsTheProgramWhileOpenWithMe()
    {
        TShellExt ext(nullptr);
        ext.setOpenWith(QStringLiteral("/elsewhere/editor"));
        QCOMPARE(ext.OpenWith(), QStringLiteral("[Self]")); // no effect while OpenWithMe
        ext.setOpenWithMe(false);
        ext.setOpenWith(QStringLiteral("/elsewhere/editor"));
        QCOMPARE(ext.OpenWith(), QStringLiteral("/elsewhere/editor"));
        ext.setOpenWithMe(true);
        QCOMPARE(ext.OpenWith(), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    }

    void freedesktopRoundTrip_data()
    {
        QTest::addColumn<bool>("ownFiles");
        QTest::newRow("an empty home gets the link and loses every trace of it") << false;
        QTest::newRow("a home with its own types and defaults keeps them byte for byte") << true;
    }
    void freedesktopRoundTrip()
    {
        QFETCH(bool, ownFiles);
        TXdgHome home;
        if (ownFiles) {
            put(home.config + "/mimeapps.list",
                "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\ntext/plain=editor.desktop\n");
            put(home.data + "/mime/packages/other.xml",
                "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">"
                "<mime-type type=\"application/x-other\"><glob pattern=\"*.oth\"/></mime-type></mime-info>\n");
            QCOMPARE(QProcess::execute(QStringLiteral("update-mime-database"), {home.data + "/mime"}), 0);
            put(home.data + "/applications/editor.desktop", "[Desktop Entry]\nType=Application\nName=e\nExec=e %f\n");
        }

        // The program the association starts: records its arguments. A
        // blank in its path checks the Exec line's quoting.
        const QString program = home.dir.filePath(QStringLiteral("the editor/vellumar"));
        const QString record = home.dir.filePath(QStringLiteral("arguments.txt"));
        put(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toLocal8Bit() + "'\n");
        QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString map = home.dir.filePath(QStringLiteral("maps/Desert Storm.BMS"));
        const QString lower = home.dir.filePath(QStringLiteral("maps/lower.bms"));
        put(map, QByteArray("BMS\r\0\0\1\2", 8));
        put(lower, QByteArray("BMS\r\0\0\1\2", 8));
        const QMap<QString, QByteArray> withProgram = home.files();

        TSettingsStore store;
        TFakeDialogs dialogs;
        TForm2 form(store, dialogs, nullptr);
        form.ShellExt1->setOpenWithMe(false);
        form.ShellExt1->setOpenWith(program);
        QTest::mouseClick(form.Button4, Qt::LeftButton);

        QCOMPARE(run("xdg-mime", {"query", "filetype", map}), QStringLiteral("application/x-kz-mapfile"));
        QCOMPARE(run("xdg-mime", {"query", "filetype", lower}), QStringLiteral("application/x-kz-mapfile"));
        QCOMPARE(run("xdg-mime", {"query", "default", "application/x-kz-mapfile"}),
                 QStringLiteral("vellumar-kz-mapfile.desktop"));
        // Opening the map the desktop's way runs the program with the map's
        // path as its first argument, which is what Load opens.
        QCOMPARE(QProcess::execute(QStringLiteral("gio"), {"open", map}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(snapshot(home.dir.path()).value("arguments.txt"), map.toLocal8Bit() + '\n', 20000);
        QFile::remove(record);

        const QMap<QString, QByteArray> once = home.files();
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        QCOMPARE(home.files(), once);

        // A moved program: associating again rewrites the Exec line.
        form.ShellExt1->setOpenWith(home.dir.filePath(QStringLiteral("moved/vellumar")));
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        QVERIFY(home.files().value("share/applications/vellumar-kz-mapfile.desktop")
                    .contains("\nExec=" + home.dir.filePath("moved/vellumar").toLocal8Bit() + " %f\n"));

        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QCOMPARE(home.files(), withProgram);
        QVERIFY(run("xdg-mime", {"query", "filetype", lower}) != QLatin1String("application/x-kz-mapfile"));
        QTest::mouseClick(form.Button5, Qt::LeftButton); // nothing left to remove
        QCOMPARE(home.files(), withProgram);
    }

    void anInstalledProgramMakesThePackagesEntryTheDefault_data()
    {
        QTest::addColumn<bool>("packageRunsIt");
        QTest::addColumn<QString>("defaultEntry");
        QTest::newRow("the package's program writes the default line alone")
            << true << QStringLiteral(VELLUMAR_APP_ID ".desktop");
        QTest::newRow("another copy where the package is installed links itself as before")
            << false << QStringLiteral("vellumar-kz-mapfile.desktop");
    }
    void anInstalledProgramMakesThePackagesEntryTheDefault()
    {
        QFETCH(bool, packageRunsIt);
        QFETCH(QString, defaultEntry);
        TXdgHome home;
        // The package's entry and type in a system data directory, its
        // program on PATH.
        const QString system = home.dir.filePath(QStringLiteral("system"));
        const TEnvValue dataDirs("XDG_DATA_DIRS", system.toLocal8Bit());
        put(system + "/applications/" VELLUMAR_APP_ID ".desktop", build::readFile(VELLUMAR_DATA "/" VELLUMAR_APP_ID ".desktop"));
        put(system + "/mime/packages/" VELLUMAR_APP_ID ".xml", build::readFile(VELLUMAR_DATA "/" VELLUMAR_APP_ID ".xml"));
        QCOMPARE(QProcess::execute(QStringLiteral("update-mime-database"), {system + "/mime"}), 0);
        const QString installed = home.dir.filePath(QStringLiteral("bin/vellumar"));
        put(installed, "#!/bin/sh\n");
        QFile(installed).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const TEnvValue path("PATH", QFileInfo(installed).path().toLocal8Bit() + ':' + qgetenv("PATH"));
        const QMap<QString, QByteArray> before = home.files();

        TSettingsStore store;
        TFakeDialogs dialogs;
        TForm2 form(store, dialogs, nullptr);
        form.ShellExt1->setOpenWithMe(false);
        form.ShellExt1->setOpenWith(packageRunsIt ? installed : home.dir.filePath(QStringLiteral("copy/vellumar")));
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        QCOMPARE(run("xdg-mime", {"query", "default", "application/x-kz-mapfile"}), defaultEntry);
        if (packageRunsIt) {
            QStringList written = home.files().keys();
            for (const QString &old : before.keys())
                written.removeOne(old);
            QCOMPARE(written, QStringList{QStringLiteral("config/mimeapps.list")});
        }
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QCOMPARE(home.files(), before);
    }
};

VELLUMAR_TEST(TestShellExt)
#include "tst_shellext.moc"
