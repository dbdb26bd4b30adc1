// The journal on a map of 2000 objects, offscreen, each figure with the
// repaint that follows: a keystroke in "X-Axis" as it is now recorded; undo
// and redo of a keystroke copied into 2000 selected rows; undo and redo of a
// Del Item on row 1; undo of an Import of 2000 rows; and the memory that
// 10 000 recorded keystroke steps take.

#include "benchworld.h"

#include "app/viewhistory.h"
#include "journal/journal.h"
#include "handoff/tableexchange.h"
#include "handoff/tableexport.h"
#include "settings/infowindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <malloc.h>

namespace {
using T = TObjectTable;

class TAnsweringDialogs : public TPrintingDialogs {
public:
    QString answer;
    bool openFile(QWidget *, TFileRequest &request) override
    {
        request.fileName = answer;
        return !answer.isEmpty();
    }
};

struct TBench : TBenchWorld<TAnsweringDialogs> {
    TForm6 info{&host};
    TTableExchange exchange{document, panel, dialogs, info, &host};
    TViewHistory history{document.Journal,
                         [this] { return TViewMoment{panel.Markers.selectionMarks(), panel.Panel1->picture()}; },
                         [this](const TViewMoment &moment) {
                             panel.Markers.putSelectionMarks(moment.marks);
                             if (moment.marks.heading)
                                 editing.DrawHeadingIndicator(true);
                         },
                         &host};

    TBench()
    {
        followUndo();
        show();
    }

    void selectColumn(int col)
    {
        grid.selectionModel()->select(QItemSelection(document.Table.index(0, col),
                                                     document.Table.index(document.ObjectCount - 1, col)),
                                      QItemSelectionModel::ClearAndSelect);
    }
    // Undo, or redo, and the repaint that follows in the event loop.
    double step(bool undo, int runs, const std::function<void()> &before = {})
    {
        std::vector<double> ms;
        QElapsedTimer timer;
        for (int i = 0; i < runs; ++i) {
            if (before)
                before();
            timer.start();
            if (undo)
                document.Journal.undo();
            else
                document.Journal.redo();
            QApplication::processEvents();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (undo)
                document.Journal.redo();
            else
                document.Journal.undo();
            QApplication::processEvents();
        }
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
};

std::size_t heapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TBench b;
    const int runs = 101;
    const int count = b.document.ObjectCount;
    TJournal &journal = b.document.Journal;

    // A keystroke in "X-Axis", each one merged into the step of the cell.
    b.startTyping(T::ColX, 1000, QStringLiteral("1"));
    QWidget *e = QApplication::focusWidget();
    const double keystroke = medianMs(runs, [&](int i) {
        if (i % 2)
            sendKey(e, Qt::Key_Backspace);
        else
            sendKey(e, Qt::Key_0, QStringLiteral("0"));
        QApplication::processEvents();
    });
    b.grid.closeCellEditor();
    journal.clear();

    // A keystroke copied into all 2000 rows of "X-Axis", one step.
    b.grid.moveTo(T::ColX, 1);
    b.selectColumn(T::ColX);
    b.startTyping(T::ColX, 1, QStringLiteral("7"));
    b.selectColumn(T::ColX);
    sendKey(QApplication::focusWidget(), Qt::Key_7, QStringLiteral("7"));
    b.grid.closeCellEditor();
    // The editor opened on the first 7; the second made the cell "77".
    const bool filled = b.document.Table.cell(T::ColX, count) == QStringLiteral("77");
    QApplication::processEvents();
    const double undoFill = b.step(true, runs);
    const double redoFill = b.step(false, runs);
    journal.undo();
    const bool filledBack = b.document.Table.cell(T::ColX, count) != QStringLiteral("77") && journal.count() == 1;
    journal.clear();

    // Del Item on row 1.
    b.grid.setCurrentCellQuietly(T::ColZ, 1);
    b.objects.DeleteObject();
    QApplication::processEvents();
    const double undoDelete = b.step(true, runs);
    const double redoDelete = b.step(false, runs);
    journal.undo();
    const bool deletedBack = b.document.ObjectCount == count && b.panel.Markers[count] != nullptr;
    journal.clear();

    // Import of a table whose 2000 rows all differ from the map's.
    QTemporaryDir work;
    for (int row = 1; row <= count; ++row)
        b.document.Table.setCell(T::ColX, row, QString::number(row * 1000));
    ExportTable(b.document.Table, work.path() + u'/', QStringLiteral("59"));
    for (int i = 0; i < count; ++i)
        journal.undo();
    journal.clear();
    b.dialogs.answer = work.path() + QStringLiteral("/export.txt");
    b.exchange.ImportTable(work.path() + u'/', QStringLiteral("59"));
    QApplication::processEvents();
    const bool imported = b.document.Table.cell(T::ColX, count) == QString::number(count * 1000);
    const double undoImport = b.step(true, runs);
    journal.clear();

    // 10 000 keystroke steps, each in a cell of its own, as the editor
    // writes them (the table's setData and what follows from it).
    const std::size_t heapBefore = heapInUse();
    const int steps = 10000;
    for (int i = 0; i < steps; ++i) {
        const int row = 1 + i % count;
        const int col = i / count % 2 ? T::ColZ : T::ColRadius;
        b.document.Table.setData(b.document.Table.index(row - 1, col), QString::number(i % 97 + 1));
        b.document.Table.endTyping();
    }
    const std::size_t heapAfter = heapInUse();
    const int recorded = journal.count();

    std::printf("objects: %d\n", count);
    std::printf("keystroke in X-Axis with the journal + repaint: %.3f ms (median of %d)\n", keystroke, runs);
    std::printf("undo of a keystroke copied into %d rows (copied: %s) + repaint: %.3f ms; redo: %.3f ms "
                "(medians of %d; undone: %s)\n",
                count, filled ? "yes" : "NO", undoFill, redoFill, runs, filledBack ? "yes" : "NO");
    std::printf("undo of Del Item on row 1 + repaint: %.3f ms; redo: %.3f ms (medians of %d; undone: %s)\n",
                undoDelete, redoDelete, runs, deletedBack ? "yes" : "NO");
    std::printf("undo of an Import of %d rows (imported: %s) + repaint: %.3f ms (median of %d)\n", count,
                imported ? "yes" : "NO", undoImport, runs);
    std::printf("memory of %d recorded keystroke steps (%d in the journal): %.2f MB\n", steps, recorded,
                double(heapAfter - heapBefore) / (1024.0 * 1024.0));
    return 0;
}
