// The Save Map dialog: the two hand-off options, the four map choosers, the
// chooser the terrain loader runs, the Map Data box, and the picture dialog's preview.
#include "fakedialogs.h"
#include "testregistry.h"

#include "document/mapdocument.h"
#include "fileio/errors.h"
#include "handoff/savemapdialog.h"
#include "settings/settings.h"
#include "terrain/terrainfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString SampleTerrain = QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrtest.trn");

// The program with the sample terrain read, a main window and the dialog.
struct TSaveFixture {
    TMapDocument document;
    const TTerrain &terrain = document.terrain();
    TSettingsStore store;
    TFakeDialogs dialogs;
    QWidget main;
    std::unique_ptr<TForm3> form;
    QStringList shownMaps; // what showMapFile was asked to show

    explicit TSaveFixture(const QString &saveOptions = QStringLiteral("00"))
    {
        store.Settings.GameFilesDir = QStringLiteral("/games/kz/");
        store.Settings.SaveOptions = saveOptions;
        document.editTerrain({}, [this](TTerrain &t) { ReadTerrainFile(SampleTerrain, store.Settings.GameFilesDir, t); });
        form = std::make_unique<TForm3>(document, store, dialogs, &main);
        form->showMapFile = [this](const QString &path) { shownMaps << path; };
        form->show();
    }
    QStringList boxLines() const { return form->RichEdit1->toPlainText().split(u'\n'); }
};

QPushButton *mapButton(TForm3 &form, int number)
{
    QPushButton *buttons[] = {form.Button2, form.Button3, form.Button4, form.Button5};
    return buttons[number - 2];
}

} // namespace

class TestSaveMapDialog : public QObject {
    Q_OBJECT
private slots:
    void optionRules_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clicks"); // A: Auto repack, K: KZ Auto start
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("autoRepack");
        QTest::addColumn<bool>("autoStart");
        QTest::newRow("checking KZ Auto start checks Auto repack too") << "00" << "K" << "11" << true << true;
        QTest::newRow("then unchecking Auto repack unchecks both") << "00" << "KA" << "00" << false << false;
        QTest::newRow("Auto repack alone") << "00" << "A" << "10" << true << false;
        // Also shows the boxes ticked from the stored value at creation.
        QTest::newRow("unchecking KZ Auto start leaves Auto repack") << "11" << "K" << "10" << true << false;
        QTest::newRow("a short value grows to two characters") << "" << "A" << "10" << true << false;
    }
    void optionRules()
    {
        QFETCH(QString, before);
        QFETCH(QString, clicks);
        QFETCH(QString, after);
        QFETCH(bool, autoRepack);
        QFETCH(bool, autoStart);
        TSaveFixture f(before);
        for (QChar c : clicks)
            QTest::mouseClick(c == u'A' ? f.form->C_AutoRepack : f.form->C_KZstart, Qt::LeftButton);
        QCOMPARE(f.form->C_AutoRepack->isChecked(), autoRepack);
        QCOMPARE(f.form->C_KZstart->isChecked(), autoStart);
        QCOMPARE(f.store.Settings.SaveOptions, after);
    }

    void mapChooser_data()
    {
        QTest::addColumn<int>("button");       // 2 .. 5
        QTest::addColumn<QString>("lineBefore"); // empty: the sample's line
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("lineAfter");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Color Map puts forest2 after the 18-character label")
            << 2 << "" << 3 << "COLORMAP ........ forest2" << true;
        QTest::newRow("a colour line of 10 characters keeps all 10") << 2 << "COLORMAP.." << 3 << "COLORMAP..forest2" << true;
        QTest::newRow("Depth Map rewrites line 4 and shows the picture")
            << 3 << "" << 4 << "ELEVATIONMAP .... forest2" << true;
        QTest::newRow("Detail Map rewrites line 5 and shows the picture")
            << 4 << "" << 5 << "DETAILMAP ....... forest2" << true;
        QTest::newRow("Sky Map rewrites line 9 and shows nothing") << 5 << "" << 9 << "SKYMAP .......... forest2" << false;
    }
    void mapChooser()
    {
        QFETCH(int, button);
        QFETCH(QString, lineBefore);
        QFETCH(int, line);
        QFETCH(QString, lineAfter);
        QFETCH(bool, shown);
        TSaveFixture f;
        if (!lineBefore.isEmpty()) {
            f.document.editTerrain({}, [&](TTerrain &t) { t.MapData[line] = lineBefore; });
            f.form->refreshMapData();
        }
        const QString chosen = QStringLiteral("/elsewhere/maps/forest2.pcx");
        f.dialogs.answerOpen(chosen);
        QTest::mouseClick(mapButton(*f.form, button), Qt::LeftButton);

        QCOMPARE(f.dialogs.openRequests.size(), 1);
        const TFileRequest &asked = f.dialogs.openRequests.first();
        QCOMPARE(asked.filter, QStringLiteral("PCX Files (*.PCX)|*.PCX"));
        QCOMPARE(asked.initialDir, QStringLiteral("/games/kz/"));
        QCOMPARE(asked.title, QString());
        QVERIFY(asked.picturePreview);

        const auto which = TMapPicture(button - 2);
        QCOMPARE(f.terrain.path(which), chosen);
        QCOMPARE(f.terrain.TerrainValues[valueIndexOf(which)], QStringLiteral("forest2"));
        QCOMPARE(f.terrain.MapData[line], lineAfter);
        QCOMPARE(f.boxLines().value(line), lineAfter);
        QCOMPARE(f.shownMaps, shown ? QStringList{chosen} : QStringList());
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void cancelledChooserChangesNothing()
    {
        TSaveFixture f;
        const TTerrain before = f.terrain;
        f.dialogs.cancelOpen();
        QTest::mouseClick(f.form->Button2, Qt::LeftButton);
        QCOMPARE(f.dialogs.openRequests.size(), 1);
        QCOMPARE(f.terrain.MapData, before.MapData);
        QCOMPARE(f.terrain.ColourMapPath, before.ColourMapPath);
        QCOMPARE(f.terrain.TerrainValues, before.TerrainValues);
        QVERIFY(f.shownMaps.isEmpty());
    }

    void pictureTheMapViewCannotShowReportsItsError()
    {
        TSaveFixture f;
        f.form->showMapFile = [](const QString &path) { throw TError(QString::fromLatin1(Msg::InvalidBitmap), path); };
        f.dialogs.answerOpen(QStringLiteral("/kz/broken.pcx"));
        QTest::mouseClick(f.form->Button2, Qt::LeftButton);
        QCOMPARE(f.dialogs.errors, QStringList{QStringLiteral("Bitmap image is not valid (/kz/broken.pcx)")});
        // The steps before the failure stay done.
        QCOMPARE(f.terrain.ColourMapPath, QStringLiteral("/kz/broken.pcx"));
    }

    void terrainLoaderChooser_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("fileNameAfter");
        QTest::newRow("confirmed: the chosen file comes back") << true << true << "/kz/picked.pcx";
        QTest::newRow("cancelled: the missing path comes back unchanged") << false << false << "/games/kz/vlmrc.pcx";
    }
    void terrainLoaderChooser()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, result);
        QFETCH(QString, fileNameAfter);
        TSaveFixture f;
        f.form->OpenPictureDialog1Title = QStringLiteral("Earlier title");
        if (confirm)
            f.dialogs.answerOpen(QStringLiteral("/kz/picked.pcx"));
        else
            f.dialogs.cancelOpen();
        QString fileName = QStringLiteral("/games/kz/vlmrc.pcx");
        QCOMPARE(f.form->runChooser(TMapPicture::Colour, missingPictureTitle(TMapPicture::Colour), fileName), result);
        QCOMPARE(fileName, fileNameAfter);
        QCOMPARE(f.dialogs.openRequests.first().title, QStringLiteral("Colormap not found!"));
        QCOMPARE(f.dialogs.openRequests.first().fileName, QStringLiteral("/games/kz/vlmrc.pcx"));
        QCOMPARE(f.shownMaps, confirm ? QStringList{fileNameAfter} : QStringList());

        // The next use of the button has its own title again.
        f.dialogs.cancelOpen();
        QTest::mouseClick(f.form->Button2, Qt::LeftButton);
        QCOMPARE(f.dialogs.openRequests.last().title, QStringLiteral("Earlier title"));
    }

    void mapDataBoxIsTheTerrainsText()
    {
        TSaveFixture f;
        QCOMPARE(f.boxLines(), f.terrain.MapData);
        const qsizetype count = f.terrain.MapData.size();
        f.form->RichEdit1->setFocus();
        QTest::keyClick(f.form->RichEdit1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.form->RichEdit1, QStringLiteral("X"));
        QCOMPARE(f.terrain.MapData.size(), count);
        QCOMPARE(f.terrain.MapData.last(), QStringLiteral("[END]X"));
        QTest::keyClick(f.form->RichEdit1, Qt::Key_Return);
        QTest::keyClicks(f.form->RichEdit1, QStringLiteral("EXTRA"));
        QCOMPARE(f.terrain.MapData.size(), count + 1);
        QCOMPARE(f.terrain.MapData.last(), QStringLiteral("EXTRA"));
        QTest::keyClick(f.form->RichEdit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.form->RichEdit1, Qt::Key_Delete);
        QCOMPARE(f.terrain.MapData, QStringList()); // an empty box holds no lines
    }

    void refreshingShowsTheLinesWithoutWritingThemBack()
    {
        TSaveFixture f;
        // A carriage return inside a line shows as a line break in the box;
        // refreshing must not turn it into two lines of the terrain text.
        f.document.editTerrain({}, [](TTerrain &t) { t.MapData = QStringList{QStringLiteral("a\rb"), QStringLiteral("c")}; });
        f.form->refreshMapData();
        QCOMPARE(f.boxLines(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        QCOMPARE(f.terrain.MapData, (QStringList{QStringLiteral("a\rb"), QStringLiteral("c")}));
    }

    void previewPicture_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size"); // empty: no preview
        QTest::newRow("a 512 by 512 colour map shrinks to 200 by 200")
            << QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrc.pcx") << QSize(200, 200);
        QTest::newRow("a 16-colour map keeps its aspect ratio")
            << QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrs.pcx") << QSize(200, 100);
        QTest::newRow("a file that is no PCX gives no preview") << SampleTerrain << QSize();
        QTest::newRow("a directory gives no preview") << QStringLiteral(VELLUMAR_SAMPLES "/kz") << QSize();
    }
    void previewPicture()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage preview = pcxPreviewPicture(path);
        QCOMPARE(preview.isNull(), size.isEmpty());
        if (!size.isEmpty())
            QCOMPARE(preview.size(), size);
    }

    void pictureDialogShowsThePreview()
    {
        // The real dialog: look at it while it runs, pick the colour map, then close it.
        TQtDialogs qtDialogs;
        TFileRequest request;
        request.filter = QStringLiteral("PCX Files (*.PCX)|*.PCX");
        request.initialDir = QStringLiteral(VELLUMAR_SAMPLES "/kz");
        request.picturePreview = true;
        QString textBefore;
        QSize shownSize;
        // Should the dialog not be found, close whatever is modal so the test cannot hang.
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        safety.start(20000);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *preview = dialog->findChild<QLabel *>(QStringLiteral("picturePreview"))) {
                textBefore = preview->text();
                // Click the file in the dialog's list once the list has read the directory.
                auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
                auto *files = list ? qobject_cast<QFileSystemModel *>(list->model()) : nullptr;
                QModelIndex file;
                if (files && QTest::qWaitFor([&] {
                        file = files->index(QStringLiteral(VELLUMAR_SAMPLES "/kz/vlmrc.pcx"));
                        return file.isValid() && list->visualRect(file).isValid();
                    }, 5000)) {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(file).center());
                    if (QTest::qWaitFor([&] { return !preview->pixmap().isNull(); }, 5000))
                        shownSize = preview->pixmap().size();
                }
            }
            dialog->reject();
        });
        QVERIFY(!qtDialogs.openFile(nullptr, request));
        QCOMPARE(textBefore, QStringLiteral("no preview"));
        QCOMPARE(shownSize, QSize(200, 200));
    }
};

VELLUMAR_TEST(TestSaveMapDialog)
#include "tst_savemapdialog.moc"
