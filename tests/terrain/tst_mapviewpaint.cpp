// What the map window shows and where presses land: the terrain pixel under
// every window pixel at several zooms and offsets (negative, beyond one
// picture, after scrolling), the marker's exact 4 by 4 square in paint and in
// hit testing, the stacking of markers, mask and circles, and the drawing
// layer of the mouse mask.

#include "tst_mapviewfixture.h"
#include "testregistry.h"

#include "document/category.h"

#include <QGraphicsSimpleTextItem>
#include <QSignalSpy>

namespace {
constexpr std::int32_t U = GameUnitsPerPixel;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::int64_t floorMod(std::int64_t a, std::int64_t b)
{
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

// The picture pixel that window pixel p should show: the one of the tile that
// covers p, enlarged Zoom times from the tile's corner. The tile must also
// agree with the offsets (the picture's origin on the offsets, repeated).
QPoint sourcePixel(TMapViewFixture &f, QPoint p, QString *problem)
{
    const std::int32_t zoom = f.panel.View.Zoom;
    for (const TTileRect &t : f.view().tileLayout()) {
        if (p.x() < t.Left || p.x() >= t.Left + t.Width || p.y() < t.Top || p.y() >= t.Top + t.Height)
            continue;
        const QPoint fromTile((p.x() - t.Left) / zoom, (p.y() - t.Top) / zoom);
        const QPoint fromOffsets(int(floorMod(floorDiv(p.x() - f.panel.View.ViewOffsetX, zoom), 512)),
                                 int(floorMod(floorDiv(p.y() - f.panel.View.ViewOffsetY, zoom), 512)));
        if (fromTile != fromOffsets && problem->isEmpty())
            *problem = QStringLiteral("tiles and offsets disagree at (%1, %2)").arg(p.x()).arg(p.y());
        return fromTile;
    }
    if (problem->isEmpty())
        *problem = QStringLiteral("no tile covers (%1, %2)").arg(p.x()).arg(p.y());
    return QPoint();
}

// First window pixel whose colour is not its picture pixel, or empty.
QString terrainProblem(TMapViewFixture &f, const QImage &picture)
{
    const QImage shown = f.shown();
    if (shown.size() != QSize(512, 512))
        return QStringLiteral("window is %1 x %2").arg(shown.width()).arg(shown.height());
    QString problem;
    for (int y = 0; y < 512; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
        for (int x = 0; x < 512; ++x) {
            const QPoint s = sourcePixel(f, QPoint(x, y), &problem);
            if (!problem.isEmpty())
                return problem;
            if ((line[x] & 0xFFFFFF) != (picture.pixel(s) & 0xFFFFFF))
                return QStringLiteral("window (%1, %2) shows %3, picture (%4, %5) is %6")
                    .arg(x).arg(y).arg(line[x] & 0xFFFFFF, 6, 16, QChar(u'0'))
                    .arg(s.x()).arg(s.y()).arg(picture.pixel(s) & 0xFFFFFF, 6, 16, QChar(u'0'));
        }
    }
    return QString();
}
}

class TestMapViewPaint : public QObject {
    Q_OBJECT
private slots:
    void everyWindowPixelShowsItsPicturePixel_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::newRow("zoom 1 at the origin") << 1 << 0 << 0;
        QTest::newRow("zoom 1 with negative offsets") << 1 << -100 << -37;
        QTest::newRow("zoom 1 offsets beyond one picture wrap around") << 1 << 1300 << -1700;
        QTest::newRow("zoom 2 with an odd offset") << 2 << -257 << 3;
        QTest::newRow("zoom 3 offsets that are no multiple of the zoom") << 3 << 100 << -200;
        QTest::newRow("zoom 7 with the picture's seam in view") << 7 << -3400 << 3300;
        QTest::newRow("zoom 50 negative offsets") << 50 << -12345 << -6789;
        QTest::newRow("zoom 50 seams after several repeats") << 50 << 3 * 25600 + 200 << -2 * 25600 + 300;
        QTest::newRow("zoom 50 far away") << 50 << 40000000 << -40000017;
        QTest::newRow("zoom 1 near the largest offsets") << 1 << 2147483000 << -2147483000;
    }
    void everyWindowPixelShowsItsPicturePixel()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        TMapViewFixture f;
        const QImage picture = uniquePicture();
        f.load(picture);
        f.setView(zoom, ox, oy);
        const QString problem = terrainProblem(f, picture);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void scrollingKeepsTheWindowCoveredAndTrue_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::newRow("zoom 1 from tiles laid out below and right") << 1 << -30 << -30;
        QTest::newRow("zoom 1 from the origin") << 1 << 0 << 0;
        QTest::newRow("zoom 4 near a tile edge") << 4 << 2000 << -2040;
    }
    void scrollingKeepsTheWindowCoveredAndTrue()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        TMapViewFixture f;
        const QImage picture = uniquePicture();
        f.load(picture);
        f.setView(zoom, ox, oy);
        // Up across the tile edge, back down past it, left and right.
        const QList<std::pair<QScrollBar *, bool>> clicks{
            {f.panel.ScrollBar3, false}, {f.panel.ScrollBar3, true}, {f.panel.ScrollBar3, true},
            {f.panel.ScrollBar2, false}, {f.panel.ScrollBar2, true}, {f.panel.ScrollBar2, true}};
        for (const auto &[bar, add] : clicks) {
            if (add)
                f.clickAddArrow(bar);
            else
                f.clickSubArrow(bar);
            const QString problem = terrainProblem(f, picture);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        QCOMPARE(f.panel.View.ViewOffsetX, ox - 64);
        QCOMPARE(f.panel.View.ViewOffsetY, oy - 64);
    }

    void aMarkerPaintsExactlyItsSquare_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("silver vehicle at zoom 1") << 2001 << 1 << QPoint(100, 200);
        QTest::newRow("black effect with its white outline at zoom 5") << 7001 << 5 << QPoint(250, 55);
        QTest::newRow("marker on the window's top-left pixel") << 4001 << 1 << QPoint(0, 0);
    }
    void aMarkerPaintsExactlyItsSquare()
    {
        QFETCH(int, item);
        QFETCH(int, zoom);
        QFETCH(QPoint, place);
        TMapViewFixture f;
        const QImage picture = uniquePicture();
        f.load(picture);
        const int row = f.addObject(item, place.x() / zoom * U, -(place.y() / zoom) * U);
        f.setView(zoom, 0, 0);
        const TMarker *m = f.panel.Markers[row];
        QCOMPARE(m->topLeft(), place);
        const QImage shown = f.shown();
        QString problem;
        for (int dy = -1; dy <= 4; ++dy)
            for (int dx = -1; dx <= 4; ++dx) {
                const QPoint p = place + QPoint(dx, dy);
                if (p.x() < 0 || p.y() < 0)
                    continue;
                const bool inside = dx >= 0 && dx < 4 && dy >= 0 && dy < 4;
                const bool ring = inside && (dx == 0 || dx == 3 || dy == 0 || dy == 3);
                const QRgb want = !inside ? picture.pixel(sourcePixel(f, p, &problem))
                                  : ring  ? m->outlineColour()
                                          : m->fillColour();
                QVERIFY2((shown.pixel(p) & 0xFFFFFF) == (want & 0xFFFFFF),
                         qPrintable(QStringLiteral("pixel (%1, %2) of the marker").arg(dx).arg(dy)));
            }
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void aPressHitsAMarkerExactlyOnItsSquare_data()
    {
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<bool>("hits");
        QTest::newRow("its top-left pixel") << QPoint(0, 0) << true;
        QTest::newRow("its bottom-right pixel") << QPoint(3, 3) << true;
        QTest::newRow("one pixel right of it") << QPoint(4, 1) << false;
        QTest::newRow("one pixel below it") << QPoint(1, 4) << false;
        QTest::newRow("one pixel left of it") << QPoint(-1, 1) << false;
        QTest::newRow("one pixel above it") << QPoint(1, -1) << false;
    }
    void aPressHitsAMarkerExactlyOnItsSquare()
    {
        QFETCH(QPoint, delta);
        QFETCH(bool, hits);
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 120 * U, -80 * U);
        QSignalSpy markerSpy(&f.view(), &TMapView::markerPressed);
        QSignalSpy maskSpy(&f.view(), &TMapView::workMaskPressed);
        const QPoint p = QPoint(120, 80) + delta;
        QTest::mousePress(f.viewport(), Qt::RightButton, Qt::ShiftModifier, p);
        QTest::mouseRelease(f.viewport(), Qt::RightButton, Qt::ShiftModifier, p);
        QCOMPARE(markerSpy.size(), hits ? 1 : 0);
        QCOMPARE(maskSpy.size(), hits ? 0 : 1);
        const QList<QVariant> args = hits ? markerSpy.at(0) : maskSpy.at(0);
        if (hits)
            QCOMPARE(args.at(0).toInt(), row);
        const int at = hits ? 1 : 0;
        QCOMPARE(args.at(at).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(args.at(at + 1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(args.at(at + 2).toPoint(), p);
    }

    void theLaterMarkerTakesThePressWhereMarkersOverlap()
    {
        TMapViewFixture f;
        f.load();
        f.addObject(5001, 50 * U, -50 * U);
        const int second = f.addObject(2001, 50 * U + 1, -50 * U);
        QSignalSpy spy(&f.view(), &TMapView::markerPressed);
        f.pressInMap(QPoint(52, 52));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), second);
    }

    void circlesLetPressesThrough()
    {
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 200 * U, -200 * U, QStringLiteral("30"));
        TMapView &v = f.view();
        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        v.bringSelectorToFront();
        v.MetaMeter->setBounds(80, 80, 40, 40);
        v.MetaMeter->show();
        v.MeterAnz->setPos(300, 300);
        v.MeterAnz->show();
        QSignalSpy markerSpy(&v, &TMapView::markerPressed);
        QSignalSpy maskSpy(&v, &TMapView::workMaskPressed);
        f.pressInMap(QPoint(100, 80));  // the measuring circle's outline
        f.pressInMap(QPoint(305, 305)); // the distance text
        f.pressInMap(QPoint(187, 202)); // the radius circle's outline
        QCOMPARE(maskSpy.size(), 3);
        f.pressInMap(QPoint(201, 201)); // the marker under the ring brought to front
        QCOMPARE(markerSpy.size(), 1);
    }

    void circlesDrawTheirOutlineInsideTheirBounds_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("selection ring: yellow, 2 pixels") << 0 << 12 << 2 << QRgb(0xFFFF00);
        QTest::newRow("radius circle: red, 1 pixel") << 1 << 40 << 1 << QRgb(0xFF0000);
        QTest::newRow("measuring circle: inverted black pen shows white") << 2 << 60 << 1 << QRgb(0xFFFFFF);
    }
    void circlesDrawTheirOutlineInsideTheirBounds()
    {
        QFETCH(int, which);
        QFETCH(int, size);
        QFETCH(int, penWidth);
        QFETCH(QRgb, colour);
        TMapViewFixture f;
        QImage picture(512, 512, QImage::Format_RGB32);
        picture.fill(qRgb(0x20, 0x40, 0x60));
        f.load(picture);
        TMapView &v = f.view();
        TCircleShape *circle = which == 0 ? v.Selector : which == 1 ? v.Ranger : v.MetaMeter;
        const QPoint at(100, 150);
        circle->setBounds(at.x(), at.y(), size, size);
        circle->show();
        const QImage shown = f.shown();
        auto colourAt = [&](int dx, int dy) { return shown.pixel(at + QPoint(dx, dy)) & 0xFFFFFF; };
        const int mid = size / 2;
        // Top, bottom, left and right of the circle: the pen's pixels, and
        // the picture just outside and just inside them.
        for (int i = 0; i < penWidth; ++i) {
            QCOMPARE(colourAt(mid, i), colour);
            QCOMPARE(colourAt(mid, size - 1 - i), colour);
            QCOMPARE(colourAt(i, mid), colour);
            QCOMPARE(colourAt(size - 1 - i, mid), colour);
        }
        const QRgb ground = 0x204060;
        QCOMPARE(colourAt(mid, -1), ground);
        QCOMPARE(colourAt(mid, size), ground);
        QCOMPARE(colourAt(-1, mid), ground);
        QCOMPARE(colourAt(size, mid), ground);
        QCOMPARE(colourAt(mid, penWidth + 1), ground);
        QCOMPARE(colourAt(mid, mid), ground);
    }

    void theMaskTakesInputOnlyWhenEnabled()
    {
        TMapViewFixture f;
        QSignalSpy pressSpy(&f.view(), &TMapView::workMaskPressed);
        QSignalSpy moveSpy(&f.view(), &TMapView::workMaskMoved);
        f.pressInMap(QPoint(10, 20));
        f.moveInMap(QPoint(11, 21));
        QCOMPARE(pressSpy.size(), 0);
        QCOMPARE(moveSpy.size(), 0);
        f.load();
        f.pressInMap(QPoint(10, 20), Qt::MiddleButton, Qt::AltModifier);
        QCOMPARE(pressSpy.size(), 1);
        QCOMPARE(pressSpy.at(0).at(0).value<Qt::MouseButton>(), Qt::MiddleButton);
        QCOMPARE(pressSpy.at(0).at(2).toPoint(), QPoint(10, 20));
        f.moveInMap(QPoint(11, 21));
        QVERIFY(moveSpy.size() >= 1);
        QCOMPARE(moveSpy.last().at(2).toPoint(), QPoint(11, 21));
    }

    void movingOverAMarkerDoesNotReachTheMask()
    {
        TMapViewFixture f;
        f.load();
        f.addObject(5001, 40 * U, -40 * U);
        QSignalSpy moveSpy(&f.view(), &TMapView::workMaskMoved);
        f.moveInMap(QPoint(30, 30));
        const qsizetype before = moveSpy.size();
        QVERIFY(before >= 1);
        f.moveInMap(QPoint(41, 41));
        f.moveInMap(QPoint(42, 42));
        QCOMPARE(moveSpy.size(), before);
    }

    void theMaskLayerDrawsAboveTheTerrainUntilCleared()
    {
        TMapViewFixture f;
        const QImage picture = uniquePicture();
        f.load(picture);
        f.view().drawOnWorkMask(QPoint(100, 100), QPoint(140, 100), QPen(QColor(255, 0, 0), 2));
        QImage shown = f.shown();
        QCOMPARE(shown.pixel(120, 100) & 0xFFFFFF, 0xFF0000u);
        QCOMPARE(shown.pixel(120, 110), picture.pixel(120, 110));
        f.view().clearWorkMask();
        const QString problem = terrainProblem(f, picture);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void withoutAPictureTheWindowShowsItsCaption()
    {
        TMapViewFixture f;
        const QImage shown = f.shown();
        const QColor window = f.view().palette().window().color();
        QCOMPARE(shown.pixelColor(100, 100), window);
        int textPixels = 0;
        for (int y = 240; y < 272; ++y)
            for (int x = 200; x < 312; ++x)
                textPixels += shown.pixelColor(x, y) != window;
        QVERIFY(textPixels > 20);
    }
};

VELLUMAR_TEST(TestMapViewPaint)
#include "tst_mapviewpaint.moc"
