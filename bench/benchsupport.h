#pragma once
// What the window benchmarks share: an error box that prints instead of
// blocking, a paint counter, the median of timed runs, a key press as the
// keyboard sends it, and a map of 2000 objects spread over the map window and
// the categories, with its markers, laid out as the main window lays it out.

#include "ui/dialogs.h"
#include "document/mapdocument.h"
#include "terrain/mapviewpanel.h"
#include "terrain/viewtransform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QObject>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

class TPrintingDialogs : public TDialogs {
public:
    bool openFile(QWidget *, TFileRequest &) override { return false; }
    bool saveFile(QWidget *, TFileRequest &) override { return false; }
    QString chooseDirectory(QWidget *, const QString &) override { return QString(); }
    void showError(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    int ask(QWidget *, const TQuestion &question) override { return question.defaultButton; }
};

// Counts the paint events a widget receives, to show that each measured
// step really repainted it.
class TPaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

inline double medianMs(int runs, const std::function<void(int)> &step)
{
    std::vector<double> ms;
    ms.reserve(runs);
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        step(i);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Fills rows 1 .. count as the map reader does: cells, position cache, markers.
inline void fillObjects(TMapDocument &document, TMapViewPanel &panel, int count, QRandomGenerator &random)
{
    document.ObjectCount = count;
    document.Table.setRowCount(count + 1);
    for (int row = 1; row <= count; ++row) {
        const std::int32_t x = random.bounded(ViewPanelSize * GameUnitsPerPixel);
        const std::int32_t y = -random.bounded(ViewPanelSize * GameUnitsPerPixel);
        TObjectTable::Row cells;
        cells.fill(QStringLiteral("0"));
        cells[TObjectTable::ColNr] = QString::number(row);
        cells[TObjectTable::ColId] = QString::number(row);
        cells[TObjectTable::ColObject] = QString::number((1 + row % 7) * 1000 + 1);
        cells[TObjectTable::ColName] = QStringLiteral("Object %1").arg(row);
        cells[TObjectTable::ColX] = QString::number(x);
        cells[TObjectTable::ColY] = QString::number(y);
        cells[TObjectTable::ColRadius] = QStringLiteral("25");
        document.Table.setRowCells(row, cells);
        document.ObjectX[row - 1] = x;
        document.ObjectY[row - 1] = y;
        panel.Markers.createForRow(row);
    }
    document.CurrentRow = 1;
}

// A key pressed and released on a widget.
inline void sendKey(QWidget *to, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &release);
}

// The map window and the table placed in host as in the main window, a plain
// green picture, count objects filled in and the view centred on them.
inline void layOutObjects(QWidget &host, QWidget &grid, TMapDocument &document, TMapViewPanel &panel, int count)
{
    host.resize(1000, 600);
    grid.setGeometry(537, 23, 441, 513);
    QRandomGenerator random(482);
    QImage picture(ViewPanelSize, ViewPanelSize, QImage::Format_RGB32);
    picture.fill(qRgb(40, 90, 40));
    panel.setMapControlsEnabled(true);
    panel.setPicture(picture);
    fillObjects(document, panel, count, random);
    panel.centreOnObjects();
}
