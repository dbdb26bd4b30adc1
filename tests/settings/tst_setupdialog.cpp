// The Setup dialog: its fields, the separator pair, "Add Path", and what
// "Ok", "Cancel" and the close box do to the settings, the file and the main window.
#include "builders.h"
#include "fakedialogs.h"
#include "testregistry.h"

#include "settings/settings.h"
#include "settings/setupdialog.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A settings file of seven lines whose sixth line is code.
QByteArray iniWithCode(const QByteArray &code, const QByteArray &first = "/kz/")
{
    return first + "\r\n/base/\r\n/game/\r\n/work/\r\n/images/\r\n" + code + "\r\n00\r\n";
}

// The program with its settings read (from iniFile, or no file when null),
// a main window, and the Setup dialog opened on it.
struct TSetupFixture {
    QTemporaryDir dir;
    TSettingsStore store;
    TFakeDialogs dialogs;
    QWidget main;
    std::unique_ptr<TForm2> form;

    explicit TSetupFixture(const QByteArray &iniFile = QByteArray())
    {
        if (!iniFile.isNull())
            build::file(dir, QStringLiteral("kzmap.ini"), iniFile);
        store.LoadSettings(dir.path() + u'/');
        main.setGeometry(50, 50, 400, 300);
        main.show();
        form = std::make_unique<TForm2>(store, dialogs, &main);
        form->showSetup();
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("kzmap.ini")); }
    QByteArray iniBytes() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QList<QByteArray> iniLines() const { return iniBytes().split('\n'); }
};

// Replaces a field's text the way a user does: select all, delete, type.
void retype(QLineEdit *field, const QString &text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QString withSeparator(const QString &dir)
{
    return QDir::toNativeSeparators(dir) + QDir::separator();
}

} // namespace

class TestSetupDialog : public QObject {
    Q_OBJECT
private slots:
    void separatorsFollowEachOther_data()
    {
        QTest::addColumn<bool>("inCodeField"); // typed into E_IESA, else into E_IES
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownCharacter");
        QTest::addColumn<QString>("shownCode");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("a comma in the character field shows code 44") << false << "," << "," << "44" << QStringList();
        QTest::newRow("124 in the code field shows a bar") << true << "124" << "|" << "124" << QStringList();
        QTest::newRow("a code above 255 shows the character of its low byte")
            << true << "300" << "," << "300" << QStringList();
        QTest::newRow("a non-number in the code field shows the message and keeps the character")
            << true << "x" << ";" << "x" << QStringList{QStringLiteral("'x' is not a valid integer value")};
        QTest::newRow("clearing the character field leaves the code") << false << "" << "" << "59" << QStringList();
    }
    void separatorsFollowEachOther()
    {
        QFETCH(bool, inCodeField);
        QFETCH(QString, typed);
        QFETCH(QString, shownCharacter);
        QFETCH(QString, shownCode);
        QFETCH(QStringList, errors);
        TSetupFixture f(iniWithCode("59"));
        retype(inCodeField ? f.form->E_IESA : f.form->E_IES, typed);
        QCOMPARE(f.form->E_IES->text(), shownCharacter);
        QCOMPARE(f.form->E_IESA->text(), shownCode);
        QCOMPARE(f.dialogs.errors, errors);
        // Typing changes no setting.
        QCOMPARE(f.store.Settings.SeparatorCode, QStringLiteral("59"));
    }

    void okStoresTheSeparator_data()
    {
        QTest::addColumn<QByteArray>("storedBefore");
        QTest::addColumn<bool>("retypeCharacter");
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("retypeCode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shownCharacter");
        QTest::addColumn<QString>("shownCode");
        QTest::newRow("both fields cleared store 59 and show ; again")
            << QByteArray("44") << true << "" << true << "" << "59" << ";" << "59";
        QTest::newRow("a stored code other than 59 wins over the ; shown")
            << QByteArray("44") << false << "" << false << "" << "44" << "," << "44";
        QTest::newRow("a code above 255 is stored as the code of its low byte")
            << QByteArray("59") << false << "" << true << "300" << "44" << "," << "44";
        QTest::newRow("an empty code field takes the character's code")
            << QByteArray("59") << true << "|" << true << "" << "124" << "|" << "124";
    }
    void okStoresTheSeparator()
    {
        QFETCH(QByteArray, storedBefore);
        QFETCH(bool, retypeCharacter);
        QFETCH(QString, character);
        QFETCH(bool, retypeCode);
        QFETCH(QString, code);
        QFETCH(QString, stored);
        QFETCH(QString, shownCharacter);
        QFETCH(QString, shownCode);
        TSetupFixture f(iniWithCode(storedBefore));
        if (retypeCharacter)
            retype(f.form->E_IES, character);
        if (retypeCode)
            retype(f.form->E_IESA, code);
        QTest::mouseClick(f.form->Button3, Qt::LeftButton);

        QCOMPARE(f.store.Settings.SeparatorCode, stored);
        QCOMPARE(f.iniLines().value(5), stored.toLatin1() + '\r');
        QCOMPARE(f.form->E_IES->text(), shownCharacter);
        QCOMPARE(f.form->E_IESA->text(), shownCode);
        QVERIFY(f.dialogs.errors.isEmpty());
    }

    void okWithAnInvalidCodeStopsBeforeWriting()
    {
        // An empty first line: the settings are not complete.
        const QByteArray before = iniWithCode("59", "");
        TSetupFixture f(before);
        QVERIFY(!f.store.SettingsComplete);
        retype(f.form->Edit1, QStringLiteral("/new/"));
        retype(f.form->E_IESA, QStringLiteral("abc"));
        f.dialogs.errors.clear();
        QTest::mouseClick(f.form->Button3, Qt::LeftButton);

        QCOMPARE(f.dialogs.errors, QStringList{QStringLiteral("'abc' is not a valid integer value")});
        QVERIFY(!f.form->isVisible());
        QVERIFY(f.main.isEnabled());
        QCOMPARE(f.store.Settings.GameFilesDir, QStringLiteral("/new/")); // lines 1 to 5 are taken
        QCOMPARE(f.store.Settings.SeparatorCode, QStringLiteral("59"));
        QCOMPARE(f.form->E_IES->text(), QStringLiteral(";"));
        QCOMPARE(f.iniBytes(), before);
        QVERIFY(!f.store.SettingsComplete);
    }

    void addPath_data()
    {
        QTest::addColumn<int>("radio");          // 0: leave the selection as it starts
        QTest::addColumn<bool>("runChooser");
        QTest::addColumn<QString>("chosen");     // the chooser's answer; empty cancels
        QTest::addColumn<int>("filledEdit");     // 1 .. 5
        QTest::addColumn<QString>("filledText");
        QTest::addColumn<QString>("typed");      // typed over the directory field first; empty: nothing
        const QString root = QDir::rootPath();
        QTest::newRow("RadioButton3 fills Edit3 with the directory and one separator")
            << 3 << true << "/games/tank" << 3 << withSeparator(QStringLiteral("/games/tank")) << "";
        QTest::newRow("at the root the directory already ends with a separator and gets a second")
            << 5 << false << "" << 5 << withSeparator(root) << "";
        QTest::newRow("a cancelled chooser keeps the directory shown")
            << 2 << true << "" << 2 << withSeparator(root) << "";
        QTest::newRow("a directory typed into the field is what Add Path takes")
            << 4 << false << "" << 4 << withSeparator(QStringLiteral("/data/maps"))
            << QDir::toNativeSeparators(QStringLiteral("/data/maps"));
    }
    void addPath()
    {
        QFETCH(int, radio);
        QFETCH(bool, runChooser);
        QFETCH(QString, chosen);
        QFETCH(int, filledEdit);
        QFETCH(QString, filledText);
        QFETCH(QString, typed);
        TSetupFixture f(iniWithCode("59"));
        QRadioButton *radios[] = {f.form->RadioButton1, f.form->RadioButton2, f.form->RadioButton3,
                                  f.form->RadioButton4, f.form->RadioButton5};
        QLineEdit *edits[] = {f.form->Edit1, f.form->Edit2, f.form->Edit3, f.form->Edit4, f.form->Edit5};
        QStringList before;
        for (QLineEdit *e : edits)
            before << e->text();
        if (radio > 0)
            QTest::mouseClick(radios[radio - 1], Qt::LeftButton);
        if (runChooser) {
            f.dialogs.answerDirectory(chosen);
            QTest::mouseClick(f.form->browseButton, Qt::LeftButton);
            QCOMPARE(f.dialogs.directoryStarts, QStringList{QDir::rootPath()});
        }
        if (!typed.isEmpty()) {
            QTest::keyClick(f.form->DirectoryListBox1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(f.form->DirectoryListBox1, typed);
        }
        QTest::mouseClick(f.form->Button2, Qt::LeftButton);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(edits[i]->text(), i + 1 == filledEdit ? filledText : before[i]);
        // "Add Path" changes only the field: the settings wait for "Ok".
        QCOMPARE(f.store.Settings.GameFilesDir, QStringLiteral("/kz/"));
    }

    void cancelKeepsTheSettingsAndTheTypedText()
    {
        const QByteArray before = iniWithCode("59");
        TSetupFixture f(before);
        QCOMPARE(f.form->Edit1->text(), QStringLiteral("/kz/")); // filled from line 1 at creation
        retype(f.form->Edit1, QStringLiteral("/other/"));
        QTest::mouseClick(f.form->Button1, Qt::LeftButton);
        QCOMPARE(f.store.Settings.GameFilesDir, QStringLiteral("/kz/"));
        QCOMPARE(f.iniBytes(), before);
        f.form->showSetup();
        QCOMPARE(f.form->Edit1->text(), QStringLiteral("/other/"));
    }

    // First start without kzmap.ini: the main window is disabled while Setup
    // shows; each way of closing it enables the main window again.
    void firstStartSetup_data()
    {
        QTest::addColumn<QString>("closedBy");
        QTest::addColumn<QByteArray>("fileAfter"); // empty: no file
        QTest::newRow("Ok writes seven lines, the sixth 59")
            << "Ok" << QByteArray("\r\n/base/\r\n\r\n\r\n\r\n59\r\n00\r\n");
        QTest::newRow("Cancel writes nothing") << "Cancel" << QByteArray();
        QTest::newRow("the close box writes nothing") << "close box" << QByteArray();
    }
    void firstStartSetup()
    {
        QFETCH(QString, closedBy);
        QFETCH(QByteArray, fileAfter);
        TSetupFixture f;
        QSignalSpy finished(f.form.get(), &TForm2::finished);
        QVERIFY(f.form->isVisible());
        QVERIFY(!f.main.isEnabled());
        QCOMPARE(f.form->focusWidget(), f.form->Button1); // "Cancel" has the focus
        QCOMPARE(f.form->E_IES->text(), QStringLiteral(";"));
        QCOMPARE(f.form->E_IESA->text(), QString()); // the stored code is empty
        retype(f.form->Edit2, QStringLiteral("/base/"));
        if (closedBy == QLatin1String("Ok"))
            QTest::mouseClick(f.form->Button3, Qt::LeftButton);
        else if (closedBy == QLatin1String("Cancel"))
            QTest::mouseClick(f.form->Button1, Qt::LeftButton);
        else
            QVERIFY(f.form->close());
        QVERIFY(!f.form->isVisible());
        QVERIFY(f.main.isEnabled());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(f.iniBytes(), fileAfter);
        QCOMPARE(f.store.SettingsComplete, !fileAfter.isEmpty());
        QCOMPARE(f.form->E_IESA->text(), fileAfter.isEmpty() ? QString() : QStringLiteral("59"));
    }
};

VELLUMAR_TEST(TestSetupDialog)
#include "tst_setupdialog.moc"
