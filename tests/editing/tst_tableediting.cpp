// The object table as the mapper edits it: what selecting a cell does to its
// text, the map following every keystroke, RangeFill, relative entry, the
// heading line, the search, Tab and Escape.
#include "editingfixture.h"
#include "testregistry.h"

#include "document/category.h"

#include <QLineEdit>

namespace {
using T = TObjectTable;

// Five objects in a row at x = 10, 20, ... pixels, y = 20 pixels down.
QList<build::Object> fiveObjects()
{
    QList<build::Object> objects;
    for (int i = 1; i <= 5; ++i)
        objects << object(2001, 10 * i * U, -20 * U, i);
    return objects;
}
}

class TestTableEditing : public QObject {
    Q_OBJECT
private slots:
    void selectingACellCorrectsItsText_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("moves"); // the cell becomes current, no message
        QTest::newRow("a lone plus becomes 0") << int(T::ColZ) << "+" << "0" << true;
        QTest::newRow("a lone minus becomes 0") << int(T::ColZ) << "-" << "0" << true;
        QTest::newRow("12a becomes 0") << int(T::ColZ) << "12a" << "0" << true;
        QTest::newRow("a becomes 0") << int(T::ColRadius) << "a" << "0" << true;
        QTest::newRow("-12 stays") << int(T::ColZ) << "-12" << "-12" << true;
        QTest::newRow("+7 stays") << int(T::ColHorzAngle) << "+7" << "+7" << true;
        QTest::newRow("an empty cell becomes 0") << int(T::ColId) << "" << "0" << true;
        QTest::newRow("O.Name is never changed") << int(T::ColName) << "12a" << "12a" << true;
        QTest::newRow("a number beyond 32 bits is refused and the cell stays current elsewhere")
            << int(T::ColZ) << "99999999999" << "99999999999" << false;
    }
    void selectingACellCorrectsItsText()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(bool, moves);
        TEditingFixture f(fiveObjects());
        f.clickCell(T::ColX, 1);
        f.table().setCell(col, 3, text);
        f.clickCell(col, 3);
        QCOMPARE(f.cell(col, 3), after);
        QCOMPARE(f.grid().currentRow(), moves ? 3 : 1);
        QCOMPARE(f.form->Document.CurrentRow, moves ? 3 : 1);
        QCOMPARE(f.dialogs.errors.size(), moves ? 0 : 1);
        if (!moves)
            QCOMPARE(f.dialogs.errors.first(),
                     QStringLiteral("'99999999999' is not a valid integer value (row 3, column \"Z-Axis\")"));
    }

    void selectingARowLeavesAnEmptyRadiusAtZero()
    {
        TEditingFixture f(fiveObjects());
        f.clickCell(T::ColZ, 2);
        f.table().setCell(T::ColRadius, 2, QString());
        f.clickCell(T::ColZ, 4);
        QCOMPARE(f.cell(T::ColRadius, 2), QStringLiteral("0"));
        QVERIFY(f.map().Selector->isVisible());
        QCOMPARE(f.map().Selector->topLeft(), f.marker(4)->topLeft() - QPoint(4, 4));
    }

    // Each keystroke goes through the whole unit: marker, cache, marks.
    void everyKeystrokeMovesTheMarker_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<QPoint>>("places"); // marker of row 1 after each key
        QTest::newRow("a half-typed minus leaves the map, -5 moves to the origin")
            << int(T::ColX) << "-5" << QList<QPoint>{{10, 20}, {0, 20}};
        QTest::newRow("each digit of X moves the marker")
            << int(T::ColX) << "2621440" << QList<QPoint>{{0, 20}, {0, 20}, {0, 20}, {0, 20}, {0, 20}, {2, 20}, {20, 20}};
        QTest::newRow("Y grows up the map")
            << int(T::ColY) << "-655360" << QList<QPoint>{{10, 20}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 5}};
    }
    void everyKeystrokeMovesTheMarker()
    {
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(QList<QPoint>, places);
        TEditingFixture f(fiveObjects());
        f.table().setCell(T::ColRadius, 1, QStringLiteral("10"));
        f.clickCell(col, 1);
        QList<QPoint> seen;
        for (QChar c : typed) {
            f.type(QString(c));
            seen << f.marker(1)->topLeft();
        }
        QCOMPARE(seen, places);
        QCOMPARE(f.cell(col, 1), typed);
        const QPoint last = places.last();
        QCOMPARE(f.map().Selector->topLeft(), last - QPoint(4, 4));
        QCOMPARE(f.map().Ranger->topLeft(), last - QPoint(3, 3));
        QVERIFY(f.dialogs.errors.isEmpty());
        // What the user sees: the marker's silver pixels at its new place.
        QCOMPARE(f.shown().pixel(last + QPoint(1, 1)), qRgb(192, 192, 192));
    }

    void typingAnItemNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRgb>("fill");
        QTest::newRow("a catalogue number takes its name and colour") << "5001" << "Soldier" << QRgb(0xFFFF00FF);
        QTest::newRow("a number not in the catalogue keeps the name, takes the colour") << "5003" << "Jeep" << QRgb(0xFFFF00FF);
        QTest::newRow("a number of no category") << "999" << "Jeep" << NoCategoryColour;
    }
    void typingAnItemNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QRgb, fill);
        TEditingFixture f(fiveObjects());
        QCOMPARE(f.cell(T::ColName, 2), QStringLiteral("Jeep"));
        f.clickCell(T::ColObject, 2);
        f.type(typed);
        QCOMPARE(f.cell(T::ColName, 2), name);
        QCOMPARE(f.marker(2)->fillColour(), fill);
        QCOMPARE(f.marker(2)->hint(), name);
    }

    void rangeFillCopiesIntoTheSelection_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("from"); // where the selection starts: the current row
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("filled");
        QTest::newRow("from the top row into the rows below") << int(T::ColZ) << 2 << 4 << "100" << QList<int>{2, 3, 4};
        QTest::newRow("from the bottom row into the rows above") << int(T::ColZ) << 4 << 2 << "100" << QList<int>{2, 3, 4};
        QTest::newRow("a single row fills nothing else") << int(T::ColZ) << 3 << 3 << "100" << QList<int>{3};
        QTest::newRow("X of the filled rows moves their markers too") << int(T::ColX) << 1 << 3 << "6553600" << QList<int>{1, 2, 3};
    }
    void rangeFillCopiesIntoTheSelection()
    {
        QFETCH(int, col);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, typed);
        QFETCH(QList<int>, filled);
        TEditingFixture f(fiveObjects());
        f.selectRows(col, from, to);
        QCOMPARE(f.grid().currentRow(), from);
        f.type(typed);
        for (int row = 1; row <= 5; ++row) {
            const bool isFilled = filled.contains(row);
            const QString before = col == T::ColX ? QString::number(10 * row * U) : QStringLiteral("0");
            QCOMPARE(f.cell(col, row), isFilled ? typed : before);
            if (col == T::ColX)
                QCOMPARE(f.marker(row)->topLeft(), QPoint(isFilled ? 50 : 10 * row, 20));
        }
    }

    void relativeEntry_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("errors");
        QTest::newRow("x+20 on 250 gives 270, then x-70 gives 200")
            << int(T::ColZ) << "250" << QStringList{"x+20", "x-70"} << "200" << 0;
        QTest::newRow("a relative X moves the marker")
            << int(T::ColX) << "1310720" << QStringList{"x+1310720"} << "2621440" << 0;
        QTest::newRow("a rest that is no number shows the message")
            << int(T::ColZ) << "250" << QStringList{"x+2a"} << "x+2a" << 1;
        QTest::newRow("O.Name is free text: a dash stays") << int(T::ColName) << "Jeep" << QStringList{"T-72"} << "T-72" << 0;
    }
    void relativeEntry()
    {
        QFETCH(int, col);
        QFETCH(QString, start);
        QFETCH(QStringList, entries);
        QFETCH(QString, after);
        QFETCH(int, errors);
        TEditingFixture f(fiveObjects());
        f.table().setCell(col, 1, start);
        f.clickCell(col, 1);
        for (const QString &entry : entries) {
            f.type(entry);
            f.key(Qt::Key_Return);
        }
        QCOMPARE(f.cell(col, 1), after);
        QCOMPARE(f.dialogs.errors.size(), errors);
        if (col == T::ColX)
            QCOMPARE(f.marker(1)->topLeft(), QPoint(20, 20));
    }

    // x+100 with rows selected: every selected row takes the offset onto its
    // own value, and one Ctrl+Z takes them all back.
    void relativeEntryInASelection_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("from"); // the current row
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("after"); // rows 1 to 5
        QTest::addColumn<QString>("error");
        QTest::newRow("Y of rows 2 to 4 from the top row")
            << int(T::ColY) << 2 << 4 << "x+100" << QStringList{"-1000", "-1900", "-2900", "-3900", "-5000"}
            << QString();
        QTest::newRow("from the bottom row")
            << int(T::ColY) << 4 << 2 << "x-5" << QStringList{"-1000", "-2005", "-3005", "-4005", "-5000"} << QString();
        QTest::newRow("X moves each marker by the offset from its own place")
            << int(T::ColX) << 1 << 3 << "x-655360"
            << QStringList{"655360", "1966080", "3276800", "5242880", "6553600"} << QString();
        QTest::newRow("a selected row without a number names its cell and changes nothing")
            << int(T::ColY) << 2 << 4 << "x+100" << QStringList{"-1000", "x+100", "x+100", "x+100", "-5000"}
            << "'abc' is not a valid integer value (row 3, column \"Y-Axis\")";
    }
    void relativeEntryInASelection()
    {
        QFETCH(int, col);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, entry);
        QFETCH(QStringList, after);
        QFETCH(QString, error);
        TEditingFixture f(fiveObjects());
        if (col == T::ColY)
            for (int row = 1; row <= 5; ++row)
                f.table().setCell(col, row, QString::number(-1000 * row));
        if (!error.isEmpty())
            f.table().setCell(col, 3, QStringLiteral("abc"));
        QStringList before;
        for (int row = 1; row <= 5; ++row)
            before << f.cell(col, row);
        f.selectRows(col, from, to);
        f.type(entry);
        f.key(Qt::Key_Return);
        QStringList cells;
        for (int row = 1; row <= 5; ++row)
            cells << f.cell(col, row);
        QCOMPARE(cells, after);
        QCOMPARE(f.dialogs.errors, error.isEmpty() ? QStringList() : QStringList{error});
        if (col == T::ColX)
            for (int row = 1; row <= 5; ++row)
                QCOMPARE(f.marker(row)->topLeft(), QPoint(after[row - 1].toInt() / U, 20));
        f.key(Qt::Key_Z, Qt::ControlModifier);
        cells.clear();
        for (int row = 1; row <= 5; ++row)
            cells << f.cell(col, row);
        QCOMPARE(cells, before);
    }

    // The heading line from the marker's centre (202, 202), as the map shows
    // it: the red pixels of a 2-pixel line to its end point, where the marker
    // (200..203) and the selection ring do not cover them.
    void headingLine_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("0 ends 29 pixels above") << "0" << QRect(QPoint(201, 173), QPoint(202, 199));
        QTest::newRow("90 ends 29 pixels right") << "90" << QRect(QPoint(204, 201), QPoint(230, 202));
        QTest::newRow("180 ends 29 pixels below") << "180" << QRect(QPoint(201, 204), QPoint(202, 230));
        QTest::newRow("-90 ends exactly 30 pixels left") << "-90" << QRect(QPoint(172, 201), QPoint(199, 202));
        QTest::newRow("45 ends 21 pixels up and right") << "45" << QRect(QPoint(203, 180), QPoint(223, 200));
    }
    void headingLine()
    {
        QFETCH(QString, heading);
        QFETCH(QRect, pixels);
        TEditingFixture f({object(4076, 200 * U, -200 * U), object(4076, 100 * U, -400 * U)});
        f.table().setCell(T::ColHorzAngle, 1, heading);
        auto redPixels = [&f] {
            const QImage shown = f.shown();
            QRect r;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if (shown.pixel(x, y) == qRgb(255, 0, 0))
                        r |= QRect(x, y, 1, 1);
            return r;
        };
        f.clickCell(T::ColHorzAngle, 1);
        QCOMPARE(redPixels(), pixels);
        // Leaving the column clears the line, and so does leaving the grid.
        f.clickCell(T::ColZ, 1);
        QCOMPARE(redPixels(), QRect());
        f.clickCell(T::ColHorzAngle, 1);
        f.form->E_search->setFocus();
        QCOMPARE(redPixels(), QRect());
        // Typing with two rows selected draws no line; releasing Shift in
        // the editor draws it all the same.
        f.selectRows(T::ColHorzAngle, 1, 2);
        f.type(heading);
        QCOMPARE(redPixels(), QRect());
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift);
        QCOMPARE(redPixels(), pixels);
        QCOMPARE(f.cell(T::ColHorzAngle, 2), heading);
    }

    void searchFindsTheNextCell_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("found"); // column, row
        QTest::newRow("the next row holding the text") << 1 << "Jeep" << QPoint(T::ColName, 2);
        QTest::newRow("wraps past the last row to row 1") << 5 << "1310720" << QPoint(T::ColX, 1);
        QTest::newRow("case counts: nothing found, nothing moves") << 2 << "jeep" << QPoint(T::ColZ, 2);
        QTest::newRow("the starting row comes last") << 3 << "3932160" << QPoint(T::ColX, 3);
    }
    void searchFindsTheNextCell()
    {
        QFETCH(int, from);
        QFETCH(QString, text);
        QFETCH(QPoint, found);
        TEditingFixture f(fiveObjects());
        f.clickCell(T::ColZ, from);
        f.form->E_search->setText(text);
        f.form->E_search->setFocus();
        f.key(Qt::Key_Return);
        QCOMPARE(QPoint(f.grid().currentCol(), f.grid().currentRow()), found);
        QCOMPARE(f.form->Document.CurrentRow, found.y());
    }

    void keysOfTheGrid_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QPoint>("current"); // column, row
        QTest::addColumn<QString>("zCell");  // row 2's "Z-Axis" afterwards
        QTest::newRow("Tab moves right") << QList<int>{Qt::Key_Tab} << QPoint(T::ColHorzAngle, 2) << "0";
        QTest::newRow("Shift+Tab moves left") << QList<int>{Qt::Key_Backtab} << QPoint(T::ColY, 2) << "0";
        QTest::newRow("Tab in the editor keeps the text and moves") << QList<int>{'7', Qt::Key_Tab} << QPoint(T::ColHorzAngle, 2) << "7";
        QTest::newRow("Down in the editor keeps the text and moves down") << QList<int>{'7', Qt::Key_Down} << QPoint(T::ColZ, 3) << "7";
        QTest::newRow("Escape puts the old text back") << QList<int>{'7', Qt::Key_Escape} << QPoint(T::ColZ, 2) << "0";
        QTest::newRow("Insert empties nothing") << QList<int>{Qt::Key_Insert} << QPoint(T::ColZ, 2) << "0";
    }
    void keysOfTheGrid()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QPoint, current);
        QFETCH(QString, zCell);
        TEditingFixture f(fiveObjects());
        f.clickCell(T::ColZ, 2);
        for (int k : keys)
            f.key(Qt::Key(k));
        QCOMPARE(QPoint(f.grid().currentCol(), f.grid().currentRow()), current);
        QCOMPARE(f.cell(T::ColZ, 2), zCell);
        QVERIFY(!f.grid().isEditing());
    }
};
VELLUMAR_TEST(TestTableEditing)
#include "tst_tableediting.moc"
