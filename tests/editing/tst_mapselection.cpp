// Several objects at once, as the mapper works with them: selected with a
// rubber band, Shift+click, Ctrl+A or in the table, marked on the map, moved
// together with the mouse or the arrow keys, deleted and duplicated; an item
// dragged from the Item List onto the map; where the terrain ends, what the
// pointer readout and a save say about places off it; F and Shift+F.
#include "editingfixture.h"
#include "testregistry.h"

#include "document/category.h"
#include "editing/mouseediting.h"
#include "handoff/savecommand.h"
#include "handoff/savemapdialog.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QGraphicsRectItem>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QUndoStack>
#include <limits>
#include <memory>

namespace {
using T = TObjectTable;

// Objects at these window pixels of zoom 1 and offsets 0: Tree, Jeep,
// Soldier, Soldier, Start.
QList<build::Object> fivePlaced()
{
    return {object(1001, 50 * U, -50 * U, 11), object(2001, 60 * U, -60 * U, 12), object(5001, 200 * U, -200 * U, 13),
            object(5001, 300 * U, -100 * U, 14), object(6002, 400 * U, -400 * U, 15)};
}

QList<int> selected(TEditingFixture &f)
{
    return f.form->MouseEditing->Selection.rows();
}

// Keys go to the focused control; the map window takes no focus.
void focusSomewhere(TEditingFixture &f)
{
    if (!QApplication::focusWidget())
        f.grid().setFocus();
}

// A left drag on the map through the points, with the modifiers held at the
// press; Escape before the release if asked.
void drag(TEditingFixture &f, const QList<QPoint> &path, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
          bool escape = false)
{
    focusSomewhere(f);
    QWidget *viewport = f.map().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, path.first());
    for (QPoint p : path.mid(1))
        QTest::mouseMove(viewport, p);
    if (escape)
        TEditingFixture::key(Qt::Key_Escape);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, path.last());
}

// A key with the pointer over the map.
void mapKey(TEditingFixture &f, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    focusSomewhere(f);
    f.moveInMap(QPoint(500, 500));
    TEditingFixture::key(key, modifiers);
}

// One gesture of a script: "band x1 y1 x2 y2 [shift]", "escapeband x1 y1 x2 y2",
// "click x y [shift]", "rows a b" (a click and a Shift+click in the table),
// "filter k" (category box k off), "ctrlA".
void act(TEditingFixture &f, const QString &action)
{
    const QStringList w = action.trimmed().split(u' ');
    const auto at = [&w](int i) { return QPoint(w[i].toInt(), w[i + 1].toInt()); };
    const Qt::KeyboardModifiers shift = w.last() == "shift" ? Qt::ShiftModifier : Qt::NoModifier;
    if (w[0] == "band" || w[0] == "escapeband") {
        drag(f, {at(1), (at(1) + at(3)) / 2, at(3)}, shift, w[0] == "escapeband");
    } else if (w[0] == "click") {
        QTest::mouseClick(f.map().viewport(), Qt::LeftButton, shift, at(1));
    } else if (w[0] == "rows") {
        f.selectRows(T::ColZ, w[1].toInt(), w[2].toInt());
    } else if (w[0] == "filter") {
        f.panel().categoryBoxes()[w[1].toInt()]->setChecked(false);
    } else if (w[0] == "ctrlA") {
        mapKey(f, Qt::Key_A, Qt::ControlModifier);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
}

void play(TEditingFixture &f, const QString &script)
{
    for (const QString &a : script.split(u';', Qt::SkipEmptyParts))
        act(f, a);
}

QRgb dimmed(QRgb c)
{
    return 0xFF000000 | ((c >> 1) & 0x7F7F7F);
}

std::int64_t floorMod(std::int64_t a, std::int64_t b)
{
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return (a - floorMod(a, b)) / b;
}

// The picture pixel the view shows at window pixel p.
QRgb pictureAt(const QImage &picture, const TViewState &v, QPoint p)
{
    return picture.pixel(int(floorMod(floorDiv(p.x() - std::int64_t(v.ViewOffsetX), v.Zoom), 512)),
                         int(floorMod(floorDiv(p.y() - std::int64_t(v.ViewOffsetY), v.Zoom), 512)));
}

void dropItem(TEditingFixture &f, const QString &number, QPoint at)
{
    const QAbstractItemModel *items = f.form->Form5->ItemList->model();
    std::unique_ptr<QMimeData> data;
    for (int r = 0; r < items->rowCount() && !data; ++r)
        if (items->index(r, 0).data().toString() == number)
            data.reset(f.form->Form5->itemDragDataFor(r + 1));
    QVERIFY(data);
    QWidget *viewport = f.map().viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}
}

class TestMapSelection : public QObject {
    Q_OBJECT
private slots:
    void selecting_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("current");
        QTest::newRow("a rubber band selects the markers it touches") << "band 40 40 70 70" << QList<int>{1, 2} << 1;
        QTest::newRow("a band reaching a marker's last pixel takes it") << "band 100 100 63 63" << QList<int>{2} << 1;
        QTest::newRow("a band one pixel short of a marker leaves it") << "band 100 100 64 64" << QList<int>{} << 1;
        QTest::newRow("3 pixels are no band") << "band 48 48 50 50" << QList<int>{} << 1;
        QTest::newRow("Shift and a band add to the selection")
            << "band 40 40 70 70; band 190 190 210 210 shift" << QList<int>{1, 2, 3} << 1;
        QTest::newRow("a band without Shift replaces it")
            << "band 40 40 70 70; band 190 190 210 210" << QList<int>{3} << 1;
        QTest::newRow("Shift+click adds a marker, which becomes current")
            << "band 40 40 70 70; click 301 101 shift" << QList<int>{1, 2, 4} << 4;
        QTest::newRow("Shift+click on a selected marker takes it out")
            << "band 40 40 70 70; click 51 51 shift" << QList<int>{2} << 1;
        QTest::newRow("Shift+click adds to rows selected in the table")
            << "rows 2 3; click 401 401 shift" << QList<int>{2, 3, 5} << 5;
        QTest::newRow("a click on one of several selected markers selects it alone")
            << "band 40 40 70 70; click 61 61" << QList<int>{2} << 2;
        QTest::newRow("a click on the empty map deselects") << "band 40 40 70 70; click 150 150" << QList<int>{} << 1;
        QTest::newRow("Escape during the band selects nothing") << "escapeband 1 1 511 511" << QList<int>{} << 1;
        QTest::newRow("a band leaves filtered markers out") << "filter 4; band 1 1 511 511" << QList<int>{1, 2, 5} << 1;
        QTest::newRow("Ctrl+A selects every shown marker") << "filter 4; ctrlA" << QList<int>{1, 2, 5} << 1;
        QTest::newRow("rows selected in the table are the map's selection") << "rows 2 4" << QList<int>{2, 3, 4} << 2;
    }
    void selecting()
    {
        QFETCH(QString, script);
        QFETCH(QList<int>, rows);
        QFETCH(int, current);
        TEditingFixture f(fivePlaced());
        const int steps = f.form->Document.Journal.count();
        play(f, script);
        QCOMPARE(selected(f), rows);
        QCOMPARE(f.grid().selectedRows(), rows);
        QCOMPARE(f.panel().Markers.selectedRows(), rows);
        QCOMPARE(f.form->Document.CurrentRow, current);
        QCOMPARE(f.grid().currentRow(), current);
        QVERIFY(!f.map().RubberBand->isVisible());
        // Each selected marker, and no other, has its black and white square
        // (the current one's corners lie under its selection ring).
        const QImage shown = f.shown();
        const QImage &picture = f.map().picture();
        for (int row = 1; row <= 5; ++row) {
            const QPoint m = f.marker(row)->topLeft();
            if (!f.marker(row)->isVisible() || (row == current && f.map().Selector->isVisible()))
                continue;
            const bool marked = rows.contains(row);
            QCOMPARE(shown.pixel(m - QPoint(2, 2)), marked ? qRgb(0, 0, 0) : picture.pixel(m - QPoint(2, 2)));
            QCOMPARE(shown.pixel(m + QPoint(4, 4)), marked ? qRgb(255, 255, 255) : picture.pixel(m + QPoint(4, 4)));
        }
        QCOMPARE(f.form->Document.Journal.count(), steps);
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void movingTheSelection_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QPoint>("moved"); // game units, rows 1 and 2
        QTest::addColumn<int>("steps");
        // Row 1 stands 1234 units right of and 77 units below pixel (100, 100).
        QTest::newRow("a drag moves both, their distance kept exactly")
            << "drag" << QPoint(40 * U - 1234, -20 * U + 77) << 1;
        QTest::newRow("Escape before the release puts both back") << "escape" << QPoint() << 0;
        QTest::newRow("a drag that would take one beyond the coordinates moves none")
            << "drag far" << QPoint() << 0;
        QTest::newRow("an arrow key moves them one map pixel") << "Right" << QPoint(U, 0) << 1;
        QTest::newRow("Shift and an arrow key, ten") << "Up shift" << QPoint(0, 10 * U) << 1;
        QTest::newRow("a burst of presses is one step") << "Left Left Down" << QPoint(-2 * U, -U) << 1;
        QTest::newRow("presses a pause apart are two steps") << "Left pause Left" << QPoint(-2 * U, 0) << 2;
        QTest::newRow("a press that would take one beyond the coordinates moves none") << "Right far" << QPoint() << 0;
        QTest::newRow("nothing selected: an arrow moves nothing") << "Right none" << QPoint() << 0;
    }
    void movingTheSelection()
    {
        QFETCH(QString, gesture);
        QFETCH(QPoint, moved);
        QFETCH(int, steps);
        const bool far = gesture.endsWith("far");
        QList<build::Object> objects{object(2001, 100 * U + 1234, -100 * U - 77, 1),
                                     object(5001, far ? std::numeric_limits<std::int32_t>::max() - U / 2 : 150 * U + 99,
                                            -130 * U, 2),
                                     object(1001, 300 * U, -300 * U, 3)};
        TEditingFixture f(objects);
        const QUndoStack &journal = f.form->Document.Journal;
        const int stepsBefore = journal.count();
        f.selectRows(T::ColZ, 1, 2);
        if (gesture.endsWith("none"))
            QTest::mouseClick(f.map().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 400));
        if (gesture.startsWith("drag") || gesture == "escape") {
            drag(f, {{101, 101}, {120, 110}, {141, 121}}, Qt::NoModifier, gesture == "escape");
        } else {
            for (const QString &k : gesture.split(u' ')) {
                if (k == "pause")
                    QTest::qWait(TMapSelection::NudgeBurstPauseMs + 200);
                else if (k != "shift" && k != "far" && k != "none")
                    mapKey(f, k == "Left" ? Qt::Key_Left : k == "Right" ? Qt::Key_Right : k == "Up" ? Qt::Key_Up : Qt::Key_Down,
                           gesture.endsWith("shift") ? Qt::ShiftModifier : Qt::NoModifier);
            }
        }

        const TMapDocument &d = f.form->Document;
        const auto check = [&](QPoint delta) {
            for (int row = 1; row <= 3; ++row) {
                const build::Object &o = objects[row - 1];
                const QPoint by = row < 3 ? delta : QPoint();
                QCOMPARE(f.cell(T::ColX, row), QString::number(o.x + by.x()));
                QCOMPARE(f.cell(T::ColY, row), QString::number(o.y + by.y()));
                QCOMPARE(d.ObjectX[row - 1], o.x + by.x());
                QCOMPARE(d.ObjectY[row - 1], o.y + by.y());
            }
            // The marker of the object that was not dragged stands where its position says.
            QCOMPARE(f.marker(2)->topLeft(), gameToWindow(f.panel().View, d.ObjectX[1], d.ObjectY[1]));
        };
        check(moved);
        QCOMPARE(journal.count() - stepsBefore, steps);
        QCOMPARE(f.grid().selectedRows(), gesture.endsWith("none") ? QList<int>{} : (QList<int>{1, 2}));
        if (steps > 0) {
            for (int i = 0; i < steps; ++i)
                TEditingFixture::key(Qt::Key_Z, Qt::ControlModifier);
            check(QPoint());
            for (int i = 0; i < steps; ++i)
                TEditingFixture::key(Qt::Key_Y, Qt::ControlModifier);
            check(moved);
        }
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void deletingAndDuplicating_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("key"); // "Delete", "Ctrl+D" or "Delete off the map"
        QTest::addColumn<QStringList>("ids"); // the "ID" column afterwards
        QTest::addColumn<QList<int>>("rows"); // selected afterwards
        QTest::newRow("Delete deletes the selected objects apart from each other")
            << "band 40 40 70 70; click 301 101 shift" << "Delete" << QStringList{"13", "15"} << QList<int>{1};
        QTest::newRow("Delete with every object selected keeps the first")
            << "ctrlA" << "Delete" << QStringList{"11"} << QList<int>{1};
        QTest::newRow("Delete with the pointer off the map deletes nothing")
            << "ctrlA" << "Delete off the map" << QStringList{"11", "12", "13", "14", "15"}
            << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("Ctrl+D copies the selected objects and selects the copies")
            << "click 61 61; click 301 101 shift" << "Ctrl+D"
            << QStringList{"11", "12", "13", "14", "15", "16", "17"} << QList<int>{6, 7};
    }
    void deletingAndDuplicating()
    {
        QFETCH(QString, script);
        QFETCH(QString, key);
        QFETCH(QStringList, ids);
        QFETCH(QList<int>, rows);
        TEditingFixture f(fivePlaced());
        play(f, script);
        QList<T::Row> before;
        for (int r = 1; r <= 5; ++r)
            before << f.table().rowCells(r);
        const QList<QPoint> places{{50, 50}, {60, 60}, {200, 200}, {300, 100}, {400, 400}};
        const int steps = f.form->Document.Journal.count();
        if (key == "Ctrl+D") {
            mapKey(f, Qt::Key_D, Qt::ControlModifier);
        } else {
            f.moveInMap(QPoint(500, 500));
            if (key.endsWith("off the map")) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(f.map().viewport(), &leave);
            }
            TEditingFixture::key(Qt::Key_Delete);
        }

        const TMapDocument &d = f.form->Document;
        QCOMPARE(d.ObjectCount, int(ids.size()));
        QCOMPARE(f.table().RowCount(), int(ids.size()) + 1);
        for (int r = 1; r <= d.ObjectCount; ++r) {
            QCOMPARE(f.cell(T::ColId, r), ids[r - 1]);
            QCOMPARE(f.cell(T::ColNr, r), QString::number(r));
            // Each object keeps its position, its marker its place and its category's colour.
            const int was = ids[r - 1].toInt() <= 15 ? ids[r - 1].toInt() - 11 : (r == 6 ? 1 : 3);
            QCOMPARE(f.cell(T::ColX, r), before[was][T::ColX]);
            QCOMPARE(f.marker(r)->topLeft(), places[was]);
            if (r <= 5)
                QCOMPARE(f.marker(r)->fillColour(), markerFillFor(before[was][T::ColObject].toInt() / 100));
        }
        QVERIFY(!f.marker(int(ids.size()) + 1));
        QCOMPARE(f.grid().selectedRows(), rows);
        QCOMPARE(f.panel().Markers.selectedRows(), rows);
        const bool changed = ids.size() != 5;
        QCOMPARE(d.Journal.count() - steps, changed ? 1 : 0);
        if (changed) {
            // One undo step brings the map back as it was.
            TEditingFixture::key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(d.ObjectCount, 5);
            for (int r = 1; r <= 5; ++r) {
                QCOMPARE(f.table().rowCells(r), before[r - 1]);
                QCOMPARE(f.marker(r)->topLeft(), places[r - 1]);
            }
        }
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void typingAndUseReachOnlyTheSelectedObjects_data()
    {
        QTest::addColumn<QString>("how"); // "type", "relative" (z+5, Enter) or "use" (the Item List)
        QTest::newRow("typing into a cell") << "type";
        QTest::newRow("a relative entry adds to each one's own value") << "relative";
        QTest::newRow("Use") << "use";
    }
    void typingAndUseReachOnlyTheSelectedObjects()
    {
        QFETCH(QString, how);
        const bool use = how == "use";
        TEditingFixture f(fivePlaced());
        for (int r = 1; r <= 5; ++r)
            f.table().setCell(T::ColZ, r, QString::number(10 * r));
        f.clickCell(T::ColZ, 1);
        // Rows 1, 3 and 5 from the map; row 5 current.
        play(f, "click 51 51; click 201 201 shift; click 401 401 shift");
        QCOMPARE(selected(f), (QList<int>{1, 3, 5}));
        if (use) {
            TForm5 &list = *f.form->Form5;
            const QAbstractItemModel *items = list.ItemList->model();
            for (int r = 0; r < items->rowCount(); ++r)
                if (items->index(r, 0).data().toString() == "6003")
                    list.ItemListSelectCell(r + 1);
            QCOMPARE(list.Label2->text(), QStringLiteral("Team A"));
            QTest::mouseClick(list.Button1, Qt::LeftButton);
        } else if (how == "relative") {
            f.grid().setFocus();
            f.type(QStringLiteral("z+5"));
            f.key(Qt::Key_Return);
        } else {
            f.grid().setFocus();
            f.type(QStringLiteral("7"));
            f.form->commitTableEdit();
        }
        const int col = use ? T::ColObject : T::ColZ;
        const QStringList was = use ? QStringList{"1001", "2001", "5001", "5001", "6002"}
                                    : QStringList{"10", "20", "30", "40", "50"};
        for (int r = 1; r <= 5; ++r) {
            const bool chosen = r == 1 || r == 3 || r == 5;
            const QString written = use ? QStringLiteral("6003")
                : how == "relative"     ? QString::number(10 * r + 5)
                                        : QStringLiteral("7");
            QCOMPARE(f.cell(col, r), chosen ? written : was[r - 1]);
        }
    }

    void droppingAnItemOnTheMap_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::addColumn<int>("extra"); // objects beyond the three
        QTest::addColumn<QPoint>("drop");
        QTest::addColumn<QStringList>("cells"); // the new row, none when nothing is added
        QTest::newRow("at zoom 1 the marker's corner on the pixel, a new ID, the item's name")
            << 1 << QPoint(0, 0) << 0 << QPoint(100, 50)
            << QStringList{"4", "18", "5001", "Soldier", QString::number(100 * U), QString::number(-50 * U), "0", "0", "0", "0", "0"};
        QTest::newRow("zoomed and scrolled: the game position of the pixel")
            << 3 << QPoint(-30, 20) << 0 << QPoint(200, 101)
            << QStringList{"4", "18", "5001", "Soldier", QString::number(66 * U + U * 2 / 3 + 10 * U),
                           QString::number(-(101 * U) / 3 + 6 * U), "0", "0", "0", "0", "0"};
        QTest::newRow("at 2000 objects nothing is added") << 1 << QPoint(0, 0) << 1997 << QPoint(100, 50) << QStringList{};
    }
    void droppingAnItemOnTheMap()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        QFETCH(int, extra);
        QFETCH(QPoint, drop);
        QFETCH(QStringList, cells);
        QList<build::Object> objects{object(2001, 10 * U, -10 * U, 5), object(2001, 20 * U, -20 * U, 17),
                                     object(2001, 30 * U, -30 * U, 9)};
        for (int i = 0; i < extra; ++i)
            objects << object(1001, 300 * U, -300 * U, 1);
        TEditingFixture f(objects);
        f.setView(zoom, offsets.x(), offsets.y());
        const int count = f.form->Document.ObjectCount;
        const int steps = f.form->Document.Journal.count();
        dropItem(f, QStringLiteral("5001"), drop);

        const TMapDocument &d = f.form->Document;
        QCOMPARE(d.ObjectCount, count + (cells.isEmpty() ? 0 : 1));
        QCOMPARE(d.Journal.count() - steps, cells.isEmpty() ? 0 : 1);
        if (cells.isEmpty())
            return;
        const int row = count + 1;
        for (int col = 0; col < T::ColumnCount; ++col)
            QCOMPARE(f.cell(col, row), cells[col]);
        QCOMPARE(f.marker(row)->topLeft(), drop);
        QCOMPARE(f.marker(row)->fillColour(), qRgb(255, 255, 0));
        QCOMPARE(d.CurrentRow, row);
        QCOMPARE(f.grid().currentRow(), row);
        TEditingFixture::key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(d.ObjectCount, count);
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void headingsAreNotCarried()
    {
        TEditingFixture f({object(2001, 10 * U, -10 * U)});
        const QAbstractItemModel *items = f.form->Form5->ItemList->model();
        QCOMPARE(items->index(0, 0).data().toString(), QStringLiteral("----"));
        QVERIFY(!f.form->Form5->itemDragDataFor(1));
    }

    // Every window pixel: the terrain's own copy as the picture has it, the
    // one-pixel frame around it in black and white dashes, the rest dimmed.
    void theTerrainsEdge_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::newRow("zoom 1, the terrain's corner in the window") << 1 << QPoint(100, 80);
        QTest::newRow("zoom 1, the far corner in the window") << 1 << QPoint(-300, -450);
        QTest::newRow("zoom 3, the right edge in the window") << 3 << QPoint(-1400, -100);
        QTest::newRow("zoom 20, picture pixels as squares") << 20 << QPoint(-10000, 200);
        QTest::newRow("zoom 50, far off the terrain") << 50 << QPoint(40000000, -40000017);
        QTest::newRow("zoom 2, the whole window on the terrain") << 2 << QPoint(-100, -100);
    }
    void theTerrainsEdge()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        // The one object lies far off, so no marker covers the window.
        TEditingFixture f({object(2001, -15000 * U, 15000 * U)});
        f.setView(zoom, offsets.x(), offsets.y());
        const QImage shown = f.shown();
        const QImage &picture = f.map().picture();
        const std::int64_t left = offsets.x(), top = offsets.y(), size = 512LL * zoom;
        int dashes[2] = {0, 0};
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const bool inX = x >= left && x < left + size;
                const bool inY = y >= top && y < top + size;
                const bool onFrameX = (x == left - 1 || x == left + size) && y >= top - 1 && y <= top + size;
                const bool onFrameY = (y == top - 1 || y == top + size) && x >= left - 1 && x <= left + size;
                const QRgb c = shown.pixel(x, y);
                const QRgb p = pictureAt(picture, f.panel().View, QPoint(x, y));
                if (onFrameX || onFrameY) {
                    QVERIFY2(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255), qPrintable(QStringLiteral("edge at %1,%2").arg(x).arg(y)));
                    ++dashes[c == qRgb(0, 0, 0)];
                } else if (c != (inX && inY ? p : dimmed(p))) {
                    QFAIL(qPrintable(QStringLiteral("window pixel %1,%2 shows %3, expected %4 of %5")
                                         .arg(x).arg(y).arg(c, 0, 16).arg(inX && inY ? "ground" : "dimmed").arg(p, 0, 16)));
                }
            }
        // Where the edge is in the window it is dashed, black and white in turn.
        const bool edgeInView = left > 0 || top > 0 || left + size < 512 || top + size < 512;
        QCOMPARE(dashes[0] > 0 && dashes[1] > 0, edgeInView && left + size >= 0 && top + size >= 0 && left <= 512 && top <= 512);
    }

    void thePointerReadoutOffTheTerrain_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("outside");
        QTest::newRow("the terrain's first pixel") << 1 << QPoint(100, 100) << QPoint(100, 100) << false;
        QTest::newRow("left of it") << 1 << QPoint(100, 100) << QPoint(99, 150) << true;
        QTest::newRow("above it (game Y above 0)") << 1 << QPoint(100, 100) << QPoint(150, 99) << true;
        QTest::newRow("its last pixel") << 1 << QPoint(-1, -1) << QPoint(510, 510) << false;
        QTest::newRow("right of it") << 1 << QPoint(-1, -1) << QPoint(511, 200) << true;
        QTest::newRow("below it") << 1 << QPoint(-1, -1) << QPoint(200, 511) << true;
        QTest::newRow("zoomed: the last window pixel of the last map pixel") << 4 << QPoint(-1800, 0) << QPoint(247, 10) << false;
        QTest::newRow("zoomed: the next one") << 4 << QPoint(-1800, 0) << QPoint(248, 10) << true;
    }
    void thePointerReadoutOffTheTerrain()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        QFETCH(QPoint, pointer);
        QFETCH(bool, outside);
        TEditingFixture f({object(2001, -15000 * U, 15000 * U)});
        f.setView(zoom, offsets.x(), offsets.y());
        f.moveInMap(pointer);
        QCOMPARE(f.map().OutsideNote->isVisible(), outside);
        QCOMPARE(f.map().outsideNoteText(), QStringLiteral("outside the terrain"));
        // The readouts themselves stay as they are.
        QCOMPARE(f.panel().Label1->text(), QString::number(pointer.x()));
        QCOMPARE(f.panel().Label4->text(), QString::number(windowToGameWide(f.panel().View, pointer.x(), pointer.y()).X));
        if (outside)
            QVERIFY(QRectF(256, 0, 256, 40).contains(f.map().OutsideNote->sceneBoundingRect()));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.map().viewport(), &leave);
        QVERIFY(!f.map().OutsideNote->isVisible());
    }

    void fittingTheView_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("offsets");
        QTest::newRow("F shows the whole terrain at zoom 1") << "" << false << 1 << QPoint(0, 0);
        QTest::newRow("Shift+F zooms to the selected objects and centres them")
            << "band 40 40 70 70; click 301 101 shift" << true << 1 << QPoint(256 - (50 + 300 + 4) / 2, 256 - (50 + 100 + 4) / 2);
        QTest::newRow("Shift+F on two objects near each other zooms in")
            << "band 40 40 70 70" << true << 47 << QPoint(256 - (50 + 60) * 47 / 2 - 2, 256 - (50 + 60) * 47 / 2 - 2);
        QTest::newRow("Shift+F with nothing selected leaves the view") << "click 150 150" << true << 7 << QPoint(-900, -800);
    }
    void fittingTheView()
    {
        QFETCH(QString, script);
        QFETCH(bool, shift);
        QFETCH(int, zoom);
        QFETCH(QPoint, offsets);
        TEditingFixture f(fivePlaced());
        play(f, script);
        {
            const QSignalBlocker quiet(f.panel().ScrollBar1);
            f.panel().ScrollBar1->setValue(7);
            f.panel().E_Zoom->setText(QStringLiteral("7"));
        }
        f.setView(7, -900, -800);
        const int steps = f.form->Document.Journal.count();
        mapKey(f, Qt::Key_F, shift ? Qt::ShiftModifier : Qt::NoModifier);
        const TViewState &v = f.panel().View;
        QCOMPARE(v.Zoom, zoom);
        QCOMPARE(QPoint(v.ViewOffsetX, v.ViewOffsetY), offsets);
        QCOMPARE(f.panel().ScrollBar1->value(), zoom);
        QCOMPARE(f.panel().E_Zoom->text(), QString::number(zoom));
        for (int row : selected(f))
            QVERIFY(QRect(16, 16, 480, 480).contains(QRect(f.marker(row)->topLeft(), QSize(4, 4))));
        QCOMPARE(f.form->Document.Journal.count(), steps);
        QVERIFY(f.form->Document.Journal.isClean());
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void objectsOffTheTerrain_data()
    {
        QTest::addColumn<QList<QPoint>>("positions"); // game units
        QTest::addColumn<int>("noCategory");           // a row whose item has no category, or 0
        QTest::addColumn<QList<int>>("outside");
        const int edge = 512 * U;
        // A marker stands on the map pixel its position's truncating division gives.
        QTest::newRow("positions whose markers stand on the terrain's corners")
            << QList<QPoint>{{-U + 1, U - 1}, {edge - 1, -edge + 1}} << 0 << QList<int>{};
        QTest::newRow("positions whose markers stand on the copies beyond each edge")
            << QList<QPoint>{{-U, -5}, {edge, -5}, {5, U}, {5, -edge}} << 0 << QList<int>{1, 2, 3, 4};
        QTest::newRow("an object the save leaves out is not named") << QList<QPoint>{{-U, 0}, {-U, 0}} << 1 << QList<int>{2};
    }
    void objectsOffTheTerrain()
    {
        QFETCH(QList<QPoint>, positions);
        QFETCH(int, noCategory);
        QFETCH(QList<int>, outside);
        QList<build::Object> objects;
        for (QPoint p : positions)
            objects << object(objects.size() + 1 == noCategory ? 9999 : 2001, p.x(), p.y());
        TEditingFixture f(objects);
        QCOMPARE(ObjectsOutsideTerrain(f.form->Document), outside);
    }

    void aSaveAsksAboutObjectsOffTheTerrain_data()
    {
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<bool>("written");
        QTest::newRow("nothing off the terrain: no question") << -1 << true;
        QTest::newRow("Save writes the map") << 0 << true;
        QTest::newRow("Cancel writes nothing") << 1 << false;
    }
    void aSaveAsksAboutObjectsOffTheTerrain()
    {
        QFETCH(int, answer);
        QFETCH(bool, written);
        TEditingFixture f(fivePlaced());
        build::file(f.dir, QStringLiteral("prog/kzmap.dat"), build::trailer());
        f.form->Store.Settings.BaseFilesDir = f.dir.path() + u'/';
        f.form->Form3->C_AutoRepack->setChecked(false);
        if (answer >= 0) {
            // Rows 2 and 4 dragged off the terrain's left edge.
            play(f, "click 61 61; click 301 101 shift");
            f.setView(1, 320, 0);
            drag(f, {{381, 61}, {200, 61}, {60, 61}});
            f.dialogs.answerQuestion(answer);
        }
        const QString saved = f.dir.filePath(QStringLiteral("saved.bms"));
        f.dialogs.answerSave(saved);
        QCOMPARE(f.form->Button7Click(), written);
        QCOMPARE(QFile::exists(saved), written);
        QCOMPARE(f.dialogs.questions.size(), answer >= 0 ? 1 : 0);
        if (answer >= 0) {
            const TQuestion &q = f.dialogs.questions.first();
            QCOMPARE(q.text, QStringLiteral("2 objects lie outside the terrain: rows 2, 4. Save the map all the same?"));
            QCOMPARE(q.buttons, (QStringList{"Save", "Cancel"}));
            QCOMPARE(q.defaultButton, 0);
            QCOMPARE(q.escapeButton, 1);
        }
        QCOMPARE(f.form->Document.Journal.isClean(), written);
        QVERIFY(f.dialogs.errors.isEmpty());
    }
};
VELLUMAR_TEST(TestMapSelection)
#include "tst_mapselection.moc"
