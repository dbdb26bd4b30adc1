#pragma once
// The editor as a mapper meets it: the main window started on a map built in
// a temporary directory (terrain and name list from the samples), loaded,
// shown and active, with the view put where a test wants it. Gestures: clicks
// on table cells, typing into the focused control, presses on map pixels.

#include "builders.h"
#include "fakedialogs.h"

#include "app/mainwindow.h"
#include "catalogue/itemlistwindow.h"
#include "editing/objectgrid.h"
#include "editing/tableediting.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

inline constexpr std::int32_t U = GameUnitsPerPixel;

struct TEditingFixture {
    QTemporaryDir dir;
    TFakeDialogs dialogs;
    std::unique_ptr<TForm1> form;

    static QByteArray items()
    {
        return "----\r\nDecorations\r\n1001\r\nTree\r\n----\r\nVehicles\r\n2001\r\nJeep\r\n"
               "----\r\nObjects\r\n4076\r\nCrate\r\n----\r\nPeople\r\n5001\r\nSoldier\r\n"
               "----\r\nMarkers\r\n6002\r\nStart\r\n6003\r\nTeam A\r\n----\r\nPeople\r\n5002\r\nMedic\r\n";
    }

    // Loads a map of these objects; header game types as given.
    explicit TEditingFixture(const QList<build::Object> &objects, std::uint8_t gameTypes = 0)
    {
        QDir(dir.path()).mkdir(QStringLiteral("prog"));
        const QString prog = dir.filePath(QStringLiteral("prog/"));
        const QString samples = QStringLiteral(VELLUMAR_SAMPLES "/");
        build::file(dir, QStringLiteral("prog/item.ini"), items());
        build::file(dir, QStringLiteral("prog/kzmap.ini"),
                    (samples + "kz/\r\n" + samples + "kzbase/\r\n" + dir.path() + "/\r\n" + dir.path()
                     + "/\r\n" + dir.path() + "/images/\r\n59\r\n00\r\n")
                        .toLocal8Bit());
        build::Header h;
        h.terrain = "vlmrtest.trn";
        h.gameTypes = gameTypes;
        const QString map = build::file(dir, QStringLiteral("test.bms"), build::map(h, objects));
        form = std::make_unique<TForm1>(dialogs, map, prog);
        form->createWindows();
        form->show();
        form->activateWindow();
        (void)QTest::qWaitForWindowActive(form.get());
        setView(1, 0, 0);
    }

    // An editor left open would see its view go first.
    ~TEditingFixture() { form->commitTableEdit(); }

    TObjectGrid &grid() { return *form->StringGrid1; }
    TObjectTable &table() { return form->Document.Table; }
    TMapViewPanel &panel() { return *form->MapView; }
    TMapView &map() { return *form->MapView->Panel1; }
    TTableEditing &editing() { return *form->TableEditing; }
    QString cell(int col, int row) { return table().cell(col, row); }
    TMarker *marker(int row) { return panel().Markers[row]; }

    void setView(std::int32_t zoom, std::int32_t ox, std::int32_t oy)
    {
        panel().View = TViewState{ox, oy, zoom};
        panel().MoveView(0, 0, true, 0);
        panel().LayoutTiles();
    }

    // A click into the window makes it the active one, as the window system
    // does; without it the keys that follow would reach no widget.
    void activate()
    {
        if (!form->isActiveWindow()) {
            form->activateWindow();
            (void)QTest::qWaitForWindowActive(form.get());
        }
    }

    void clickCell(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        activate();
        const QModelIndex i = table().index(row - 1, col);
        grid().scrollTo(i);
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, modifiers, grid().visualRect(i).center());
    }

    // A double click as the window system delivers it: press, release, the
    // double-click event of the second press, release.
    static void doubleClick(QWidget *widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(widget, Qt::LeftButton, modifiers, at);
        QTest::mouseRelease(widget, Qt::LeftButton, modifiers, at);
        QTest::mouseDClick(widget, Qt::LeftButton, modifiers, at);
        QTest::mouseRelease(widget, Qt::LeftButton, modifiers, at);
    }

    void doubleClickCell(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QModelIndex i = table().index(row - 1, col);
        grid().scrollTo(i);
        doubleClick(grid().viewport(), grid().visualRect(i).center(), modifiers);
    }

    // Keys go where the user's keys go: to the widget that has the focus.
    static void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }

    // Selects rows from..to in a column by a click and a Shift+click.
    void selectRows(int col, int from, int to)
    {
        clickCell(col, from);
        clickCell(col, to, Qt::ShiftModifier);
    }

    // QTest takes the point (0, 0) for "the widget's centre".
    void pressInMap(QPoint p, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(map().viewport(), button, modifiers, p);
        QTest::mouseRelease(map().viewport(), button, modifiers, p);
    }

    void moveInMap(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), map().viewport()->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::NoButton, modifiers);
        QApplication::sendEvent(map().viewport(), &move);
    }

    QImage shown() { return map().viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

inline build::Object object(std::int32_t item, std::int32_t x, std::int32_t y, std::int32_t id = 1)
{
    build::Object o;
    o.item = item;
    o.x = x;
    o.y = y;
    o.id = id;
    return o;
}
