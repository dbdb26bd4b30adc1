#include "setupdialog.h"
#include "ui/dialogs.h"
#include "document/numbers.h"
#include "settings.h"
#include "shellext.h"
#include "ui/screenfit.h"
#include "ui/windowstyle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *l = named(new QLabel(text, parent), name);
    l->move(left, top);
    l->adjustSize();
    return l;
}

QLineEdit *edit(QWidget *parent, const char *name, int left, int top, int width, const QString &hint = QString())
{
    auto *e = named(new QLineEdit(parent), name);
    e->setGeometry(left, top, width, 21);
    e->setToolTip(hint);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &place,
                    const QString &hint = QString())
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setGeometry(place);
    b->setToolTip(hint);
    return b;
}

// Programmatic changes of the separator pair go through here: a field that
// already holds the text is left alone.
void setIfDifferent(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

TForm2::TForm2(TSettingsStore &store, TDialogs &dialogs, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_store(store), m_dialogs(dialogs), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("Setup"));
    setFixedSize(563, 307);

    GroupBox1 = named(new QGroupBox(QStringLiteral("Path-Settings"), this), "GroupBox1");
    GroupBox1->setGeometry(0, 0, 561, 257);
    Label1 = label(GroupBox1, "Label1", QStringLiteral("KZ-Files:"), 8, 21);
    Edit1 = edit(GroupBox1, "Edit1", 16, 35, 305, QStringLiteral("Path to the extracted files from the kz.pff"));
    Label2 = label(GroupBox1, "Label2", QStringLiteral("KZBASE-Files:"), 8, 61);
    Edit2 = edit(GroupBox1, "Edit2", 16, 76, 305, QStringLiteral("Path to the extracted files from the kzbase.pff"));
    Label3 = label(GroupBox1, "Label3", QStringLiteral("KZ-Main Dir:"), 8, 101);
    Edit3 = edit(GroupBox1, "Edit3", 16, 115, 305, QStringLiteral("Instalation-Path of Kozarak"));
    Label4 = label(GroupBox1, "Label4", QStringLiteral("Work-Dir:"), 8, 141);
    Edit4 = edit(GroupBox1, "Edit4", 16, 156, 305, QStringLiteral("Some Space to work.."));
    Label7 = label(GroupBox1, "Label7", QStringLiteral("Image-List Dir:"), 8, 181);
    Edit5 = edit(GroupBox1, "Edit5", 16, 196, 305,
                 QStringLiteral("When u have the Image-List, enter the Path here."));

    // One radio button beside each edit; being siblings they exclude each other.
    QRadioButton **radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4, &RadioButton5};
    const int radioTops[] = {35, 76, 115, 156, 196};
    const char *radioNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "RadioButton5"};
    for (int i = 0; i < 5; ++i) {
        *radios[i] = named(new QRadioButton(GroupBox1), radioNames[i]);
        (*radios[i])->setGeometry(328, radioTops[i], 17, 17);
    }
    RadioButton1->setChecked(true);

    // In place of the drive box and directory list: the directory shown here,
    // typed in or chosen with the "..." button. It starts at the root of the
    // file system (the first drive's root where there are drives).
    DirectoryListBox1 = edit(GroupBox1, "DirectoryListBox1", 352, 40, 173);
    DirectoryListBox1->setText(QDir::toNativeSeparators(QDir::rootPath()));
    browseButton = button(GroupBox1, "browseButton", QStringLiteral("..."), QRect(529, 40, 24, 21));

    Button2 = button(GroupBox1, "Button2", QStringLiteral("Add Path"), QRect(272, 224, 75, 25));
    Button4 = button(GroupBox1, "Button4", QStringLiteral("Associate *.BMS Files "), QRect(16, 224, 113, 25),
                     QStringLiteral("Link *.BMS Files to VLMR (Dblck in Explorer)"));
    Button5 = button(GroupBox1, "Button5", QStringLiteral("Remove Association "), QRect(136, 224, 113, 25),
                     QStringLiteral("Remove *.BMS File Link to VLMR"));
    // Where the settings file is: beside the program, or the user's folder
    // of an installed copy.
    SettingsPlace = named(new QLabel(GroupBox1), "SettingsPlace");
    SettingsPlace->setGeometry(352, 228, 201, 17);
    SettingsPlace->setText(SettingsPlace->fontMetrics().elidedText(
        QStringLiteral("Settings: ") + QDir::toNativeSeparators(store.SettingsPath), Qt::ElideMiddle, 201));
    SettingsPlace->setToolTip(QDir::toNativeSeparators(store.SettingsPath));

    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setGeometry(0, 264, 217, 41);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Button3 = button(this, "Button3", QStringLiteral("Ok"), QRect(16, 271, 75, 27), QStringLiteral("OK"));
    Button1 = button(this, "Button1", QStringLiteral("Cancel"), QRect(120, 271, 75, 27), QStringLiteral("Cancel"));
    Button3->raise();
    Button1->raise();

    GroupBox2 = named(new QGroupBox(QStringLiteral("Im/Export-Settings"), this), "GroupBox2");
    GroupBox2->setGeometry(224, 259, 233, 46);
    Label5 = label(GroupBox2, "Label5", QStringLiteral("Separator"), 13, 24);
    E_IES = edit(GroupBox2, "E_IES", 75, 20, 41);
    QFont bold = E_IES->font();
    bold.setBold(true);
    E_IES->setFont(bold);
    E_IES->setMaxLength(1);
    E_IES->setText(QStringLiteral(";"));
    Label6 = label(GroupBox2, "Label6", QStringLiteral("~as ASCII"), 128, 24);
    E_IESA = edit(GroupBox2, "E_IESA", 182, 20, 41);
    E_IESA->setText(QStringLiteral("59"));

    GroupBox3 = named(new QGroupBox(QStringLiteral("Research Mode"), this), "GroupBox3");
    GroupBox3->setGeometry(463, 259, 97, 46);
    CheckBox1 = named(new QCheckBox(QStringLiteral("On / Off"), GroupBox3), "CheckBox1");
    CheckBox1->move(8, 24);
    CheckBox1->adjustSize();
    CheckBox1->setEnabled(false);

    ShellExt1 = named(new TShellExt(this), "ShellExt1");
    ShellExt1->setIconIndex(0);
    ShellExt1->setExtDescription(QStringLiteral("KZ Mapfile"));
    ShellExt1->setFileDescription(QStringLiteral("Kozarak Map File"));
    ShellExt1->setExtension(QStringLiteral(".bms"));
    ShellExt1->setOpenWith(QStringLiteral("[Self]"));
    ShellExt1->setOpenWithMe(true); // OpenWith := this program's path
    ShellExt1->setParamString(QStringLiteral("%1"));

    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm2::Button5Click);
    connect(browseButton, &QPushButton::clicked, this, &TForm2::browseButtonClick);
    // Only the user's typing moves the other field, so the pair never loops.
    connect(E_IES, &QLineEdit::textEdited, this, &TForm2::E_IESChange);
    connect(E_IESA, &QLineEdit::textEdited, this, &TForm2::E_IESAChange);

    // FormCreate: lines 1 to 5 and the stored code; E_IES keeps its ";".
    const TSettings &s = m_store.Settings;
    Edit1->setText(s.GameFilesDir);
    Edit2->setText(s.BaseFilesDir);
    Edit3->setText(s.GameMainDir);
    Edit4->setText(s.WorkDir);
    Edit5->setText(s.ImageListDir);
    E_IESA->setText(s.SeparatorCode);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    TWindowStyle::frameGroupBoxes(this);
}

void TForm2::showSetup()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(false);
    show();
    // Where it was (centred at first), as far as its frame stays on the screen.
    TScreenFit::keepPlaced(this, [this] { TScreenFit::moveWithin(this); });
    raise();
    activateWindow();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm2::enableMainWindow(bool showIt)
{
    if (!m_mainWindow)
        return;
    if (showIt)
        m_mainWindow->show();
    m_mainWindow->setEnabled(true);
}

void TForm2::characterFromCode()
{
    const std::int32_t code = StrToInt(E_IESA->text());
    // Only the low byte of a code outside 0 to 255 counts.
    setIfDifferent(E_IES, QString(QChar(char16_t(std::uint32_t(code) & 0xFFu))));
}

void TForm2::codeFromCharacter()
{
    // The code of the character in the settings' 8-bit encoding (Latin-1).
    const QByteArray byte = QStringView(E_IES->text()).left(1).toLatin1();
    setIfDifferent(E_IESA, QString::number(quint8(byte.at(0))));
}

void TForm2::E_IESChange(const QString &text)
{
    if (!text.isEmpty())
        codeFromCharacter();
}

void TForm2::E_IESAChange(const QString &text)
{
    if (!text.isEmpty())
        runGuarded(m_dialogs, this, [this] { characterFromCode(); });
}

void TForm2::Button3Click()
{
    hide();
    enableMainWindow(false);
    TSettings &s = m_store.Settings;
    s.GameFilesDir = Edit1->text();
    s.BaseFilesDir = Edit2->text();
    s.GameMainDir = Edit3->text();
    s.WorkDir = Edit4->text();
    s.ImageListDir = Edit5->text();
    // A code that does not convert stops here with its message: the five
    // directories are taken, the code and the file are not.
    runGuarded(m_dialogs, m_mainWindow, [this, &s] {
        if (!E_IESA->text().isEmpty())
            characterFromCode();
        if (!E_IES->text().isEmpty())
            codeFromCharacter();
        if (E_IES->text().isEmpty()) {
            E_IES->setText(QStringLiteral(";"));
            E_IESA->setText(QStringLiteral("59"));
        }
        s.SeparatorCode = E_IESA->text();
        m_store.SaveSettings();
        enableMainWindow(true);
        hide();
        m_store.SettingsComplete = true;
    });
    emit finished();
}

void TForm2::Button1Click()
{
    enableMainWindow(true);
    hide();
    emit finished();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    enableMainWindow(false);
    QWidget::closeEvent(event);
    emit finished();
}

QLineEdit *TForm2::editOfSelectedRadioButton() const
{
    const std::pair<QRadioButton *, QLineEdit *> pairs[] = {
        {RadioButton1, Edit1}, {RadioButton2, Edit2}, {RadioButton3, Edit3}, {RadioButton4, Edit4}, {RadioButton5, Edit5}};
    for (const auto &[radio, field] : pairs)
        if (radio->isChecked())
            return field;
    return nullptr;
}

void TForm2::Button2Click()
{
    // The directory as shown, and always one separator more: a root that
    // already ends with one gets a second.
    if (QLineEdit *field = editOfSelectedRadioButton())
        field->setText(DirectoryListBox1->text() + QDir::separator());
}

void TForm2::browseButtonClick()
{
    const QString chosen = m_dialogs.chooseDirectory(this, QDir::fromNativeSeparators(DirectoryListBox1->text()));
    if (!chosen.isEmpty())
        DirectoryListBox1->setText(QDir::toNativeSeparators(chosen));
}

void TForm2::Button4Click()
{
    ShellExt1->setIcon(QGuiApplication::windowIcon());
    ShellExt1->RegisterExtension();
}

void TForm2::Button5Click()
{
    ShellExt1->setIcon(QGuiApplication::windowIcon());
    ShellExt1->UnregisterExtension();
}
