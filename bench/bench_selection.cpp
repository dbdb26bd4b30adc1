// Several objects at once on a map of 2000, offscreen, each figure with the
// repaint of the map that follows (medians): a rubber band over all of them
// (its release: the selection made, the table's and the map's marks); one
// move step of a drag of 500 selected objects; the undo of that drag; a
// burst's arrow press over 500 selected objects; and what the terrain's edge
// with the dimmed copies adds to a repaint, at several zooms.

#include "benchworld.h"

#include "app/viewhistory.h"
#include "terrain/marker.h"

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

namespace {
struct TBench : TBenchWorld<> {
    TViewHistory history{document.Journal,
                         [this] { return TViewMoment{panel.Markers.selectionMarks(), panel.Panel1->picture()}; },
                         [this](const TViewMoment &moment) { panel.Markers.putSelectionMarks(moment.marks); }, &host};

    TBench()
    {
        followUndo();
        host.show();
        QApplication::processEvents();
    }

    void repaint() { map->repaint(); }

    void showView(std::int32_t zoom, std::int32_t ox, std::int32_t oy)
    {
        panel.showArea(zoom, ox, oy);
        repaint();
    }

    // The topmost marker at a marker's top-left pixel is its own.
    bool onTop(int row)
    {
        const TMarker *m = panel.Markers[row];
        for (QGraphicsItem *item : panel.Panel1->scene()->items(QPointF(m->topLeft()) + QPointF(0.5, 0.5)))
            if (const auto *marker = dynamic_cast<const TMarker *>(item))
                return marker == m;
        return false;
    }
};

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TBench b;
    const int count = b.document.ObjectCount;
    TPaintCounter counter;
    b.map->installEventFilter(&counter);
    QElapsedTimer timer;

    // The rubber band: the markers lie at window 10 .. 525, the band goes
    // from a free corner beyond the last of them. Timed: the release.
    b.showView(1, 10, 10);
    std::vector<double> bands;
    bool bandSelected = true;
    for (int i = 0; i < 51; ++i) {
        b.press(QPoint(2, 2));
        b.moveHeld(QPoint(300, 300));
        b.moveHeld(QPoint(530, 530));
        b.repaint();
        timer.start();
        b.release(QPoint(530, 530));
        b.repaint();
        bands.push_back(double(timer.nsecsElapsed()) / 1e6);
        bandSelected = bandSelected && b.mouse.Selection.rows().size() == count;
        b.press(QPoint(2, 2));
        b.release(QPoint(2, 2)); // deselects
    }

    // The same with one category's markers hidden: the selection falls
    // into hundreds of pieces of neighbouring rows.
    b.panel.C_50->setChecked(false);
    const int shownRows = int(b.panel.Markers.shownRows().size());
    std::vector<double> piecedBands;
    for (int i = 0; i < 21; ++i) {
        b.press(QPoint(2, 2));
        b.moveHeld(QPoint(530, 530));
        timer.start();
        b.release(QPoint(530, 530));
        b.repaint();
        piecedBands.push_back(double(timer.nsecsElapsed()) / 1e6);
        bandSelected = bandSelected && b.mouse.Selection.rows().size() == shownRows;
        b.press(QPoint(2, 2));
        b.release(QPoint(2, 2));
    }
    b.panel.C_50->setChecked(true);

    // A drag of 500 selected objects by one of them, in steps of 20 pixels each way.
    b.showView(1, 0, 0);
    QList<int> five;
    for (int row = 1; row <= 500; ++row)
        five.append(row);
    int grabbed = 500;
    while (grabbed > 1 && !b.onTop(grabbed))
        --grabbed;
    b.grid.moveTo(TObjectTable::ColZ, grabbed);
    b.grid.selectRows(five);
    const std::vector<std::int32_t> before(b.document.ObjectX.begin(), b.document.ObjectX.begin() + 500);
    const QPoint grab = b.panel.Markers[grabbed]->topLeft();
    b.press(grab);
    b.moveHeld(grab + QPoint(10, 10));
    const double dragStep = medianMs(201, [&](int i) {
        b.moveHeld(grab + (i % 2 ? QPoint(20, 20) : QPoint(40, 30)));
        b.repaint();
    });
    b.release(grab + QPoint(40, 30));
    const std::int32_t moved = b.document.ObjectX[0] - before[0];
    bool together = moved != 0 && b.document.Journal.count() == 1;
    for (int k = 0; k < 500; ++k)
        together = together && b.document.ObjectX[k] - before[k] == moved;

    // Its undo, and the redo that brings it back (not timed).
    std::vector<double> undos;
    for (int i = 0; i < 51; ++i) {
        timer.start();
        b.document.Journal.undo();
        QApplication::processEvents();
        b.repaint();
        undos.push_back(double(timer.nsecsElapsed()) / 1e6);
        b.document.Journal.redo();
        QApplication::processEvents();
    }
    b.document.Journal.undo();
    const bool undone = std::equal(before.begin(), before.end(), b.document.ObjectX.begin());

    // Arrow presses over the 500, one burst (right and left in turn).
    b.sendMouse(QEvent::MouseMove, QPoint(256, 256), Qt::NoButton, Qt::NoButton);
    const double nudge = medianMs(201, [&](int i) {
        b.mouse.Selection.nudge(i % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        b.repaint();
    });
    const int paints = counter.paints;

    // The terrain's edge and the dimmed copies: repaints with and without them.
    b.grid.clearRowSelection();
    struct TView {
        std::int32_t zoom, ox, oy;
        const char *where;
    };
    const TView views[] = {{1, 0, 0, "the terrain fills the window"},
                           {1, 200, 150, "its corner in the window"},
                           {3, -1400, -1300, "its far corner in the window"},
                           {15, -7500, 100, "its edge in the window"},
                           {16, -8000, 100, "its edge in the window"},
                           {50, -25400, -25400, "its far corner in the window"},
                           {50, 40000000, 40000000, "only copies in the window"}};
    std::printf("objects: %d; map repaints during the measured steps: %d\n", count, paints);
    std::printf("rubber band over all %d markers, its release + repaint: %.3f ms (median of %zu; selected: %s)\n",
                count, median(bands), bands.size(), bandSelected ? "yes" : "NO");
    std::printf("the same with the People hidden (%d markers shown): %.3f ms (median of %zu)\n", shownRows,
                median(piecedBands), piecedBands.size());
    std::printf("drag step of 500 selected objects + repaint: %.3f ms (median of 201; moved together: %s)\n",
                dragStep, together ? "yes" : "NO");
    std::printf("undo of that drag + repaint: %.3f ms (median of %zu; undone: %s)\n", median(undos), undos.size(),
                undone ? "yes" : "NO");
    std::printf("arrow press over 500 selected objects + repaint: %.3f ms (median of 201)\n", nudge);
    // The two repaints of a view in turn, so a machine busy with other
    // work weighs on both alike.
    for (const TView &v : views) {
        b.showView(v.zoom, v.ox, v.oy);
        std::vector<double> ms[2];
        for (int i = 0; i < 401; ++i)
            for (int shown = 0; shown < 2; ++shown) {
                b.panel.Panel1->setTerrainEdgeShown(shown == 1);
                timer.start();
                b.repaint();
                ms[shown].push_back(double(timer.nsecsElapsed()) / 1e6);
            }
        const double without = median(ms[0]), with = median(ms[1]);
        std::printf("repaint at zoom %d, %s: %.3f ms without the edge, %.3f ms with it (%+.3f ms)\n", v.zoom,
                    v.where, without, with, with - without);
    }
    return 0;
}
