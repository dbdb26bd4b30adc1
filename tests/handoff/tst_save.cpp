// Saving through the real windows: "Save all && Do ----->" of the Save Map
// dialog and the main window's quick save, checked on the files they leave.
#include "builders.h"
#include "fakedialogs.h"
#include "ordinaryuser.h"
#include "testregistry.h"

#include "userdatafolder.h"

#include "app/mainwindow.h"
#include "handoff/savemapdialog.h"
#include "recovery/recoverykeeper.h"
#include "recovery/recoverystate.h"
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

    // A file written and renamed over the old one whose folder cannot be
    // flushed afterwards (an ordinary user's folder that may be written but
    // not read) is saved: "Saved" with a warning naming the files, every
    // file written, and the map's stamps taken, so the next save does not
    // ask whether another program changed it.
    void aFolderNotFlushedIsNoFailedSave_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("saveAll");
        QTest::addColumn<QStringList>("named"); // the files the warning names, by their world's names
        QTest::newRow("the map's folder, quick save") << "kzbase" << false << QStringList{"list", "map"};
        QTest::newRow("the terrain text's folder, Save all") << "kz" << true << QStringList{"trn"};
        QTest::newRow("the batch's folder, quick save") << "game dir" << false << QStringList{"batch"};
    }
    void aFolderNotFlushedIsNoFailedSave()
    {
        QFETCH(QString, folder);
        QFETCH(bool, saveAll);
        QFETCH(QStringList, named);
        TSaveWorld w;
        openToEveryone(w.dir.path());
        setMode(w.dir.filePath(folder), 0333);
        const QString result = asOrdinaryUser([&] {
            const auto save = [&] {
                if (saveAll) {
                    w.form->Form3->SaveAllAndDo();
                } else {
                    w.dialogs.answerSave(w.mapPath);
                    w.form->Button7Click();
                }
            };
            save();
            const TForm6 &info = *w.form->Form6;
            const QString said = info.windowTitle() + u'|' + info.L_Text1->text() + u'|' + info.L_Text2->text();
            save(); // the map as this program wrote it: nothing to ask
            return QStringLiteral("%1 questions\n").arg(w.dialogs.questions.size()) + said + u'\n'
                + w.dialogs.errors.join(u'|');
        });
        setMode(w.dir.filePath(folder), 0777);
        const QMap<QString, QString> paths{
            {"trn", w.trnPath}, {"list", w.listPath}, {"map", w.mapPath}, {"batch", w.batchPath}};
        QStringList files;
        for (const QString &n : named)
            files << paths[n];
        QCOMPARE(result, "0 questions\nSaved|Saved, but the folder could not be flushed to the disk:|"
                             + files.join(QStringLiteral(", ")) + u'\n');
        QCOMPARE(build::readFile(w.mapPath), w.savedMap(w.objects, "MPNAME02"));
        QCOMPARE(build::readFile(w.batchPath), w.batch(w.mapPath));
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
        // The file written is the open map now, and the batch packs it.
        QCOMPARE(w.form->Document.BmsPath, copy);
        QCOMPARE(build::readFile(w.batchPath), w.batch(copy));
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

    // The file a save writes is the open map from then on: the next "Save"
    // proposes it, the caption, "BMS File", the batch and the recovery copy
    // name it. "Save" replaces another file only when the user says so.
    void aSaveMakesItsFileTheOpenMap_data()
    {
        QTest::addColumn<QString>("target"); // "new", "open" (the loaded map) or "other" (a file there)
        QTest::addColumn<bool>("quickSave");
        QTest::addColumn<int>("answer");     // to "Replace it?": 0 Replace, 1 Cancel; -1 not asked
        QTest::newRow("Save as a new file: unasked, the new file is the open map") << "new" << true << -1;
        QTest::newRow("Save over the open map: unasked") << "open" << true << -1;
        QTest::newRow("Save over another map, Replace: the other file is the open map") << "other" << true << 0;
        QTest::newRow("Save over another map, Cancel: nothing written, the loaded map stays open")
            << "other" << true << 1;
        QTest::newRow("Save all over another map in BMS File: unasked, as ever") << "other" << false << -1;
    }
    void aSaveMakesItsFileTheOpenMap()
    {
        QFETCH(QString, target);
        QFETCH(bool, quickSave);
        QFETCH(int, answer);
        const TUserDataFolder userData;
        TSaveWorld w;
        const QString path = target == "open" ? w.mapPath : w.base + target + ".bms";
        if (target == "other")
            build::file(w.dir, "kzbase/other.bms", "another map");
        const QByteArray before = build::readFile(path);
        // A Map Data text the quick save does not write keeps the map unsaved,
        // and its recovery copy, written before the save, with it.
        if (quickSave) {
            w.saveDialog().RichEdit1->appendPlainText("NOT SAVED");
            w.form->Recovery->writeDue();
            w.form->Recovery->waitForWriter();
        }
        if (answer >= 0)
            w.dialogs.answerQuestion(answer);
        if (quickSave) {
            w.dialogs.answerSave(path);
            QTest::mouseClick(w.form->Button7, Qt::LeftButton);
        } else {
            w.saveDialog().E_BMSfile->setText(path);
            QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);
        }

        QCOMPARE(w.dialogs.errors, QStringList());
        QCOMPARE(w.dialogs.questions.size(), answer >= 0 ? 1 : 0);
        if (answer >= 0) {
            const TQuestion &q = w.dialogs.questions.first();
            QCOMPARE(q.text, path + " already exists. Replace it?");
            QCOMPARE(q.buttons, (QStringList{"Replace", "Cancel"}));
            QCOMPARE(q.defaultButton, 1);
            QCOMPARE(q.escapeButton, 1);
        }
        const bool written = answer != 1;
        QCOMPARE(build::readFile(path) == before, !written);
        const QString open = written ? path : w.mapPath;
        QCOMPARE(w.saveDialog().E_BMSfile->text(), open);
        QCOMPARE(w.form->windowTitle(), w.form->SavedCaption + " \"" + open + (quickSave ? "\" *" : "\""));
        QCOMPARE(build::readFile(w.batchPath), written ? w.batch(open) : QByteArray("old batch\r\n"));
        if (quickSave) {
            w.form->Recovery->writeDue();
            w.form->Recovery->waitForWriter();
            const QString copy = w.form->Recovery->copyPath();
            QCOMPARE(TRecoveryState::fromBytes(build::readFile(copy), copy).bmsPath, open);
        }
        // Edited and saved again: the dialog proposes the open map.
        w.form->C_NG->click();
        w.dialogs.cancelSave();
        QTest::mouseClick(w.form->Button7, Qt::LeftButton);
        QCOMPARE(w.dialogs.saveRequests.last().fileName, open);
    }

    // Objects whose item number has no category are left out of the file: the
    // save names them and asks before it writes anything.
    void leftOutRowsAreNamed_data()
    {
        QTest::addColumn<QList<int>>("rows"); // rows given an item number without a category
        QTest::addColumn<bool>("quickSave");
        QTest::addColumn<int>("answer");      // 0 Save, 1 Cancel
        QTest::addColumn<QString>("question");
        QTest::newRow("one row, by the quick save, Save")
            << QList<int>{2} << true << 0
            << "1 object has an item number outside the categories and will not be saved (row 2). Save without it?";
        QTest::newRow("neighbouring rows as ranges, by Save all, Save")
            << QList<int>{1, 2, 4, 5, 6, 8} << false << 0
            << "6 objects have item numbers outside the categories and will not be saved (rows 1-2, 4-6, 8). "
               "Save without them?";
        QTest::newRow("Cancel writes no file")
            << QList<int>{3, 5} << true << 1
            << "2 objects have item numbers outside the categories and will not be saved (rows 3, 5). "
               "Save without them?";
        QTest::newRow("a long list names its first ten runs and counts the rest")
            << QList<int>{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 20, 21, 25, 29} << false << 0
            << "14 objects have item numbers outside the categories and will not be saved (rows 1, 3, 5, 7, 9, "
               "11, 13, 15, 17, 19-21 and 2 more). Save without them?";
    }
    void leftOutRowsAreNamed()
    {
        QFETCH(QList<int>, rows);
        QFETCH(bool, quickSave);
        QFETCH(int, answer);
        QFETCH(QString, question);
        TSaveWorld w;
        TObjectTable &table = w.form->Document.Table;
        const int count = qMax(8, rows.last());
        while (w.form->Document.ObjectCount < count) // more decorations
            QTest::mouseClick(w.form->Button9, Qt::LeftButton);
        for (int r : rows)
            table.setCell(TObjectTable::ColObject, r, r % 2 ? "999" : "8000");
        const auto before = snapshot(w);
        w.dialogs.answerQuestion(answer);
        if (quickSave) {
            w.dialogs.answerSave(w.mapPath);
            QTest::mouseClick(w.form->Button7, Qt::LeftButton);
        } else {
            QTest::mouseClick(w.saveDialog().Button1, Qt::LeftButton);
        }
        QCOMPARE(w.dialogs.errors, QStringList());
        QCOMPARE(w.dialogs.questions.size(), 1);
        const TQuestion &q = w.dialogs.questions.first();
        QCOMPARE(q.text, question);
        QCOMPARE(q.buttons, (QStringList{"Save", "Cancel"}));
        QCOMPARE(q.defaultButton, 0);
        QCOMPARE(q.escapeButton, 1);
        if (answer == 1) {
            QCOMPARE(snapshot(w), before);
            QVERIFY(!w.form->Form6->isVisible());
            QVERIFY(!w.form->Document.Journal.isClean());
            return;
        }
        QVERIFY(w.savedShown());
        QCOMPARE(build::readFile(w.mapPath).size(), 252 + (count - rows.size()) * 96 + 1 + 20127);
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
