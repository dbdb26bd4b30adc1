// The recovery copy of a map of 2000 objects: the time it takes on the
// user-interface thread (the state taken and handed to the writer), the
// cell change while the writer works (the table's rows then stop being
// shared with the copy), the writer thread's time and the size of the copy.
//
// Then a minute of typing in real time, ten keys a second, into the cells of
// the same map, with the keeper as the editor runs it (a change reaches the
// copy within a second), and for comparison the same minute without a copy.
// For every keystroke: the change it makes to the document (the cell's text
// through the table model, merged into the typing's step) plus everything
// the window's thread did in its event loop until the next keystroke (the
// keeper's timer taking the state and handing it to the writer, the writer's
// end heard back). The window is not shown, so no repaint counts: what is
// measured is the keystroke and the copy work it causes. Each is measured in
// real time and in the window thread's own processor time: on a machine whose
// processors other programs keep busy, real time also holds the moments the
// thread waited for a processor, with or without a copy. Also printed: how
// many copies were written, and the longest a change waited before the state
// holding it was handed to the writer. BENCH_RECOVERY_SECONDS shortens the
// minute.

#include "benchsupport.h"

#include "journal/journalstep.h"
#include "recovery/recoverykeeper.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <ctime>

namespace {

// The window's thread's own processor time, in nanoseconds.
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Adds up the time the window's thread spends handling events, in real time
// and in its own processor time.
class TTimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    qint64 busyNs = 0;
    qint64 busyCpuNs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth > 0)
            return QApplication::notify(receiver, event);
        ++m_depth;
        QElapsedTimer t;
        t.start();
        const qint64 cpu = threadCpuNs();
        const bool handled = QApplication::notify(receiver, event);
        busyNs += t.nsecsElapsed();
        busyCpuNs += threadCpuNs() - cpu;
        --m_depth;
        return handled;
    }

private:
    int m_depth = 0;
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

// The state taken and handed over, the writer's whole work, and a cell
// change while the writer holds the state, each on its own.
void measureOneCopy(TMapDocument &document)
{
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
    const auto median = [](std::vector<double> v) { return percentile(std::move(v), 0.5); };
    const qint64 size = QFileInfo(keeper.copyPath()).size();
    std::printf("recovery copy of %d objects (%lld bytes)\n", document.ObjectCount, size);
    std::printf("  on the user-interface thread: %.2f ms median (target 5 ms)\n", median(handOver));
    std::printf("  a cell change while the writer works: %.3f ms median\n", median(after));
    std::printf("  taken, written and committed by the writer: %.2f ms median\n", median(whole));

    keeper.finish();
}

// Runs the event loop for ms milliseconds.
void runEventLoop(qint64 ms)
{
    QEventLoop loop;
    QTimer::singleShot(int(std::max<qint64>(0, ms)), &loop, &QEventLoop::quit);
    loop.exec();
}

void printTimes(const char *what, const std::vector<double> &ms)
{
    std::printf("    %s: %.3f ms median, %.3f ms at the 99th percentile, %.3f ms at most; %d over 5 ms\n", what,
                percentile(ms, 0.5), percentile(ms, 0.99), percentile(ms, 1.0),
                int(std::count_if(ms.begin(), ms.end(), [](double v) { return v > 5; })));
}

// Ten keys a second for the given seconds, with or without the keeper: each
// keystroke adds a digit to the X-Axis cell it types into; every eighth one
// the next row's cell is typed into instead.
void typeFor(TTimedApplication &app, TMapDocument &document, int seconds, bool withCopy)
{
    const int keystrokes = seconds * 10;
    TObjectTable &table = document.Table;
    std::vector<double> wall, cpu;
    wall.reserve(std::size_t(keystrokes));
    cpu.reserve(std::size_t(keystrokes));
    int writes = 0;
    qint64 longestWaitMs = 0;
    QElapsedTimer sinceUnwritten; // since the first change no copy holds
    const QMetaObject::Connection changes = QObject::connect(&document.Journal, &QUndoStack::indexChanged, [&] {
        if (!sinceUnwritten.isValid())
            sinceUnwritten.start();
    });
    std::unique_ptr<TRecoveryKeeper> keeper;
    if (withCopy)
        keeper = std::make_unique<TRecoveryKeeper>(document.Journal, [&] {
            // The keeper takes the state: every change made so far is in it.
            ++writes;
            if (sinceUnwritten.isValid())
                longestWaitMs = std::max(longestWaitMs, sinceUnwritten.elapsed());
            sinceUnwritten.invalidate();
            return TRecoveryState::fromDocument(document);
        });
    QElapsedTimer clock;
    clock.start();
    QString text;
    for (int k = 0; k < keystrokes; ++k) {
        const int row = 1 + (k / 8) % TMapDocument::MaxObjects;
        if (k % 8 == 0) {
            table.endTyping();
            text.clear();
        }
        text += QChar(u'1' + k % 9);
        app.busyNs = 0;
        app.busyCpuNs = 0;
        QElapsedTimer t;
        t.start();
        const qint64 keyCpu = threadCpuNs();
        table.setData(table.index(row - 1, TObjectTable::ColX), text);
        const qint64 keyNs = t.nsecsElapsed();
        const qint64 keyCpuNs = threadCpuNs() - keyCpu;
        // The event loop runs until the next keystroke is due.
        runEventLoop(qint64(k + 1) * 100 - clock.elapsed());
        wall.push_back(double(keyNs + app.busyNs) / 1e6);
        cpu.push_back(double(keyCpuNs + app.busyCpuNs) / 1e6);
    }
    QObject::disconnect(changes);
    std::printf("typing for %d s, ten keys a second, into %d objects (%d keystrokes), %s\n", seconds,
                document.ObjectCount, keystrokes, withCopy ? "with the recovery copy" : "without a copy");
    std::printf("  a keystroke with the copy work it causes on the window's thread (targets: 1 ms median, 5 ms at "
                "the 99th percentile):\n");
    printTimes("in real time", wall);
    printTimes("in the thread's processor time", cpu);
    if (keeper) {
        keeper->waitForWriter();
        std::printf("  copies handed to the writer: %d; the longest a change waited for its copy to be handed "
                    "over: %lld ms (%d ms planned)\n",
                    writes, longestWaitMs, TRecoveryKeeper::DefaultInterval);
        keeper->finish();
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", userData.path().toLocal8Bit());
    TTimedApplication app(argc, argv);
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
    measureOneCopy(document);
    QCoreApplication::processEvents();

    // Whatever the setting up left for the event loop is done first.
    runEventLoop(300);
    const int seconds = qEnvironmentVariableIntValue("BENCH_RECOVERY_SECONDS") > 0
        ? qEnvironmentVariableIntValue("BENCH_RECOVERY_SECONDS")
        : 60;
    typeFor(app, document, seconds, true);
    typeFor(app, document, seconds, false);
    return 0;
}
