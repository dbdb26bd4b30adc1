// The map view's speed with 2000 markers spread over the map: the median time
// of a full MoveView with the repaint that follows, of one scroll step, of one
// zoom step at zoom 50, and the process's resident memory at zoom 50.

#include "benchsupport.h"

#include "ui/dialogs.h"
#include "document/mapdocument.h"
#include "terrain/mapviewpanel.h"
#include "terrain/viewtransform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
QString residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("unknown");
    // A /proc file has no size; read it whole.
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("unknown");
}
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QWidget host;
    host.resize(1000, 600);
    TMapDocument document;
    TPrintingDialogs dialogs;
    TMapViewPanel panel(&host, document, dialogs);
    host.show();

    QRandomGenerator random(482);
    QImage picture(ViewPanelSize, ViewPanelSize, QImage::Format_Indexed8);
    picture.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        picture.setColor(i, qRgb(i, 255 - i, i / 2));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, uint(random.bounded(256)));
    panel.setMapControlsEnabled(true);
    panel.setPicture(picture);

    const int count = TMapDocument::MaxObjects;
    fillObjects(document, panel, count, random);
    panel.centreOnObjects();
    panel.Markers.PlaceSelectionMarks();
    panel.Markers.SelectionShown = true;
    QWidget *viewport = panel.Panel1->viewport();
    viewport->repaint();
    app.processEvents();

    TPaintCounter counter;
    viewport->installEventFilter(&counter);
    const int runs = 201;
    // Every marker really moves: the view shifts one pixel each way in turn.
    const double fullMove = medianMs(runs, [&](int i) {
        panel.MoveView(i % 2 ? 1 : -1, 0, true, 0);
        viewport->repaint();
    });
    const double scrollStep = medianMs(runs, [&](int i) {
        panel.ScrollBar3->setValue(i % 2 ? 1 : -1);
        viewport->repaint();
    });
    panel.ScrollBar1->setValue(MaxZoom);
    viewport->repaint();
    const double zoomStep = medianMs(runs, [&](int i) {
        panel.ScrollBar1->setValue(i % 2 ? MaxZoom : MaxZoom - 1);
        viewport->repaint();
    });
    panel.ScrollBar1->setValue(MaxZoom);
    viewport->repaint();
    app.processEvents();

    std::printf("markers: %d\n", count);
    std::printf("paint events during the %d measured steps: %d\n", 3 * runs, counter.paints);
    std::printf("full MoveView + repaint: %.3f ms (median of %d)\n", fullMove, runs);
    std::printf("scroll step + repaint: %.3f ms (median of %d)\n", scrollStep, runs);
    std::printf("zoom step 49<->50 + repaint: %.3f ms (median of %d)\n", zoomStep, runs);
    std::printf("resident memory at zoom 50: %s\n", qPrintable(residentMemory()));
    return 0;
}
