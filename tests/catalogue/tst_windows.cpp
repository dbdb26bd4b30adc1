// The Item List window (picking rows, resizing) and the Object View window
// (item pictures, the placeholder, closing with a click).
#include "builders.h"
#include "testregistry.h"

#include "catalogue/itemcatalogue.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/jpegpicture.h"
#include "catalogue/objectviewwindow.h"
#include "settings/settings.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray SampleItems = "----\r\nDecorations\r\n1001\r\nTree\r\n1002\r\nBush\r\n"
                               "----\r\nVehicles\r\n2001\r\nJeep\r\n";

void clickRow(QTableView *view, int modelRow)
{
    const QRect cell = view->visualRect(view->model()->index(modelRow, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

bool samePixels(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestItemListWindow : public QObject {
    Q_OBJECT
private slots:
    void pickingRows_data()
    {
        QTest::addColumn<bool>("catalogueFile");
        QTest::addColumn<QList<int>>("rows"); // model rows clicked in turn
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("useEnabled");
        QTest::addColumn<QStringList>("picked");
        QTest::newRow("a heading row changes neither the labels nor Use")
            << true << QList<int>{0} << "Number" << "Name" << false << QStringList();
        QTest::newRow("picking an item shows its number and name and enables Use")
            << true << QList<int>{1} << "1001" << "Tree" << true << QStringList{QStringLiteral("1001")};
        QTest::newRow("a heading after an item keeps the picked item")
            << true << QList<int>{4, 3} << "2001" << "Jeep" << true << QStringList{QStringLiteral("2001")};
        QTest::newRow("without item.ini an empty row picks empty texts")
            << false << QList<int>{2} << "" << "" << true << QStringList{QString()};
    }
    void pickingRows()
    {
        QFETCH(bool, catalogueFile);
        QFETCH(QList<int>, rows);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(bool, useEnabled);
        QFETCH(QStringList, picked);
        QTemporaryDir dir;
        if (catalogueFile)
            build::file(dir, QStringLiteral("item.ini"), SampleItems);
        TItemCatalogue catalogue;
        catalogue.LoadItemCatalogue(dir.path() + u'/');
        QWidget main;
        TForm5 list(catalogue, &main);
        list.show();
        QSignalSpy spy(&list, &TForm5::itemPicked);
        for (int row : rows)
            clickRow(list.ItemList, row);
        QCOMPARE(list.Label1->text(), number);
        QCOMPARE(list.Label2->text(), name);
        QCOMPARE(list.Button1->isEnabled(), useEnabled);
        QStringList emitted;
        for (const QList<QVariant> &args : spy)
            emitted << args.at(0).toString();
        QCOMPARE(emitted, picked);
    }

    void resizing_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("the list ends 30 pixels above the window's bottom") << QSize(270, 667) << QSize(270, 667) << 565;
        QTest::newRow("the width stays 270") << QSize(500, 500) << QSize(270, 500) << 398;
    }
    void resizing()
    {
        QFETCH(QSize, asked);
        QFETCH(QSize, windowSize);
        QFETCH(int, listHeight);
        TItemCatalogue catalogue;
        TForm5 list(catalogue, nullptr);
        list.show();
        list.resize(asked);
        QCOMPARE(list.size(), windowSize);
        QCOMPARE(list.ItemList->geometry(), QRect(6, 72, 249, listHeight));
    }
};

class TestObjectViewWindow : public QObject {
    Q_OBJECT
private slots:
    void showItemPicture_data()
    {
        QTest::addColumn<QString>("source"); // file copied in as 1001.jpg; empty: none; "damaged": made up
        QTest::addColumn<bool>("placeholder");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("no file shows the placeholder") << "" << true << QSize();
        QTest::newRow("a damaged file shows the placeholder") << "damaged" << true << QSize();
        QTest::newRow("a picture the decoder refuses shows the placeholder")
            << QStringLiteral(VELLUMAR_TEST_DATA "/cmyk.jpg") << true << QSize();
        QTest::newRow("a 320 by 240 picture is shown as it is")
            << QStringLiteral(VELLUMAR_SAMPLES "/images/1001.jpg") << false << QSize(320, 240);
        QTest::newRow("a smaller picture is fitted keeping its aspect ratio")
            << QStringLiteral(VELLUMAR_TEST_DATA "/colour-422-progressive.jpg") << false << QSize(320, 192);
    }
    void showItemPicture()
    {
        QFETCH(QString, source);
        QFETCH(bool, placeholder);
        QFETCH(QSize, pictureSize);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("1001.jpg"));
        if (source == QLatin1String("damaged"))
            build::file(dir, QStringLiteral("1001.jpg"), QByteArray("\xFF\xD8\xFF\xE0 this is no picture", 24));
        else if (!source.isEmpty())
            QVERIFY(QFile::copy(source, target));
        TSettingsStore store;
        store.Settings.ImageListDir = dir.path() + u'/';
        TForm7 view(store);
        view.show();
        view.ShowItemPicture(QStringLiteral("1001"));
        QCOMPARE(view.I_NOImage->isVisible(), placeholder);
        if (placeholder) {
            QVERIFY(samePixels(view.I_NOImage->pixmap().toImage(), NoPicturePlaceholder()));
            return;
        }
        const QPixmap shown = view.JPEGImage1->pixmap();
        QCOMPARE(shown.size(), pictureSize);
        QCOMPARE(view.JPEGImage1->alignment(), Qt::AlignCenter);
        if (pictureSize == QSize(320, 240))
            QVERIFY(samePixels(shown.toImage(), LoadItemPicture(target)));
    }

    void aMissingPictureAfterAnExistingOneShowsThePlaceholder()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/images/1001.jpg"), dir.filePath(QStringLiteral("1001.jpg"))));
        TSettingsStore store;
        store.Settings.ImageListDir = dir.path() + u'/';
        TForm7 view(store);
        view.show();
        view.ShowItemPicture(QStringLiteral("1001"));
        QVERIFY(!view.I_NOImage->isVisible());
        view.ShowItemPicture(QStringLiteral("1002"));
        QVERIFY(view.I_NOImage->isVisible());
    }

    void clickClosesTheWindow_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::newRow("a click on the placeholder") << "I_NOImage";
        QTest::newRow("a click on the picture") << "JPEGImage1";
        QTest::newRow("a click on the panel's edge") << "Panel1";
    }
    void clickClosesTheWindow()
    {
        QFETCH(QString, clicked);
        TSettingsStore store;
        store.Settings.ImageListDir = QStringLiteral(VELLUMAR_SAMPLES "/images/");
        TForm7 view(store);
        view.show();
        view.ShowItemPicture(clicked == QLatin1String("JPEGImage1") ? QStringLiteral("1001") : QStringLiteral("none"));
        auto *target = view.findChild<QWidget *>(clicked);
        QVERIFY(target);
        QVERIFY(target->isVisible());
        QTest::mouseClick(target, Qt::LeftButton, {}, clicked == QLatin1String("Panel1") ? QPoint(1, 1) : QPoint(100, 100));
        QVERIFY(!view.isVisible());
    }
};

VELLUMAR_TEST(TestItemListWindow)
VELLUMAR_TEST(TestObjectViewWindow)
#include "tst_windows.moc"
