// The recovery copy of a map of 2000 objects: the time it takes on the
// user-interface thread (the state taken and handed to the writer), the
// cell change while the writer works (the table's rows then stop being
// shared with the copy), the writer thread's time and the size of the copy.

#include "benchsupport.h"

#include "journal/journalstep.h"
#include "recovery/recoverykeeper.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", userData.path().toLocal8Bit());
    QApplication app(argc, argv);
    QWidget host;
    TMapDocument document;
    TPrintingDialogs dialogs;
    TMapViewPanel panel{&host, document, dialogs};
    QWidget grid{&host};
    layOutObjects(host, grid, document, panel, TMapDocument::MaxObjects);
    document.Journal.clear();

    {
        const TJournal::TSuspension unrecorded(document.Journal);
        document.changeMapNames([](TMapNameBox &names) {
            for (int i = 0; i < 200; ++i)
                names.items << QByteArray("Map name ") + QByteArray::number(i);
        });
        document.setMapData(QStringList(40, QStringLiteral("A line of the map's data text")));
    }
    TRecoveryKeeper keeper(document.Journal, [&] { return TRecoveryState::fromDocument(document); });

    const int runs = 101;
    int value = 0;
    const auto change = [&] {
        ++value;
        document.Table.setCell(TObjectTable::ColZ, 1 + value % TMapDocument::MaxObjects, QString::number(value));
    };
    // The handing over, the writer's whole work, and the change after it.
    std::vector<double> handOver, whole, after;
    for (int i = 0; i < runs; ++i) {
        change();
        QElapsedTimer t;
        t.start();
        keeper.writeDue();
        handOver.push_back(double(t.nsecsElapsed()) / 1e6);
        keeper.waitForWriter();
        whole.push_back(double(t.nsecsElapsed()) / 1e6);
        // A keystroke while the writer still holds the state.
        change();
        keeper.writeDue();
        t.start();
        change();
        after.push_back(double(t.nsecsElapsed()) / 1e6);
        keeper.waitForWriter();
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const qint64 size = QFileInfo(keeper.copyPath()).size();
    std::printf("recovery copy of %d objects (%lld bytes)\n", document.ObjectCount, size);
    std::printf("  on the user-interface thread: %.2f ms median (target 5 ms)\n", median(handOver));
    std::printf("  a cell change while the writer works: %.3f ms median\n", median(after));
    std::printf("  taken, written and committed by the writer: %.2f ms median\n", median(whole));
    keeper.finish();
    return 0;
}
