// The repack batch's lines and the command line of the program start.
#include "testregistry.h"

#include "handoff/launch.h"
#include "handoff/repackbatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRepackBatch : public QObject {
    Q_OBJECT
private slots:
    void batchLines_data()
    {
        QTest::addColumn<bool>("kzStart");
        QTest::addColumn<bool>("skyMapExists");
        QTest::addColumn<QByteArray>("expected"); // %G: the game folder, %S: a shortened path
        const QByteArray seven = "pack.exe kzbase.pff %S/base/map.bms\r\n"
                                 "pack.exe kzbase.pff %S/base/kzmpname.bin\r\n"
                                 "pack.exe kz.pff %S/kz/t.trn\r\n"
                                 "pack.exe kz.pff %S/kz/c.pcx\r\n"
                                 "pack.exe kz.pff %S/kz/e.pcx\r\n"
                                 "pack.exe kz.pff %S/kz/d.pcx\r\n";
        QTest::newRow("without KZ Auto start seven lines, each path in its short form")
            << false << true << seven + "pack.exe kz.pff %S/kz/s.pcx\r\n";
        QTest::newRow("KZ Auto start adds the quoted short path of kz.exe")
            << true << true << seven + "pack.exe kz.pff %S/kz/s.pcx\r\n\"%S/game dir/kz.exe\"\r\n";
        QTest::newRow("a picture that does not exist keeps its line with the path as stored")
            << false << false << seven + "pack.exe kz.pff %G/kz/s.pcx\r\n";
    }
    void batchLines()
    {
        QFETCH(bool, kzStart);
        QFETCH(bool, skyMapExists);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString root = dir.path();
        for (const char *d : {"base", "kz", "game dir"})
            QDir(root).mkdir(QLatin1String(d));
        const QStringList files{"base/map.bms", "base/kzmpname.bin", "kz/t.trn", "kz/c.pcx", "kz/e.pcx", "kz/d.pcx",
                                "game dir/kz.exe", "game dir/!VLMR_Repack.bat"};
        for (const QString &f : files + (skyMapExists ? QStringList{"kz/s.pcx"} : QStringList())) {
            QFile file(dir.filePath(f));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        const TRepackBatchInputs in{root + "/base/map.bms", root + "/base/", root + "/kz/t.trn", root + "/kz/c.pcx",
                                    root + "/kz/e.pcx",     root + "/kz/d.pcx", root + "/kz/s.pcx", root + "/game dir/",
                                    kzStart};
        // The short-path service as the system gives it: a short form only for existing files.
        const QByteArray shortRoot = "SHORT~1";
        const TShortPaths shortPaths = [&](const std::vector<std::string> &paths) {
            std::vector<std::string> out;
            for (const std::string &p : paths)
                out.push_back(QFile::exists(QString::fromStdString(p))
                                  ? (shortRoot + QByteArray::fromStdString(p).mid(root.size())).toStdString()
                                  : p);
            return out;
        };
        WriteRepackBatch(in, shortPaths);

        QFile batch(dir.filePath("game dir/!VLMR_Repack.bat"));
        QVERIFY(batch.open(QIODevice::ReadOnly));
        QCOMPARE(batch.readAll(), QByteArray(expected).replace("%S", shortRoot).replace("%G", root.toLocal8Bit()));
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("parameters"); // "FILE": an existing file
        QTest::addColumn<QString>("expected");
        QTest::newRow("an empty parameter adds nothing: only the quoted program")
            << "C:\\KZ\\!VLMR_Repack.bat" << QStringList{""} << "\"C:\\KZ\\!VLMR_Repack.bat\"";
        QTest::newRow("an existing file is quoted, another text goes bare")
            << "run.exe" << QStringList{"FILE", "-fast"} << "\"run.exe\" \"FILE\" -fast";
        QTest::newRow("without a program the first parameter takes no blank")
            << "" << QStringList{"-x", "FILE"} << "-x \"FILE\"";
        QTest::newRow("a text naming no file stays bare, blanks and all")
            << "p" << QStringList{"no such file"} << "\"p\" no such file";
    }
    void commandLine()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, parameters);
        QFETCH(QString, expected);
        std::vector<std::string> p;
        for (const QString &s : parameters)
            p.push_back(s.toStdString());
        const auto exists = [](const std::string &s) { return s == "FILE"; };
        QCOMPARE(QString::fromStdString(JoinCommandLine(LaunchArguments(program.toStdString(), p, exists))), expected);
    }
};

VELLUMAR_TEST(TestRepackBatch)
#include "tst_repackbatch.moc"
