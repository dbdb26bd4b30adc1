// The map view as the user drives it: zoom and scroll arrows, "#", the
// category boxes, the selection and measuring circles following the view,
// the pictures of "c", "d", "m", and the commands that stop with an error.

#include "tst_mapviewfixture.h"
#include "testregistry.h"

#include "document/category.h"
#include "fileio/errors.h"

#include <QCheckBox>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr std::int32_t U = GameUnitsPerPixel;

QRect bounds(const TCircleShape *c)
{
    return QRect(c->left(), c->top(), c->width(), c->height());
}

void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(7, box->height() / 2));
}
}

class TestMapView : public QObject {
    Q_OBJECT
private slots:
    void markersFollowTheTransformOnAFullMove_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::addColumn<int>("posX");
        QTest::addColumn<int>("posY");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("object at the game origin sits on the offsets at zoom 1") << 1 << 12 << 34 << 0 << 0 << QPoint(12, 34);
        QTest::newRow("object at the game origin sits on the offsets at zoom 9") << 9 << 40 << 300 << 0 << 0 << QPoint(40, 300);
        QTest::newRow("negative game Y is drawn below the top edge") << 1 << 0 << 0 << 10 * U << -20 * U << QPoint(10, 20);
        QTest::newRow("negative offsets and zoom 3") << 3 << -600 << -900 << 300 * U << -400 * U << QPoint(300, 300);
        QTest::newRow("negative game X truncates toward zero") << 2 << 256 << 256 << -(U + 1) << U + 1 << QPoint(254, 254);
    }
    void markersFollowTheTransformOnAFullMove()
    {
        QFETCH(int, zoom);
        QFETCH(int, ox);
        QFETCH(int, oy);
        QFETCH(int, posX);
        QFETCH(int, posY);
        QFETCH(QPoint, topLeft);
        TMapViewFixture f;
        f.load(uniquePicture());
        const int row = f.addObject(2001, posX, posY);
        f.setView(zoom, ox, oy);
        QCOMPARE(f.panel.Markers[row]->topLeft(), topLeft);
        // The user finds it there: a press on that pixel reaches the marker.
        QList<int> pressed;
        QObject::connect(&f.view(), &TMapView::markerPressed, [&](int r) { pressed << r; });
        f.pressInMap(topLeft);
        QCOMPARE(pressed, QList<int>{row});
    }

    void theReaderPlacesMarkersWithoutTheZoomUntilTheCentring()
    {
        TMapViewFixture f;
        f.clickAddArrow(f.panel.ScrollBar1); // zoom 2 before the load: offsets (-256, -256)
        const int a = f.addObject(1001, 30 * U, -30 * U);
        const int b = f.addObject(1001, 60 * U, -60 * U);
        QCOMPARE(f.panel.Markers[a]->topLeft(), QPoint(-226, -226));
        QCOMPARE(f.panel.Markers[b]->topLeft(), QPoint(-196, -196));
        f.panel.centreOnObjects();
        // Sum of pixel positions times zoom over objects + 1: 180 / 3 = 60.
        QCOMPARE(f.panel.View, (TViewState{196, 196, 2}));
        QCOMPARE(f.panel.Markers[a]->topLeft(), QPoint(256, 256));
        QCOMPARE(f.panel.Markers[b]->topLeft(), QPoint(316, 316));
        QCOMPARE(f.view().MImage1.width(), 1024);
    }

    void zoomArrowsRoundTripThroughTheWindowCentre()
    {
        TMapViewFixture f;
        f.load(uniquePicture());
        const int row = f.addObject(2001, 0, 0);
        f.clickAddArrow(f.panel.ScrollBar1);
        QCOMPARE(f.panel.View, (TViewState{-256, -256, 2}));
        QCOMPARE(f.panel.E_Zoom->text(), QStringLiteral("2"));
        QCOMPARE(f.panel.Label1->text(), QStringLiteral("-256"));
        QCOMPARE(f.panel.Label2->text(), QStringLiteral("-256"));
        QCOMPARE(f.view().MImage1.bounds(), (TTileRect{-256, -256, 1024, 1024}));
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(-256, -256));
        f.clickSubArrow(f.panel.ScrollBar1);
        QCOMPARE(f.panel.View, (TViewState{0, 0, 1}));
        QCOMPARE(f.panel.E_Zoom->text(), QStringLiteral("1"));
        QCOMPARE(f.view().tileLayout(), startTileLayout());
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(0, 0));
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void zoomBeforeALoadKeepsTheViewConsistent()
    {
        // No map: the radius step has no object, so zooming shows no error.
        TMapViewFixture f;
        QVERIFY(f.panel.ScrollBar1->isEnabled());
        f.clickAddArrow(f.panel.ScrollBar1);
        f.clickAddArrow(f.panel.ScrollBar1);
        QVERIFY(f.dialogs.errors.isEmpty());
        QCOMPARE(f.panel.View.Zoom, 3);
        QCOMPARE(f.panel.E_Zoom->text(), QStringLiteral("3"));
        QCOMPARE(f.panel.Label1->text(), QString::number(f.panel.View.ViewOffsetX));
        QCOMPARE(f.view().tileLayout(), layoutTiles(f.panel.View));
        QCOMPARE(f.view().MImage4.width(), 1536);
        QVERIFY(!f.view().Ranger->isVisible());
    }

    void threeDownArrowClicksScrollByThreeSteps()
    {
        TMapViewFixture f;
        f.load(uniquePicture());
        const int row = f.addObject(2001, 100 * U, -300 * U);
        for (int i = 0; i < 3; ++i)
            f.clickAddArrow(f.panel.ScrollBar3);
        QCOMPARE(f.panel.View.ViewOffsetY, -192);
        QCOMPARE(f.panel.View.ViewOffsetX, 0);
        QCOMPARE(f.panel.ScrollBar3->value(), 0);
        QCOMPARE(f.panel.Label2->text(), QStringLiteral("-192"));
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(100, 108));
        f.clickAddArrow(f.panel.ScrollBar2);
        f.clickSubArrow(f.panel.ScrollBar2);
        f.clickSubArrow(f.panel.ScrollBar2);
        QCOMPARE(f.panel.View.ViewOffsetX, 64);
        QCOMPARE(f.panel.ScrollBar2->value(), 0);
        QCOMPARE(f.panel.Label1->text(), QStringLiteral("64"));
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(164, 108));
    }

    void aScrollStepMovesOnlyMarkersLandingInTheBand_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QPoint>("before");
        QTest::addColumn<QPoint>("after");
        QTest::newRow("a marker in the window follows") << true << QPoint(10, 100) << QPoint(10, 36);
        QTest::newRow("a marker landing just inside the band's lower edge follows") << true << QPoint(10, 640) << QPoint(10, 576);
        QTest::newRow("a marker landing on the band's lower edge stays") << true << QPoint(10, 644) << QPoint(10, 644);
        QTest::newRow("a marker landing just inside the band's upper edge follows") << true << QPoint(10, -10) << QPoint(10, -74);
        QTest::newRow("a marker landing on the band's upper edge stays") << true << QPoint(10, -11) << QPoint(10, -11);
        QTest::newRow("a marker beside the window stays") << true << QPoint(600, 100) << QPoint(600, 100);
        QTest::newRow("a marker far away keeps its stale place") << true << QPoint(5000, -5000) << QPoint(5000, -5000);
        QTest::newRow("a marker landing just inside the band's right edge follows") << false << QPoint(643, 10) << QPoint(579, 10);
        QTest::newRow("a marker landing on the band's right edge stays") << false << QPoint(644, 10) << QPoint(644, 10);
        QTest::newRow("a marker landing on the band's left edge stays") << false << QPoint(-11, 10) << QPoint(-11, 10);
        QTest::newRow("a marker above the window stays on a sideways step") << false << QPoint(100, -80) << QPoint(100, -80);
    }
    void aScrollStepMovesOnlyMarkersLandingInTheBand()
    {
        QFETCH(bool, vertical);
        QFETCH(QPoint, before);
        QFETCH(QPoint, after);
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(3001, before.x() * U, -before.y() * U);
        QCOMPARE(f.panel.Markers[row]->topLeft(), before);
        f.clickAddArrow(vertical ? f.panel.ScrollBar3 : f.panel.ScrollBar2);
        QCOMPARE(f.panel.Markers[row]->topLeft(), after);
        // The next full move puts every marker right.
        f.panel.MoveView(0, 0, true, 0);
        QCOMPARE(f.panel.Markers[row]->topLeft(), before - (vertical ? QPoint(0, 64) : QPoint(64, 0)));
    }

    void hashCentresTheViewOnTheCurrentObject()
    {
        TMapViewFixture f;
        f.load(uniquePicture());
        f.addObject(5001, 0, 0);
        const int row = f.addObject(2001, 33554432, -33554432, QStringLiteral("10"));
        f.document.CurrentRow = row;
        f.clickAddArrow(f.panel.ScrollBar1);
        QTest::mouseClick(f.panel.Button5, Qt::LeftButton);
        QVERIFY(f.dialogs.errors.isEmpty());
        QCOMPARE(f.panel.View, (TViewState{-256, -256, 2}));
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(256, 256));
        QCOMPARE(f.panel.Markers[1]->topLeft(), QPoint(-256, -256));
        QCOMPARE(f.view().tileLayout(), layoutTiles(f.panel.View));
        QCOMPARE(bounds(f.view().Ranger), QRect(248, 248, 20, 20));
        QVERIFY(f.view().Ranger->isVisible());
        // The ring keeps its visibility.
        QVERIFY(!f.view().Selector->isVisible());
    }

    void theRadiusCircleIsRadiusTimesZoomAroundTheMarker_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("radius");
        QTest::addColumn<int>("diameter");
        QTest::newRow("zoom 3, radius 20: 60 by 60") << 3 << QStringLiteral("20") << 60;
        QTest::newRow("zoom 5, radius 3: an odd diameter halves toward zero") << 5 << QStringLiteral("3") << 15;
    }
    void theRadiusCircleIsRadiusTimesZoomAroundTheMarker()
    {
        QFETCH(int, zoom);
        QFETCH(QString, radius);
        QFETCH(int, diameter);
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 10 * U, -10 * U, radius);
        for (int z = 1; z < zoom; ++z)
            f.clickAddArrow(f.panel.ScrollBar1);
        QVERIFY(f.dialogs.errors.isEmpty());
        const TCircleShape *ranger = f.view().Ranger;
        QVERIFY(ranger->isVisible());
        QCOMPARE(ranger->width(), diameter);
        QCOMPARE(ranger->height(), diameter);
        const QPoint markerCentre = f.panel.Markers[row]->topLeft() + QPoint(2, 2);
        QCOMPARE(QPoint(ranger->left() + diameter / 2, ranger->top() + diameter / 2), markerCentre);

        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        QCOMPARE(ranger->width(), diameter);
        QCOMPARE(QPoint(ranger->left() + diameter / 2, ranger->top() + diameter / 2), markerCentre);
        const TCircleShape *selector = f.view().Selector;
        QVERIFY(selector->isVisible());
        QCOMPARE(bounds(selector), QRect(markerCentre - QPoint(6, 6), QSize(12, 12)));
    }

    void circlesFollowTheView()
    {
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 100 * U, -100 * U, QStringLiteral("8"));
        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        TMapView &v = f.view();
        v.MetaMeter->setBounds(40, 50, 30, 30);
        v.MetaMeter->show();
        v.MeterAnz->setPos(90, 60);
        v.MeterAnz->show();

        f.clickAddArrow(f.panel.ScrollBar3);
        QCOMPARE(v.MetaMeter->topLeft(), QPoint(40, -14));
        QCOMPARE(v.MeterAnz->pos(), QPointF(90, -4));
        QCOMPARE(bounds(v.Ranger), QRect(98, 34, 8, 8));
        QCOMPARE(v.Selector->topLeft(), QPoint(96, 32));

        f.clickAddArrow(f.panel.ScrollBar1);
        QVERIFY(!v.MetaMeter->isVisible());
        QVERIFY(!v.MeterAnz->isVisible());
        QCOMPARE(v.Ranger->width(), 16);
    }

    void whileSelectedScrollingKeepsTheCirclesOnTheObject()
    {
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 10 * U, -700 * U, QStringLiteral("4"));
        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        f.panel.Markers.SelectionShown = true;
        f.document.Table.setCell(TObjectTable::ColRadius, row, QStringLiteral("6"));
        f.clickAddArrow(f.panel.ScrollBar3);
        // The marker lands outside the band and keeps its stale place; the
        // radius circle is resized and placed from the object's position, the
        // ring from the marker.
        QCOMPARE(f.panel.Markers[row]->topLeft(), QPoint(10, 700));
        QCOMPARE(bounds(f.view().Ranger), QRect(9, 635, 6, 6));
        QCOMPARE(f.view().Selector->topLeft(), QPoint(6, 696));
    }

    void categoryBoxesHideAndShowTheirMarkers_data()
    {
        QTest::addColumn<int>("box");
        QTest::newRow("People hides the fuchsia markers") << 4;
        QTest::newRow("Effects hides the black markers") << 6;
        QTest::newRow("Decorations hides the lime markers") << 0;
    }
    void categoryBoxesHideAndShowTheirMarkers()
    {
        QFETCH(int, box);
        TMapViewFixture f;
        f.load();
        for (int code = 10; code <= 70; code += 10) {
            f.addObject(code * 100 + 1, code * U, -code * U);
            f.addObject(code * 100 + 2, code * U, -(code + 5) * U);
        }
        const int stray = f.addObject(9999, 0, 0);
        QCOMPARE(f.panel.Markers[stray]->fillColour(), NoCategoryColour);
        QCheckBox *checkBox = f.panel.categoryBoxes()[box];
        const QRgb colour = Categories[box].fill;

        clickBox(checkBox);
        QVERIFY(!checkBox->isChecked());
        for (int row = 1; row <= f.document.ObjectCount; ++row) {
            const TMarker *m = f.panel.Markers[row];
            QCOMPARE(m->isVisible(), m->fillColour() != colour);
        }
        clickBox(checkBox);
        for (int row = 1; row <= f.document.ObjectCount; ++row)
            QVERIFY(f.panel.Markers[row]->isVisible());

        // A marker made while its box is unticked starts hidden; one of no
        // category is shown whatever the boxes say.
        clickBox(checkBox);
        const int late = f.addObject(Categories[box].code * 100, 0, 0);
        QVERIFY(!f.panel.Markers[late]->isVisible());
        QVERIFY(f.panel.Markers[stray]->isVisible());
    }

    void markersGetTheirCategoryLook_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QRgb>("fill");
        QTest::addColumn<QRgb>("outline");
        QTest::newRow("vehicle: silver") << 2001 << QRgb(0xFFC0C0C0) << QRgb(0xFFC0C0C0);
        QTest::newRow("effect: black with a white outline") << 7003 << QRgb(0xFF000000) << QRgb(0xFFFFFFFF);
        QTest::newRow("no category: the fixed no-category colour") << 123 << NoCategoryColour << NoCategoryColour;
    }
    void markersGetTheirCategoryLook()
    {
        QFETCH(int, item);
        QFETCH(QRgb, fill);
        QFETCH(QRgb, outline);
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(item, 0, 0, QStringLiteral("0"), QStringLiteral("Jeep"));
        const TMarker *m = f.panel.Markers[row];
        QCOMPARE(m->fillColour(), fill);
        QCOMPARE(m->outlineColour(), outline);
        QCOMPARE(m->toolTip(), QStringLiteral("Jeep"));
        QCOMPARE(m->Tag, row);
        // Recolouring by an edited item number follows the same table.
        TMarkerLayer::ApplyCategoryColour(f.panel.Markers[row], 5003);
        QCOMPARE(m->fillColour(), QRgb(0xFFFF00FF));
    }

    void aNewObjectsMarkerIsYellowInTheCentreAndAlwaysShown()
    {
        TMapViewFixture f;
        f.load();
        f.addObject(2001, 256 * U, -256 * U);
        clickBox(f.panel.C_30);
        f.document.ObjectCount = 2;
        f.document.Table.setRowCount(3);
        TMarker *m = f.panel.Markers.addForNewRow(2);
        QVERIFY(m->isVisible());
        QCOMPARE(m->topLeft(), QPoint(256, 256));
        QCOMPARE(m->fillColour(), NewObjectColour);
        QCOMPARE(m->outlineColour(), NewObjectColour);
        // Above the older marker at the same place.
        QList<int> pressed;
        QObject::connect(&f.view(), &TMapView::markerPressed, [&](int r) { pressed << r; });
        f.pressInMap(QPoint(257, 257));
        QCOMPARE(pressed, QList<int>{2});
    }

    void aRadiusThatIsNotANumberStopsAfterTheViewMoved_data()
    {
        QTest::addColumn<bool>("byHash");
        QTest::newRow("zoom") << false;
        QTest::newRow("#") << true;
    }
    void aRadiusThatIsNotANumberStopsAfterTheViewMoved()
    {
        QFETCH(bool, byHash);
        TMapViewFixture f;
        f.load();
        const int row = f.addObject(5001, 100 * U, -100 * U, QStringLiteral("10"));
        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        const QRect rangerBefore = bounds(f.view().Ranger);
        f.document.Table.setCell(TObjectTable::ColRadius, row, QStringLiteral("12a"));
        if (byHash)
            QTest::mouseClick(f.panel.Button5, Qt::LeftButton);
        else
            f.clickAddArrow(f.panel.ScrollBar1);
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].startsWith(QStringLiteral("'12a' is not a valid integer value")),
                 qPrintable(f.dialogs.errors[0]));
        const TViewState moved = byHash ? TViewState{156, 156, 1} : TViewState{-256, -256, 2};
        QCOMPARE(f.panel.View, moved);
        QCOMPARE(f.view().tileLayout(), layoutTiles(moved));
        QCOMPARE(f.panel.Markers[row]->topLeft(), gameToWindow(moved, 100 * U, -100 * U));
        QCOMPARE(bounds(f.view().Ranger), rangerBefore);
    }

    void aScrollStepThatOverflowsShowsTheError()
    {
        TMapViewFixture f;
        f.load();
        f.panel.View.ViewOffsetY = INT32_MIN + 10;
        f.clickAddArrow(f.panel.ScrollBar3);
        QCOMPARE(f.dialogs.errors, QStringList{QString::fromLatin1(Msg::IntegerOverflow)});
        QCOMPARE(f.panel.View.ViewOffsetY, INT32_MIN + 10);
        QCOMPARE(f.panel.ScrollBar3->value(), 0);
    }

    void mapButtonsShowTheirPicture_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("file");
        QTest::newRow("c shows the colour map") << 2 << QStringLiteral("rgb256-64x16");
        QTest::newRow("d shows the elevation map") << 3 << QStringLiteral("rgb16-40x12");
        QTest::newRow("m shows the detail map") << 4 << QStringLiteral("rgb256-37x23");
    }
    void mapButtonsShowTheirPicture()
    {
        QFETCH(int, button);
        QFETCH(QString, file);
        TMapViewFixture f;
        f.load(uniquePicture());
        const QString data = QStringLiteral(VELLUMAR_TEST_DATA "/");
        f.terrain.ColourMapPath = data + QStringLiteral("rgb256-64x16.pcx");
        f.terrain.ElevationMapPath = data + QStringLiteral("rgb16-40x12.pcx");
        f.terrain.DetailMapPath = data + QStringLiteral("rgb256-37x23.pcx");
        QPushButton *b = button == 2 ? f.panel.Button2 : button == 3 ? f.panel.Button3 : f.panel.Button4;
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(u'\n')));
        // The file's pixels as netpbm decodes them, stretched over the map.
        const QImage expected(data + file + QStringLiteral(".ppm"));
        QVERIFY(!expected.isNull());
        for (TMImage *tile : f.view().tiles())
            QCOMPARE(tile->picture().size(), QSize(512, 512));
        const QImage shown = f.shown();
        for (QPoint p : {QPoint(0, 0), QPoint(511, 0), QPoint(0, 511), QPoint(511, 511), QPoint(200, 300)}) {
            const QPoint source(p.x() * expected.width() / 512, p.y() * expected.height() / 512);
            QCOMPARE(shown.pixel(p) & 0xFFFFFF, expected.pixel(source) & 0xFFFFFF);
        }
    }

    void aPictureThatCannotBeReadLeavesTheTiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing file") << QStringLiteral("no-such-map.pcx");
        QTest::newRow("not a picture") << QStringLiteral("rgb256-64x16.ppm");
    }
    void aPictureThatCannotBeReadLeavesTheTiles()
    {
        QFETCH(QString, file);
        TMapViewFixture f;
        const QImage before = uniquePicture();
        f.load(before);
        f.terrain.ColourMapPath = QStringLiteral(VELLUMAR_TEST_DATA "/") + file;
        QTest::mouseClick(f.panel.Button2, Qt::LeftButton);
        QCOMPARE(f.dialogs.errors.size(), 1);
        for (TMImage *tile : f.view().tiles())
            QCOMPARE(tile->picture(), before);
    }

    void resetReturnsTheViewToItsStart()
    {
        TMapViewFixture f;
        f.load(uniquePicture());
        const int row = f.addObject(5001, 10 * U, -10 * U, QStringLiteral("5"));
        f.document.CurrentRow = row;
        f.panel.Markers.PlaceSelectionMarks();
        f.panel.Markers.SelectionShown = true;
        f.clickAddArrow(f.panel.ScrollBar1);
        f.clickAddArrow(f.panel.ScrollBar1);
        f.clickAddArrow(f.panel.ScrollBar3);
        f.view().drawOnWorkMask(QPoint(1, 1), QPoint(50, 50), QPen(Qt::red, 2));
        // A radius the zoom step could not read: Reset must not run that step.
        f.document.Table.setCell(TObjectTable::ColRadius, row, QStringLiteral("x"));

        f.panel.resetView();
        QVERIFY(f.dialogs.errors.isEmpty());
        QCOMPARE(f.panel.View, TViewState{});
        QCOMPARE(f.panel.ScrollBar1->value(), 1);
        QCOMPARE(f.panel.E_Zoom->text(), QStringLiteral("1"));
        QCOMPARE(f.view().tileLayout(), startTileLayout());
        for (TMarker *m : f.panel.Markers)
            QCOMPARE(m, nullptr);
        QVERIFY(!f.view().hasPicture());
        QVERIFY(!f.view().Ranger->isVisible());
        QVERIFY(!f.view().Selector->isVisible());
        QVERIFY(f.view().Work_maske->isLayerEmpty());
        QVERIFY(!f.panel.Markers.SelectionShown);
    }

};

VELLUMAR_TEST(TestMapView)
#include "tst_mapview.moc"
