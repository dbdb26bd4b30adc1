// Writes in place, where a folder cannot be written but its files can: a
// full disk, a write that fails halfway and a writer killed at any moment
// leave the file whole, as it was or as it was to be. The copy of the old
// content found at the next start is put back only into a file the program
// itself writes, and only into that file.
#include "builders.h"
#include "fakedialogs.h"
#include "ordinaryuser.h"
#include "testregistry.h"
#include "userdatafolder.h"

#include "app/leftbehindwrites.h"
#include "document/mapnamelist.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/recoveryfolder.h"
#include "fileio/safetycopy.h"
#include "handoff/repackbatch.h"
#include "handoff/tableexport.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
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

// A copy of oldBytes, as a write in place of target to newBytes that was
// killed leaves it in the recovery folder.
void leaveSafetyCopy(const QString &target, const QByteArray &oldBytes, const QByteArray &newBytes)
{
    const auto digest = [](const QByteArray &b) { return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex(); };
    const QByteArray copy = "Vellumar safety copy 1\n" + QFile::encodeName(target).toPercentEncoding() + '\n'
        + QByteArray::number(oldBytes.size()) + ' ' + digest(oldBytes) + '\n' + QByteArray::number(newBytes.size())
        + ' ' + digest(newBytes) + '\n' + oldBytes;
    QDir().mkpath(MakeRecoveryFolder());
    QFile file(RecoveryFolder() + QStringLiteral("write-1-1-1.old"));
    if (!file.open(QIODevice::WriteOnly) || file.write(copy) != copy.size())
        qFatal("cannot leave a safety copy");
}

// What is at path: its bytes, or "link", "pipe", "missing".
QByteArray whatIsAt(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return "link";
    if (!info.exists())
        return "missing";
    return info.isFile() ? build::readFile(path) : QByteArray("pipe");
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
        // The file has a name of its kind: only such a file is put back.
        const QString name = kind == "map" ? QStringLiteral("target.bms")
            : kind == "list"               ? QString::fromLatin1(TMapNameList::FileName)
                                           : QStringLiteral("target.trn");
        const QString target = dir.filePath(QStringLiteral("shared/") + name);
        const QString firstPath = build::file(dir, QStringLiteral("first"), first);
        const QString secondPath = build::file(dir, QStringLiteral("second"), second);
        build::file(dir, QStringLiteral("shared/") + name, second);
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

    // At the start, the copy of a write that was killed halfway is offered
    // and put back ("Put back"): only a copy of a kind of file the program
    // writes in place, and only into a regular file at its path or none.
    void leftCopiesArePutBackOnlyIntoTheProgramsFiles_data()
    {
        QTest::addColumn<QString>("target"); // under the test's folder, or absolute
        QTest::addColumn<QString>("now");    // at the target now: "half", "missing", "link", "pipe"
        QTest::addColumn<QString>("error");  // the start's error, empty for none
        QTest::addColumn<bool>("putBack");   // the old content is in the target afterwards
        const QString refused = QStringLiteral("A copy Vellumar kept of a file while writing it names \"");
        const QString notRegular = QStringLiteral("The file's old content is not put back");
        QTest::newRow("a map left incomplete is put back") << "map.BMS" << "half" << "" << true;
        QTest::newRow("a map that is gone is written again") << "map.bms" << "missing" << "" << true;
        QTest::newRow("the map-name list is put back") << TMapNameList::FileName << "half" << "" << true;
        QTest::newRow("the settings are put back") << SettingsFileName << "half" << "" << true;
        QTest::newRow("the repack batch is put back") << RepackBatchName << "half" << "" << true;
        QTest::newRow("the table export is put back") << ExportFileName << "half" << "" << true;
        QTest::newRow("a terrain text is put back") << "vlmrtest.trn" << "half" << "" << true;
        QTest::newRow("a copy naming /dev/zero is refused, not read") << "/dev/zero" << "" << refused << false;
        QTest::newRow("a copy naming a file the program never writes is refused")
            << "notes.txt" << "half" << refused << false;
        QTest::newRow("a terrain text whose name no map can hold is refused")
            << "longer-name.trn" << "half" << refused << false;
        QTest::newRow("a map whose name is a link now: the file it leads to stays")
            << "map.bms" << "link" << notRegular << false;
        QTest::newRow("a map whose name is a pipe now: not read, not written")
            << "map.bms" << "pipe" << notRegular << false;
    }
    void leftCopiesArePutBackOnlyIntoTheProgramsFiles()
    {
        QFETCH(QString, target);
        QFETCH(QString, now);
        QFETCH(QString, error);
        QFETCH(bool, putBack);
        QTemporaryDir dir;
        const TUserDataFolder data;
        const QString path = target.startsWith(u'/') ? target : dir.filePath(target);
        const QString other = build::file(dir, QStringLiteral("other.txt"), "another file");
        const QByteArray oldBytes = "the content before the save";
        if (now == "half")
            build::file(dir, target, "the content bef");
        else if (now == "link")
            QVERIFY(QFile::link(other, path));
        else if (now == "pipe")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        leaveSafetyCopy(path, oldBytes, "the content after the save");

        const QString result = inLimitedChild([&] {
            TFakeDialogs dialogs;
            dialogs.answerQuestion(0);
            OfferLeftBehindWrites(dialogs, nullptr);
            return QStringLiteral("%1 questions\n").arg(dialogs.questions.size()) + dialogs.errors.join(u'|');
        });
        const QString errors = result.section(u'\n', 1);
        QCOMPARE(result.section(u'\n', 0, 0), error.startsWith("A copy") ? "0 questions" : "1 questions");
        QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.startsWith(error + (error.startsWith("A copy") ? path : "")),
                 qPrintable(result));
        if (!target.startsWith(u'/'))
            QCOMPARE(whatIsAt(path), putBack ? oldBytes : now == "half" ? QByteArray("the content bef") : now.toLatin1());
        QCOMPARE(build::readFile(other), QByteArray("another file"));
        // A refused copy is kept aside, named in the message; one put back is gone.
        const QStringList kept = QDir(RecoveryFolder() + QStringLiteral("kept")).entryList(QDir::Files);
        QCOMPARE(kept.size(), error.startsWith("A copy") ? 1 : 0);
        if (!kept.isEmpty())
            QVERIFY(errors.contains(RecoveryFolder() + QStringLiteral("kept/") + kept[0]));
        QCOMPARE(copiesIn(RecoveryFolder()).size(), putBack ? 0 : error.startsWith("A copy") ? 0 : 1);
    }
};

VELLUMAR_TEST(TestSafeWrite)
#include "tst_safewrite.moc"
