// Editing a map of 2000 objects, offscreen, as the user does it: the median
// time of one keystroke in "X-Axis" (the whole cell-change unit and the
// repaint that follows), of one keystroke with all 2000 rows selected (the
// copy into every row), of a search that finds nothing, of deleting row 1 and
// adding the 2000th object, of Use over 2000 rows and of moving the current
// object with a right click, each with the repaint that follows.

#include "benchworld.h"

#include "editing/findingrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

namespace {
using T = TObjectTable;

struct TBench : TBenchWorld<> {
    TBench() { show(); }

    void repaint()
    {
        panel.Panel1->viewport()->repaint();
        grid.viewport()->repaint();
    }

    // The editor that has the focus (a closed one may wait for its deletion).
    QWidget *editor() { return QApplication::focusWidget(); }

    // A keystroke that changes the number (a digit, then its Backspace) and
    // the repaint that follows it in the event loop; or, forced, a repaint of
    // the whole map and table. Counts the repaints of the map to show that
    // each keystroke really reached it.
    double keystrokes(QWidget *e, int runs, bool forced = false)
    {
        TPaintCounter counter;
        panel.Panel1->viewport()->installEventFilter(&counter);
        const double ms = medianMs(runs, [&](int i) {
            if (i % 2)
                sendKey(e, Qt::Key_Backspace);
            else
                sendKey(e, Qt::Key_0, QStringLiteral("0"));
            if (forced)
                repaint();
            else
                QApplication::processEvents();
        });
        mapPaints += counter.paints;
        return ms;
    }
    int mapPaints = 0;
};
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TBench b;
    const int runs = 201;
    const int count = b.document.ObjectCount;

    QWidget *e = b.startTyping(T::ColX, 1000, QStringLiteral("1310720"));
    const double keystroke = b.keystrokes(e, runs);
    const double keystrokeFull = b.keystrokes(e, runs, true);
    b.grid.closeCellEditor();
    b.grid.moveTo(T::ColX, 1);
    b.grid.selectionModel()->select(QItemSelection(b.document.Table.index(0, T::ColX),
                                                   b.document.Table.index(count - 1, T::ColX)),
                                    QItemSelectionModel::ClearAndSelect);
    e = b.startTyping(T::ColX, 1, QStringLiteral("1"));
    b.grid.selectionModel()->select(QItemSelection(b.document.Table.index(0, T::ColX),
                                                   b.document.Table.index(count - 1, T::ColX)),
                                    QItemSelectionModel::ClearAndSelect);
    const int selected = b.grid.selection().bottom - b.grid.selection().top + 1;
    const double keystrokeAll = b.keystrokes(e, runs);
    const double keystrokeAllFull = b.keystrokes(e, runs, true);
    const bool filled = b.document.Table.cell(T::ColX, count) == b.document.Table.cell(T::ColX, 1);
    b.grid.closeCellEditor();

    const TObjectTable &table = b.document.Table;
    const double search = medianMs(runs, [&](int) {
        int row = 1;
        int col = 0;
        FindInGrid(QStringLiteral("no such text"), table.RowCount(), T::ColumnCount,
                   [&table](int c, int r) { return table.cell(c, r); }, row, col);
    });

    // Deleting row 1 and adding the 2000th object again, in turn.
    std::vector<double> deletes;
    std::vector<double> adds;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        b.grid.setCurrentCellQuietly(T::ColZ, 1);
        timer.start();
        b.objects.DeleteObject();
        QApplication::processEvents();
        deletes.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        b.objects.AddObject();
        QApplication::processEvents();
        adds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(deletes.begin(), deletes.end());
    std::sort(adds.begin(), adds.end());
    const bool allThere = b.document.ObjectCount == count && b.document.Table.cell(T::ColNr, count) == QString::number(count);

    b.grid.moveTo(T::ColZ, 1);
    b.grid.selectionModel()->select(QItemSelection(b.document.Table.index(0, T::ColZ),
                                                   b.document.Table.index(count - 1, T::ColZ)),
                                    QItemSelectionModel::ClearAndSelect);
    const double use = medianMs(runs, [&](int i) {
        b.editing.applyItem(i % 2 ? QStringLiteral("1001") : QStringLiteral("5001"),
                            i % 2 ? QStringLiteral("Tree") : QStringLiteral("Soldier"));
        QApplication::processEvents();
    });
    const bool used = b.document.Table.cell(T::ColObject, count) == QStringLiteral("5001");

    // The current object armed, then right clicks on the empty map.
    b.grid.moveTo(T::ColZ, 1000);
    b.panel.Markers.SelectionShown = true;
    QWidget *map = b.panel.Panel1->viewport();
    const double move = medianMs(runs, [&](int i) {
        const QPointF at(i % 2 ? 100 : 400, 300);
        QMouseEvent press(QEvent::MouseButtonPress, at, map->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(map, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, map->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(map, &release);
        QApplication::processEvents();
    });
    const bool moved = b.panel.Markers[1000]->topLeft() == QPoint(400, 300);

    std::printf("objects: %d; map repaints during the %d measured keystrokes: %d\n", count, 4 * runs,
                b.mapPaints);
    std::printf("keystroke in X-Axis + the repaint that follows: %.3f ms (median of %d)\n", keystroke, runs);
    std::printf("  with a forced repaint of the whole map and table: %.3f ms\n", keystrokeFull);
    std::printf("keystroke with %d rows selected (copied into all: %s) + the repaint that follows: %.3f ms "
                "(median of %d)\n",
                selected, filled ? "yes" : "NO", keystrokeAll, runs);
    std::printf("  with a forced repaint of the whole map and table: %.3f ms\n", keystrokeAllFull);
    std::printf("FindInGrid without a match over %d rows: %.3f ms (median of %d)\n", count, search, runs);
    std::printf("delete row 1 of %d + repaint: %.3f ms (median of %d)\n", count, deletes[deletes.size() / 2], runs);
    std::printf("add the %dth object + repaint: %.3f ms (median of %d; table whole afterwards: %s)\n", count,
                adds[adds.size() / 2], runs, allThere ? "yes" : "NO");
    std::printf("Use over %d selected rows + repaint: %.3f ms (median of %d; applied: %s)\n", count, use, runs,
                used ? "yes" : "NO");
    std::printf("right-click move of the current object + repaint: %.3f ms (median of %d; moved: %s)\n", move,
                runs, moved ? "yes" : "NO");
    return 0;
}
