// Writes in place, where a folder cannot be written but its files can: a
// full disk, a write that fails halfway and a writer killed at any moment
// leave the file whole, as it was or as it was to be.
#include "builders.h"
#include "ordinaryuser.h"
#include "testregistry.h"
#include "userdatafolder.h"

#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/recoveryfolder.h"
#include "fileio/safetycopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A tmpfs of a few hundred KiB, mounted for the object's life.
struct TSmallDisk {
    QTemporaryDir mountPoint;
    bool mounted = false;
    explicit TSmallDisk(int kib)
    {
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0777";
        mounted = geteuid() == 0
            && mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TSmallDisk()
    {
        if (mounted)
            umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH);
    }
    QString path(const QString &name) const { return mountPoint.filePath(name); }
    // Leaves exactly bytesLeft free (a multiple of the page size).
    void fillUpTo(qint64 bytesLeft) const
    {
        const qint64 available = QStorageInfo(mountPoint.path()).bytesAvailable();
        QFile filler(path(QStringLiteral("filler")));
        if (filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(qMax<qint64>(0, available - bytesLeft), 'f'));
    }
};

QByteArray content(int size, char seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char(seed + i % 97);
    return b;
}

QStringList copiesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.old")}, QDir::Files);
}

} // namespace

class TestSafeWrite : public QObject {
    Q_OBJECT
private slots:
    // The map's folder is on a small disk and cannot be written; the map can.
    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("oldSize");
        QTest::addColumn<int>("newSize");
        QTest::addColumn<int>("bytesLeft");
        QTest::addColumn<bool>("copyOnThatDisk");
        QTest::addColumn<int>("fileSizeLimit"); // 0: none
        QTest::addColumn<QString>("error");     // empty: written
        QTest::newRow("a file growing past the free space is refused before it changes")
            << 20000 << 120000 << 40960 << false << 0 << Msg::DiskFull;
        QTest::newRow("a file growing within the free space is written") << 20000 << 50000 << 40960 << false << 0 << "";
        QTest::newRow("a file rewritten at its own size needs no free space") << 100000 << 100000 << 0 << false << 0 << "";
        QTest::newRow("a file that shrinks on a full disk is cut to its new length")
            << 100000 << 30000 << 0 << false << 0 << "";
        QTest::newRow("no room for the copy of the old bytes refuses the write")
            << 20000 << 20000 << 4096 << true << 0 << "The file cannot be written in place";
        QTest::newRow("a write failing halfway puts the old bytes back")
            << 30000 << 120000 << 200000 << false << 60000 << Msg::DiskFull;
    }
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(int, oldSize);
        QFETCH(int, newSize);
        QFETCH(int, bytesLeft);
        QFETCH(bool, copyOnThatDisk);
        QFETCH(int, fileSizeLimit);
        QFETCH(QString, error);
        TSmallDisk disk(512);
        if (!disk.mounted)
            QSKIP("mounting a small tmpfs needs root");
        QDir(disk.mountPoint.path()).mkpath(QStringLiteral("shared"));
        QDir(disk.mountPoint.path()).mkpath(QStringLiteral("data"));
        TUserDataFolder data(copyOnThatDisk ? disk.path(QStringLiteral("data")) : QString());
        const QString target = disk.path(QStringLiteral("shared/map.bms"));
        const QByteArray oldBytes = content(oldSize, 'a');
        const QByteArray newBytes = content(newSize, 'A');
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(oldBytes) == oldSize);
        f.close();
        setMode(target, 0666);
        setMode(disk.path(QStringLiteral("shared")), 0555);
        disk.fillUpTo(bytesLeft);
        const QString result = asOrdinaryUser([&] {
            if (fileSizeLimit > 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            try {
                writeWholeFile(target, newBytes);
                return QString();
            } catch (const TError &e) {
                return e.text();
            }
        });
        QVERIFY2(error.isEmpty() ? result.isEmpty() : result.startsWith(error), qPrintable(result));
        QCOMPARE(build::readFile(target), error.isEmpty() ? newBytes : oldBytes);
        QCOMPARE(QDir(disk.path(QStringLiteral("shared"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("map.bms")});
        QCOMPARE(copiesIn(RecoveryFolder()), QStringList());
    }

    // A real writer process, as an ordinary user, killed at a random moment
    // of its loop over two contents; the file is then one of them, or the
    // copy found at the next start puts the old one back.
    void killedWriterNeverDestroysTheFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("the map") << "map" << build::mapOfObjects(2000, 2000) << build::mapOfObjects(1200, 1200);
        QList<QByteArray> names;
        for (int i = 0; i < 99; ++i)
            names << "Map name " + QByteArray::number(i);
        QTest::newRow("the map-name list") << "list" << build::nameList(names) << build::nameList(names.mid(0, 60));
        const QByteArray trn = build::sampleFile("kz/vlmrtest.trn");
        QTest::newRow("the terrain text") << "trn" << build::repeated(trn, 40) << build::repeated(trn, 25);
    }
    void killedWriterNeverDestroysTheFile()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QTemporaryDir dir;
        TUserDataFolder data;
        QDir(dir.path()).mkdir(QStringLiteral("shared"));
        const QString target = dir.filePath(QStringLiteral("shared/target"));
        const QString firstPath = build::file(dir, QStringLiteral("first"), first);
        const QString secondPath = build::file(dir, QStringLiteral("second"), second);
        build::file(dir, QStringLiteral("shared/target"), second);
        const QString appName = QCoreApplication::applicationName();
        openToEveryone(dir.path());
        setMode(dir.filePath(QStringLiteral("shared")), 0555);
        const QStringList writer{QStringLiteral(VELLUMAR_TEST_WRITER), appName, kind, target, firstPath, secondPath};
        const QStringList asNobody{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                   QStringLiteral("--clear-groups")};
        QRandomGenerator random(20261209);
        int incomplete = 0;
        const QList<QByteArray> whole{first, second};
        for (int attempt = 0; attempt < 120; ++attempt) {
            QProcess process;
            if (geteuid() == 0)
                process.start(QStringLiteral("setpriv"), asNobody + writer);
            else
                process.start(writer.first(), writer.mid(1));
            QVERIFY(process.waitForReadyRead(10000));
            QThread::usleep(random.bounded(20000));
            process.kill();
            process.waitForFinished();
            const QByteArray output = process.readAllStandardOutput();
            QVERIFY2(output == "writing\n", output.constData());
            // The next start, as the same user: incomplete files are put back, other copies go.
            const QString outcome = asOrdinaryUser([&] {
                QStringList unreadable;
                QString said;
                for (const TSafetyCopy &copy : TSafetyCopy::leftBehind(unreadable)) {
                    if (copy.targetState() == TSafetyCopy::TargetState::Incomplete) {
                        said += QStringLiteral("incomplete ");
                        try {
                            copy.putBack();
                        } catch (const TError &e) {
                            said += e.text();
                        }
                    } else {
                        copy.remove();
                    }
                }
                return said + unreadable.join(u' ');
            });
            const QByteArray now = build::readFile(target);
            QVERIFY2(whole.contains(now), qPrintable(QStringLiteral("attempt %1: %2 bytes, %3")
                                                         .arg(attempt)
                                                         .arg(now.size())
                                                         .arg(outcome)));
            QVERIFY2(outcome.isEmpty() || outcome == QStringLiteral("incomplete "), qPrintable(outcome));
            incomplete += outcome.isEmpty() ? 0 : 1;
            QCOMPARE(copiesIn(RecoveryFolder()), QStringList());
        }
        qInfo("%s: %d of 120 kills left the file incomplete, and its old content came back", qPrintable(kind),
              incomplete);
    }
};

VELLUMAR_TEST(TestSafeWrite)
#include "tst_safewrite.moc"
