// The main window: start-up, Load, Reset and the map-name box, driven as a
// user drives them, with game data built in a temporary directory.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/extendedwindows.h"
#include "app/mainwindow.h"
#include "app/programstart.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/objectviewwindow.h"
#include "editing/objectgrid.h"
#include "handoff/savemapdialog.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray sampleFile(const char *relative)
{
    return readAll(QStringLiteral(VELLUMAR_SAMPLES "/") + QLatin1String(relative));
}

// A program directory and a game-data set: kz/ holds the terrain, kzbase/ the
// maps and the name list.
struct GameData {
    QTemporaryDir dir;
    QString program, kz, base, game, work;

    explicit GameData(bool withSettings = true)
    {
        for (const char *d : {"prog", "kz", "kzbase", "game", "work"})
            QDir(dir.path()).mkdir(QString::fromLatin1(d));
        program = dir.filePath(QStringLiteral("prog/"));
        kz = dir.filePath(QStringLiteral("kz/"));
        base = dir.filePath(QStringLiteral("kzbase/"));
        game = dir.filePath(QStringLiteral("game/"));
        work = dir.filePath(QStringLiteral("work/"));
        build::file(dir, QStringLiteral("prog/item.ini"), "2001\r\nJeep\r\n6002\r\nStart\r\n");
        build::file(dir, QStringLiteral("prog/kzmap.dat"), build::trailer());
        if (withSettings)
            writeSettings();
        build::file(dir, QStringLiteral("kz/vlmrtest.trn"), sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx"})
            build::file(dir, QStringLiteral("kz/") + QLatin1String(p), sampleFile("kz/vlmrd.pcx"));
        build::file(dir, QStringLiteral("kzbase/kzmpname.bin"), build::nameList({"First", "Second", "Third"}));
    }
    void writeSettings()
    {
        build::file(dir, QStringLiteral("prog/kzmap.ini"),
                    (kz + "\r\n" + base + "\r\n" + game + "\r\n" + work + "\r\n\r\n59\r\n00\r\n").toLocal8Bit());
    }
    QString map(const QString &name, build::Header h, const QList<build::Object> &objects)
    {
        h.terrain = "vlmrtest.trn";
        return build::file(dir, QStringLiteral("kzbase/") + name, build::map(h, objects, QByteArray(1, '\0') + build::trailer()));
    }
};

struct Program {
    TFakeDialogs dialogs;
    std::unique_ptr<TForm1> form;
    Program(GameData &data, const QString &commandLine = QString())
    {
        form = std::make_unique<TForm1>(dialogs, commandLine, data.program);
        form->createWindows();
    }
    // The program as main() starts it, windows shown.
    Program(const QStringList &arguments, GameData &data) { form = StartProgram(dialogs, arguments, data.program); }
    bool loaded() const { return form->Button1->isHidden() && !form->Button8->isHidden(); }
};

// What the main window holds at the moment it first shows.
struct FirstShowWatcher : QObject {
    bool shown = false;
    bool loaded = false;
    bool objectViewCreated = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *form = qobject_cast<TForm1 *>(watched);
        if (form && event->type() == QEvent::Show && !shown) {
            shown = true;
            loaded = form->Button1->isHidden() && !form->Button8->isHidden();
            objectViewCreated = form->Form7 != nullptr;
        }
        return false;
    }
};

// A file as a test left it: its bytes, or "<directory>".
QByteArray onDisk(const QString &path)
{
    return QFileInfo(path).isDir() ? QByteArray("<directory>") : readAll(path);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstStartOpensSetupInsteadOfLoading()
    {
        GameData data(false);
        {
            Program p(data);
            QVERIFY(!p.form->Store.SettingsComplete);
            QTest::mouseClick(p.form->Button1, Qt::LeftButton);
            QVERIFY(p.form->Form2->isVisible());
            QVERIFY(!p.form->isEnabled());
            QVERIFY(p.dialogs.openRequests.isEmpty());
            QTest::mouseClick(p.form->Form2->Button3, Qt::LeftButton); // Ok
            QVERIFY(p.form->isEnabled());
        }
        const QList<QByteArray> lines = readAll(data.program + "kzmap.ini").split('\n');
        QCOMPARE(lines.size(), 8); // seven CR LF lines
        QCOMPARE(lines[5], QByteArray("59\r"));
    }

    void commandLineWithoutSettingsOpensSetup()
    {
        GameData data(false);
        const QString path = data.map(QStringLiteral("a.bms"), {}, {{2001, 1}});
        Program p(data, path);
        QVERIFY(!p.loaded());
        QVERIFY(p.form->Form2->isVisible());
        QVERIFY(!p.form->isEnabled());
        QCOMPARE(p.form->Document.ObjectCount, 0);
        p.form->Form2->Edit1->setText(data.kz);
        p.form->Form2->Edit2->setText(data.base);
        p.form->Form2->Edit3->setText(data.game);
        p.form->Form2->Edit4->setText(data.work);
        QTest::mouseClick(p.form->Form2->Button3, Qt::LeftButton);
        QTest::mouseClick(p.form->Button1, Qt::LeftButton); // the command-line file, no dialog
        QVERIFY(p.loaded());
        QVERIFY(p.dialogs.openRequests.isEmpty());
    }

    void exitWithoutSettingsWritesEmptyLines()
    {
        GameData data(false);
        { Program p(data); }
        QCOMPARE(readAll(data.program + "kzmap.ini"), QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n00\r\n"));
    }

    void commandLineMapLoadsBeforeTheWindowShows()
    {
        GameData data;
        build::Header h;
        h.mapKey = "MPNAME02";
        h.gameTypes = 2;
        h.nightGoggles = 17;
        const QString path = data.map(QStringLiteral("a.bms"), h,
                                      {{2001, 7, 131072 * 100, -131072 * 50}, {6002, 8, 131072 * 300, -131072 * 250, 0, 20}});
        FirstShowWatcher watcher;
        qApp->installEventFilter(&watcher);
        Program p({QStringLiteral("vellumar"), path}, data);
        qApp->removeEventFilter(&watcher);
        QVERIFY(watcher.shown);
        QVERIFY(watcher.objectViewCreated);
        QVERIFY(watcher.loaded);
        QVERIFY(p.form->isVisible());
        QVERIFY(p.loaded());
        QVERIFY(p.dialogs.openRequests.isEmpty());
        QCOMPARE(p.form->windowTitle(), QStringLiteral("Vellumar (v1.1.0 Final Rev.:482) \"%1\"").arg(path));
        QCOMPARE(p.form->Document.ObjectCount, 2);
        QCOMPARE(p.form->Document.Table.cell(3, 1), QStringLiteral("Jeep"));
        QCOMPARE(p.form->ComboBox2->currentText(), QStringLiteral("Second"));
        QVERIFY(p.form->CheckBox[1]->isChecked());
        QVERIFY(p.form->Form3->CheckBox[1]->isChecked());
        QVERIFY(p.form->C_NG->isChecked());
        QVERIFY(p.form->Form5->isVisible());
        QCOMPARE(p.form->Form3->E_BMSfile->text(), path);
        QCOMPARE(p.form->Form3->E_TRNFile->text(), data.kz + "vlmrtest.trn");
        QVERIFY(p.form->Form3->RichEdit1->toPlainText().startsWith(QStringLiteral("; Vellumar sample terrain")));
        QVERIFY(p.form->StringGrid1->isEnabled());
        QVERIFY(p.form->Button7->isEnabled());
        // Centred on the mean of (100, 50) and (300, 250) over three: offsets 256 - 133, 256 - 100.
        QCOMPARE(p.form->MapView->View.ViewOffsetX, 256 - 400 / 3);
        QCOMPARE(p.form->MapView->View.ViewOffsetY, -300 / 3 + 256);
        QCOMPARE(p.form->MapView->Markers[1]->topLeft(), QPoint(256 - 133 + 100, 156 + 50));

        // Every later Load shows the open dialog, proposing the same file, so
        // another map can be opened.
        QTest::mouseClick(p.form->Button8, Qt::LeftButton);
        QVERIFY(!p.loaded());
        const QString other = data.map(QStringLiteral("b.bms"), h, {{2001, 9}});
        p.dialogs.answerOpen(other);
        QTest::mouseClick(p.form->Button1, Qt::LeftButton);
        QVERIFY(p.loaded());
        QCOMPARE(p.dialogs.openRequests.size(), 1);
        QCOMPARE(p.dialogs.openRequests[0].fileName, path);
        QCOMPARE(p.form->Document.Table.cell(1, 1), QStringLiteral("9"));
        p.form->hide();
    }

    void mapWithoutObjects()
    {
        GameData data;
        const QString path = data.map(QStringLiteral("empty.bms"), {}, {});
        Program p(data);
        p.dialogs.answerOpen(path);
        QTest::mouseClick(p.form->Button1, Qt::LeftButton);
        QVERIFY(p.loaded());
        QCOMPARE(p.dialogs.openRequests[0].filter, QStringLiteral("BMS Files (*.BMS)|*.BMS"));
        QCOMPARE(p.dialogs.openRequests[0].initialDir, data.base);
        QCOMPARE(p.form->Document.Table.RowCount(), 1);
        QCOMPARE(p.form->StringGrid1->model()->rowCount(), 0);
        QCOMPARE(p.form->MapView->View.ViewOffsetX, 256);
        QCOMPARE(p.form->MapView->View.ViewOffsetY, 256);
    }

    void exportTakesTheOpenEditAndImportTheSetupField()
    {
        GameData data;
        const QString path = data.map(QStringLiteral("a.bms"), {}, {{2001, 7}, {6002, 8, 131072 * 10, -131072 * 10}});
        Program p(data, path);
        p.form->show();
        p.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.form.get()));
        // A value still being typed in a cell is what the export writes.
        const QModelIndex x1 = p.form->StringGrid1->model()->index(0, TObjectTable::ColX);
        p.form->StringGrid1->setCurrentIndex(x1);
        p.form->StringGrid1->edit(x1);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != p.form->StringGrid1);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("262144"));
        p.form->B_Export->click(); // a click that leaves the focus in the editor
        QCOMPARE(readAll(data.work + "export.txt"),
                 QByteArray("7;2001;Jeep;262144;0;0;0;0;0;0;\r\n8;6002;Start;1310720;-1310720;0;0;0;0;0;\r\n"));
        QCOMPARE(p.form->Form6->windowTitle(), QStringLiteral("Export OK"));
        QCOMPARE(p.form->Form6->L_Text1->text(), QStringLiteral("Ok, the Table is exported to \"export.txt\" in the Work-Dir."));
        QCOMPARE(p.form->Form6->L_Text2->text(), QString());

        // Import reads with the separator the Setup field holds, though it
        // was never confirmed; the markers go to the imported places.
        p.form->Form2->E_IESA->setText(QStringLiteral("44"));
        p.dialogs.answerOpen(build::file(data.dir, QStringLiteral("work/edited.txt"),
                                         "7,2001,Jeep,-2621440,2621440,0,0,0,0,0,\r\n8,6002,Start,0,0,0,0,0,0,0,\r\n"));
        QTest::mouseClick(p.form->B_Import, Qt::LeftButton);
        const TFileRequest &asked = p.dialogs.openRequests.last();
        QCOMPARE(asked.filter, QStringLiteral("VLMR DataList (*.txt)|*.txt"));
        QCOMPARE(asked.initialDir, data.work);
        QCOMPARE(asked.fileName, data.work + "export.txt");
        QCOMPARE(p.form->Document.Table.cell(TObjectTable::ColX, 1), QStringLiteral("-2621440"));
        QCOMPARE(p.form->Store.Settings.SeparatorCode, QStringLiteral("59"));
        const TViewState &v = p.form->MapView->View;
        QCOMPARE(p.form->MapView->Markers[1]->topLeft(), QPoint(v.ViewOffsetX - 20 * v.Zoom, v.ViewOffsetY - 20 * v.Zoom));
        QCOMPARE(p.form->MapView->Markers[2]->topLeft(), QPoint(v.ViewOffsetX, v.ViewOffsetY));
    }

    void terrainTypeSelectsTheBoxEntry_data()
    {
        QTest::addColumn<int>("terrainType");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1 is Desert") << 1 << "Desert";
        QTest::newRow("2 is Snow") << 2 << "Snow";
        QTest::newRow("3 has no entry and shows Jungle") << 3 << "Jungle";
        QTest::newRow("7 shows Jungle") << 7 << "Jungle";
    }
    void terrainTypeSelectsTheBoxEntry()
    {
        QFETCH(int, terrainType);
        QFETCH(QString, shown);
        GameData data;
        build::Header h;
        h.terrainType = std::uint8_t(terrainType);
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("t.bms"), h, {{2001, 1}}));
        p.form->Button1Click();
        QCOMPARE(p.form->ComboBox1->currentText(), shown);
    }

    void missingTerrainFile()
    {
        GameData data;
        build::Header h;
        Program p(data);
        QByteArray bytes = build::map(h, {{2001, 1}});
        bytes.replace(84, 12, QByteArray("gone.trn\0\0\0\0", 12));
        const QString path = build::file(data.dir, QStringLiteral("kzbase/m.bms"), bytes);
        p.dialogs.answerOpen(path);
        p.dialogs.cancelOpen();
        p.form->Button1Click();
        QCOMPARE(p.dialogs.openRequests[1].title, QStringLiteral("gone.trn not found!"));
        QCOMPARE(p.dialogs.openRequests[1].filter, QStringLiteral("TRN Dateien (*.TRN)|*.TRN"));
        QCOMPARE(p.dialogs.openRequests[1].fileName, data.kz + "gone.trn");
        QVERIFY(!p.loaded());
        QCOMPARE(p.form->windowTitle(), QStringLiteral("Vellumar (v1.1.0 Final Rev.:482)"));
        QCOMPARE(p.form->Document.Header.TerrainFile(), QByteArray(12, '\0'));

        // A terrain file whose name does not fit the header is refused.
        const QString longName = build::file(data.dir, QStringLiteral("kz/much_too_long.trn"), sampleFile("kz/vlmrtest.trn"));
        p.dialogs.answerOpen(path);
        p.dialogs.answerOpen(longName);
        p.form->Button1Click();
        QCOMPARE(p.dialogs.errors.size(), 1);
        QVERIFY(p.dialogs.errors[0].contains(QStringLiteral("much_too_long.trn")));
        QVERIFY(!p.loaded());

        // So is one with a character beyond the game's 8-bit text, which the
        // field would keep as '?'.
        const QString cjkName = build::file(data.dir, QStringLiteral("kz/\u5730\u5F62.trn"), sampleFile("kz/vlmrtest.trn"));
        p.dialogs.answerOpen(path);
        p.dialogs.answerOpen(cjkName);
        p.form->Button1Click();
        QCOMPARE(p.dialogs.errors.size(), 2);
        QVERIFY2(p.dialogs.errors[1].contains(QStringLiteral("\"\u5730\u5F62.trn\"")), qPrintable(p.dialogs.errors[1]));
        QVERIFY(!p.loaded());
        QCOMPARE(p.form->Document.Header.TerrainFile(), QByteArray(12, '\0'));

        // One that fits is taken into the header.
        const QString picked = build::file(data.dir, QStringLiteral("kz/other.trn"), sampleFile("kz/vlmrtest.trn"));
        p.dialogs.answerOpen(path);
        p.dialogs.answerOpen(picked);
        p.form->Button1Click();
        QVERIFY(p.loaded());
        QCOMPARE(p.form->Document.Header.terrainFileName(), QStringLiteral("other.trn"));
        QCOMPARE(p.form->Document.TrnPath, picked);
    }

    void missingNameList()
    {
        GameData data;
        QFile::remove(data.base + "kzmpname.bin");
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("m.bms"), {}, {{2001, 1}}));
        p.form->Button1Click();
        QVERIFY(!p.loaded());
        QVERIFY(p.form->Form6->isVisible());
        QCOMPARE(p.form->Form6->windowTitle(), QStringLiteral("Error"));
        QCOMPARE(p.form->Form6->L_Text1->text(), QStringLiteral("Error, File \"KZMPNAME.BIN\" is missing!"));
        QCOMPARE(p.form->Form6->L_Text2->text(), QStringLiteral("Check, have you extract this File from the kzbase.pff"));
        QCOMPARE(p.form->Document.ObjectCount, 0);
        QVERIFY(p.dialogs.errors.isEmpty());
    }

    void mapKeyWithoutNameShowsAttention()
    {
        GameData data;
        build::Header h;
        h.mapKey = "        ";
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("m.bms"), h, {{2001, 1}}));
        p.form->Button1Click();
        QVERIFY(p.loaded());
        QCOMPARE(p.form->Form6->windowTitle(), QStringLiteral("Attention!"));
        QCOMPARE(p.form->ComboBox2->currentText(), QStringLiteral("First"));
    }

    void failedLoadReturnsToEmpty()
    {
        GameData data;
        Program p(data);
        QByteArray bytes = build::map({}, {{2001, 1}, {2002, 2}}, {});
        bytes.replace(84, 12, QByteArray("vlmrtest.trn", 12));
        bytes.chop(20);
        p.dialogs.answerOpen(build::file(data.dir, QStringLiteral("kzbase/cut.bms"), bytes));
        p.form->Button1Click();
        QCOMPARE(p.dialogs.errors.size(), 1);
        QVERIFY(p.dialogs.errors[0].startsWith(QStringLiteral("Read beyond end of file")));
        QVERIFY(!p.loaded());
        QCOMPARE(p.form->Document.ObjectCount, 0);
        QVERIFY(p.form->MapView->Markers[1] == nullptr);
        QVERIFY(!p.form->StringGrid1->isEnabled());
        QCOMPARE(p.form->windowTitle(), QStringLiteral("Vellumar (v1.1.0 Final Rev.:482)"));
    }

    void resetThenLoadKeepsNothingOfTheFirstMap()
    {
        GameData data;
        build::Header first;
        first.mapKey = "MPNAME03";
        first.gameTypes = 1 | 2 | 32;
        first.nightGoggles = 17;
        first.opaque = QByteArray(40, 'F');
        build::Header second;
        second.mapKey = "MPNAME01";
        second.gameTypes = 0;
        second.nightGoggles = 16;
        second.opaque = QByteArray(40, 'S');
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("1.bms"), first, {{2001, 1}, {2001, 2}, {2001, 3}}));
        p.form->Button1Click();
        QCOMPARE(p.form->Document.ObjectCount, 3);
        QTest::mouseClick(p.form->Button8, Qt::LeftButton);
        QVERIFY(!p.form->Form5->isVisible());
        QCOMPARE(p.form->ComboBox2->count(), 0);
        for (QCheckBox *b : p.form->CheckBox)
            QVERIFY(!b->isChecked() && !b->isEnabled());
        p.dialogs.answerOpen(data.map(QStringLiteral("2.bms"), second, {{6002, 9}}));
        QTest::mouseClick(p.form->Button1, Qt::LeftButton);
        QVERIFY(p.loaded());
        QCOMPARE(p.form->Document.ObjectCount, 1);
        QCOMPARE(p.form->Document.Header.MapKey(), QByteArray("MPNAME01"));
        QCOMPARE(p.form->Document.Header.OpaqueText(), QByteArray(40, 'S'));
        QCOMPARE(p.form->Document.Table.cell(1, 1), QStringLiteral("9"));
        QCOMPARE(p.form->Document.Table.RowCount(), 2);
        for (int i = 0; i < 6; ++i)
            QVERIFY(!p.form->CheckBox[i]->isChecked() && !p.form->Form3->CheckBox[i]->isChecked());
        QVERIFY(!p.form->C_NG->isChecked());
        QVERIFY(p.form->MapView->Markers[2] == nullptr);
        QCOMPARE(p.form->ComboBox2->currentText(), QStringLiteral("First"));
    }

    void picturesChosenInTheSaveDialogAreShownByTheMapButtons()
    {
        GameData data;
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("m.bms"), {}, {{2001, 1}}));
        p.form->Button1Click();
        const QString depth = build::file(data.dir, QStringLiteral("kz/newdepth.pcx"),
                                          sampleFile("kz/vlmrs.pcx"));
        p.dialogs.answerOpen(depth);
        QTest::mouseClick(p.form->Form3->Button3, Qt::LeftButton); // "Depth Map"
        QCOMPARE(p.form->Document.terrain().ElevationMapPath, depth);
        QTest::mouseClick(p.form->MapView->Button2, Qt::LeftButton); // "c"
        const QImage colour = p.form->MapView->Panel1->MImage1.picture();
        QTest::mouseClick(p.form->MapView->Button3, Qt::LeftButton); // "d"
        QVERIFY(p.dialogs.errors.isEmpty());
        QVERIFY(p.form->MapView->Panel1->MImage1.picture() != colour);
    }

    void mapNameBox()
    {
        GameData data;
        Program p(data);
        p.dialogs.answerOpen(data.map(QStringLiteral("m.bms"), {}, {{2001, 1}}));
        p.form->Button1Click();
        p.form->show();
        QComboBox *box = p.form->ComboBox2;
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("Fourth"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->currentIndex(), 3);
        QCOMPARE(p.form->Document.mapNames().RememberedNameIndex, 3);
        p.dialogs.answerQuestion(0); // Delete
        QTest::mouseClick(p.form->B_delmpname, Qt::LeftButton);
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->currentText(), QStringLiteral("Third"));
        p.form->hide();
    }

    // "Del" renumbers the names after the deleted one in the list every map
    // shares: it asks first, naming the map's name.
    void deletingAMapNameAsksFirst_data()
    {
        QTest::addColumn<int>("answer"); // 0 Delete, 1 Cancel
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Delete: the name goes, the names after it move up") << 0 << QStringList{"First", "Third"};
        QTest::newRow("Cancel: the list stays as it was") << 1 << QStringList{"First", "Second", "Third"};
    }
    void deletingAMapNameAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        GameData data;
        build::Header h;
        h.mapKey = "MPNAME02";
        Program p(data, data.map(QStringLiteral("m.bms"), h, {{2001, 1}}));
        p.dialogs.answerQuestion(answer);
        QTest::mouseClick(p.form->B_delmpname, Qt::LeftButton);
        QCOMPARE(p.dialogs.questions.size(), 1);
        const TQuestion &q = p.dialogs.questions.first();
        QCOMPARE(q.text, QStringLiteral("Deleting \"Second\" renumbers the names after it; maps that use those names "
                                        "will show other names in the game. Delete it?"));
        QCOMPARE(q.buttons, (QStringList{"Delete", "Cancel"}));
        QCOMPARE(q.defaultButton, 1);
        QCOMPARE(q.escapeButton, 1);
        QStringList shown;
        for (int i = 0; i < p.form->ComboBox2->count(); ++i)
            shown << p.form->ComboBox2->itemText(i);
        QCOMPARE(shown, names);
        QCOMPARE(p.form->Document.Journal.count(), answer == 0 ? 1 : 0);
    }

    // The "Export OK" message does not take the keys: Enter after a click on
    // "Export" opens the current cell's editor, and the message stays.
    void exportLeavesTheKeysToTheTable()
    {
        GameData data;
        Program p(data, data.map(QStringLiteral("a.bms"), {}, {{2001, 7}}));
        p.form->show();
        p.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.form.get()));
        TObjectGrid *grid = p.form->StringGrid1;
        const QModelIndex x1 = grid->model()->index(0, TObjectTable::ColX);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(x1).center());
        QTest::mouseClick(p.form->B_Export, Qt::LeftButton);
        QTRY_VERIFY(p.form->Form6->isVisible());
        QTest::qWait(50); // what the window system does with the new window
        QCOMPARE(QApplication::activeWindow(), p.form.get());
        QCOMPARE(QApplication::focusWidget(), grid);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(grid->indexWidget(x1));
        QVERIFY(p.form->Form6->isVisible());
        p.form->commitTableEdit();
        p.form->hide();
    }

    // Second is the map's name; a text typed over it, Enter or not, then Tab.
    void mapNameBoxKeepsTheTypedTextUntilLeft_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("count");    // entries after the keys
        QTest::addColumn<QString>("left"); // the box's text once it was left
        QTest::newRow("Enter on a name in the list keeps the typed text until the box is left")
            << "Third" << true << 3 << "Second";
        QTest::newRow("Enter on a new name adds it and keeps it") << "Fourth" << true << 4 << "Fourth";
        QTest::newRow("a name typed without Enter goes when the box is left") << "Fou" << false << 3 << "Second";
    }
    void mapNameBoxKeepsTheTypedTextUntilLeft()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(int, count);
        QFETCH(QString, left);
        GameData data;
        Program p(data);
        build::Header h;
        h.mapKey = "MPNAME02";
        p.dialogs.answerOpen(data.map(QStringLiteral("m.bms"), h, {{2001, 1}}));
        p.form->Button1Click();
        p.form->show();
        p.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.form.get()));
        QComboBox *box = p.form->ComboBox2;
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), typed);
        if (enter)
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), typed);
        QCOMPARE(box->count(), count);
        QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(box->currentText(), left);
        p.form->hide();
    }

    // Faults found with malformed and unreadable files: what the user sees,
    // and the file on disk after the program ended.
    void faultsAtStartAndLoad_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("file");   // under the temporary directory
        QTest::addColumn<QString>("error");  // part of the error box's text; empty: none
        QTest::addColumn<bool>("loads");     // Load with the open dialog answered and the terrain search cancelled
        QTest::newRow("a directory named kzmap.ini is reported, taken as missing and left") << "settings dir" << "prog/kzmap.ini" << "prog/kzmap.ini" << false;
        QTest::newRow("a kzmap.ini with a line longer than any path is reported and kept") << "settings line" << "prog/kzmap.ini" << "prog/kzmap.ini" << false;
        QTest::newRow("a path byte 0xE9 in kzmap.ini comes back as one byte") << "settings byte" << "prog/kzmap.ini" << "" << true;
        QTest::newRow("a directory named item.ini is reported and the program goes on") << "items dir" << "prog/item.ini" << "prog/item.ini" << true;
        QTest::newRow("an item.ini of megabytes of line ends is refused") << "items line ends" << "prog/item.ini" << "more than 10000 items" << true;
        QTest::newRow("an empty terrain name asks for the terrain; cancelled, only the document is reset") << "no terrain name" << "kzbase/m.bms" << "" << false;
        QTest::newRow("a missing name list resets only the document") << "no name list" << "kzbase/kzmpname.bin" << "" << false;
    }
    void faultsAtStartAndLoad()
    {
        QFETCH(QString, fault);
        QFETCH(QString, file);
        QFETCH(QString, error);
        QFETCH(bool, loads);
        GameData data;
        const QString path = data.dir.filePath(file);
        QString map = data.map(QStringLiteral("m.bms"), {}, {{2001, 1}});
        if (fault == "settings dir") {
            QFile::remove(path);
            QDir().mkdir(path);
        } else if (fault == "settings line") {
            build::file(data.dir, file, QByteArray(TSettingsStore::MaxLineLength + 1, 'p') + "\r\n");
        } else if (fault == "settings byte") {
            build::file(data.dir, file, (data.kz + "\r\n" + data.base + "\r\n" + data.game + "\r\n" + data.work).toLatin1()
                                            + "\r\nC:\\Bilder\\caf\xe9\\\r\n59\r\n10\r\n");
        } else if (fault == "items dir") {
            QFile::remove(path);
            QDir().mkdir(path);
        } else if (fault == "items line ends") {
            build::file(data.dir, file, QByteArray(4 << 20, '\n'));
        } else if (fault == "no terrain name") {
            QByteArray bytes = readAll(map);
            bytes.replace(84, 12, QByteArray(12, '\0'));
            map = build::file(data.dir, file, bytes);
        } else if (fault == "no name list") {
            QFile::remove(path);
        }
        const QByteArray before = onDisk(path);
        {
            Program p(data);
            QCOMPARE(p.dialogs.errors.size(), error.isEmpty() ? 0 : 1);
            if (!error.isEmpty())
                QVERIFY2(p.dialogs.errors[0].contains(error.startsWith("prog/") ? data.dir.filePath(error) : error),
                         qPrintable(p.dialogs.errors[0]));
            p.dialogs.answerOpen(map);
            p.dialogs.cancelOpen(); // the terrain search, if asked
            p.form->Button1Click();
            QCOMPARE(p.loaded(), loads);
            QCOMPARE(p.dialogs.errors.size(), error.isEmpty() ? 0 : 1);
            if (fault.startsWith("settings") && !loads)
                QVERIFY(p.form->Form2->isVisible()); // taken as missing: Load opens Setup
            if (fault == "no terrain name")
                QCOMPARE(p.dialogs.openRequests.value(1).title, QStringLiteral(" not found!"));
            if (fault.startsWith("items"))
                QCOMPARE(p.form->Document.Table.cell(3, 1), QString()); // no catalogue: no name
            // Load's own stops leave the zoom slider as it was at start (the
            // main window itself is disabled while Setup shows).
            QVERIFY(p.form->MapView->ScrollBar1->isEnabledTo(p.form.get()));
        }
        QCOMPARE(onDisk(path), before);
    }

    void tableFollowsTheWidth()
    {
        GameData data;
        Program p(data);
        p.form->show();
        p.form->resize(1200, 600);
        QCOMPARE(p.form->StringGrid1->width(), 645);
        p.form->resize(900, 600);
        QCOMPARE(p.form->StringGrid1->width(), 645);
        QCOMPARE(p.form->maximumHeight(), 600);
        QCOMPARE(p.form->minimumWidth(), 800);
        p.form->hide();
    }

    // "Extended": the Save Map dialog (outer 650 by 280) below the main
    // window, kept within the screen's available area.
    void saveMapDialogPlace_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("dialog");
        QTest::newRow("room below: the dialog's top at the main window's bottom, left edges level")
            << QRect(0, 0, 1920, 1080) << QRect(459, 100, 1002, 630) << QPoint(459, 730);
        QTest::newRow("a 1400 by 900 screen: the dialog moves up to end at its bottom")
            << QRect(0, 0, 1400, 900) << QRect(199, 135, 1002, 630) << QPoint(199, 620);
        QTest::newRow("a panel along the bottom: the dialog ends above it")
            << QRect(0, 0, 1400, 860) << QRect(199, 115, 1002, 630) << QPoint(199, 580);
        QTest::newRow("a main window partly left of the screen: the dialog keeps to its left edge")
            << QRect(0, 0, 1920, 1080) << QRect(-50, 100, 1002, 630) << QPoint(0, 730);
        QTest::newRow("a second screen below the first: its own bottom counts")
            << QRect(0, 1080, 1920, 1080) << QRect(459, 1300, 1002, 630) << QPoint(459, 1880);
    }
    void saveMapDialogPlace()
    {
        QFETCH(QRect, area);
        QFETCH(QRect, main);
        QFETCH(QPoint, dialog);
        QCOMPARE(SaveMapDialogPlace(main, QSize(650, 280), area), dialog);
    }

    // The first Load puts the list beside the main window; once the user has
    // moved either, "L", Reset and Load leave both where the user put them,
    // the list only brought back onto the screen.
    void itemListOpensBesideTheMainWindowOnce_data()
    {
        QTest::addColumn<QPoint>("listMovedBy");   // after the first Load
        QTest::addColumn<QPoint>("mainMovedBy");
        QTest::addColumn<QString>("shownAgainBy"); // "L" or "Load"
        QTest::newRow("the list moved and hidden: L shows it where the user put it")
            << QPoint(-200, 0) << QPoint() << "L";
        QTest::newRow("the main window moved: the next Load leaves it there") << QPoint() << QPoint(-60, -40) << "Load";
        QTest::newRow("both moved: Reset and Load leave both") << QPoint(-300, 0) << QPoint(-20, 20) << "Load";
        QTest::newRow("the list dragged off the screen comes back to its edge")
            << QPoint(-5000, -5000) << QPoint() << "L";
    }
    void itemListOpensBesideTheMainWindowOnce()
    {
        QFETCH(QPoint, listMovedBy);
        QFETCH(QPoint, mainMovedBy);
        QFETCH(QString, shownAgainBy);
        GameData data;
        Program p(data);
        p.form->show();
        const QString map = data.map(QStringLiteral("a.bms"), {}, {{2001, 1}});
        p.dialogs.answerOpen(map);
        QTest::mouseClick(p.form->Button1, Qt::LeftButton);
        TForm5 &list = *p.form->Form5;
        QVERIFY(list.isVisible());
        const QRect area = p.form->screen()->availableGeometry();
        // Beside the main window and on the screen, never over the map.
        QVERIFY(area.contains(list.frameGeometry()));
        QCOMPARE(list.frameGeometry().top(), p.form->frameGeometry().top());
        QVERIFY(list.frameGeometry().left() >= p.form->geometry().left() + 536);

        list.move(list.frameGeometry().topLeft() + listMovedBy);
        p.form->move(p.form->frameGeometry().topLeft() + mainMovedBy);
        const QPoint mainAt = p.form->frameGeometry().topLeft();
        // Off the screen to the top left, it comes back to the screen's corner.
        const QPoint listAt = area.contains(list.frameGeometry()) ? list.frameGeometry().topLeft() : area.topLeft();
        if (shownAgainBy == QLatin1String("L")) {
            list.hide();
            QTest::mouseClick(p.form->Button12, Qt::LeftButton);
        } else {
            QTest::mouseClick(p.form->Button8, Qt::LeftButton); // Reset hides the list
            p.dialogs.answerOpen(map);
            QTest::mouseClick(p.form->Button1, Qt::LeftButton);
        }
        QVERIFY(list.isVisible());
        QCOMPARE(p.form->frameGeometry().topLeft(), mainAt);
        QCOMPARE(list.frameGeometry().topLeft(), listAt);
        QVERIFY(area.contains(list.frameGeometry()));
        p.form->hide();
    }

    void controlsAtStart()
    {
        GameData data;
        Program p(data);
        TForm1 &f = *p.form;
        QCOMPARE(f.width(), 1000);
        for (QWidget *w : std::initializer_list<QWidget *>{f.Button6, f.Button1, f.MapView->ScrollBar1, f.BitBtn1, f.PBar1, f.MapView->C_10, f.MapView->C_70})
            QVERIFY(w->isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{f.Button7, f.Button11, f.StringGrid1, f.ComboBox1, f.ComboBox2, f.E_search,
                                                           f.MapView->E_Zoom, f.MapView->Button5, f.Button12})
            QVERIFY(!w->isEnabled());
        QVERIFY(f.Button8->isHidden());
        QVERIFY(f.ComboBox3->isHidden());
        QCOMPARE(f.StringGrid1->geometry(), QRect(537, 23, 441, 513));
        QCOMPARE(f.MapView->Panel1->geometry(), QRect(24, 24, 512, 512));
        QCOMPARE(f.ComboBox2->geometry(), QRect(644, 539, 145, 21));
        QCOMPARE(f.ComboBox2->currentText(), QStringLiteral("KZ Mapname"));
        QCOMPARE(f.Document.Table.headerData(7, Qt::Horizontal).toString(), QStringLiteral("Horz-Angel"));
        QCOMPARE(f.StringGrid1->columnWidth(10), 96);
        // Reset leaves the zoom slider disabled, unlike the start.
        f.Button8Click();
        QVERIFY(!f.MapView->ScrollBar1->isEnabled());
    }
};

VELLUMAR_TEST(TestMainWindow)
#include "tst_mainwindow.moc"
