// Undo and redo through the real windows: a mapper's actions, all undone with
// Ctrl+Z and all redone with Ctrl+Y / Ctrl+Shift+Z, checked on what the
// windows show, on the caption and on the bytes a quick save writes.
#include "../editing/editingfixture.h"
#include "testregistry.h"

#include "app/programstart.h"
#include "app/termination.h"
#include "fileio/errors.h"
#include "recovery/recoverycopy.h"
#include "fileio/recoveryfolder.h"
#include "recovery/recoverykeeper.h"
#include "recovery/recoverystate.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"
#include "userdatafolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLockFile>
#include <QScrollBar>
#include <csignal>
#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
using T = TObjectTable;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The map of every row: a vehicle, a second vehicle, a start point, a tree and
// a soldier, in a view at zoom 1 from (0, 0).
QList<build::Object> fiveObjects()
{
    return {object(2001, 10 * U, -20 * U, 1), object(2001, 20 * U, -20 * U, 2), object(6002, 30 * U, -20 * U, 3),
            object(1001, 40 * U, -20 * U, 4), object(5001, 50 * U, -20 * U, 5)};
}

// The editor on the five objects, saving into its own directory.
struct TUndoWorld : TEditingFixture {
    TUndoWorld() : TEditingFixture(fiveObjects())
    {
        build::file(dir, QStringLiteral("prog/kzmap.dat"), build::trailer());
        // The name list is written where the save is told, not into the samples.
        form->Store.Settings.BaseFilesDir = dir.path() + u'/';
        form->Form3->C_AutoRepack->setChecked(false);
        build::file(dir, QStringLiteral("import.txt"),
                    "11;2001;Jeep;1310720;-1310720;0;0;0;0;0;\r\n12;5001;Soldier;2621440;-2621440;5;0;0;3;0;\r\n"
                    "13;6002;Start;0;0;0;90;0;0;0;\r\n14;1001;Tree;655360;-655360;0;0;0;0;0;\r\n"
                    "15;4076;Crate;3932160;-1966080;0;0;0;0;0;\r\n");
    }

    // The map file and the name list a quick save writes, by "Save" or by
    // Ctrl+S in the main window.
    QByteArray quickSave(const QString &name, bool byKey = false)
    {
        const QString path = dir.filePath(name);
        dialogs.answerSave(path);
        if (byKey)
            QTest::keyClick(form->focusWidget() ? form->focusWidget() : form.get(), Qt::Key_S, Qt::ControlModifier);
        else
            QTest::mouseClick(form->Button7, Qt::LeftButton);
        return readAll(path) + "|" + readAll(dir.filePath(QStringLiteral("kzmpname.bin")));
    }

    // What the windows show of the map: cells, positions, markers, the boxes.
    QStringList shown()
    {
        QStringList s;
        const TMapDocument &d = form->Document;
        s << QStringLiteral("objects %1").arg(d.ObjectCount);
        for (int row = 1; row < table().RowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < T::ColumnCount; ++col)
                cells << cell(col, row);
            s << cells.join(u'|') + QStringLiteral(" at %1,%2").arg(d.ObjectX[row - 1]).arg(d.ObjectY[row - 1]);
        }
        for (int row = 1; row <= TMapDocument::MaxObjects; ++row)
            if (const TMarker *m = marker(row))
                s << QStringLiteral("marker %1 at %2,%3 %4/%5 %6 \"%7\"")
                         .arg(row)
                         .arg(m->topLeft().x())
                         .arg(m->topLeft().y())
                         .arg(m->fillColour(), 0, 16)
                         .arg(m->outlineColour(), 0, 16)
                         .arg(m->isVisible() ? "shown" : "hidden", m->hint());
        s << stacking(false);
        // The header's boxes of both windows, as they show the header values.
        QStringList names;
        for (int i = 0; i < form->ComboBox2->count(); ++i)
            names << form->ComboBox2->itemText(i);
        QString boxes;
        for (int i = 0; i < 6; ++i)
            boxes += QString::number(form->CheckBox[i]->isChecked())
                + QString::number(form->Form3->CheckBox[i]->isChecked());
        s << QStringLiteral("terrain %1 names %2 selected %3 \"%4\" boxes %5 NG %6")
                 .arg(form->ComboBox1->currentIndex())
                 .arg(names.join(u','))
                 .arg(form->ComboBox2->currentIndex())
                 .arg(form->ComboBox2->currentText(), boxes)
                 .arg(form->C_NG->isChecked());
        s << form->Form3->RichEdit1->toPlainText().split(u'\n').join(u'/');
        const TTerrain &t = form->Document.terrain();
        s << QStringLiteral("terrain %1 \"%2\" values %3 pictures %4")
                 .arg(QString::fromLatin1(d.Header.TerrainFile().toHex()), QString(d.TrnPath).replace(dir.path(), "<dir>"),
                      t.TerrainValues.join(u','),
                      QStringList{t.ColourMapPath, t.ElevationMapPath, t.DetailMapPath, t.SkyMapPath}.join(u','));
        return s;
    }

    // The map window's shown items from the bottom up, as they are painted:
    // the markers by row, and the selection ring as "S" if asked for.
    QString stacking(bool ring = true)
    {
        QStringList order;
        const QList<QGraphicsItem *> items =
            map().scene()->items(QRectF(-1e6, -1e6, 2e6, 2e6), Qt::IntersectsItemBoundingRect, Qt::AscendingOrder);
        for (const QGraphicsItem *item : items)
            if (const auto *m = dynamic_cast<const TMarker *>(item))
                order << QString::number(m->Tag);
            else if (ring && item == map().Selector)
                order << QStringLiteral("S");
        return order.join(u' ');
    }

    // The selection marks: where the ring and the radius circle stand if shown,
    // the pixels of the heading line, and the ring's place in the stacking.
    QString marks()
    {
        const TMapView &m = map();
        const auto circle = [](const TCircleShape *c) {
            return c->isVisible() ? QStringLiteral("%1,%2 %3x%4").arg(c->left()).arg(c->top()).arg(c->width()).arg(c->height())
                                  : QStringLiteral("hidden");
        };
        const QImage &layer = m.Work_maske->layer();
        const QByteArray line = m.Work_maske->isLayerEmpty()
            ? QByteArray("none")
            : QCryptographicHash::hash(QByteArrayView(layer.constBits(), layer.sizeInBytes()),
                                       QCryptographicHash::Sha1).toHex();
        return QStringLiteral("ring %1 (z %2), radius %3, heading %4, stacking %5")
            .arg(circle(m.Selector))
            .arg(m.Selector->zValue())
            .arg(circle(m.Ranger), QString::fromLatin1(line), stacking());
    }

    // Ctrl+Z (or a redo key) into the main window's focused control, until the
    // journal has nothing left that way; returns the number of presses.
    int pressAll(bool undo)
    {
        QUndoStack &journal = form->Document.Journal;
        int presses = 0;
        // An open edit is committed by the first Ctrl+Z, so the first press always goes.
        while ((undo ? journal.canUndo() || presses == 0 : journal.canRedo()) && presses < 100) {
            QWidget *target = form->focusWidget() ? form->focusWidget() : form.get();
            if (undo)
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
            else if (presses % 2 == 0)
                QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
            else
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            ++presses;
        }
        return presses;
    }

    // One action of a script: "select X 1 3", "type 5", "key Return", ...
    void act(const QString &action);
    // The actions of a script, separated by ";".
    void play(const QString &script)
    {
        for (const QString &a : script.split(u';', Qt::SkipEmptyParts))
            act(a);
    }
};

// The user opens a box's list and clicks entry k.
void pick(QComboBox *box, int k)
{
    box->showPopup();
    QAbstractItemView *list = box->view();
    QVERIFY(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(k, 0)).center());
}

// A column by its title, or its title's first part ("X" for "X-Axis").
int column(const QString &name)
{
    for (int col = 0; col < T::ColumnCount; ++col) {
        const QString title = QString::fromLatin1(T::Titles[col]);
        if (title == name || title.startsWith(name + u'-'))
            return col;
    }
    qFatal("no column %s", qPrintable(name));
}

void TUndoWorld::act(const QString &action)
{
    const QStringList w = action.trimmed().split(u' ');
    const QString &verb = w[0];
    const QString rest = action.trimmed().section(u' ', 1);
    if (verb == "select") {
        selectRows(column(w[1]), w[2].toInt(), w[3].toInt());
    } else if (verb == "click") {
        clickCell(column(w[1]), w[2].toInt());
    } else if (verb == "open") {
        doubleClickCell(column(w[1]), w[2].toInt());
    } else if (verb == "type") {
        type(rest);
    } else if (verb == "Return") {
        key(Qt::Key_Return);
    } else if (verb == "right") { // a right press on a map pixel
        pressInMap(QPoint(w[1].toInt(), w[2].toInt()), Qt::RightButton);
    } else if (verb == "press") { // a press of button "left" or "middle" on a map pixel
        pressInMap(QPoint(w[2].toInt(), w[3].toInt()), w[1] == "middle" ? Qt::MiddleButton : Qt::LeftButton);
    } else if (verb == "button") { // a button of the map's strip by its caption: # c d m
        for (QPushButton *b : {panel().Button2, panel().Button3, panel().Button4, panel().Button5})
            if (b->text() == w[1])
                QTest::mouseClick(b, Qt::LeftButton);
    } else if (verb == "filter") { // the category box k under the map
        QTest::mouseClick(panel().categoryBoxes()[w[1].toInt()], Qt::LeftButton);
    } else if (verb == "zoom") {
        panel().ScrollBar1->setValue(w[1].toInt());
    } else if (verb == "Add") {
        QTest::mouseClick(form->Button9, Qt::LeftButton);
    } else if (verb == "Del") {
        QTest::mouseClick(form->Button10, Qt::LeftButton);
    } else if (verb == "use") { // picks an item of the Item List and presses Use
        TForm5 &list = *form->Form5;
        const QAbstractItemModel *items = list.ItemList->model();
        for (int r = 0; r < items->rowCount(); ++r)
            if (items->index(r, 1).data().toString() == rest)
                QTest::mouseClick(list.ItemList->viewport(), Qt::LeftButton, {},
                                  list.ItemList->visualRect(items->index(r, 1)).center());
        QTest::mouseClick(list.Button1, Qt::LeftButton);
    } else if (verb == "weapon") { // the list over the current Weapon cell, entry k
        QTest::mouseDClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier,
                           grid().visualRect(grid().currentIndex()).center());
        pick(form->ComboBox3, w[1].toInt());
    } else if (verb == "import") {
        dialogs.answerOpen(dir.filePath(QStringLiteral("import.txt")));
        QTest::mouseClick(form->B_Import, Qt::LeftButton);
    } else if (verb == "terrain") {
        pick(form->ComboBox1, w[1].toInt());
    } else if (verb == "mode") { // the main window's game-type box k
        QTest::mouseClick(form->CheckBox[w[1].toInt()], Qt::LeftButton);
    } else if (verb == "saveMode") {
        QTest::mouseClick(form->Form3->CheckBox[w[1].toInt()], Qt::LeftButton);
    } else if (verb == "NG") {
        QTest::mouseClick(form->C_NG, Qt::LeftButton);
    } else if (verb == "name") { // a map name typed into ComboBox2 and Enter
        QLineEdit *edit = form->ComboBox2->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, rest);
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (verb == "delName") { // "Del" beside the map name, and "Delete" to its question
        dialogs.answerQuestion(0);
        QTest::mouseClick(form->B_delmpname, Qt::LeftButton);
    } else if (verb == "mapData") {
        QPlainTextEdit *text = form->Form3->RichEdit1;
        text->setFocus();
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, rest);
    } else if (verb == "trn") { // Choose TRN in the Save Map dialog: a terrain file of dir on the sample pictures
        dialogs.answerOpen(build::file(dir, w[1],
                                       "A\r\nB\r\nC\r\nCOLORMAP ........ vlmrd\r\nELEVATIONMAP .... vlmrd\r\n"
                                       "DETAILMAP ....... vlmrd\r\n"));
        QTest::mouseClick(form->Form3->Button6, Qt::LeftButton);
    } else if (verb == "picture") { // a map of the Save Map dialog (c, e, d or s) chosen: a sample picture
        dialogs.answerOpen(QStringLiteral(VELLUMAR_SAMPLES "/kz/") + w[2]);
        TForm3 &d = *form->Form3;
        QTest::mouseClick(w[1] == "c" ? d.Button2 : w[1] == "e" ? d.Button3 : w[1] == "d" ? d.Button4 : d.Button5,
                          Qt::LeftButton);
    } else if (verb == "Reset") { // with unsaved changes: Discard
        dialogs.answerQuestion(1);
        QTest::mouseClick(form->Button8, Qt::LeftButton);
    } else if (verb == "keys") { // Ctrl+ letters into the focused control: "keys z Y o" (upper case: with Shift)
        for (const QString &k : w.mid(1)) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
            const Qt::KeyboardModifiers shift = k == k.toUpper() ? Qt::ShiftModifier : Qt::NoModifier;
            QTest::keyClick(target, Qt::Key(Qt::Key_A + (k.toLower()[0].unicode() - u'a')), Qt::ControlModifier | shift);
        }
    } else if (verb == "failedWrite") { // the copy is written now and cannot replace the last one
        const QString copy = form->Recovery->copyPath();
        QVERIFY(QFile::remove(copy) && QDir().mkdir(copy));
        form->Recovery->writeDue();
        form->Recovery->waitForWriter();
        QCoreApplication::processEvents();
        QVERIFY(QDir().rmdir(copy));
    } else if (verb == "wait") { // the event loop runs: a recovery copy due is written
        QCoreApplication::processEvents();
        form->Recovery->waitForWriter();
    } else if (verb == "undo") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    } else if (verb == "save") { // the quick save into a file of dir
        quickSave(w[1]);
    } else if (verb == "typing") { // typed as a user types, ten keys a second, the event loop running between
        for (const QChar c : rest) {
            type(c);
            QTest::qWait(100);
        }
    } else if (verb == "pause") { // a tenth of a second with the event loop running
        QTest::qWait(100);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
}

// The recovery copy of world's unsaved changes as a kill would leave it:
// written, then no longer held by any program.
QByteArray leftRecoveryCopy(TUndoWorld &world)
{
    TRecoveryKeeper &keeper = *world.form->Recovery;
    keeper.writeDue();
    keeper.waitForWriter();
    return readAll(keeper.copyPath());
}

// The state as the first version of the recovery copy held it: the header
// values with the selected name's text and the Map Data, the cells, the
// caches and the markers' looks, no terrain.
QByteArray firstVersionCopy(const TRecoveryState &s)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << s.bmsPath << s.trnPath << s.saveName << s.headerBytes << qint32(s.header.terrainTypeIndex)
        << quint32(s.header.mapNames.size());
    for (const QByteArray &name : s.header.mapNames)
        out << name;
    out << qint32(s.header.mapNameIndex) << QString::fromLatin1(s.header.mapNames.value(s.header.mapNameIndex));
    for (int i = 0; i < 6; ++i)
        out << s.header.gameTypes[i] << s.header.saveGameTypes[i];
    out << s.header.nightGoggles << quint32(s.mapData.size());
    for (const QString &line : s.mapData)
        out << line;
    out << qint32(s.objectCount) << qint32(s.currentRow) << quint32(s.rows.size());
    for (const TObjectTable::Row &row : s.rows)
        for (const QString &cell : row)
            out << cell;
    out << quint32(s.objectX.size());
    for (std::size_t i = 0; i < s.objectX.size(); ++i)
        out << qint32(s.objectX[i]) << qint32(s.objectY[i]);
    out << quint32(s.rows.size() + 1) << false << 0u << 0u << false << QString();
    for (int row = 1; row <= int(s.rows.size()); ++row)
        out << true << 0xFF00FF00u << 0xFF000000u << true << QStringLiteral("hint");
    return "Vellumar recovery copy 1\n" + QByteArray::number(payload.size()) + ' '
        + QCryptographicHash::hash(payload, QCryptographicHash::Sha256).toHex() + '\n' + payload;
}

void putLeftCopy(const QByteArray &bytes, const QString &name = QStringLiteral("unsaved-1-1-1.state"))
{
    MakeRecoveryFolder();
    QFile file(RecoveryFolder() + name);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

#ifndef Q_OS_WIN // a child process made with fork
// The lock of a copy as a program killed after its copy went leaves it: the
// lock of a process that has ended, and no copy.
void putLeftLockOnly()
{
    const QString lockPath = MakeRecoveryFolder() + QStringLiteral("unsaved-2-2-2.state.lock");
    const pid_t child = fork();
    if (child == 0) {
        QLockFile lock(lockPath);
        lock.tryLock(0);
        _exit(0); // killed: the lock is never given back
    }
    waitpid(child, nullptr, 0);
    QVERIFY(QFile::exists(lockPath));
}
#endif

// The recovery copy holds what the document holds now.
bool copyHoldsTheDocument(TForm1 &form)
{
    const QString path = form.Recovery->copyPath();
    if (path.isEmpty())
        return false; // none yet
    try {
        return TRecoveryState::fromBytes(readAll(path), path) == TRecoveryState::fromDocument(form.Document);
    } catch (const TError &) {
        return false; // none yet
    }
}

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

// A new run of the program, started as main() starts it, on the settings of
// world's program folder, saving its name list into base.
std::unique_ptr<TForm1> startAgain(TFakeDialogs &dialogs, TUndoWorld &world, const QString &base)
{
    auto form = StartProgram(dialogs, {QStringLiteral("vellumar")}, world.dir.filePath(QStringLiteral("prog/")));
    form->Store.Settings.BaseFilesDir = base;
    form->Form3->C_AutoRepack->setChecked(false);
    return form;
}

QByteArray quickSaveOf(TFakeDialogs &dialogs, TForm1 &form, const QString &path)
{
    dialogs.answerSave(path);
    // Only what this save writes counts.
    QFile::remove(form.Store.Settings.BaseFilesDir + "kzmpname.bin");
    form.commitTableEdit();
    form.Button7Click();
    return readAll(path) + "|" + readAll(form.Store.Settings.BaseFilesDir + "kzmpname.bin");
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void undoAllThenRedoAll_data()
    {
        QTest::addColumn<QString>("actions"); // separated by ";"
        QTest::addColumn<int>("steps");       // undo steps they leave
        QTest::addColumn<bool>("savedClean"); // a quick save after them leaves the caption without " *"
        QTest::newRow("typing copied by the range fill, then the cell left, is one step")
            << "select X 1 3; type 6553600; click Z 5" << 1 << true;
        QTest::newRow("two relative entries are two steps")
            << "click Z 2; type x+20; Return; click X 4; type x-655360; Return" << 2 << true;
        QTest::newRow("a right-click move is one step") << "click Z 2; right 200 300; right 210 310" << 2 << true;
        QTest::newRow("Add Item then Del Item of row 1 are two steps") << "Add; click Z 1; Del" << 2 << true;
        QTest::newRow("Add Item, typing in the new row and Del Item of another row")
            << "Add; click Object 6; type 1001; click Y 2; Del" << 3 << true;
        QTest::newRow("Use over rows 2 to 4 is one step") << "select Z 2 4; use Soldier" << 1 << true;
        QTest::newRow("a weapon choice copied into rows 1 to 3 is one step")
            << "select Weapon 1 3; weapon 11" << 1 << true;
        QTest::newRow("an Import is one step") << "import" << 1 << true;
        QTest::newRow("header boxes and map names, one step each")
            << "terrain 0; mode 1; saveMode 3; NG; name Fourth; delName; name Fifth" << 7 << true;
        QTest::newRow("Choose TRN and a picture chosen are one step each, with their Map Data")
            << "trn other.trn; mode 1; picture e vlmrs.pcx" << 3 << false;
        QTest::newRow("Map Data typing is one step, and a quick save does not write it")
            << "mapData X1; click X 1; mapData Y2" << 2 << false;
        QTest::newRow("an edit open while Ctrl+Z is pressed is committed and undone with the rest")
            << "click Z 1; type 7; click X 2; type 123" << 2 << true;
    }
    void undoAllThenRedoAll()
    {
        QFETCH(QString, actions);
        QFETCH(int, steps);
        QFETCH(bool, savedClean);

        // By hand: what the windows show and a quick save writes after the actions.
        QStringList edited;
        QByteArray editedBytes;
        {
            TUndoWorld byHand;
            byHand.play(actions);
            edited = byHand.shown(); // a save rewrites the header's terrain field whole
            editedBytes = byHand.quickSave(QStringLiteral("edited.bms"));
            QVERIFY(byHand.dialogs.errors.isEmpty());
        }

        TUndoWorld w;
        QVERIFY(!w.form->windowTitle().endsWith(" *"));
        // The caption names the file saved last, the open map.
        const auto caption = [&w](const char *saved) {
            return w.form->SavedCaption + " \"" + w.dir.filePath(QLatin1String(saved)) + u'"';
        };
        const QStringList loaded = w.shown();
        const QByteArray loadedBytes = w.quickSave(QStringLiteral("loaded.bms"));
        QCOMPARE(w.form->windowTitle(), caption("loaded.bms"));
        w.play(actions);
        QCOMPARE(w.form->windowTitle(), caption("loaded.bms") + " *");
        QCOMPARE(w.form->Document.Journal.count(), steps);

        QCOMPARE(w.pressAll(true), steps);
        QCOMPARE(w.shown(), loaded);
        QCOMPARE(w.form->windowTitle(), caption("loaded.bms"));
        QCOMPARE(w.quickSave(QStringLiteral("undone.bms"), true), loadedBytes);

        QCOMPARE(w.pressAll(false), steps);
        QCOMPARE(w.shown(), edited);
        QCOMPARE(w.form->windowTitle(), caption("undone.bms") + " *");
        QCOMPARE(w.quickSave(QStringLiteral("redone.bms")), editedBytes);
        QCOMPARE(w.form->windowTitle(), savedClean ? caption("redone.bms") : caption("redone.bms") + " *");
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // Looking at the map and selecting in it is no change of the map.
    void viewingLeavesNoStep_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::newRow("cells selected, one after another and many") << "click Z 2; click X 4; select Y 1 5";
        QTest::newRow("a marker clicked, the empty map clicked")
            << "press left 12 22; press left 300 400; right 22 22; press left 300 400";
        QTest::newRow("the measuring circle shown and hidden") << "press middle 100 100; press middle 100 100";
        QTest::newRow("zoom, centring and the three maps") << "click Z 3; zoom 4; button #; button c; button d; button m";
        QTest::newRow("a category filter off and on again") << "filter 0; filter 0; filter 5";
    }
    void viewingLeavesNoStep()
    {
        QFETCH(QString, actions);
        TUndoWorld w;
        const QByteArray loadedBytes = w.quickSave(QStringLiteral("loaded.bms"));
        const QString caption = w.form->windowTitle(); // naming the file saved
        w.play(actions);
        QCOMPARE(w.form->Document.Journal.count(), 0);
        QCOMPARE(w.form->windowTitle(), caption);
        QCOMPARE(w.quickSave(QStringLiteral("viewed.bms")), loadedBytes);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // A step's undo shows the selection marks as they were just before it, its
    // redo as they were just after it, on the object current then.
    void selectionMarksComeBackWithTheirStep_data()
    {
        QTest::addColumn<QString>("before"); // actions before the step, ";" between them
        QTest::addColumn<QString>("step");
        QTest::newRow("Del Item hides the marks of the object it deletes") << "click Z 2" << "Del";
        QTest::newRow("Add Item shows them on the new object, hidden before") << "click Z 2; Del" << "Add";
        QTest::newRow("the first Add Item brings the ring in front of the markers") << "" << "Add";
        QTest::newRow("a right-click move takes them along") << "click Z 2" << "right 200 300";
        QTest::newRow("typing a heading redraws its line") << "click Horz-Angel 3" << "type 135; Return";
        QTest::newRow("a radius typed resizes the radius circle") << "click Radius 4" << "type 30";
        QTest::newRow("a radius typed half leaves the circle as it was") << "click Radius 4" << "type 3; type a";
    }
    void selectionMarksComeBackWithTheirStep()
    {
        QFETCH(QString, before);
        QFETCH(QString, step);
        TUndoWorld w;
        w.play(before);
        const int steps = w.form->Document.Journal.count();
        const QString marksBefore = w.marks();
        w.play(step);
        QCOMPARE(w.form->Document.Journal.count(), steps + 1);
        const QString marksAfter = w.marks();
        QVERIFY(marksAfter != marksBefore);

        w.act(QStringLiteral("undo"));
        QCOMPARE(w.marks(), marksBefore);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.marks(), marksAfter);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // Ctrl+Z and Ctrl+Y do nothing without a map; Ctrl+O is Load, only while
    // "Load" is shown.
    void commandKeysFollowTheMap_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<bool>("loaded");   // a map in the window afterwards
        QTest::addColumn<bool>("reloaded"); // its cells as in the file, the edit gone
        QTest::addColumn<int>("steps");
        QTest::newRow("Ctrl+O with a map loaded loads nothing") << "click Z 1; type 7; click X 2; keys o" << true
                                                               << false << 1;
        QTest::newRow("after Reset, Ctrl+Z and Ctrl+Y do nothing") << "click Z 1; type 7; click X 2; Reset; keys z y Z"
                                                                   << false << false << 0;
        QTest::newRow("after Reset, Ctrl+O loads the map, with nothing to undo")
            << "click Z 1; type 7; click X 2; Reset; keys z o z y" << true << true << 0;
    }
    void commandKeysFollowTheMap()
    {
        QFETCH(QString, actions);
        QFETCH(bool, loaded);
        QFETCH(bool, reloaded);
        QFETCH(int, steps);
        TUndoWorld w;
        // The name list a Load reads, where this world's saves write it.
        QVERIFY(QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/kzbase/kzmpname.bin"), w.dir.filePath("kzmpname.bin")));
        const QStringList inFile = w.shown();
        const QString caption = w.form->windowTitle();
        // The open dialog proposes the map the program was started with: Enter.
        w.dialogs.answerOpen(w.form->commandLineFile());
        w.play(actions);
        if (reloaded) {
            QCOMPARE(w.dialogs.openRequests.size(), 1);
            QCOMPARE(w.dialogs.openRequests.first().fileName, w.form->commandLineFile());
        }
        QCOMPARE(w.form->mapLoaded(), loaded);
        QCOMPARE(w.form->Document.Journal.count(), steps);
        if (loaded) {
            QCOMPARE(w.cell(T::ColZ, 1), reloaded ? inFile.at(1).section(u'|', T::ColZ, T::ColZ) : QStringLiteral("7"));
            w.setView(1, 0, 0); // a Load centres the view on the objects
            if (reloaded)
                QCOMPARE(w.shown(), inFile);
            QCOMPARE(w.form->windowTitle(), reloaded ? caption : caption + " *");
        } else {
            QCOMPARE(w.form->Document.ObjectCount, 0);
            QVERIFY(!w.marker(1));
        }
        QCOMPARE(w.dialogs.questions.size(), actions.contains("Reset") ? 1 : 0);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // Closing the window or pressing "Reset" with unsaved changes asks first:
    // Save (the quick save, with its file dialog), Discard or Cancel.
    void unsavedChangesAreAskedFor_data()
    {
        QTest::addColumn<QString>("command");  // "close" or "Reset"
        QTest::addColumn<QString>("actions");  // before it
        QTest::addColumn<int>("answer");       // 0 Save, 1 Discard, 2 Cancel; -1 nothing asked
        QTest::addColumn<bool>("saveConfirmed"); // the file dialog of Save
        QTest::addColumn<bool>("goesOn");      // the window closed, the map reset
        QTest::addColumn<bool>("written");     // the map file written
        QTest::newRow("close without changes asks nothing") << "close" << "" << -1 << false << true << false;
        QTest::newRow("close after undoing every change asks nothing")
            << "close" << "click Z 1; type 7; click X 2; undo" << -1 << false << true << false;
        QTest::newRow("close, Cancel: the program and the map stay")
            << "close" << "click Z 1; type 7; click X 2" << 2 << false << false << false;
        QTest::newRow("close, Discard: closes without saving")
            << "close" << "click Z 1; type 7; click X 2" << 1 << false << true << false;
        QTest::newRow("close, Save: saves, then closes") << "close" << "Add" << 0 << true << true << true;
        QTest::newRow("close, Save with the file dialog cancelled: stays")
            << "close" << "Add" << 0 << false << false << false;
        QTest::newRow("close with an edit still open asks")
            << "close" << "click Z 1; type 7" << 2 << false << false << false;
        QTest::newRow("Reset without changes asks nothing") << "Reset" << "" << -1 << false << true << false;
        QTest::newRow("Reset, Cancel: the map stays") << "Reset" << "Add" << 2 << false << false << false;
        QTest::newRow("Reset, Discard: resets") << "Reset" << "Add" << 1 << false << true << false;
        QTest::newRow("Reset, Save: saves, then resets") << "Reset" << "Add" << 0 << true << true << true;
    }
    void unsavedChangesAreAskedFor()
    {
        QFETCH(QString, command);
        QFETCH(QString, actions);
        QFETCH(int, answer);
        QFETCH(bool, saveConfirmed);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        TUndoWorld w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.play(actions);
        const QStringList before = w.shown();
        const QString path = w.dir.filePath(QStringLiteral("asked.bms"));
        if (answer >= 0)
            w.dialogs.answerQuestion(answer);
        if (saveConfirmed)
            w.dialogs.answerSave(path);
        else
            w.dialogs.cancelSave();
        bool wentOn = false;
        if (command == "close") {
            wentOn = w.form->close();
            QCOMPARE(w.form->isVisible(), !wentOn);
        } else {
            QTest::mouseClick(w.form->Button8, Qt::LeftButton);
            wentOn = w.form->Button1->isVisible();
        }
        // A Save that saved nothing (its file dialog cancelled) leaves the
        // changes unsaved: the question comes again (Escape: Cancel).
        QCOMPARE(w.dialogs.questions.size(), answer < 0 ? 0 : answer == 0 && !saveConfirmed ? 2 : 1);
        if (answer >= 0) {
            const TQuestion &q = w.dialogs.questions.first();
            QCOMPARE(q.text, QStringLiteral("The map has unsaved changes."));
            QCOMPARE(q.buttons, (QStringList{"Save", "Discard", "Cancel"}));
            QCOMPARE(q.defaultButton, 2);
            QCOMPARE(q.escapeButton, 2);
        }
        QCOMPARE(wentOn, goesOn);
        QCOMPARE(QFile::exists(path), written);
        if (!goesOn)
            QCOMPARE(w.shown(), before);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // "Save" in the question saves what the quick save cannot (the Map Data
    // text goes to the TRN file through "Save all"); a Discard given at a
    // logout that another program then cancelled holds for that logout only;
    // a termination request (SIGTERM) asks once.
    void theQuestionKeepsWhatIsUnsaved_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("Map Data typed, close, Save: saved whole, then closed") << "mapData X1" << "close" << 1 << true;
        QTest::newRow("Map Data typed, Reset, Save: saved whole, then reset") << "mapData X1" << "Reset" << 1 << true;
        QTest::newRow("Map Data typed, logout, Save: saved whole, then the session ends")
            << "mapData X1" << "logout" << 1 << true;
        QTest::newRow("Discard at a logout another program cancelled: the user's close asks again")
            << "click Z 1; type 7; click X 2" << "cancelled logout" << 2 << false;
#ifndef Q_OS_WIN // Windows sends no SIGTERM: its C runtime ends the program at once
        QTest::newRow("SIGTERM, Cancel: asked once, the program stays")
            << "click Z 1; type 7; click X 2" << "SIGTERM" << 1 << false;
#endif
    }
    void theQuestionKeepsWhatIsUnsaved()
    {
        QFETCH(QString, actions);
        QFETCH(QString, how);
        QFETCH(int, questions);
        QFETCH(bool, goesOn);
        const TUserDataFolder userData;
        TUndoWorld w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        // The terrain text is saved beside the map, not into the samples.
        const QString trn = w.dir.filePath(QStringLiteral("test.trn"));
        w.form->Form3->E_TRNFile->setText(trn);
        w.play(actions);
        leftRecoveryCopy(w);
        const QString copy = w.form->Recovery->copyPath();
        QVERIFY(QFile::exists(copy));
        bool wentOn = false;
        if (how == "close" || how == "Reset" || how == "logout") {
            w.dialogs.answerQuestion(0);
            if (how == "close") {
                wentOn = w.form->close();
            } else if (how == "Reset") {
                QTest::mouseClick(w.form->Button8, Qt::LeftButton);
                wentOn = w.form->Button1->isVisible();
            } else {
                wentOn = w.form->Closing->sessionMayEnd(true) && w.form->Closing->quitRequested();
            }
            QVERIFY(readAll(trn).contains("X1"));
            QVERIFY(w.form->Document.Journal.isClean());
        } else if (how == "cancelled logout") {
            w.dialogs.answerQuestion(1);
            QVERIFY(w.form->Closing->sessionMayEnd(true));
            wentOn = w.form->close();
        } else {
            CloseOnTerminationRequest([&w] { w.form->Closing->terminationRequested(); });
            w.dialogs.answerQuestion(2);
            ::raise(SIGTERM);
            QTRY_COMPARE(w.dialogs.questions.size(), 1);
            QTest::qWait(100);
            wentOn = !w.form->isVisible();
        }
        QCOMPARE(w.dialogs.questions.size(), questions);
        QCOMPARE(wentOn, goesOn);
        // Saved, or kept for the next start.
        w.form->Recovery->waitForWriter();
        QCOMPARE(QFile::exists(copy), !goesOn);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // The desktop's logout asks as closing does where the session manager
    // allows it; where not, the recovery copy is brought up to date.
    void logoutAsksWhereItMay_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("how"); // "ask", "quiet": a logout that allows a question or none;
                                          // "checkpoint": the session's state saved, the session goes on
        QTest::addColumn<int>("answer");  // 0 Save, 1 Discard, 2 Cancel; -1 nothing asked
        QTest::addColumn<bool>("ends");
        const QString edits = "click Z 1; type 7; click X 2; wait; click Z 3; type 8; click X 1";
        QTest::newRow("no changes: ends without a question") << "" << "ask" << -1 << true;
        QTest::newRow("no question allowed: ends, the copy holds the last change") << edits << "quiet" << -1 << true;
        QTest::newRow("Cancel: the session goes on") << edits << "ask" << 2 << false;
        QTest::newRow("Discard: ends, and its close asks no second time") << edits << "ask" << 1 << true;
        QTest::newRow("Save: saved, then ends") << edits << "ask" << 0 << true;
        QTest::newRow("a checkpoint: the copy holds the last change, a close asks as ever")
            << edits << "checkpoint" << 2 << false;
    }
    void logoutAsksWhereItMay()
    {
        QFETCH(QString, actions);
        QFETCH(QString, how);
        QFETCH(int, answer);
        QFETCH(bool, ends);
        const TUserDataFolder userData;
        TUndoWorld w;
        w.play(actions);
        const QString path = w.dir.filePath(QStringLiteral("logout.bms"));
        if (answer >= 0)
            w.dialogs.answerQuestion(answer);
        w.dialogs.answerSave(path);
        if (how == "checkpoint") {
            w.form->Closing->sessionStateSaved();
            QVERIFY(!w.form->close());
        } else {
            QCOMPARE(w.form->Closing->sessionMayEnd(how == "ask"), ends);
        }
        QCOMPARE(w.dialogs.questions.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(QFile::exists(path), answer == 0);
        const QString copy = w.form->Recovery->copyPath();
        if (ends) {
            // The session's end quits the program.
            QVERIFY(w.form->Closing->quitRequested());
            QCOMPARE(w.dialogs.questions.size(), answer >= 0 ? 1 : 0);
        }
        // Only a session ended without a question leaves a copy; it holds the last change.
        const bool keeps = !actions.isEmpty() && how != "ask";
        QCOMPARE(QFile::exists(copy), keeps || !ends);
        if (keeps)
            QCOMPARE(TRecoveryState::fromBytes(readAll(copy), copy).rows.at(2)[T::ColZ], QStringLiteral("8"));
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // A map another program changed since it was loaded is overwritten by a
    // save only when the user says so; the other program's bytes stay else.
    void mapChangedOnDiskIsOverwrittenOnlyWhenAsked_data()
    {
        QTest::addColumn<QString>("meanwhile"); // done to the map file after the Load
        QTest::addColumn<int>("answer");        // 0 Overwrite, 1 Cancel; -1 nothing asked
        QTest::addColumn<bool>("written");
        QTest::newRow("unchanged on the disk: saved without asking") << "" << -1 << true;
        QTest::newRow("changed, Overwrite: saved") << "change" << 0 << true;
        QTest::newRow("changed, Cancel: the other program's bytes stay") << "change" << 1 << false;
        QTest::newRow("removed meanwhile: saved without asking") << "remove" << -1 << true;
    }
    void mapChangedOnDiskIsOverwrittenOnlyWhenAsked()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, answer);
        QFETCH(bool, written);
        TUndoWorld w;
        const QString path = w.form->Document.BmsPath;
        const QByteArray other = "written by another program";
        if (meanwhile == "change") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(other) == other.size());
        } else if (meanwhile == "remove") {
            QVERIFY(QFile::remove(path));
        }
        w.act(QStringLiteral("Add"));
        if (answer >= 0)
            w.dialogs.answerQuestion(answer);
        w.dialogs.answerSave(path);
        QTest::mouseClick(w.form->Button7, Qt::LeftButton);
        QCOMPARE(w.dialogs.questions.size(), answer < 0 ? 0 : 1);
        if (answer >= 0)
            QCOMPARE(w.dialogs.questions.first().text,
                     path + QStringLiteral(" was changed by another program since it was opened. Overwrite it?"));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes != other && !bytes.isEmpty(), written);
        QCOMPARE(w.form->windowTitle().endsWith(" *"), !written);
        QVERIFY(w.dialogs.errors.isEmpty());
    }

    // A run killed with unsaved changes leaves a recovery copy; the next
    // start restores them on the map as loaded, as one step, marked unsaved:
    // the windows and a quick save are those of the run that was not killed.
    void recoveredChangesComeBackAsTheyWereLeft_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<bool>("mapThere"); // the map file is still there at the restart
        QTest::newRow("typing with a range fill, a cell not yet a number")
            << "select X 1 3; type 6553600; click Z 5; click Y 2; type 12a" << true;
        QTest::newRow("rows added and deleted, a right-click move") << "Add; click Z 2; Del; right 200 300" << true;
        QTest::newRow("an Import") << "import" << true;
        QTest::newRow("a terrain and a picture chosen in the Save Map dialog")
            << "trn other.trn; click X 2; type 5; picture d vlmre.pcx" << true;
        QTest::newRow("header boxes, map names and Map Data")
            << "terrain 0; mode 1; saveMode 3; NG; name Fourth; mapData X1" << true;
        QTest::newRow("the map file gone: restored on the copy's header")
            << "select X 1 3; type 6553600; click Z 5; Add; name Fourth" << false;
    }
    void recoveredChangesComeBackAsTheyWereLeft()
    {
        QFETCH(QString, actions);
        QFETCH(bool, mapThere);
        const TUserDataFolder userData;
        const QTemporaryDir base;
        TUndoWorld w;
        const QByteArray loadedBytes = quickSaveOf(w.dialogs, *w.form, w.dir.filePath("loaded.bms"));
        const QString map = w.form->Document.BmsPath; // the file saved is the open map
        w.play(actions);
        const QByteArray copy = leftRecoveryCopy(w);
        QVERIFY(!copy.isEmpty());
        QStringList unreadable;
        QVERIFY(TRecoveryCopy::leftBehind(unreadable).isEmpty()); // held while its program runs
        const QStringList edited = w.shown();
        const QByteArray editedBytes = quickSaveOf(w.dialogs, *w.form, w.dir.filePath("edited.bms"));
        const QStringList editedErrors = w.dialogs.errors; // a cell not a number: no save
        // A save that wrote all the changes removes the copy (a quick save writes no Map Data).
        w.form->Recovery->waitForWriter();
        QCOMPARE(QFile::exists(w.form->Recovery->copyPath()), w.form->windowTitle().endsWith(" *"));
        putLeftCopy(copy);
        if (!mapThere)
            QVERIFY(QFile::remove(map));

        TFakeDialogs dialogs;
        dialogs.answerQuestion(0);
        std::unique_ptr<TForm1> again = startAgain(dialogs, w, base.path() + u'/');
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions[0].buttons,
                 (QStringList{"Restore", mapThere ? "Discard" : "Keep aside"}));
        if (mapThere)
            QCOMPARE(dialogs.questions[0].text,
                     "Vellumar was not closed normally. Restore the unsaved changes to \"" + map + "\"?");
        std::swap(w.form, again); // the world now shows the new run, in the same view
        w.setView(1, 0, 0);
        QCOMPARE(w.shown(), edited);
        QVERIFY(w.form->windowTitle().endsWith(" *"));
        QCOMPARE(w.form->Document.Journal.count(), mapThere ? 1 : 0);
        QCOMPARE(quickSaveOf(dialogs, *w.form, w.dir.filePath("restored.bms")), editedBytes);
        if (mapThere) {
            w.form->undoStep();
            QCOMPARE(quickSaveOf(dialogs, *w.form, w.dir.filePath("undone.bms")), loadedBytes);
        }
        QCOMPARE(dialogs.errors, editedErrors);
        std::swap(w.form, again);
        w.form->Recovery->finish();
        again.reset();
        QVERIFY(QDir(RecoveryFolder()).entryList({"*.state"}, QDir::Files).isEmpty()); // a normal end
    }

    // The restored map is the open map, also where the run that left the copy
    // had loaded another one: the caption and "BMS File" name it, "Save"
    // proposes it and writes it unasked, and the batch packs it.
    void theRestoredMapIsTheOpenMap()
    {
        const TUserDataFolder userData;
        const QTemporaryDir base;
        TUndoWorld w;
        const QString loaded = w.form->Document.BmsPath;
        const QByteArray loadedBytes = readAll(loaded);
        const QString mine = w.dir.filePath(QStringLiteral("mymap2.bms"));
        QVERIFY(QFile::copy(loaded, mine));
        w.dialogs.answerOpen(mine);
        QTest::mouseClick(w.form->Form3->B_BMSloc, Qt::LeftButton); // "..." beside "BMS File"
        w.play(QStringLiteral("click Z 1; type 7; click X 2"));
        putLeftCopy(leftRecoveryCopy(w));

        TFakeDialogs dialogs;
        dialogs.answerQuestion(0); // Restore
        const std::unique_ptr<TForm1> again = startAgain(dialogs, w, base.path() + u'/');
        again->ShortPaths = [](const std::vector<std::string> &paths) { return paths; };
        QCOMPARE(again->windowTitle(), again->SavedCaption + " \"" + mine + "\" *");
        QCOMPARE(again->Form3->E_BMSfile->text(), mine);
        dialogs.answerSave(mine);
        QVERIFY(again->Button7Click());
        QCOMPARE(dialogs.saveRequests.last().fileName, mine);
        QCOMPARE(dialogs.questions.size(), 1); // only the offer
        // The edits went into the restored map; the map loaded first is as it was.
        QCOMPARE(readAll(loaded), loadedBytes);
        QVERIFY(readAll(mine) != loadedBytes);
        const QByteArray batch = readAll(w.dir.filePath(QStringLiteral("!VLMR_Repack.bat")));
        QVERIFY2(batch.startsWith("pack.exe kzbase.pff " + mine.toLocal8Bit() + "\r\n"), batch.constData());
        QVERIFY(dialogs.errors.isEmpty());
        again->Recovery->finish();
    }

    // At the start: a copy that cannot be read is reported and kept aside; a
    // copy another running program holds is not offered; Discard removes it.
    void recoveryCopiesAtTheStart_data()
    {
        QTest::addColumn<QString>("copy"); // "whole", "cut", "changed byte", "foreign", "held"
        QTest::addColumn<int>("answer");   // to the question, -1 none asked
        QTest::addColumn<QString>("after"); // what is in the recovery folder then: "none", "kept", "copy"
        QTest::newRow("Discard removes the copy") << "whole" << 1 << "none";
        QTest::newRow("a copy of the first version, without the terrain, is offered") << "first version" << 1 << "none";
        QTest::newRow("the question closed unanswered keeps it for the next start") << "whole" << -2 << "copy";
        QTest::newRow("a copy cut short is reported and kept aside") << "cut" << -1 << "kept";
        QTest::newRow("a damaged copy is reported and kept aside") << "changed byte" << -1 << "kept";
        QTest::newRow("a file of another kind is reported and kept aside") << "foreign" << -1 << "kept";
        QTest::newRow("the copy of a program that runs is not offered") << "held" << -1 << "copy";
        QTest::newRow("a map-name index out of range: reported and kept aside")
            << "value: map-name index 5000" << -1 << "kept";
        QTest::newRow("a terrain type beyond the box's three: reported and kept aside")
            << "value: terrain type 3" << -1 << "kept";
        QTest::newRow("a current row beyond the rows: reported and kept aside") << "value: current row 6" << -1 << "kept";
        QTest::newRow("a row beyond the objects: reported and kept aside") << "value: a sixth row" << -1 << "kept";
#ifndef Q_OS_WIN // the killed program is a child made with fork
        QTest::newRow("the lock a killed program left without its copy goes") << "lock only" << -1 << "none";
#endif
    }
    void recoveryCopiesAtTheStart()
    {
        QFETCH(QString, copy);
        QFETCH(int, answer);
        QFETCH(QString, after);
        const TUserDataFolder userData;
        const QTemporaryDir base;
        TUndoWorld w;
        w.play(QStringLiteral("click Z 1; type 7; click X 2"));
        QByteArray bytes = leftRecoveryCopy(w);
        const QString held = w.form->Recovery->copyPath();
        if (copy != "held") {
            w.form->Recovery->finish();
            if (copy == "cut")
                bytes.chop(9);
            else if (copy == "changed byte")
                bytes[bytes.size() - 30] = char(bytes[bytes.size() - 30] ^ 1);
            else if (copy == "foreign")
                bytes = "a note that is no copy\n";
            else if (copy == "first version")
                bytes = firstVersionCopy(TRecoveryState::fromBytes(bytes, held));
            if (copy.startsWith("value: ")) {
                // Its fingerprint made anew, as any program can.
                TRecoveryState s = TRecoveryState::fromBytes(bytes, held);
                if (copy.endsWith("map-name index 5000"))
                    s.header.mapNameIndex = 5000;
                else if (copy.endsWith("terrain type 3"))
                    s.header.terrainTypeIndex = 3;
                else if (copy.endsWith("current row 6"))
                    s.currentRow = 6;
                else if (copy.endsWith("a sixth row")) {
                    s.rows << s.rows.last();
                    s.added << false;
                }
                bytes = s.toBytes();
            }
#ifndef Q_OS_WIN
            if (copy == "lock only")
                putLeftLockOnly();
            else
#endif
                putLeftCopy(bytes);
        }
        TFakeDialogs dialogs;
        if (answer != -1)
            dialogs.answerQuestion(answer);
        const std::unique_ptr<TForm1> again = startAgain(dialogs, w, base.path() + u'/');
        QCOMPARE(dialogs.questions.size(), answer == -1 ? 0 : 1);
        QVERIFY(!again->mapLoaded());
        const QStringList copies = QDir(RecoveryFolder()).entryList({"*.state"}, QDir::Files);
        const QStringList kept = QDir(RecoveryFolder() + "kept").entryList({"*.state"}, QDir::Files);
        QCOMPARE(copies.size(), after == "copy" ? 1 : 0);
        QCOMPARE(kept.size(), after == "kept" ? 1 : 0);
        QCOMPARE(dialogs.errors.size(), after == "kept" ? 1 : 0);
        if (after == "kept") {
            QVERIFY2(dialogs.errors[0].startsWith("The recovery copy cannot be read"), qPrintable(dialogs.errors[0]));
            QVERIFY(dialogs.errors[0].contains(RecoveryFolder() + "kept/" + kept[0]));
        }
        if (copy == "held")
            QVERIFY(QFile::exists(held));
        // No lock is left but that of the program that runs.
        QCOMPARE(filesIn(RecoveryFolder(), "*.lock").size(), copy == "held" ? 1 : 0);
    }

    // Every change reaches the recovery copy, its write planned at most 0.8 s
    // after it (the write itself is the tens of milliseconds bench_recovery
    // measures), also in a stretch of typing, and the first change after a
    // save. The plan, not the clock, is checked: on a busy test machine the
    // event loop itself may run late.
    void everyChangeReachesTheCopyWithinASecond_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::newRow("2222 typed into a cell") << "click Z 1; typing 2222";
        QTest::newRow("2222 typed and Enter") << "click Z 1; typing 2222; Return";
        QTest::newRow("the first change after a save")
            << "click Z 1; type 5; click X 2; wait; save saved.bms; click Z 2; type 6; click X 3";
        QTest::newRow("a marker moved and a map name changed right after")
            << "click Z 2; right 200 300; pause; name Fourth";
        QTest::newRow("a copy that could not replace the last one")
            << "click Z 1; type 5; click X 2; wait; click Z 2; type 6; click X 3; failedWrite";
    }
    void everyChangeReachesTheCopyWithinASecond()
    {
        QFETCH(QString, actions);
        const TUserDataFolder userData;
        TUndoWorld w;
        w.play(actions);
        QTRY_VERIFY_WITH_TIMEOUT(copyHoldsTheDocument(*w.form), 10000);
        QCOMPARE_LE(w.form->Recovery->longestPlannedWait(), TRecoveryKeeper::DefaultInterval);
        QVERIFY(w.dialogs.errors.isEmpty());
        // One copy not written is no failure to tell the user of.
        QVERIFY2(!w.form->Form6->L_Text1->text().contains("recovery copy"), qPrintable(w.form->Form6->L_Text1->text()));
    }

    // A map saved, undone back to the saved point or reset leaves nothing in
    // the recovery folder, not even the copy's lock, while the program runs.
    void nothingIsLeftInTheRecoveryFolder_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("saved") << "save saved.bms";
        QTest::newRow("undone back to the map as loaded") << "undo";
        QTest::newRow("reset, its changes discarded") << "Reset";
    }
    void nothingIsLeftInTheRecoveryFolder()
    {
        QFETCH(QString, ending);
        const TUserDataFolder userData;
        TUndoWorld w;
        w.play(QStringLiteral("click Z 1; type 7; click X 2; wait"));
        QCOMPARE(filesIn(RecoveryFolder(), "*").size(), 2); // the copy and its lock
        w.play(ending);
        w.form->Recovery->waitForWriter();
        QCOMPARE(filesIn(RecoveryFolder(), "*"), QStringList());
        QVERIFY(w.dialogs.errors.isEmpty());
    }
};

VELLUMAR_TEST(TestUndo)
#include "tst_undo.moc"
