// The map worked with the hands: the wheel zooms at the pointer, Space with
// the left button drags the map, the middle button measures, a marker is
// dragged with the left button, Ctrl+D duplicates the selected rows.
#include "editingfixture.h"
#include "handoff/savemapdialog.h"
#include "testregistry.h"

#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QScrollBar>
#include <QUndoStack>
#include <QWheelEvent>
#include <cmath>

namespace {
using T = TObjectTable;

QRect bounds(const TCircleShape *c)
{
    return QRect(c->left(), c->top(), c->width(), c->height());
}

void turnWheel(TEditingFixture &f, QPoint at, int angle)
{
    QWidget *viewport = f.map().viewport();
    QWheelEvent wheel(QPointF(at), viewport->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
}

// A press at the path's first point, moves through the others with the
// button held, optionally Escape before the release at the last point.
void drag(TEditingFixture &f, const QList<QPoint> &path, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool escape = false)
{
    QWidget *viewport = f.map().viewport();
    QTest::mousePress(viewport, button, modifiers, path.first());
    for (QPoint p : path.mid(1))
        QTest::mouseMove(viewport, p);
    if (escape)
        TEditingFixture::key(Qt::Key_Escape);
    QTest::mouseRelease(viewport, button, modifiers, path.last());
}

QList<T::Row> allRows(TEditingFixture &f)
{
    QList<T::Row> rows;
    for (int r = 1; r < f.table().RowCount(); ++r)
        rows << f.table().rowCells(r);
    return rows;
}
}

class TestMapGestures : public QObject {
    Q_OBJECT
private slots:
    void wheelZoomsAtThePointer_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QList<int>>("angles");
        QTest::addColumn<int>("zoomAfter");
        QTest::newRow("a notch away from the user zooms in")
            << 1 << QPoint(0, 0) << QPoint(100, 100) << QList<int>{120} << 2;
        QTest::newRow("a notch towards the user zooms out")
            << 3 << QPoint(-200, -200) << QPoint(160, 130) << QList<int>{-120} << 2;
        QTest::newRow("half pixels round to the nearest")
            << 2 << QPoint(-7, -9) << QPoint(94, 92) << QList<int>{120} << 3;
        QTest::newRow("touchpad turns add up to a notch")
            << 4 << QPoint(-300, -500) << QPoint(411, 37) << QList<int>{40, 40, 40} << 5;
        QTest::newRow("less than a notch does nothing") << 4 << QPoint(-300, -500) << QPoint(411, 37)
                                                        << QList<int>{60, 50} << 4;
        QTest::newRow("a turn back starts counting afresh")
            << 4 << QPoint(-300, -500) << QPoint(411, 37) << QList<int>{100, -40, 100} << 4;
        QTest::newRow("two notches at once are two steps")
            << 1 << QPoint(50, -20) << QPoint(300, 20) << QList<int>{240} << 3;
        QTest::newRow("nothing beyond zoom 50") << 50 << QPoint(-9000, -9000) << QPoint(200, 200)
                                                << QList<int>{120} << 50;
        QTest::newRow("nothing below zoom 1") << 1 << QPoint(10, 10) << QPoint(200, 200) << QList<int>{-120} << 1;
    }
    void wheelZoomsAtThePointer()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        QFETCH(QPoint, pointer);
        QFETCH(QList<int>, angles);
        QFETCH(int, zoomAfter);
        // An object at the map pixel under the pointer's pixel, as near as the zoom allows.
        const QPoint mapPixel((pointer - offsets) / zoom);
        TEditingFixture f({object(4076, mapPixel.x() * U, -mapPixel.y() * U)});
        {
            const QSignalBlocker quiet(f.panel().ScrollBar1);
            f.panel().ScrollBar1->setValue(zoom);
            f.panel().E_Zoom->setText(QString::number(zoom));
        }
        f.setView(zoom, offsets.x(), offsets.y());
        const QPoint before = f.marker(1)->topLeft();
        f.moveInMap(pointer);
        for (int angle : angles)
            turnWheel(f, pointer, angle);

        QCOMPARE(f.panel().ScrollBar1->value(), zoomAfter);
        QCOMPARE(f.panel().View.Zoom, zoomAfter);
        QCOMPARE(f.panel().E_Zoom->text(), QString::number(zoomAfter));
        // The marker's distance from the pointer grows with the zoom, to within one pixel.
        const double scale = double(zoomAfter) / zoom;
        const QPoint after = f.marker(1)->topLeft();
        QVERIFY2(std::abs(after.x() - (pointer.x() + (before.x() - pointer.x()) * scale)) <= 1.0
                     && std::abs(after.y() - (pointer.y() + (before.y() - pointer.y()) * scale)) <= 1.0,
                 qPrintable(QStringLiteral("marker at %1,%2").arg(after.x()).arg(after.y())));
        QCOMPARE(f.shown().pixel(after + QPoint(1, 1)), qRgb(255, 255, 255));
        // After a zoom the readouts show the pointer's place (a move over
        // a marker alone leaves them).
        if (zoomAfter == zoom)
            return;
        QCOMPARE(f.panel().Label1->text(), QString::number(pointer.x()));
        QCOMPARE(f.panel().Label2->text(), QString::number(pointer.y()));
        QCOMPARE(f.panel().Label4->text(),
                 QString::number(windowToGameWide(f.panel().View, pointer.x(), pointer.y()).X));
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void spaceDragPansTheMap_data()
    {
        QTest::addColumn<bool>("space");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("Space and the left button drag the map")
            << true << QList<QPoint>{{100, 100}, {130, 80}, {160, 150}} << QPoint(60, 50);
        QTest::newRow("a long jump brings far markers along")
            << true << QList<QPoint>{{400, 300}, {100, 100}} << QPoint(-300, -200);
        QTest::newRow("without Space a drag on the empty map pans nothing")
            << false << QList<QPoint>{{100, 100}, {160, 150}} << QPoint(0, 0);
    }
    void spaceDragPansTheMap()
    {
        QFETCH(bool, space);
        QFETCH(QList<QPoint>, path);
        QFETCH(QPoint, moved);
        // One marker inside the window, one far beyond its right edge.
        TEditingFixture f({object(2001, 200 * U, -200 * U), object(5001, 700 * U, -450 * U)});
        f.setView(1, 0, 0);
        f.clickCell(T::ColZ, 1);
        const QString typedBefore = f.cell(T::ColZ, 1);
        f.moveInMap(path.first());
        if (space)
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
        drag(f, path);
        if (space)
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);

        QCOMPARE(QPoint(f.panel().View.ViewOffsetX, f.panel().View.ViewOffsetY), moved);
        QCOMPARE(f.marker(1)->topLeft(), QPoint(200, 200) + moved);
        // A marker that stays far outside keeps its place until the next full repositioning.
        if (insideScrollBand(QPoint(700, 450) + moved))
            QCOMPARE(f.marker(2)->topLeft(), QPoint(700, 450) + moved);
        if (QRect(0, 0, 508, 508).contains(QPoint(200, 200) + moved))
            QCOMPARE(f.shown().pixel(QPoint(201, 201) + moved), qRgb(192, 192, 192));
        // The tiles still start one picture period from the map's edge.
        const TTileRect tile = f.map().tileLayout()[0];
        QCOMPARE((tile.Left - moved.x()) % tile.Width, 0);
        QCOMPARE((tile.Top - moved.y()) % tile.Height, 0);
        if (space) {
            QCOMPARE(f.panel().Label1->text(), QString::number(moved.x()));
            QCOMPARE(f.panel().Label2->text(), QString::number(moved.y()));
        }
        // The Space typed nothing into the table.
        QVERIFY(!f.grid().isEditing());
        QCOMPARE(f.cell(T::ColZ, 1), typedBefore);
    }

    void middleButtonMeasures_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("pointer"); // moved there with the middle button held
        QTest::addColumn<QRect>("circle");
        QTest::addColumn<int>("currentRow");
        QTest::newRow("on the empty map the circle is anchored at the pointer")
            << QPoint(100, 100) << QPoint(150, 100) << QRect(50, 50, 100, 100) << 2;
        QTest::newRow("on a marker it is anchored at its centre, and the marker is selected")
            << QPoint(201, 201) << QPoint(232, 242) << QRect(152, 152, 100, 100) << 1;
    }
    void middleButtonMeasures()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, pointer);
        QFETCH(QRect, circle);
        QFETCH(int, currentRow);
        TEditingFixture f({object(4076, 200 * U, -200 * U), object(4076, 10 * U, -10 * U)});
        f.pressInMap(QPoint(11, 11)); // selects row 2
        drag(f, {press, pointer}, Qt::MiddleButton);
        QVERIFY(f.map().MetaMeter->isVisible());
        QCOMPARE(bounds(f.map().MetaMeter), circle);
        QCOMPARE(f.map().MeterAnz->text(), QStringLiteral("100"));
        QCOMPARE(f.form->Document.CurrentRow, currentRow);
        // A middle press on the empty map does nothing more: the selection stays.
        QVERIFY(f.map().Selector->isVisible());
        QCOMPARE(f.marker(1)->topLeft(), QPoint(200, 200));
        f.pressInMap(QPoint(400, 400), Qt::MiddleButton);
        QVERIFY(!f.map().MetaMeter->isVisible());
        QVERIFY(!f.map().MeterAnz->isVisible());
    }

    void draggingAMarker_data()
    {
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QPoint>("placed");
        QTest::addColumn<int>("steps"); // undo steps the gesture leaves
        QTest::newRow("the object follows the pointer, held where it was grabbed; one undo step")
            << QList<QPoint>{{202, 201}, {206, 201}, {230, 215}, {250, 230}} << Qt::KeyboardModifiers() << false
            << QPoint(248, 229) << 1;
        QTest::newRow("3 pixels are no drag") << QList<QPoint>{{202, 201}, {205, 201}, {204, 203}}
                                              << Qt::KeyboardModifiers() << false << QPoint(200, 200) << 0;
        QTest::newRow("Escape puts the object back and leaves nothing to undo")
            << QList<QPoint>{{202, 201}, {250, 230}, {260, 240}} << Qt::KeyboardModifiers() << true
            << QPoint(200, 200) << 0;
        QTest::newRow("Alt with the left button measures and drags nothing")
            << QList<QPoint>{{202, 201}, {250, 230}} << Qt::KeyboardModifiers(Qt::AltModifier) << false
            << QPoint(200, 200) << 0;
    }
    void draggingAMarker()
    {
        QFETCH(QList<QPoint>, path);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, escape);
        QFETCH(QPoint, placed);
        QFETCH(int, steps);
        TEditingFixture f({object(5001, 200 * U, -200 * U), object(2001, 10 * U, -10 * U)});
        f.table().setCell(T::ColRadius, 1, QStringLiteral("10"));
        f.table().setCell(T::ColHorzAngle, 1, QStringLiteral("90"));
        // The heading line shows while "Horz-Angel" is the table's column.
        f.clickCell(T::ColHorzAngle, 2);
        const QUndoStack &journal = f.form->Document.Journal;
        const int stepsBefore = journal.count();
        drag(f, path, Qt::LeftButton, modifiers, escape);
        QCOMPARE(journal.count() - stepsBefore, steps);
        if (steps > 0) {
            // Undone, the object stands where the drag took it from; redone, where it ended.
            TEditingFixture::key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f.marker(1)->topLeft(), QPoint(200, 200));
            QCOMPARE(f.cell(T::ColX, 1), QString::number(200 * U));
            QCOMPARE(f.form->Document.ObjectX[0], 200 * U);
            TEditingFixture::key(Qt::Key_Y, Qt::ControlModifier);
        }

        QCOMPARE(f.form->Document.CurrentRow, 1);
        QCOMPARE(f.marker(1)->topLeft(), placed);
        QCOMPARE(f.cell(T::ColX, 1), QString::number(placed.x() * U));
        QCOMPARE(f.cell(T::ColY, 1), QString::number(-placed.y() * U));
        QCOMPARE(f.shown().pixel(placed + QPoint(1, 1)), qRgb(255, 0, 255));
        QCOMPARE(bounds(f.map().Ranger), QRect(placed - QPoint(3, 3), QSize(10, 10)));
        QCOMPARE(f.map().Selector->topLeft(), placed - QPoint(4, 4));
        // The heading line (90 degrees: to the right) starts at the marker's centre, wherever it went.
        const QImage &line = f.map().Work_maske->layer();
        QCOMPARE(line.pixel(placed + QPoint(8, 2)) | line.pixel(placed + QPoint(8, 1)), qRgb(255, 0, 0));
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    // Ctrl+Z, Ctrl+Y and Ctrl+S pressed while a marker is dragged end the drag
    // where it is before they act; the moves until the release change nothing
    // more, and Escape then takes nothing back.
    void commandsDuringADragEndItFirst_data()
    {
        QTest::addColumn<bool>("addFirst"); // Add Item before the drag
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("placed");  // marker 1 afterwards
        QTest::addColumn<int>("undoable");   // steps left to undo
        QTest::addColumn<bool>("clean");
        QTest::newRow("Add Item, a drag, Ctrl+Z, Escape, release: the drag undone, Add Item kept")
            << true << int(Qt::Key_Z) << QPoint(200, 200) << 1 << false;
        QTest::newRow("Ctrl+Y: the drag ends where it is, one step")
            << false << int(Qt::Key_Y) << QPoint(228, 214) << 1 << false;
        QTest::newRow("Ctrl+S: saved where the drag ended, and it stays so")
            << false << int(Qt::Key_S) << QPoint(228, 214) << 1 << true;
    }
    void commandsDuringADragEndItFirst()
    {
        QFETCH(bool, addFirst);
        QFETCH(int, key);
        QFETCH(QPoint, placed);
        QFETCH(int, undoable);
        QFETCH(bool, clean);
        TEditingFixture f({object(5001, 200 * U, -200 * U), object(2001, 10 * U, -10 * U)});
        build::file(f.dir, QStringLiteral("prog/kzmap.dat"), build::trailer());
        f.form->Store.Settings.BaseFilesDir = f.dir.path() + u'/';
        f.form->Form3->C_AutoRepack->setChecked(false);
        if (addFirst)
            QTest::mouseClick(f.form->Button9, Qt::LeftButton);
        const int objects = f.form->Document.ObjectCount;
        const QString saved = f.dir.filePath(QStringLiteral("during.bms"));
        f.dialogs.answerSave(saved);

        QWidget *viewport = f.map().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(202, 201));
        QTest::mouseMove(viewport, QPoint(230, 215));
        TEditingFixture::key(Qt::Key(key), Qt::ControlModifier);
        // The "Saved" window may have the focus now.
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : viewport, Qt::Key_Escape);
        QTest::mouseMove(viewport, QPoint(260, 240));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(260, 240));

        const TMapDocument &d = f.form->Document;
        QCOMPARE(d.ObjectCount, objects);
        QCOMPARE(f.table().RowCount(), objects + 1);
        QCOMPARE(f.marker(1)->topLeft(), placed);
        QCOMPARE(f.cell(T::ColX, 1), QString::number(placed.x() * U));
        QCOMPARE(d.ObjectX[0], placed.x() * U);
        QCOMPARE(d.Journal.index(), undoable);
        QCOMPARE(d.Journal.isClean(), clean);
        QCOMPARE(f.form->windowTitle().endsWith(" *"), !clean);
        QCOMPARE(QFile::exists(saved), key == Qt::Key_S);
        // What is shown is what a save writes.
        f.dialogs.answerSave(f.dir.filePath(QStringLiteral("after.bms")));
        QVERIFY(f.form->Button7Click());
        if (key == Qt::Key_S)
            QCOMPARE(build::readFile(f.dir.filePath(QStringLiteral("after.bms"))), build::readFile(saved));
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void duplicatingRows_data()
    {
        QTest::addColumn<bool>("focusInTable");
        QTest::addColumn<bool>("pointerOverMap");
        QTest::addColumn<int>("extraObjects"); // beyond the three the test looks at
        QTest::addColumn<int>("lastSelected");
        QTest::addColumn<QStringList>("newIds");
        QTest::newRow("in the table: copies after the last row, with new IDs")
            << true << false << 0 << 3 << QStringList{"18", "19"};
        QTest::newRow("with the pointer over the map") << false << true << 0 << 2 << QStringList{"18"};
        QTest::newRow("neither table nor map: nothing") << false << false << 0 << 3 << QStringList{};
        QTest::newRow("up to 2000 objects") << true << false << 1996 << 2 << QStringList{"18"};
        QTest::newRow("refused as a whole beyond 2000") << true << false << 1996 << 3 << QStringList{};
    }
    void duplicatingRows()
    {
        QFETCH(bool, focusInTable);
        QFETCH(bool, pointerOverMap);
        QFETCH(int, extraObjects);
        QFETCH(int, lastSelected);
        QFETCH(QStringList, newIds);
        QList<build::Object> objects{object(2001, 50 * U, -60 * U, 5), object(5001, 70 * U, -80 * U, 17),
                                     object(2001, 90 * U, -100 * U, 9)};
        objects[1].z = 3;
        objects[1].radius = 7;
        objects[1].weapon = 2;
        for (int i = 0; i < extraObjects; ++i)
            objects << object(1001, 300 * U, -300 * U, 1);
        TEditingFixture f(objects);
        const int count = f.form->Document.ObjectCount;
        f.selectRows(T::ColZ, 2, lastSelected);
        const QList<T::Row> before = allRows(f);
        if (!focusInTable)
            f.form->E_search->setFocus();
        f.moveInMap(QPoint(400, 400));
        if (!pointerOverMap) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(f.map().viewport(), &leave);
        }
        TEditingFixture::key(Qt::Key_D, Qt::ControlModifier);

        const int copies = int(newIds.size());
        QCOMPARE(f.form->Document.ObjectCount, count + copies);
        QCOMPARE(f.table().RowCount(), count + copies + 1);
        QCOMPARE(allRows(f).mid(0, count), before);
        for (int i = 0; i < copies; ++i) {
            const int row = count + 1 + i;
            T::Row expected = before[1 + i];
            expected[T::ColNr] = QString::number(row);
            expected[T::ColId] = newIds[i];
            QCOMPARE(f.table().rowCells(row), expected);
            QCOMPARE(f.marker(row)->topLeft(), f.marker(2 + i)->topLeft());
            QCOMPARE(f.marker(row)->fillColour(), qRgb(255, 255, 0));
        }
        if (copies > 0) {
            QCOMPARE(f.grid().selection(), (TGridSelection{count + 1, T::ColZ, count + copies, T::ColZ}));
            QCOMPARE(f.form->Document.CurrentRow, count + 1);
            // One undo step takes every copy away again.
            f.grid().setFocus();
            TEditingFixture::key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f.form->Document.ObjectCount, count);
            QCOMPARE(allRows(f), before);
            QVERIFY(!f.marker(count + 1) || !f.marker(count + 1)->isVisible());
        }
        QVERIFY(f.dialogs.errors.isEmpty());
    }
};
VELLUMAR_TEST(TestMapGestures)
#include "tst_mapgestures.moc"
