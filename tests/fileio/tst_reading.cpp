// Reading a file for the program: only a regular file is read, and never
// more of it than the reader's limit, whatever the system says its size is.
// A pipe nobody writes would make the program wait for ever, /dev/zero would
// fill its memory: each read runs in a child process with a time limit and a
// memory limit. Windows has no pipes or devices at such paths: there only the
// limits and the folder are tried, in the test itself.
#include "builders.h"
#include "ordinaryuser.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/textlinereader.h"
#include "terrain/pcxctrl.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// "read N" with the number of bytes read, or the error's message (the
// file's path in it as <path>).
QString outcome(const std::function<QByteArray()> &read, const QString &path)
{
    try {
        return QStringLiteral("read %1").arg(read().size());
    } catch (const TError &e) {
        return QString(e.message()).replace(path, QStringLiteral("<path>"));
    }
}

} // namespace

class TestReading : public QObject {
    Q_OBJECT
private slots:
    void onlyRegularFilesAreReadWithinTheirLimit_data()
    {
        QTest::addColumn<QString>("what");   // what the path names
        QTest::addColumn<QString>("reader"); // "whole": readWholeFile; "lines": the line reader; "picture": PCX
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        [[maybe_unused]] const QString notRegular = QStringLiteral("This is no regular file (a device, a pipe or a socket); it is not read");
        const QString tooLarge = QStringLiteral("The file is too large (more than 16 bytes)");
#ifndef Q_OS_WIN
        QTest::newRow("a pipe nobody writes is refused at once") << "pipe" << "whole" << 1024 << notRegular;
        QTest::newRow("the line reader refuses a pipe too") << "pipe" << "lines" << 1024 << notRegular;
        QTest::newRow("a terrain's picture is not read from a pipe")
            << "pipe" << "picture" << 1024 << "Cannot open file \"<path>\"";
        QTest::newRow("/dev/zero is refused, not read without end") << "/dev/zero" << "whole" << 1024 << notRegular;
        QTest::newRow("a file that reports no size is read only up to its limit")
            << "/proc/self/maps" << "whole" << 16 << tooLarge;
        QTest::newRow("a link to a regular file is read") << "link" << "whole" << 16 << "read 16";
#endif
        QTest::newRow("a file of the limit's size is read") << "16 bytes" << "whole" << 16 << "read 16";
        QTest::newRow("one byte beyond the limit is refused") << "17 bytes" << "whole" << 16 << tooLarge;
        QTest::newRow("a folder is not found") << "folder" << "whole" << 16 << QString::fromLatin1(Msg::FileNotFound);
    }
    void onlyRegularFilesAreReadWithinTheirLimit()
    {
        QFETCH(QString, what);
        QFETCH(QString, reader);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QString path = what.startsWith(u'/') ? what : dir.filePath(QStringLiteral("file"));
#ifndef Q_OS_WIN
        if (what == "pipe")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#endif
        if (what.endsWith("bytes"))
            build::file(dir, QStringLiteral("file"), QByteArray(what.section(u' ', 0, 0).toInt(), 'b'));
        else if (what == "link")
            QVERIFY(QFile::link(build::file(dir, QStringLiteral("target"), QByteArray(16, 'b')), path));
        else if (what == "folder")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("file")));
        const auto read = [&] {
            return outcome([&] {
                if (reader == "whole")
                    return readWholeFile(path, limit);
                if (reader == "picture") {
                    TPCXBitmap picture;
                    picture.LoadFromFile(path);
                    return QByteArray();
                }
                TTextLineReader lines(path, limit);
                QByteArray line, all;
                while (lines.readLine(line))
                    all += line;
                return all;
            }, path);
        };
#ifdef Q_OS_WIN
        const QString result = read();
#else
        const QString result = inLimitedChild(read);
#endif
        QCOMPARE(result, expected);
    }
};

VELLUMAR_TEST(TestReading)
#include "tst_reading.moc"
