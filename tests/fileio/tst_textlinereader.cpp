// Text files read a line at a time: the same lines as the whole file split at
// once, wherever the reader's 64 KiB reads cut the file, and overlong lines
// refused.
#include "builders.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "fileio/textlinereader.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// The whole file split at once: CR LF and LF end a line; a final line without
// an ending counts; nothing after the last ending.
QList<QByteArray> splitTextLines(const QByteArray &data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    while (start < n) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = n;
        qsizetype lineEnd = end;
        if (lineEnd > start && data[lineEnd - 1] == '\r')
            --lineEnd;
        lines.append(data.mid(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}
} // namespace

class TestTextLineReader : public QObject {
    Q_OBJECT
private slots:
    void readsTheLinesOfTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        const int chunk = 64 * 1024;
        QTest::newRow("an empty file has no lines") << QByteArray();
        QTest::newRow("CR LF and LF end lines, a last line needs no ending") << QByteArray("a\r\nb\n\r\nc");
        QTest::newRow("a lone CR stays in its line") << QByteArray("a\rb\r\nc\r");
        QTest::newRow("a CR LF cut by a read") << QByteArray(chunk - 1, 'x') + "\r\nnext\r\n";
        QTest::newRow("a line ending right at a read's end") << QByteArray(chunk - 1, 'x') + "\nnext";
        QTest::newRow("many short lines across reads") << build::repeated("1001\r\nPalm tree\r\n", 20000);
    }
    void readsTheLinesOfTheWholeFile()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = build::file(dir, QStringLiteral("t.txt"), file);
        TTextLineReader reader(path, 1 << 20);
        QList<QByteArray> lines;
        QByteArray line;
        while (reader.readLine(line))
            lines.append(line);
        QCOMPARE(lines, splitTextLines(file));
        QCOMPARE(reader.lineCount(), lines.size());
    }

    void refusesLinesOverItsLimit_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("linesRead"); // before the refusal; -1: none refused
        QTest::newRow("a line of the limit, CR LF not counted") << QByteArray("ab\r\n") + QByteArray(10, 'x') + "\r\n" << -1;
        QTest::newRow("a line of the limit without an ending") << QByteArray("ab\n") + QByteArray(10, 'x') << -1;
        QTest::newRow("a line one over") << QByteArray("ab\n") + QByteArray(11, 'x') + "\n" << 1;
        QTest::newRow("a last line one over") << QByteArray(11, 'x') << 0;
        QTest::newRow("megabytes without a line end") << QByteArray(4 << 20, 'x') << 0;
    }
    void refusesLinesOverItsLimit()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, linesRead);
        QTemporaryDir dir;
        const QString path = build::file(dir, QStringLiteral("t.txt"), file);
        TTextLineReader reader(path, 10);
        QByteArray line;
        try {
            while (reader.readLine(line)) {
            }
            QCOMPARE(linesRead, -1);
        } catch (const TError &e) {
            QCOMPARE(reader.lineCount(), linesRead);
            QCOMPARE(e.where(), path);
            QVERIFY2(e.message().startsWith(QStringLiteral("Line %1 is longer than 10 characters").arg(linesRead + 1)),
                     qPrintable(e.message()));
        }
    }
};

VELLUMAR_TEST(TestTextLineReader)
#include "tst_textlinereader.moc"
