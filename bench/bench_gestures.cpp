// The map worked with the hands, 2000 markers, offscreen, each step with the
// repaint of the map that follows it (medians): a wheel zoom step at the
// pointer, a drag step of a marker, a step of dragging the map with Space
// held, a step of the measuring circle with the middle button held; and
// duplicating 1000 selected rows of a map of 1000 objects.

#include "benchworld.h"

#include "terrain/marker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

namespace {
using T = TObjectTable;

struct TBench : TBenchWorld<> {
    explicit TBench(int count) : TBenchWorld(count)
    {
        host.show();
        QApplication::processEvents();
    }

    void wheel(QPoint at, int angle)
    {
        QWheelEvent e(QPointF(at), map->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(map, &e);
    }
    void spaceKey(QEvent::Type type)
    {
        QKeyEvent e(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(&grid, &e);
    }
    void repaint()
    {
        map->repaint();
    }
};
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 201;

    TBench b(TMapDocument::MaxObjects);
    TPaintCounter counter;
    b.map->installEventFilter(&counter);

    // Wheel: zoom 10 and 11 in turn about one pointer place.
    b.panel.ScrollBar1->setValue(10);
    const QPoint pointer(300, 200);
    const double wheel = medianMs(runs, [&](int i) {
        b.wheel(pointer, i % 2 ? -120 : 120);
        b.repaint();
    });
    const bool zoomed = b.panel.View.Zoom == 11;
    // The other steps at zoom 1, where every marker lies in or near the window.
    b.panel.ScrollBar1->setValue(1);

    // Drag: the last object's marker, the topmost, brought to the window's centre.
    const int row = b.document.ObjectCount;
    centreOn(b.panel.View, b.document.ObjectX[row - 1], b.document.ObjectY[row - 1]);
    b.panel.MoveView(0, 0, true, 0);
    b.panel.LayoutTiles();
    const QPoint grab = b.panel.Markers[row]->topLeft() + QPoint(1, 1);
    b.press(grab, Qt::LeftButton);
    const double dragStep = medianMs(runs, [&](int i) {
        b.moveHeld(grab + QPoint(i % 2 ? 20 : 40, 10), Qt::LeftButton);
        b.repaint();
    });
    b.release(grab + QPoint(40, 10), Qt::LeftButton);
    const bool dragged = b.panel.Markers[row]->topLeft() == grab + QPoint(39, 9);

    // Dragging the map: Space held with the pointer over it, 5 pixels each way in turn.
    b.sendMouse(QEvent::MouseMove, QPoint(256, 256), Qt::NoButton, Qt::NoButton);
    b.spaceKey(QEvent::KeyPress);
    const std::int32_t offsetBefore = b.panel.View.ViewOffsetX;
    b.press(QPoint(256, 256), Qt::LeftButton);
    const double pan = medianMs(runs, [&](int i) {
        b.moveHeld(QPoint(i % 2 ? 256 : 261, 256), Qt::LeftButton);
        b.repaint();
    });
    b.release(QPoint(261, 256), Qt::LeftButton);
    b.spaceKey(QEvent::KeyRelease);
    const bool panned = b.panel.View.ViewOffsetX == offsetBefore + 5;

    // Measuring with the middle button held.
    b.press(QPoint(100, 100), Qt::MiddleButton);
    const double measure = medianMs(runs, [&](int i) {
        b.moveHeld(QPoint(i % 2 ? 300 : 350, 320), Qt::MiddleButton);
        b.repaint();
    });
    b.release(QPoint(350, 320), Qt::MiddleButton);
    const bool measured = b.panel.Panel1->MetaMeter->isVisible();
    const int paints = counter.paints;

    // Duplicating every row of a map of 1000 objects, then back to 1000 (not timed).
    TBench d(TMapDocument::MaxObjects / 2);
    const int half = d.document.ObjectCount;
    const auto selectAll = [&] {
        d.grid.moveTo(T::ColZ, 1);
        d.grid.selectRectangle(T::ColZ, 1, T::ColZ, half);
    };
    std::vector<double> duplicates;
    bool duplicated = true;
    QElapsedTimer timer;
    for (int i = 0; i < 21; ++i) {
        selectAll();
        timer.start();
        const int copies = d.objects.DuplicateObjects();
        QApplication::processEvents();
        d.repaint();
        duplicates.push_back(double(timer.nsecsElapsed()) / 1e6);
        duplicated = duplicated && copies == half && d.document.ObjectCount == 2 * half;
        for (int r = half + 1; r <= 2 * half; ++r)
            d.panel.Markers.destroy(r);
        d.document.ObjectCount = half;
        d.document.Table.setRowCount(half + 1);
    }
    std::sort(duplicates.begin(), duplicates.end());

    std::printf("markers: %d; map repaints during the %d measured steps: %d\n", b.document.ObjectCount, 4 * runs,
                paints);
    std::printf("wheel zoom step 10<->11 at the pointer + repaint: %.3f ms (median of %d; zoomed: %s)\n", wheel,
                runs, zoomed ? "yes" : "NO");
    std::printf("drag step of a marker + repaint: %.3f ms (median of %d; dragged: %s)\n", dragStep, runs,
                dragged ? "yes" : "NO");
    std::printf("Space+drag step of the map + repaint: %.3f ms (median of %d; panned: %s)\n", pan, runs,
                panned ? "yes" : "NO");
    std::printf("measuring step, middle button held, + repaint: %.3f ms (median of %d; shown: %s)\n", measure, runs,
                measured ? "yes" : "NO");
    std::printf("duplicating %d selected rows + repaint: %.3f ms (median of %zu; copied: %s)\n", half,
                duplicates[duplicates.size() / 2], duplicates.size(), duplicated ? "yes" : "NO");
    return 0;
}
