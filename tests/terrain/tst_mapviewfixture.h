#pragma once
// A main window stand-in with the map view panel on it, a document filled row
// by row as the map reader fills it, error boxes recorded instead of shown,
// and the user's gestures: arrow clicks on the scroll bars, presses in the
// map window, and what the window shows.

#include "fakedialogs.h"

#include "document/mapdocument.h"
#include "terrain/mapviewpanel.h"
#include "terrain/viewtransform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>
#include <vector>

struct TMapViewFixture {
    QWidget host;
    TMapDocument document;
    TFakeDialogs dialogs;
    TMapViewPanel panel{&host, document, dialogs};
    TTerrain terrain;

    TMapViewFixture()
    {
        panel.Terrain = &terrain;
        host.resize(1000, 600);
        host.show();
        (void)QTest::qWaitForWindowExposed(&host);
    }

    TMapView &view() { return *panel.Panel1; }
    QWidget *viewport() { return panel.Panel1->viewport(); }

    // The state after a load: map controls enabled, a picture shown.
    void load(const QImage &picture = QImage())
    {
        panel.setMapControlsEnabled(true);
        if (!picture.isNull())
            panel.setPicture(picture);
    }

    // Appends an object row with its cached position and creates its marker
    // as the map reader does; returns the row.
    int addObject(int item, std::int32_t x, std::int32_t y, const QString &radius = QStringLiteral("0"),
                  const QString &name = QString())
    {
        const int row = ++document.ObjectCount;
        document.Table.setRowCount(row + 1);
        document.Table.setCell(TObjectTable::ColNr, row, QString::number(row));
        document.Table.setCell(TObjectTable::ColObject, row, QString::number(item));
        document.Table.setCell(TObjectTable::ColName, row, name);
        document.Table.setCell(TObjectTable::ColX, row, QString::number(x));
        document.Table.setCell(TObjectTable::ColY, row, QString::number(y));
        document.Table.setCell(TObjectTable::ColRadius, row, radius);
        document.ObjectX[row - 1] = x;
        document.ObjectY[row - 1] = y;
        panel.Markers.createForRow(row);
        return row;
    }

    void setView(std::int32_t zoom, std::int32_t ox, std::int32_t oy)
    {
        panel.View.Zoom = zoom;
        panel.View.ViewOffsetX = ox;
        panel.View.ViewOffsetY = oy;
        panel.MoveView(0, 0, true, 0);
        panel.LayoutTiles();
    }

    // Where a scroll bar's style draws one of its parts (arrow, track, thumb).
    static QRect partOf(QScrollBar *bar, QStyle::SubControl part)
    {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.subControls = QStyle::SC_All;
        opt.orientation = bar->orientation();
        if (bar->orientation() == Qt::Horizontal)
            opt.state |= QStyle::State_Horizontal;
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
    }

    // A click on one of a scroll bar's arrows, where the style draws it.
    static void clickArrow(QScrollBar *bar, QStyle::SubControl arrow)
    {
        const QRect r = partOf(bar, arrow);
        QVERIFY(r.isValid());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
    }
    // Down or right arrow: the position grows by one.
    static void clickAddArrow(QScrollBar *bar) { clickArrow(bar, QStyle::SC_ScrollBarAddLine); }
    static void clickSubArrow(QScrollBar *bar) { clickArrow(bar, QStyle::SC_ScrollBarSubLine); }

    // QTest takes the point (0, 0) for "the widget's centre", so it cannot
    // be pressed.
    void pressInMap(QPoint p, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QVERIFY(!p.isNull());
        QTest::mousePress(viewport(), button, modifiers, p);
        QTest::mouseRelease(viewport(), button, modifiers, p);
    }

    void moveInMap(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), viewport()->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }

    // What the map window shows, one pixel per window unit. At a screen
    // scale (QT_SCALE_FACTOR) every device pixel must show the colour of the
    // window pixel its centre lies in, nothing blended: else a null image,
    // with the place in a warning. A window pixel is made of the device
    // pixels whose centres lie inside it.
    QImage shown()
    {
        const QImage device = viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal scale = device.devicePixelRatio();
        if (scale != qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble()) {
            qWarning("the window is drawn at the scale %g", scale);
            return QImage();
        }
        if (scale == 1)
            return device;
        QImage shown(viewport()->size(), QImage::Format_RGB32);
        std::vector<bool> seen(std::size_t(shown.width()) * std::size_t(shown.height()));
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x) {
                const qreal wx = (x + 0.5) / scale, wy = (y + 0.5) / scale;
                const QPoint p{int(wx), int(wy)};
                // A centre on the edge between two window pixels may show either.
                if (!shown.rect().contains(p) || wx == p.x() || wy == p.y())
                    continue;
                const std::size_t at = std::size_t(p.y()) * std::size_t(shown.width()) + std::size_t(p.x());
                if (!seen[at]) {
                    shown.setPixel(p, device.pixel(x, y));
                    seen[at] = true;
                } else if (shown.pixel(p) != device.pixel(x, y)) {
                    qWarning("device pixel (%d, %d) differs from the rest of window pixel (%d, %d)", x, y, p.x(), p.y());
                    return QImage();
                }
            }
        return shown;
    }
};

// A 512 by 512 picture whose every pixel has its own colour.
inline QImage uniquePicture()
{
    QImage img(ViewPanelSize, ViewPanelSize, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, 0x11 | ((x >> 8) << 7) | ((y >> 8) << 6));
    }
    return img;
}
