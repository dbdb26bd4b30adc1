// The zoom slider ScrollBar1, 48 pixels long for 50 positions: its thumb
// shows, can be dragged, and a click on its track moves it.
#include "testregistry.h"
#include "tst_mapviewfixture.h"

namespace {

enum class Gesture { ClickBelowThumb, ClickAboveThumb, DragToTrackEnd, DragToTrackStart };

} // namespace

Q_DECLARE_METATYPE(Gesture)

class TestZoomSlider : public QObject {
    Q_OBJECT
private slots:
    void thumbMovesTheZoom_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<Gesture>("gesture");
        QTest::addColumn<int>("zoom");
        QTest::newRow("a click on the track below the thumb zooms in one step") << 1 << Gesture::ClickBelowThumb << 2;
        QTest::newRow("a click on the track above the thumb zooms out one step") << 20 << Gesture::ClickAboveThumb << 19;
        QTest::newRow("dragging the thumb to the track's end zooms to 50") << 1 << Gesture::DragToTrackEnd << 50;
        QTest::newRow("dragging the thumb to the track's start zooms back to 1") << 30 << Gesture::DragToTrackStart << 1;
    }

    void thumbMovesTheZoom()
    {
        QFETCH(int, start);
        QFETCH(Gesture, gesture);
        QFETCH(int, zoom);
        TMapViewFixture f;
        f.load();
        QScrollBar *bar = f.panel.ScrollBar1;
        QCOMPARE(bar->size(), QSize(16, 48));
        bar->setValue(start);

        const QRect thumb = TMapViewFixture::partOf(bar, QStyle::SC_ScrollBarSlider);
        const QRect track = TMapViewFixture::partOf(bar, QStyle::SC_ScrollBarGroove);
        // A thumb as long as the track could be neither seen nor dragged.
        QVERIFY2(thumb.height() >= 4 && thumb.height() < track.height() - 8,
                 qPrintable(QStringLiteral("thumb %1 in a track of %2").arg(thumb.height()).arg(track.height())));
        const int x = thumb.center().x();
        switch (gesture) {
        case Gesture::ClickBelowThumb:
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(x, (thumb.bottom() + track.bottom()) / 2 + 1));
            break;
        case Gesture::ClickAboveThumb:
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(x, (track.top() + thumb.top()) / 2));
            break;
        case Gesture::DragToTrackEnd:
        case Gesture::DragToTrackStart: {
            const int to = gesture == Gesture::DragToTrackEnd ? track.bottom() + thumb.height() : track.top() - thumb.height();
            QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
            QTest::mouseMove(bar, QPoint(x, (thumb.center().y() + to) / 2));
            QTest::mouseMove(bar, QPoint(x, to));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(x, to));
            break;
        }
        }
        QCOMPARE(bar->value(), zoom);
        QCOMPARE(f.panel.View.Zoom, zoom);
    }
};

VELLUMAR_TEST(TestZoomSlider)

#include "tst_zoomslider.moc"
