// A program that writes one file over and over as the editor writes it, for
// tests that end it with SIGKILL at any moment:
//   vellumar-test-writer APP-NAME KIND TARGET FIRST SECOND
// KIND is "map" (the map file's whole-file write), "list" (the map-name
// list, read from FIRST and SECOND and written by its own writer) or "trn"
// (the terrain text, written line by line with CR LF). TARGET receives the
// content of FIRST, then SECOND, and so on until the program is killed. It
// prints "writing" once it has read both, and an error text when a write fails.
//   vellumar-test-writer APP-NAME recovery
// keeps the recovery copy of a map changed once, as the editor keeps it (in
// the user's data folder), and ends once the copy is written.
#include "document/mapdocument.h"
#include "document/mapnamelist.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "recovery/recoverykeeper.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

QList<QByteArray> crlfLines(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

} // namespace

// A map of one object whose cell is changed once, and its recovery copy.
int writeRecoveryCopy()
{
    TMapDocument document;
    document.ObjectCount = 1;
    TRecoveryKeeper keeper(document.Journal, [&] { return TRecoveryState::fromDocument(document); });
    document.Table.setCell(TObjectTable::ColZ, 1, QStringLiteral("5"));
    keeper.writeDue();
    keeper.waitForWriter();
    std::printf("%s\n", qPrintable(keeper.copyPath()));
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[2]) == "recovery") {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
        return writeRecoveryCopy();
    }
    if (argc != 6) {
        std::fprintf(stderr, "usage: vellumar-test-writer APP-NAME KIND TARGET FIRST SECOND\n"
                             "       vellumar-test-writer APP-NAME recovery\n");
        return 2;
    }
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    const QByteArray kind = argv[2];
    const QString target = QString::fromLocal8Bit(argv[3]);
    try {
        const QByteArray contents[2] = {readWholeFile(QString::fromLocal8Bit(argv[4])),
                                        readWholeFile(QString::fromLocal8Bit(argv[5]))};
        TMapNameList lists[2];
        for (int i = 0; i < 2; ++i)
            if (kind == "list" && !lists[i].read(QString::fromLocal8Bit(argv[4 + i])))
                throw TError(QStringLiteral("no list"));
        std::printf("writing\n");
        std::fflush(stdout);
        for (int i = 0;; i = 1 - i) {
            if (kind == "list")
                lists[i].write(target);
            else if (kind == "trn")
                writeTextLinesCRLF(target, crlfLines(contents[i]));
            else
                writeWholeFile(target, contents[i]);
        }
    } catch (const TError &e) {
        std::printf("%s\n", e.what());
        return 1;
    }
}
