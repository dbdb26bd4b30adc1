// Saving through the real windows: "Save all && Do ----->" of the Save Map
// dialog and the main window's quick save, checked on the files they leave.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "handoff/savemapdialog.h"
#include "document/objecttable.h"
#include "settings/infowindow.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program directory and a game installation whose folder has blanks in its
// name, with a loaded map of three objects (a decoration, a vehicle, a
// deathmatch start) named by the list's second name.
struct TSaveWorld {
    QTemporaryDir dir;
    QString program, kz, base, game;
    QString mapPath, trnPath, listPath, batchPath;
    TFakeDialogs dialogs;
    std::unique_ptr<TForm1> form;
    build::Header header;
    QList<build::Object> objects{{1001, 1, 100, 200}, {2001, 2, 300, 400}, {6002, 3, 500, 600}};

    TSaveWorld()
    {
        for (const char *d : {"prog", "kz", "kzbase", "game dir"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        program = dir.filePath("prog/");
        kz = dir.filePath("kz/");
        base = dir.filePath("kzbase/");
        game = dir.filePath("game dir/");
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        build::file(dir, "prog/kzmap.dat", build::trailer());
        build::file(dir, "prog/kzmap.ini",
                    (kz + "\r\n" + base + "\r\n" + game + "\r\n" + base + "\r\n\r\n59\r\n00\r\n").toLocal8Bit());
        trnPath = build::file(dir, "kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx", "vlmrs.pcx", "other.pcx"})
            build::file(dir, QStringLiteral("kz/") + QLatin1String(p), build::sampleFile("kz/vlmrd.pcx"));
        listPath = build::file(dir, "kzbase/kzmpname.bin", build::nameList({"First", "Second", "Third"}));
        header.mapKey = "MPNAME02";
        header.terrain = "vlmrtest.trn";
        header.gameTypes = 2; // DM
        mapPath = build::file(dir, "kzbase/save.bms", build::map(header, objects, QByteArray(1, '\0') + build::trailer()));
        batchPath = build::file(dir, "game dir/!VLMR_Repack.bat", "old batch\r\n");

        form = std::make_unique<TForm1>(dialogs, QString(), program);
        form->createWindows();
        // The batch names the files by a recognisable short form of existing files.
        form->ShortPaths = [](const std::vector<std::string> &paths) {
            std::vector<std::string> out;
            for (const std::string &p : paths)
                out.push_back(QFile::exists(QString::fromStdString(p)) ? "SHORT:" + p : p);
            return out;
        };
        dialogs.answerOpen(mapPath);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QTest::mouseClick(form->Button11, Qt::LeftButton); // "Extended": the Save Map dialog
    }
    TForm3 &saveDialog() { return *form->Form3; }

    // The header the save writes for the three objects.
    QByteArray savedMap(QList<build::Object> written, const QByteArray &mapKey) const
    {
        build::Header h = header;
        h.mapKey = mapKey;
        h.vehObj = 1;
        h.decoBuild = 1;
        h.markEff = 1;
        h.s6002 = 1;
        // Category order 20, 40, 10, 30, 60, 50, 70: the vehicle first.
        written.move(1, 0);
        return build::map(h, written, QByteArray(1, '\0') + build::trailer(), false);
    }
    QByteArray batch(const QString &bms) const
    {
        QByteArray text;
        for (const QString &line : {"pack.exe kzbase.pff " + bms, "pack.exe kzbase.pff " + listPath,
                                    "pack.exe kz.pff " + trnPath, "pack.exe kz.pff " + kz + "vlmrc.pcx",
                                    "pack.exe kz.pff " + kz + "vlmre.pcx", "pack.exe kz.pff " + kz + "vlmrd.pcx",
                                    "pack.exe kz.pff " + kz + "vlmrs.pcx"})
            text += QString(line).replace(dir.path(), "SHORT:" + dir.path()).toLocal8Bit() + "\r\n";
        return text;
    }
    bool savedShown() const
    {
        return form->Form6->isVisible() && form->Form6->windowTitle() == "Saved"
            && form->Form6->L_Text1->text() == "File is saved and Batch \"!VLMR_reapck.bat\""
            && form->Form6->L_Text2->text() == "was created in the KZ-Main dir.";
    }
};

// The files a save may change, by name.
QMap<QString, QByteArray> snapshot(const TSaveWorld &w)
{
    return {{"trn", build::readFile(w.trnPath)}, {"list", build::readFile(w.listPath)}, {"map", build::readFile(w.mapPath)},
            {"batch", build::readFile(w.batchPath)}};
}

} // namespace

class TestSave : public QObject {
    Q_OBJECT
private slots:
    void saveAllWritesEveryFile()
    {
        TSaveWorld w;
        // A picture chosen with "Color Map" rewrites line 3 of the Map Data text.
        w.dialogs.answerOpen(w.kz + "other.pcx");
        QTest::mouseClick(w.saveDialog().Button2, Qt::LeftButton);
        // A new name confirmed with Enter becomes the map's name.
        w.form->ComboBox2->setFocus();
        w.form->ComboBox2->lineEdit()->selectAll();
        QTest::keyClicks(w.form->ComboBox2->lineEdit(), "Fourth");
        QTest::keyClick(w.form->ComboBox2->lineEdit(), Qt::Key_Return);
        // An X typed into a cell whose editor is still open is what the map gets.
        w.form->show();
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        const QModelIndex x = w.form->StringGrid1->model()->index(0, 4);
        w.form->StringGrid1->setCurrentIndex(x);
        w.form->StringGrid1->edit(x);
        QWidget *editor = w.form->StringGrid1->indexWidget(x);
        QVERIFY(editor);
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, "777");
        QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);

        QVERIFY(w.dialogs.errors.isEmpty());
        QList<QByteArray> trn = build::sampleFile("kz/vlmrtest.trn").split('\n');
        trn[3] = trn[3].left(18) + "other\r";
        QCOMPARE(build::readFile(w.trnPath), trn.join('\n'));
        QCOMPARE(build::readFile(w.listPath), build::nameList({"First", "Second", "Third", "Fourth"}));
        QList<build::Object> edited = w.objects;
        edited[0].x = 777;
        QCOMPARE(build::readFile(w.mapPath), w.savedMap(edited, "MPNAME04"));
        QCOMPARE(build::readFile(w.batchPath),
                 QByteArray(w.batch(w.mapPath)).replace("vlmrc.pcx", "other.pcx"));
        QVERIFY(w.savedShown());
        QVERIFY(w.saveDialog().isVisible());

        // Saved again unchanged, the terrain text stays as it is.
        const QByteArray trnBefore = build::readFile(w.trnPath);
        QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);
        QCOMPARE(build::readFile(w.trnPath), trnBefore);
    }

    void quickSaveWritesTheChosenFileAndNoTerrainText()
    {
        TSaveWorld w;
        w.saveDialog().RichEdit1->appendPlainText("NOT SAVED");
        const QString copy = w.base + "copy.bms";
        w.dialogs.answerSave(copy);
        QTest::mouseClick(w.form->Button7, Qt::LeftButton);

        QCOMPARE(w.dialogs.saveRequests.size(), 1);
        const TFileRequest &asked = w.dialogs.saveRequests.first();
        QCOMPARE(asked.filter, "KZ Map Files (*.BMS)|*.bms");
        QCOMPARE(asked.initialDir, w.base);
        QCOMPARE(asked.fileName, w.mapPath); // SaveName
        QVERIFY(w.dialogs.errors.isEmpty());
        QCOMPARE(build::readFile(copy), w.savedMap(w.objects, "MPNAME02"));
        QCOMPARE(build::readFile(w.trnPath), build::sampleFile("kz/vlmrtest.trn"));
        // BmsPath stays the loaded map, and the batch packs it.
        QCOMPARE(w.form->Document.BmsPath, w.mapPath);
        QCOMPARE(build::readFile(w.batchPath), w.batch(w.mapPath));
        QVERIFY(w.savedShown());
        QVERIFY(w.form->isEnabled());
    }

    void failureLeavesTheFilesAsTheyWere_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message"); // a part of the error text
        QTest::addColumn<QStringList>("changed");
        QTest::newRow("a cell that is no number, named by row and column")
            << "cell" << "'12a' is not a valid integer value (row 2, column \"Radius\")" << QStringList();
        QTest::newRow("kzmap.dat missing beside the program") << "trailer" << "kzmap.dat" << QStringList();
        QTest::newRow("a map name longer than 40 characters") << "long name" << "kzmpname.bin" << QStringList();
        QTest::newRow("the 100th name chosen as the map's name") << "100th name" << "MPNAME99" << QStringList();
        QTest::newRow("a terrain file name over 12 characters") << "trn name" << "at most 12" << QStringList();
        QTest::newRow("a terrain file name beyond the game's 8-bit text, named")
            << "trn cjk" << "\"\u5730\u5F62.trn\"" << QStringList();
        QTest::newRow("the map file's folder does not exist") << "map folder" << "nowhere/x.bms" << QStringList();
        QTest::newRow("the game folder does not exist") << "game folder" << "nogame/!VLMR_Repack.bat" << QStringList();
        QTest::newRow("a map file the system cannot create stops after the name list")
            << "map name" << "File access denied" << QStringList{"trn", "list"};
    }
    void failureLeavesTheFilesAsTheyWere()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(QStringList, changed);
        TSaveWorld w;
        TForm3 &d = w.saveDialog();
        // Every file would change if it were written.
        d.RichEdit1->appendPlainText("NEW LINE");
        const auto names = [&w](const std::function<void(TMapNameBox &)> &change) {
            w.form->Document.changeMapNames(change);
        };
        names([](TMapNameBox &n) { n.items.append("Fourth"); });
        w.form->C_NG->setChecked(true);
        if (fault == "cell")
            w.form->Document.Table.setCell(9, 2, "12a");
        else if (fault == "trailer")
            QFile::remove(w.program + "kzmap.dat");
        else if (fault == "long name")
            names([](TMapNameBox &n) { n.items.append(QByteArray(41, 'n')); });
        else if (fault == "100th name") {
            names([](TMapNameBox &n) {
                while (n.items.size() < 100)
                    n.items.append("More");
                n.selected = 99;
            });
        } else if (fault == "trn name") {
            d.E_TRNFile->setText(w.kz + "longername13.trn");
        } else if (fault == "trn cjk") {
            d.E_TRNFile->setText(w.kz + "\u5730\u5F62.trn");
        } else if (fault == "map folder")
            d.E_BMSfile->setText(w.base + "nowhere/x.bms");
        else if (fault == "game folder")
            w.form->Store.Settings.GameMainDir = w.dir.filePath("nogame/");
        else if (fault == "map name")
            d.E_BMSfile->setText(w.base + QString(300, u'x') + ".bms");
        const auto before = snapshot(w);
        QTest::mouseClick(d.Button1, Qt::LeftButton);

        QCOMPARE(w.dialogs.errors.size(), 1);
        QVERIFY2(w.dialogs.errors.first().contains(message), qPrintable(w.dialogs.errors.first()));
        const auto after = snapshot(w);
        for (const QString &file : before.keys())
            QVERIFY2((after[file] != before[file]) == changed.contains(file), qPrintable(file));
        QVERIFY(!w.form->Form6->isVisible());
    }

    void autoRepackWithoutWineSaysSoAndKeepsTheFiles()
    {
        TSaveWorld w;
        QTemporaryDir emptyPath;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", emptyPath.path().toLocal8Bit());
        w.saveDialog().C_AutoRepack->setChecked(true);
        QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);
        qputenv("PATH", path);
        QCOMPARE(w.dialogs.errors, QStringList{"The program " + w.batchPath + " was not executed"});
        QCOMPARE(build::readFile(w.batchPath), w.batch(w.mapPath));
        QVERIFY(w.savedShown());
    }

    // Objects whose item number has no category are left out of the file, and
    // the message after "Saved" says which.
    void leftOutRowsAreNamed_data()
    {
        QTest::addColumn<QList<int>>("rows"); // rows given an item number without a category
        QTest::addColumn<bool>("quickSave");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("one row, by the quick save")
            << QList<int>{2} << true << "1 row left out: its item number has no category" << "Row 2";
        QTest::newRow("neighbouring rows as a range, by Save all")
            << QList<int>{1, 2, 4, 5, 6, 8} << false << "6 rows left out: their item numbers have no category"
            << "Rows 1-2, 4-6, 8";
    }
    void leftOutRowsAreNamed()
    {
        QFETCH(QList<int>, rows);
        QFETCH(bool, quickSave);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        TSaveWorld w;
        TObjectTable &table = w.form->Document.Table;
        for (int r = 4; r <= 8; ++r) // five more decorations
            QTest::mouseClick(w.form->Button9, Qt::LeftButton);
        QCOMPARE(w.form->Document.ObjectCount, 8);
        for (int r : rows)
            table.setCell(TObjectTable::ColObject, r, r % 2 ? "999" : "8000");
        if (quickSave) {
            w.dialogs.answerSave(w.mapPath);
            QTest::mouseClick(w.form->Button7, Qt::LeftButton);
        } else {
            QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);
        }
        QCOMPARE(w.dialogs.errors, QStringList());
        const TForm6 &info = *w.form->Form6;
        QVERIFY(info.isVisible());
        QCOMPARE(info.windowTitle(), "Saved");
        QCOMPARE(info.L_Text1->text(), line1);
        QCOMPARE(info.L_Text2->text(), line2);
        QVERIFY(info.L_Text1->fontMetrics().horizontalAdvance(line1) <= info.L_Text1->width());
        QCOMPARE(build::readFile(w.mapPath).size(), 252 + (8 - rows.size()) * 96 + 1 + 20127);
    }

    void chooseTerrain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("a chosen terrain is loaded and named in the header") << "other.trn" << true;
        QTest::newRow("a name over 12 characters is refused and changes nothing") << "longername13.trn" << false;
        QTest::newRow("a name beyond the game's 8-bit text is refused and changes nothing") << "\u5730\u5F62.trn" << false;
    }
    void chooseTerrain()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        TSaveWorld w;
        TForm3 &d = w.saveDialog();
        // What the choice changes, as the windows show it.
        const auto terrainShown = [&] {
            return QStringList{w.form->Document.TrnPath, d.E_TRNFile->text(),
                               QString::fromLatin1(w.form->Document.Header.TerrainFile().toHex()),
                               d.RichEdit1->toPlainText(), w.form->Document.terrain().ColourMapPath,
                               QString::number(w.form->MapView->Panel1->picture().cacheKey()),
                               w.form->windowTitle()};
        };
        const QStringList loaded = terrainShown();
        const QString chosen = build::file(w.dir, "kz/" + name,
                                           "A\r\nB\r\nC\r\nCOLORMAP ........ vlmrd\r\nELEVATIONMAP .... vlmrd\r\n"
                                           "DETAILMAP ....... vlmrd\r\n");
        w.dialogs.answerOpen(chosen);
        QTest::mouseClick(d.Button6, Qt::LeftButton);
        QCOMPARE(w.dialogs.openRequests.last().filter, "TRN Files (*.TRN)|*.TRN");
        QCOMPARE(w.dialogs.openRequests.last().initialDir, w.kz);
        QCOMPARE(w.dialogs.errors.size(), taken ? 0 : 1);
        QCOMPARE(w.form->Document.TrnPath, taken ? chosen : w.trnPath);
        QCOMPARE(d.E_TRNFile->text(), taken ? chosen : w.trnPath);
        QCOMPARE(w.form->Document.Header.TerrainFile(), QByteArray(taken ? "other.trntrn" : "vlmrtest.trn"));
        QCOMPARE(d.RichEdit1->toPlainText().startsWith("A\nB\nC\n"), taken);
        QCOMPARE(w.form->Document.terrain().ColourMapPath, w.kz + (taken ? "vlmrd.pcx" : "vlmrc.pcx"));
        // One undo step, which puts back all of it, and its redo the choice.
        QCOMPARE(w.form->Document.Journal.count(), taken ? 1 : 0);
        const QStringList afterChoice = terrainShown();
        QCOMPARE(afterChoice != loaded, taken);
        w.form->undoStep();
        QCOMPARE(terrainShown(), loaded);
        w.form->redoStep();
        QCOMPARE(terrainShown(), afterChoice);
    }

    void fileLocations()
    {
        TSaveWorld w;
        TForm3 &d = w.saveDialog();
        // "..." beside the BMS file: the chosen place, named in the main window's caption.
        const QString moved = w.dir.filePath("moved.bms");
        w.dialogs.answerOpen(moved);
        QTest::mouseClick(d.B_BMSloc, Qt::LeftButton);
        const TFileRequest &asked = w.dialogs.openRequests.last();
        QCOMPARE(asked.filter, "BMS Files (*.BMS)|*.BMS");
        QCOMPARE(asked.initialDir, w.base);
        QCOMPARE(asked.fileName, w.mapPath);
        QCOMPARE(w.form->Document.BmsPath, moved);
        QCOMPARE(w.form->windowTitle(), w.form->SavedCaption + " \"" + moved + "\"");
        // "..." beside the TRN file: a new place for the same text, nothing reloaded.
        const QStringList mapData = w.form->Document.terrain().MapData;
        w.dialogs.answerOpen(w.dir.filePath("moved.trn"));
        QTest::mouseClick(d.B_TRNloc, Qt::LeftButton);
        QCOMPARE(w.form->Document.TrnPath, w.dir.filePath("moved.trn"));
        QCOMPARE(w.form->Document.terrain().MapData, mapData);
        // Typing follows at every change.
        QTest::keyClicks(d.E_TRNFile, "x");
        QCOMPARE(w.form->Document.TrnPath, w.dir.filePath("moved.trnx"));
    }
};

// A game-type box ticked or unticked in either window, by a click or with
// Space, shows in the other window's box at once, and both ways of saving
// write it; one Ctrl+Z takes it back in both.
class TestGameTypesSaved : public QObject {
    Q_OBJECT
private slots:
    void aTickShowsInBothSetsAndIsSaved_data()
    {
        QTest::addColumn<bool>("inDialog");
        QTest::addColumn<bool>("space");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("gameTypes"); // what the saves write; the map holds DM (2)
        QTest::newRow("Cooperativ ticked with a click in the dialog") << true << false << 0 << 3;
        QTest::newRow("Deathmatch unticked with Space in the dialog") << true << true << 1 << 0;
        QTest::newRow("Coop ticked with a click in the main window") << false << false << 0 << 3;
        QTest::newRow("DM unticked with Space in the main window") << false << true << 1 << 0;
    }
    void aTickShowsInBothSetsAndIsSaved()
    {
        QFETCH(bool, inDialog);
        QFETCH(bool, space);
        QFETCH(int, box);
        QFETCH(int, gameTypes);
        TSaveWorld w;
        QCheckBox *ticked = (inDialog ? w.saveDialog().CheckBox : w.form->CheckBox)[box];
        const bool was = ticked->isChecked();
        if (space) {
            ticked->setFocus();
            QTest::keyClick(ticked, Qt::Key_Space);
        } else {
            QTest::mouseClick(ticked, Qt::LeftButton);
        }
        QCOMPARE(w.form->CheckBox[box]->isChecked(), !was);
        QCOMPARE(w.saveDialog().CheckBox[box]->isChecked(), !was);

        QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton); // "Save all"
        QCOMPARE(int(std::uint8_t(build::readFile(w.mapPath).at(MapHeader::OffGameTypes))), gameTypes);
        const QString copy = w.base + "copy.bms";
        w.dialogs.answerSave(copy);
        QTest::mouseClick(w.form->Button7, Qt::LeftButton); // the quick save
        QCOMPARE(int(std::uint8_t(build::readFile(copy).at(MapHeader::OffGameTypes))), gameTypes);
        QVERIFY(w.dialogs.errors.isEmpty());

        QTest::keyClick(w.form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.form->CheckBox[box]->isChecked(), was);
        QCOMPARE(w.saveDialog().CheckBox[box]->isChecked(), was);
    }
};

VELLUMAR_TEST(TestSave)
VELLUMAR_TEST(TestGameTypesSaved)
#include "tst_save.moc"
