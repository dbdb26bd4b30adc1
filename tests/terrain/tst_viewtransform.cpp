// The map view's arithmetic without a window: both transforms, the tile
// layout and the scroll wrap (the tiles always cover the window), the zoom
// offset correction, centring, and the integer overflow error.

#include "testregistry.h"

#include "fileio/errors.h"
#include "terrain/viewtransform.h"

#include <QTest>
#include <climits>

Q_DECLARE_METATYPE(TTileLayout)

// Failure messages name the four tiles (found through the tile type).
char *toString(const TTileLayout &t)
{
    QString s;
    for (const TTileRect &r : t)
        s += QStringLiteral("(%1, %2, %3x%4) ").arg(r.Left).arg(r.Top).arg(r.Width).arg(r.Height);
    return qstrdup(s.toLatin1().constData());
}

namespace {
constexpr std::int32_t U = GameUnitsPerPixel;

TViewState state(std::int32_t zoom, std::int32_t ox, std::int32_t oy)
{
    TViewState s;
    s.Zoom = zoom;
    s.ViewOffsetX = ox;
    s.ViewOffsetY = oy;
    return s;
}

// MImage1 .. MImage4 as (left, top) pairs, all of one size.
TTileLayout tiles(std::int32_t size, std::initializer_list<std::pair<int, int>> places)
{
    TTileLayout t;
    int i = 0;
    for (const auto &[left, top] : places)
        t[i++] = TTileRect{left, top, size, size};
    return t;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b)
{
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

// Every window pixel is covered by exactly one tile (checked at the corners
// and edges of the tiles that meet inside the window, which is enough for
// four equal squares), and MImage1 starts a picture period at the offsets.
QString coverProblem(const TTileLayout &t, std::int32_t ox, std::int32_t oy)
{
    const std::int32_t size = t[0].Width;
    QList<int> xs{0, ViewPanelSize - 1};
    QList<int> ys{0, ViewPanelSize - 1};
    for (const TTileRect &r : t) {
        for (int x : {r.Left - 1, r.Left, r.Left + r.Width - 1, r.Left + r.Width})
            if (x >= 0 && x < ViewPanelSize)
                xs << x;
        for (int y : {r.Top - 1, r.Top, r.Top + r.Height - 1, r.Top + r.Height})
            if (y >= 0 && y < ViewPanelSize)
                ys << y;
    }
    for (int x : xs)
        for (int y : ys) {
            int n = 0;
            for (const TTileRect &r : t)
                n += x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Top + r.Height;
            if (n != 1)
                return QStringLiteral("pixel (%1, %2) covered %3 times").arg(x).arg(y).arg(n);
        }
    if (floorMod(t[0].Left, size) != floorMod(ox, size) || floorMod(t[0].Top, size) != floorMod(oy, size))
        return QStringLiteral("MImage1 at (%1, %2) is not at the offsets (%3, %4) modulo %5")
            .arg(t[0].Left).arg(t[0].Top).arg(ox).arg(oy).arg(size);
    return QString();
}
}

class TestViewTransform : public QObject {
    Q_OBJECT
private slots:
    void gameToWindowPlacesTheMarkerCorner_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::addColumn<int>("posX");
        QTest::addColumn<int>("posY");
        QTest::addColumn<QPoint>("window");
        QTest::newRow("game origin sits on the offsets at zoom 1") << 1 << 0 << 0 << 0 << 0 << QPoint(0, 0);
        QTest::newRow("game origin sits on negative offsets at zoom 7") << 7 << -300 << -40 << 0 << 0 << QPoint(-300, -40);
        QTest::newRow("negative game Y lies below the top edge") << 1 << 0 << 0 << 10 * U << -20 * U << QPoint(10, 20);
        QTest::newRow("zoom multiplies whole map pixels") << 3 << 5 << -7 << 100 * U + 5 << -50 * U - (U - 1) << QPoint(305, 143);
        QTest::newRow("a part pixel truncates toward zero on the negative side") << 2 << 256 << 0 << -(U - 1) << U - 1 << QPoint(256, 0);
        QTest::newRow("negative game X at zoom 2") << 2 << 256 << 0 << -3 * U << 2 * U << QPoint(250, -4);
        QTest::newRow("the map's far corner at zoom 50") << 50 << 0 << 0 << INT_MAX << INT_MIN << QPoint(16383 * 50, 16384 * 50);
    }
    void gameToWindowPlacesTheMarkerCorner()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        QFETCH(int, posX);
        QFETCH(int, posY);
        QFETCH(QPoint, window);
        QCOMPARE(gameToWindow(state(zoom, ox, oy), posX, posY), window);
    }

    void windowToGameReadsThePointer_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::addColumn<QPoint>("window");
        QTest::addColumn<int>("gameX");
        QTest::addColumn<int>("gameY");
        QTest::newRow("zoom 1 offsets 0: window (10, 20)") << 1 << 0 << 0 << QPoint(10, 20) << 10 * U << -20 * U;
        QTest::newRow("the window centre after zooming in from the origin") << 2 << -256 << -256 << QPoint(256, 256) << 33554432 << -33554432;
        QTest::newRow("offsets and pixel divide separately, toward zero") << 3 << 100 << -50 << QPoint(10, 20) << -3888470 << -2970965;
    }
    void windowToGameReadsThePointer()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        QFETCH(QPoint, window);
        QFETCH(int, gameX);
        QFETCH(int, gameY);
        const TGamePoint p = windowToGame(state(zoom, ox, oy), window.x(), window.y());
        QCOMPARE(p.X, gameX);
        QCOMPARE(p.Y, gameY);
    }

    void overflowRaisesTheIntegerOverflowError_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("marker place past the largest offset") << 0;
        QTest::newRow("pointer readout of a far offset") << 1;
        QTest::newRow("zoom correction of an extreme offset") << 2;
        QTest::newRow("a scroll step past the smallest top") << 3;
    }
    void overflowRaisesTheIntegerOverflowError()
    {
        QFETCH(int, which);
        try {
            switch (which) {
            case 0: gameToWindow(state(1, INT_MAX - 10, 0), 11 * U, 0); break;
            case 1: windowToGame(state(1, 20000, 0), 0, 0); break;
            case 2: {
                TViewState s = state(1, INT_MIN + 1, 0);
                zoomTo(s, 2);
                break;
            }
            case 3: {
                TTileLayout t = tiles(512, {{0, INT_MIN + 10}, {0, 0}, {0, 0}, {0, 0}});
                scrollTiles(t, TScrollAxis::Vertical, 64);
                break;
            }
            }
            QFAIL("no error raised");
        } catch (const TError &e) {
            QCOMPARE(e.message(), QString::fromLatin1(Msg::IntegerOverflow));
        }
    }

    void layoutTilesPlacesTheFourTiles_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::addColumn<TTileLayout>("expected");
        QTest::newRow("offsets 0 give the start layout")
            << 1 << 0 << 0 << tiles(512, {{0, 0}, {0, -512}, {-512, -512}, {-512, 0}});
        QTest::newRow("ViewOffsetY -100 puts MImage1 at -100 and MImage2 below at 412")
            << 1 << 0 << -100 << tiles(512, {{0, -100}, {0, 412}, {-512, 412}, {-512, -100}});
        QTest::newRow("a negative X offset puts MImage3 and MImage4 to the right")
            << 1 << -100 << 0 << tiles(512, {{-100, 0}, {-100, -512}, {412, -512}, {412, 0}});
        QTest::newRow("offsets beyond one tile keep their signed remainder")
            << 1 << 1300 << -1300 << tiles(512, {{276, -276}, {276, 236}, {-236, 236}, {-236, -276}});
        QTest::newRow("tiles are Zoom * 512 at zoom 3")
            << 3 << 2000 << -2000 << tiles(1536, {{464, -464}, {464, 1072}, {-1072, 1072}, {-1072, -464}});
    }
    void layoutTilesPlacesTheFourTiles()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        QFETCH(TTileLayout, expected);
        QCOMPARE(layoutTiles(state(zoom, ox, oy)), expected);
        // The start layout, which Reset and the view's creation use.
        QCOMPARE(startTileLayout(), tiles(512, {{0, 0}, {0, -512}, {-512, -512}, {-512, 0}}));
    }

    void laidOutTilesAlwaysCoverTheWindow()
    {
        for (int zoom : {1, 2, 3, 17, 50})
            for (int ox : {-70000, -25601, -513, -512, -511, -1, 0, 1, 255, 511, 512, 513, 99999})
                for (int oy : {-30000, -512, -300, -1, 0, 1, 300, 512, 1025}) {
                    const QString problem = coverProblem(layoutTiles(state(zoom, ox, oy)), ox, oy);
                    QVERIFY2(problem.isEmpty(),
                             qPrintable(QStringLiteral("zoom %1 offsets (%2, %3): %4").arg(zoom).arg(ox).arg(oy).arg(problem)));
                }
    }

    void aScrollStepWrapsTheTiles_data()
    {
        QTest::addColumn<int>("oy");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("top1");
        QTest::addColumn<int>("top2");
        QTest::newRow("one step down from the start wraps MImage1 to 448, MImage2 above") << 0 << 64 << 448 << -64;
        QTest::newRow("one step up from the start moves MImage1 to 64") << 0 << -64 << 64 << -448;
        QTest::newRow("a step up past the top edge of a tile laid out below keeps the cover") << -30 << -64 << 34 << -478;
        QTest::newRow("a step down from a tile laid out below restacks it above") << -100 << 64 << 348 << -164;
        QTest::newRow("two steps up across the tile edge") << 480 << -128 << 96 << -416;
    }
    void aScrollStepWrapsTheTiles()
    {
        QFETCH(int, oy);
        QFETCH(int, step);
        QFETCH(int, top1);
        QFETCH(int, top2);
        TTileLayout t = layoutTiles(state(1, 0, oy));
        scrollTiles(t, TScrollAxis::Vertical, step);
        QCOMPARE(t[0].Top, top1);
        QCOMPARE(t[1].Top, top2);
        QCOMPARE(t[2].Top, top2);
        QCOMPARE(t[3].Top, top1);
        // Lefts are the horizontal bar's business.
        QCOMPARE(t[0].Left, 0);
        QCOMPARE(t[2].Left, -512);
    }

    void scrolledTilesAlwaysCoverTheWindow()
    {
        for (int zoom : {1, 2, 50})
            for (int ox : {-600, -30, 0, 40, 500})
                for (int oy : {-600, -30, 0, 40, 500}) {
                    TTileLayout t = layoutTiles(state(zoom, ox, oy));
                    std::int32_t x = ox;
                    std::int32_t y = oy;
                    // A walk of steps of both sizes, both ways, on both axes.
                    for (int p : {-1, 1, 1, 2, -1, -2, -2, 2, 1, -1, 2, 2, 2, 2, -2, -2, -2, -2, -2, -2}) {
                        for (TScrollAxis axis : {TScrollAxis::Vertical, TScrollAxis::Horizontal}) {
                            scrollTiles(t, axis, 64 * p);
                            (axis == TScrollAxis::Vertical ? y : x) -= 64 * p;
                            const QString problem = coverProblem(t, x, y);
                            QVERIFY2(problem.isEmpty(),
                                     qPrintable(QStringLiteral("zoom %1 from (%2, %3): %4").arg(zoom).arg(ox).arg(oy).arg(problem)));
                        }
                    }
                }
    }

    void zoomCorrectsTheOffsetsWithTheOldFactor_data()
    {
        QTest::addColumn<int>("oldZoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::addColumn<int>("newZoom");
        QTest::addColumn<int>("newOx");
        QTest::addColumn<int>("newOy");
        QTest::addColumn<int>("direction");
        QTest::newRow("zoom 1 to 2 from the origin gives (-256, -256)") << 1 << 0 << 0 << 2 << -256 << -256 << 1;
        QTest::newRow("zoom 2 back to 1 gives (0, 0)") << 2 << -256 << -256 << 1 << 0 << 0 << -1;
        QTest::newRow("a jump of two steps uses the old factor once") << 1 << 0 << 0 << 3 << -256 << -256 << 1;
        QTest::newRow("zooming out three to one divides by three") << 3 << -256 << -256 << 1 << -86 << -86 << -1;
        QTest::newRow("odd offsets divide toward zero") << 2 << 1 << 1001 << 3 << -126 << 1373 << 1;
        QTest::newRow("the same zoom changes nothing") << 4 << 77 << -77 << 4 << 77 << -77 << 0;
    }
    void zoomCorrectsTheOffsetsWithTheOldFactor()
    {
        QFETCH(int, oldZoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        QFETCH(int, newZoom);
        QFETCH(int, newOx);
        QFETCH(int, newOy);
        QFETCH(int, direction);
        TViewState s = state(oldZoom, ox, oy);
        QCOMPARE(zoomTo(s, newZoom), direction);
        QCOMPARE(s, state(newZoom, newOx, newOy));
    }

    void zoomOutsideItsRangeIsRefused_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("zero") << 0;
        QTest::newRow("fifty-one") << 51;
    }
    void zoomOutsideItsRangeIsRefused()
    {
        QFETCH(int, zoom);
        TViewState s;
        QVERIFY_THROWS_EXCEPTION(TError, zoomTo(s, zoom));
        QCOMPARE(s, TViewState{});
    }

    void centringOnObjectsDividesByOneMoreThanTheirCount_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::newRow("no objects give offsets 256") << 1 << QList<int>{} << QList<int>{} << 256 << 256;
        QTest::newRow("two objects: the sum over three") << 1 << QList<int>{30 * U, 60 * U} << QList<int>{-30 * U, -60 * U} << 226 << 226;
        QTest::newRow("the zoom scales each position, the mean truncates toward zero")
            << 2 << QList<int>{U, 0, 0} << QList<int>{-U, 0, 0} << 256 << 256;
    }
    void centringOnObjectsDividesByOneMoreThanTheirCount()
    {
        QFETCH(int, zoom);
        QFETCH(QList<int>, xs);
        QFETCH(QList<int>, ys);
        QFETCH(int, ox);
        QFETCH(int, oy);
        TViewState s = state(zoom, 9, 9);
        centreOnObjects(s, xs.constData(), ys.constData(), int(xs.size()));
        QCOMPARE(s, state(zoom, ox, oy));
    }

};

VELLUMAR_TEST(TestViewTransform)
#include "tst_viewtransform.moc"
