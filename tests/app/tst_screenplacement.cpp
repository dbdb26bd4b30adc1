// Every window opens where it was designed to open wherever its outer frame
// fits there, and otherwise within the screen's available area, frame and
// all; a window larger than the area keeps its left and top edges (the left
// strip, the title bar) on it. The screen is the test platform's: the suite
// runs this on several (tests/CMakeLists.txt), among them 1400 by 900 and
// 1920 by 1200 at a scale of 2.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/programstart.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/objectviewwindow.h"
#include "handoff/savemapdialog.h"
#include "settings/aboutwindow.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"

#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

namespace {

// The frame within area in each direction it fits in, else from area's edge.
bool onScreen(const QRect &frame, const QRect &area)
{
    const bool across = frame.width() <= area.width() ? frame.left() >= area.left() && frame.right() <= area.right()
                                                      : frame.left() == area.left();
    const bool down = frame.height() <= area.height() ? frame.top() >= area.top() && frame.bottom() <= area.bottom()
                                                      : frame.top() == area.top();
    return across && down;
}

QString text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A program started as main() starts it, on a map of a few objects unless
// started without one.
struct TPlacedProgram {
    QTemporaryDir dir;
    TFakeDialogs dialogs;
    std::unique_ptr<TForm1> form;

    explicit TPlacedProgram(bool withMap)
    {
        for (const char *d : {"prog", "kz", "kzbase", "game"})
            QDir(dir.path()).mkdir(QLatin1String(d));
        const QString kz = dir.filePath("kz/"), base = dir.filePath("kzbase/");
        build::file(dir, "prog/item.ini", "2001\r\nJeep\r\n");
        build::file(dir, "prog/kzmap.ini",
                    (kz + "\r\n" + base + "\r\n" + dir.filePath("game/") + "\r\n" + dir.path() + "/\r\n\r\n59\r\n00\r\n")
                        .toLocal8Bit());
        build::file(dir, "kz/vlmrtest.trn", build::sampleFile("kz/vlmrtest.trn"));
        for (const char *p : {"vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx"})
            build::file(dir, QStringLiteral("kz/") + QLatin1String(p), build::sampleFile("kz/vlmrd.pcx"));
        build::file(dir, "kzbase/kzmpname.bin", build::nameList({"First"}));
        build::Header h;
        h.terrain = "vlmrtest.trn";
        const QString map = build::file(dir, "kzbase/m.bms", build::map(h, {{2001, 1}, {6002, 2, 100, 100}}));
        QStringList arguments{QStringLiteral("vellumar")};
        if (withMap)
            arguments << map;
        form = StartProgram(dialogs, arguments, dir.filePath("prog/"));
        (void)QTest::qWaitForWindowExposed(form.get());
        // Under a window manager the frames come, and the moves of the start
        // reach the screen, a moment later; a user's first click comes after.
        QRect last;
        for (int i = 0; i < 30 && form->frameGeometry() != last; ++i) {
            last = form->frameGeometry();
            QTest::qWait(100);
        }
    }
    ~TPlacedProgram() { form->close(); }
};

} // namespace

class TestScreenPlacement : public QObject {
    Q_OBJECT
private slots:
    void windowsOpenOnTheScreen_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *w : {"main window", "Item List", "Save Map as", "About beside the dialog", "About from ?",
                              "Object View", "Info", "Setup"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }
    void windowsOpenOnTheScreen()
    {
        QFETCH(QString, window);
        // The main window alone: no Item List has made room beside it.
        TPlacedProgram p(window != "main window");
        TForm1 &f = *p.form;
        QWidget *shown = &f;
        std::function<QPoint()> designed; // the outer top-left as designed, from the frames it follows
        if (window == "main window") {
            designed = [&f] {
                const QRect area = f.screen()->availableGeometry();
                const QSize outer = f.frameGeometry().size();
                return area.topLeft() + QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
            };
        } else if (window == "Item List") {
            shown = f.Form5.get();
            designed = [&f] { return f.frameGeometry().topRight() + QPoint(1, 0); };
        } else if (window == "Save Map as" || window == "About beside the dialog") {
            QTest::mouseClick(f.Button11, Qt::LeftButton);
            if (window == "Save Map as") {
                shown = f.Form3.get();
                designed = [&f] { return f.frameGeometry().bottomLeft() + QPoint(0, 1); };
            } else {
                shown = f.Form4.get();
                designed = [&f] { return f.Form3->frameGeometry().topRight() + QPoint(1, 0); };
            }
        } else if (window == "About from ?") {
            QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
            shown = f.Form4.get();
            designed = [&f] { return TForm4::centredPlace(f.frameGeometry(), f.Form4->frameGeometry().size()); };
        } else if (window == "Object View") {
            QTest::mouseClick(f.Form5->B_ViewO, Qt::LeftButton);
            shown = f.Form7.get();
            designed = [&f] { return f.Form5->frameGeometry().topRight() + QPoint(1, 0); };
        } else if (window == "Info") {
            QTest::mouseClick(f.B_Export, Qt::LeftButton);
            shown = f.Form6.get();
            designed = [&f] { return TForm6::infoWindowPlace(f.frameGeometry(), f.Form6->frameGeometry().width()); };
        } else {
            QTest::mouseClick(f.Button6, Qt::LeftButton);
            shown = f.Form2.get();
            designed = [&f] {
                return f.Form2->screen()->availableGeometry().center()
                    - QPoint(f.Form2->width() / 2, f.Form2->height() / 2);
            };
        }
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QVERIFY(p.dialogs.errors.isEmpty());
        // The window system may give a frame a moment after the showing.
        const auto placed = [&] {
            const QRect area = shown->screen()->availableGeometry();
            const QRect frame = shown->frameGeometry();
            const QRect there(designed(), frame.size());
            // Centring may round either way.
            const QPoint off = frame.topLeft() - there.topLeft();
            return area.contains(there) ? std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1 : onScreen(frame, area);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(placed(), qPrintable(QStringLiteral("frame %1 on %2, designed at %3,%4")
                                                          .arg(text(shown->frameGeometry()),
                                                               text(shown->screen()->availableGeometry()))
                                                          .arg(designed().x())
                                                          .arg(designed().y())),
                                  3000);
    }
};

VELLUMAR_TEST(TestScreenPlacement)
#include "tst_screenplacement.moc"
