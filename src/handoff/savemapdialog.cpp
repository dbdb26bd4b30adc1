#include "savemapdialog.h"
#include "ui/dialogs.h"
#include "document/mapdocument.h"
#include "journal/journalstep.h"
#include "savecommand.h"
#include "settings/settings.h"
#include "ui/windowstyle.h"

#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *g = named(new QGroupBox(caption, parent), name);
    g->setGeometry(place);
    return g;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setGeometry(place);
    return b;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *c = named(new QCheckBox(caption, parent), name);
    c->move(left, top);
    c->adjustSize();
    return c;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->move(left, top);
    l->adjustSize();
    return l;
}

QPushButton *locationButton(QWidget *parent, const char *name, int top)
{
    QPushButton *b = button(parent, name, QStringLiteral("..."), QRect(256, top, 24, 22));
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    return b;
}

// The Map Data box's fixed-pitch font: "Terminal" at 15 pixels where it
// exists, else the system's fixed font at a size with about 15-pixel lines.
QFont mapDataFont()
{
    QFont terminal(QStringLiteral("Terminal"));
    terminal.setPixelSize(15);
    terminal.setFixedPitch(true);
    terminal.setStyleHint(QFont::TypeWriter);
    if (QFontInfo(terminal).family() == terminal.family())
        return terminal;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(12);
    return fixed;
}

bool isOn(const QString &options, int index)
{
    return index < options.size() && options[index] == u'1';
}

} // namespace

TForm3::TForm3(TMapDocument &document, TSettingsStore &store, TDialogs &dialogs, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint),
      m_document(document), m_store(store), m_dialogs(dialogs), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form3"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("Save Map as"));
    setFixedSize(648, 254);

    GroupBox1 = group(this, "GroupBox1", QStringLiteral("Available for"), QRect(8, 0, 633, 41));
    static constexpr int boxLefts[] = {8, 87, 173, 290, 388, 514};
    static const char *const boxNames[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6"};
    static const char *const boxCaptions[] = {"Cooperativ", "Deathmatch", "Team Deathmatch", "King of the Hill",
                                              "Team King of the Hill", "Capture the Flag"};
    for (int i = 0; i < 6; ++i) {
        CheckBox[i] = checkBox(GroupBox1, boxNames[i], QLatin1String(boxCaptions[i]), boxLefts[i], 16);
        // A caption wider in this font than at design is cut before the next box.
        const int room = (i < 5 ? boxLefts[i + 1] : GroupBox1->width() - 4) - boxLefts[i] - 2;
        CheckBox[i]->resize(qMin(CheckBox[i]->width(), room), CheckBox[i]->height());
    }

    GroupBox3 = group(this, "GroupBox3", QStringLiteral("Map Data"), QRect(8, 48, 337, 201));
    RichEdit1 = named(new QPlainTextEdit(GroupBox3), "RichEdit1");
    RichEdit1->setGeometry(8, 16, 241, 177);
    RichEdit1->setFont(mapDataFont());
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Button6 = button(GroupBox3, "Button6", QStringLiteral("Choose TRN"), QRect(256, 16, 75, 25));
    Button2 = button(GroupBox3, "Button2", QStringLiteral("Color Map"), QRect(256, 72, 75, 25));
    Button3 = button(GroupBox3, "Button3", QStringLiteral("Depth Map"), QRect(256, 104, 75, 25));
    Button4 = button(GroupBox3, "Button4", QStringLiteral("Detail Map"), QRect(256, 136, 75, 25));
    Button5 = button(GroupBox3, "Button5", QStringLiteral("Sky Map"), QRect(256, 168, 75, 25));

    GroupBox2 = group(this, "GroupBox2", QStringLiteral("File Locations"), QRect(352, 48, 289, 105));
    Label1 = label(GroupBox2, "Label1", QStringLiteral("BMS File"), 8, 16);
    E_BMSfile = named(new QLineEdit(GroupBox2), "E_BMSfile");
    E_BMSfile->setGeometry(8, 32, 241, 21);
    B_BMSloc = locationButton(GroupBox2, "B_BMSloc", 32);
    Label2 = label(GroupBox2, "Label2", QStringLiteral("TRN File"), 8, 56);
    E_TRNFile = named(new QLineEdit(GroupBox2), "E_TRNFile");
    E_TRNFile->setGeometry(8, 72, 241, 21);
    B_TRNloc = locationButton(GroupBox2, "B_TRNloc", 72);

    // A literal '&' in a caption is written doubled.
    GroupBox5 = group(this, "GroupBox5", QStringLiteral("Click to Save"), QRect(352, 160, 145, 89));
    Button1 = button(GroupBox5, "Button1", QStringLiteral("Save all && Do ----->"), QRect(8, 24, 129, 25));
    Button7 = button(GroupBox5, "Button7", QStringLiteral("Cancel"), QRect(8, 56, 129, 25));
    GroupBox4 = group(this, "GroupBox4", QStringLiteral("Save && Start"), QRect(504, 160, 137, 89));
    C_AutoRepack = checkBox(GroupBox4, "C_AutoRepack", QStringLiteral("Auto repack"), 8, 24);
    C_KZstart = checkBox(GroupBox4, "C_KZstart", QStringLiteral("KZ Auto start"), 8, 56);

    // Creation: the boxes show SaveOptions as stored (a missing character is "0").
    C_AutoRepack->setChecked(isOn(m_store.Settings.SaveOptions, 0));
    C_KZstart->setChecked(isOn(m_store.Settings.SaveOptions, 1));

    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm3::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm3::Button5Click);
    connect(Button7, &QPushButton::clicked, this, &TForm3::Button7Click);
    // Connected after creation, and to every change (click or code), so a box
    // changed by the other's rule runs its own rule too.
    connect(C_AutoRepack, &QCheckBox::toggled, this, &TForm3::C_AutoRepackClick);
    connect(C_KZstart, &QCheckBox::toggled, this, &TForm3::C_KZstartClick);
    connect(RichEdit1, &QPlainTextEdit::textChanged, this, &TForm3::RichEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm3::SaveAllAndDo);
    connect(Button6, &QPushButton::clicked, this, &TForm3::Button6Click);
    connect(B_BMSloc, &QPushButton::clicked, this, &TForm3::B_BMSlocClick);
    connect(B_TRNloc, &QPushButton::clicked, this, &TForm3::B_TRNlocClick);
    connect(E_BMSfile, &QLineEdit::textChanged, this, &TForm3::E_BMSfileChange);
    connect(E_TRNFile, &QLineEdit::textChanged, this, &TForm3::E_TRNFileChange);

    TWindowStyle::frameGroupBoxes(this);
    refreshMapData();
    // The document's terrain is what the box and the TRN field show.
    connect(&m_document, &TMapDocument::terrainChanged, this, [this] {
        refreshMapData();
        if (E_TRNFile->text() != m_document.TrnPath) {
            const QSignalBlocker block(E_TRNFile);
            E_TRNFile->setText(m_document.TrnPath);
        }
    });
}

void TForm3::refreshMapData()
{
    const QString text = m_document.terrain().MapData.join(u'\n');
    if (RichEdit1->toPlainText() == text)
        return;
    m_refreshing = true;
    RichEdit1->setPlainText(text);
    m_refreshing = false;
}

void TForm3::RichEdit1Change()
{
    if (m_refreshing)
        return;
    // The box is the terrain's Map Data: an empty box holds no lines.
    const QString text = RichEdit1->toPlainText();
    m_document.setMapData(text.isEmpty() ? QStringList() : text.split(u'\n'));
}

void TForm3::setSaveOption(int index, bool on)
{
    // A short value grows to its two characters, the missing one "0".
    QString &options = m_store.Settings.SaveOptions;
    while (options.size() < 2)
        options.append(u'0');
    options[index] = on ? u'1' : u'0';
}

void TForm3::C_AutoRepackClick()
{
    if (!C_AutoRepack->isChecked())
        C_KZstart->setChecked(false);
    setSaveOption(0, C_AutoRepack->isChecked());
}

void TForm3::C_KZstartClick()
{
    if (C_KZstart->isChecked())
        C_AutoRepack->setChecked(true);
    setSaveOption(1, C_KZstart->isChecked());
}

bool TForm3::choosePicture(TMapPicture which)
{
    TFileRequest request;
    request.title = OpenPictureDialog1Title;
    request.filter = QStringLiteral("PCX Files (*.PCX)|*.PCX");
    request.initialDir = m_store.Settings.GameFilesDir;
    request.fileName = OpenPictureDialog1FileName;
    request.fileMustExist = true;
    request.picturePreview = true;
    DialogConfirmed = false;
    DialogConfirmed = m_dialogs.openFile(this, request);
    if (!DialogConfirmed)
        return false;
    OpenPictureDialog1FileName = request.fileName;
    m_document.editTerrain(QStringLiteral("Choose picture"),
                           [&](TTerrain &terrain) { ApplyChosenPicture(terrain, which, request.fileName); });
    // The sky map is kept for the batch but never shown.
    if (which != TMapPicture::Sky && showMapFile)
        showMapFile(request.fileName);
    return true;
}

bool TForm3::runChooser(TMapPicture which, const QString &title, QString &fileName)
{
    // The title is restored and the file name handed back also when showing
    // the picture fails; the error then goes on to the caller.
    struct TRestore {
        TForm3 *form;
        QString title;
        QString &fileName;
        ~TRestore()
        {
            form->OpenPictureDialog1Title = title;
            fileName = form->OpenPictureDialog1FileName;
        }
    } restore{this, OpenPictureDialog1Title, fileName};
    OpenPictureDialog1Title = title;
    OpenPictureDialog1FileName = fileName;
    return choosePicture(which);
}

void TForm3::mapButtonClick(TMapPicture which)
{
    runGuarded(m_dialogs, this, [this, which] {
        // The choice and the picture it shows are one step.
        TJournalStep step(m_document, QStringLiteral("Choose picture"));
        choosePicture(which);
    });
}

void TForm3::Button2Click()
{
    mapButtonClick(TMapPicture::Colour);
}

void TForm3::Button3Click()
{
    mapButtonClick(TMapPicture::Elevation);
}

void TForm3::Button4Click()
{
    mapButtonClick(TMapPicture::Detail);
}

void TForm3::Button5Click()
{
    mapButtonClick(TMapPicture::Sky);
}

void TForm3::Button7Click()
{
    hide();
}

void TForm3::SaveAllAndDo()
{
    if (!SaveHost)
        return;
    // The TRN text, the name list, the map at BmsPath and the batch; then
    // "Saved" and, with "Auto repack", the batch. The dialog stays open.
    RunSaveCommand(*SaveHost, m_dialogs, this, {true, m_document.BmsPath}, C_AutoRepack->isChecked());
}

void TForm3::Button6Click()
{
    if (!SaveHost)
        return;
    TFileRequest request;
    request.filter = QStringLiteral("TRN Files (*.TRN)|*.TRN");
    request.initialDir = m_store.Settings.GameFilesDir;
    request.fileMustExist = false;
    DialogConfirmed = false;
    DialogConfirmed = m_dialogs.openFile(this, request);
    if (!DialogConfirmed)
        return;
    runGuarded(m_dialogs, this, [&] {
        // A name the map cannot hold is refused before anything changes.
        const QByteArray name = TerrainFileFieldFor(request.fileName);
        m_document.editTerrain(QStringLiteral("Choose TRN"), [&](TTerrain &) {
            // The name's characters over the field's first ones; a save rebuilds the whole field.
            m_document.Header.setTerrainFile(m_document.Header.TerrainFile().replace(0, name.size(), name));
            E_TRNFile->setText(request.fileName);
            m_document.TrnPath = request.fileName;
            SaveHost->loadTerrainFrom(request.fileName);
        });
    });
}

bool TForm3::chooseLocation(QLineEdit *field, const QString &filter)
{
    const QString current = field->text();
    const qsizetype slash = QDir::fromNativeSeparators(current).lastIndexOf(u'/');
    TFileRequest request;
    request.filter = filter;
    request.initialDir = slash < 0 ? QString() : current.left(slash + 1);
    request.fileName = current;
    request.fileMustExist = false;
    DialogConfirmed = false;
    DialogConfirmed = m_dialogs.openFile(this, request);
    if (DialogConfirmed)
        field->setText(request.fileName);
    return DialogConfirmed;
}

void TForm3::B_BMSlocClick()
{
    if (chooseLocation(E_BMSfile, QStringLiteral("BMS Files (*.BMS)|*.BMS")) && SaveHost)
        SaveHost->bmsLocationChosen(E_BMSfile->text());
}

void TForm3::B_TRNlocClick()
{
    // The terrain is not reloaded: the Map Data text is saved to the new place.
    chooseLocation(E_TRNFile, QStringLiteral("TRN Files (*.TRN)|*.TRN"));
}

void TForm3::E_BMSfileChange()
{
    m_document.BmsPath = E_BMSfile->text();
}

void TForm3::E_TRNFileChange()
{
    m_document.TrnPath = E_TRNFile->text();
}
