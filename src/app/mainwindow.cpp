#include "mainwindow.h"
#include "extendedwindows.h"

#include "ui/dialogs.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/objectviewwindow.h"
#include "document/category.h"
#include "recovery/recoverykeeper.h"
#include "editing/gamemodeboxes.h"
#include "editing/mouseediting.h"
#include "editing/objectgrid.h"
#include "editing/objectlistediting.h"
#include "editing/tableediting.h"
#include "editing/weaponbox.h"
#include "handoff/savemapdialog.h"
#include "handoff/tableexchange.h"
#include "settings/aboutwindow.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "ui/screenfit.h"
#include "ui/windowstyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QWindow>

namespace {

// Game-type boxes of the left strip: caption of the label above, hint, top.
struct GameTypeBox {
    const char *label;
    const char *hint;
    int top;
};
constexpr std::array<GameTypeBox, 6> GameTypeBoxes{{
    {"Coop", "Cooperativ", 304},
    {"DM", "Deathmatch (active when DM-Startpoints included)", 336},
    {"TDM", "Team Deathmatch (active when Team-Startpoints included)", 368},
    {"KoTH", "King of the Hill (active when DM-Startpoints included)", 400},
    {"TKH", "Team King of the Hill (active when Team-Startpoints included)", 432},
    {"CTF", "KoTH (active when Team-Startpoints included)", 464},
}};

QPushButton *button(QWidget *parent, const QString &caption, int x, int y, int w, int h)
{
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(x, y, w, h);
    return b;
}

} // namespace

TForm1::TForm1(TDialogs &dialogs, const QString &commandLineFile, const TProgramFiles &files)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_dialogs(dialogs), m_commandLineFile(commandLineFile), m_commandLinePending(!commandLineFile.isEmpty()),
      m_files(files)
{
    setWindowTitle(QString::fromLatin1(DesignedCaption));
    setFont(TWindowStyle::font());
    setToolTip(QStringLiteral("Edit the MAP"));
    setMinimumSize(800, 600);
    setMaximumSize(1200, 600);
    createControls();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
    disconnectJournal();
}

void TForm1::createControls()
{
    Button6 = button(this, QStringLiteral("Setup"), 80, 3, 50, 17);
    Button1 = button(this, QStringLiteral("Load"), 136, 3, 50, 17);
    Button8 = button(this, QStringLiteral("Reset"), 136, 3, 50, 17);
    Button7 = button(this, QStringLiteral("Save"), 192, 3, 50, 17);
    Button11 = button(this, QStringLiteral("Extended"), 248, 3, 50, 17);
    PBar1 = new QProgressBar(this);
    PBar1->setGeometry(304, 3, 232, 17);
    PBar1->setRange(0, 100);
    PBar1->setValue(0);
    PBar1->setTextVisible(false);

    Panel3 = new QFrame(this);
    Panel3->setGeometry(736, 0, 241, 24);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    E_search = new QLineEdit(Panel3);
    E_search->setGeometry(1, 2, 72, 21);
    E_search->setToolTip(QStringLiteral("Search"));
    Button9 = button(Panel3, QStringLiteral("Add Item"), 88, 4, 57, 17);
    Button12 = button(Panel3, QStringLiteral("L"), 152, 4, 17, 17);
    Button10 = button(Panel3, QStringLiteral("Del Item"), 176, 4, 57, 17);

    // The map window with the controls of the left strip and the bottom bar.
    MapView = std::make_unique<TMapViewPanel>(this, Document, m_dialogs);
    MapView->Terrain = &Document.terrain();
    // The map shows where the terrain ends: its copies beyond it dimmed.
    MapView->Panel1->setTerrainEdgeShown(true);

    const QFont labelFont = TWindowStyle::serifFont(8);
    for (int i = 0; i < 6; ++i) {
        const GameTypeBox &g = GameTypeBoxes[i];
        auto *box = new QCheckBox(this);
        box->setGeometry(2, g.top, 15, 17);
        box->setToolTip(QString::fromLatin1(g.hint));
        CheckBox[i] = box;
        auto *label = new QLabel(QString::fromLatin1(g.label), this);
        label->setFont(labelFont);
        // One line of the small serif (9 pixels) right above the box.
        label->setGeometry(2, g.top - 9, 22, 9);
        GameTypeLabels[i] = label;
    }
    C_NG = new QCheckBox(this);
    C_NG->setGeometry(4, 503, 15, 17);
    C_NG->setToolTip(QStringLiteral("Night Goggles"));
    GameTypeLabels[6] = new QLabel(QStringLiteral("NGs"), this);
    GameTypeLabels[6]->setFont(TWindowStyle::serifFont(11));
    GameTypeLabels[6]->setGeometry(2, 503 - 15, 22, 13);

    BitBtn1 = button(this, QStringLiteral("?"), 3, 527, 16, 31);

    StringGrid1 = new TObjectGrid(Document.Table, this);
    StringGrid1->setGeometry(537, 23, 441, 513);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(536, 539, 97, 21);
    ComboBox1->addItems({QStringLiteral("Jungle"), QStringLiteral("Desert"), QStringLiteral("Snow")});
    ComboBox1->setCurrentIndex(-1);

    ComboBox2 = new QComboBox(this);
    ComboBox2->setGeometry(644, 539, 145, 21);
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setCompleter(nullptr);
    ComboBox2->setEditText(QStringLiteral("KZ Mapname"));
    ComboBox2->installEventFilter(this);
    ComboBox2->lineEdit()->installEventFilter(this);
    connect(ComboBox2, &QComboBox::activated, this, [this](int index) {
        Document.changeMapNames([index](TMapNameBox &names) { names.click(index); }); // ComboBox2Click
    });
    B_delmpname = button(this, QStringLiteral("Del"), 792, 539, 25, 22);
    connect(B_delmpname, &QPushButton::clicked, this, [this] {
        // The list is shared by every map, which names its entry by number:
        // a deletion renames the maps after it, so it is asked for first.
        const TMapNameBox &names = Document.mapNames();
        if (names.selected >= 0 && names.selected < names.items.size()) {
            const TQuestion question{
                QStringLiteral("Deleting \"%1\" renumbers the names after it; maps that use those names will show "
                               "other names in the game. Delete it?")
                    .arg(names.selectedText()),
                {QStringLiteral("Delete"), QStringLiteral("Cancel")}, 1, 1};
            if (m_dialogs.ask(this, question) != 0)
                return;
        }
        Document.changeMapNames([](TMapNameBox &names) { names.deleteSelected(); }); // B_delmpnameClick
        syncMapNameBox();
    });
    B_Import = button(this, QStringLiteral("Import"), 832, 539, 73, 21);
    B_Export = button(this, QStringLiteral("Export"), 907, 539, 73, 21);
    // A click exports and leaves the keys where they were (the table).
    B_Export->setFocusPolicy(Qt::TabFocus);

    ComboBox3 = new QComboBox(this);
    ComboBox3->setGeometry(712, 280, 145, 21);
    ComboBox3->hide();
    createEditing();

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button8, &QPushButton::clicked, this, [this] {
        if (Closing->mayDropChanges())
            Button8Click();
    });
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button6, &QPushButton::clicked, this, [this] { Form2->showSetup(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Form4->showCentredOn(this); });
    connect(Button12, &QPushButton::clicked, this, &TForm1::showItemList);
    connect(Button11, &QPushButton::clicked, this,
            [this] { ShowExtendedWindows(this, Form3.get(), Form4.get()); });

    setEmptyStateControls(true);
}

// The editing objects, connected to the grid, the map and the buttons.
void TForm1::createEditing()
{
    TableEditing = std::make_unique<TTableEditing>(Document, *MapView, *StringGrid1, Catalogue, m_dialogs, this);
    MouseEditing = std::make_unique<TMouseEditing>(Document, *MapView, *StringGrid1, m_dialogs, this);
    ObjectListEditing =
        std::make_unique<TObjectListEditing>(Document, *MapView, *StringGrid1, Catalogue, m_dialogs, this);
    WeaponBox = std::make_unique<TWeaponBox>(ComboBox3, Document, *StringGrid1, *TableEditing, m_dialogs, this);
    connect(TableEditing.get(), &TTableEditing::weaponBoxHideRequested, ComboBox3, &QWidget::hide);
    connect(MouseEditing.get(), &TMouseEditing::weaponBoxHideRequested, ComboBox3, &QWidget::hide);
    MouseEditing->headingLineFollows = [this] {
        if (StringGrid1->currentCol() == TObjectTable::ColHorzAngle)
            TableEditing->DrawHeadingIndicator(true);
    };
    connect(E_search, &QLineEdit::returnPressed, this,
            [this] { TableEditing->E_searchKeyDown(Qt::Key_Return, E_search->text()); });
    connect(Button9, &QPushButton::clicked, ObjectListEditing.get(), &TObjectListEditing::Button9Click);
    connect(Button10, &QPushButton::clicked, ObjectListEditing.get(), &TObjectListEditing::Button10Click);
}

// Enabled and visible states of the Empty state.
void TForm1::setEmptyStateControls(bool atStart)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             Button7, Button11, E_search, Button9, Button12, Button10, C_NG, StringGrid1, ComboBox1,
             ComboBox2, B_delmpname, B_Import, B_Export})
        w->setEnabled(false);
    for (QCheckBox *b : CheckBox)
        b->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{Button6, Button1, BitBtn1, PBar1})
        w->setEnabled(true);
    MapView->setMapControlsEnabled(false);
    // The zoom slider is usable before the first map; Reset disables it.
    MapView->ScrollBar1->setEnabled(atStart);
    Button8->hide();
    Button8->setEnabled(false);
    Button1->show();
    ComboBox3->hide();
}

void TForm1::FormCreate()
{
    DialogConfirmed = false;
    SavedCaption = windowTitle();
    m_caption = SavedCaption;
    Document.initialiseHeader();
    resize(1000, 600);
    // The tiles start at their places and Zoom at 1 (the map view does both);
    // the table's remembered row is 1.
    Document.CurrentRow = 1;
    // A settings file that cannot be read is reported and taken as missing.
    runGuarded(m_dialogs, this, [this] { Store.LoadSettings(m_files.settingsDir); });
    // Opens centred on its screen, with its frame within the screen's
    // available area: where the screen is narrower than the window, the
    // window is as narrow as that needs (800 at the least) once it shows
    // there; where it is still too large, its left and top edges stay on
    // the screen with the left strip and the title bar.
    TScreenFit::keepPlaced(this, [this] {
        const QRect area = TScreenFit::availableArea(this);
        if (area.isEmpty())
            return;
        const QMargins frame = TScreenFit::frameMargins(this);
        const int frameWidth = frame.left() + frame.right();
        if (isVisible() && width() + frameWidth > area.width())
            resize(std::max(minimumWidth(), area.width() - frameWidth), height());
        const QSize outer = frameGeometry().size();
        const QPoint centred(area.left() + (area.width() - outer.width()) / 2,
                             area.top() + (area.height() - outer.height()) / 2);
        move(TScreenFit::within(QRect(centred, outer), area));
    });
}

void TForm1::createWindows()
{
    Form6 = std::make_unique<TForm6>(this);
    Form2 = std::make_unique<TForm2>(Store, m_dialogs, this);
    // Export and import: an edit still open in a cell counts first. Import
    // takes the separator from the Setup field as it stands.
    Exchange = std::make_unique<TTableExchange>(Document, *MapView, m_dialogs, *Form6, this);
    connect(B_Export, &QPushButton::clicked, this, [this] {
        commitTableEdit();
        Exchange->ExportTable(Store.Settings);
    });
    connect(B_Import, &QPushButton::clicked, this, [this] {
        commitTableEdit();
        Exchange->ImportTable(Store.Settings.WorkDir, Form2->E_IESA->text());
    });
    Form3 = std::make_unique<TForm3>(Document, Store, m_dialogs, this);
    Form3->showMapFile = [this](const QString &path) { MapView->ShowMapFile(path); };
    Form3->SaveHost = this;
    Form4 = std::make_unique<TForm4>();
    Form5 = std::make_unique<TForm5>(Catalogue, this);
    // The Item List's creation reads the catalogue; one that cannot be read is
    // reported, and the program goes on without it.
    TCatalogueLoadResult items;
    runGuarded(m_dialogs, this, [this, &items] { items = Catalogue.LoadItemCatalogue(m_files.catalogueDir); });
    if (!items.found)
        Form6->ShowInfoMessage(QString(), items.line1, items.line2);
    Form7 = std::make_unique<TForm7>(Store);
    Form5->setObjectView(Form7.get());
    ObjectListEditing->pickedItemNumber = [this] { return Form5->Label1->text(); };
    connect(Form5.get(), &TForm5::useRequested, this,
            [this] { TableEditing->applyItem(Form5->Label1->text(), Form5->Label2->text()); });
    GameModeBoxes = std::make_unique<TGameModeBoxes>(Document, CheckBox, Form3->CheckBox, this);
    connectJournal();
    startRecoveryCopies();
    connect(&Document, &TMapDocument::openMapSaved, this, &TForm1::openMapSaved);
    Closing = std::make_unique<TClosing>(*this);
    // The session manager saves the session (a logout, a checkpoint).
    connect(qApp, &QGuiApplication::saveStateRequest, this,
            [this](QSessionManager &) { Closing->sessionStateSaved(); });
    // Its end comes as a quit of the whole program (below).
    qApp->installEventFilter(this);
    // The desktop's logout: the same question as closing, where it may be asked.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        commitTableEdit();
        if (Document.Journal.isClean())
            return;
        const bool ask = manager.allowsInteraction();
        if (!Closing->sessionMayEnd(ask))
            manager.cancel();
        if (ask)
            manager.release();
    });
    // The Object View is created last; its creation runs the command-line Load.
    if (!m_commandLineFile.isEmpty())
        Button1Click();
}

void TForm1::frontStartWindows()
{
    // Setup and Info are no children of the main window (a disabled main
    // window would disable them too), so they were shown before it and lie
    // below it. Marked as belonging to it, a window manager keeps them above
    // it; raised now, they are above it without one too.
    for (QWidget *w : std::initializer_list<QWidget *>{Form6.get(), Form2.get()}) {
        if (!w)
            continue;
        w->winId(); // the native window the mark is set on
        w->windowHandle()->setTransientParent(windowHandle());
        if (w->isVisible()) {
            w->raise();
            if (w == Form2.get())
                w->activateWindow();
        }
    }
}

void TForm1::showItemList()
{
    // Beside the main window, with room after it for the Object View that
    // "View" puts to the list's right.
    Form5->showBeside(this, Form7 ? Form7->frameGeometry().width() : 0);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // FormResize: above 1000 pixels the table takes the extra width.
    if (width() > 1000)
        StringGrid1->resize(width() - 555, StringGrid1->height());
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // (A main window whose other windows were never made closes as it is.)
    if (Closing && !Closing->closeRequested()) {
        event->ignore();
        return;
    }
    m_keepCopyAtEnd = Closing && Closing->keepsRecoveryCopy();
    FormDestroy();
    for (QWidget *w : std::initializer_list<QWidget *>{Form2.get(), Form3.get(), Form4.get(), Form5.get(),
                                                       Form6.get(), Form7.get()})
        if (w)
            w->hide();
    QWidget::closeEvent(event);
}

void TForm1::FormDestroy()
{
    // A normal end leaves no recovery copy: the changes were saved or
    // discarded. A session that ended without a question keeps it.
    if (Recovery && !m_keepCopyAtEnd)
        Recovery->finish();
    // Every run ends by writing the settings, also when nothing changed,
    // unless the file could not be read: its values are not ours to replace.
    if (m_settingsSaved)
        return;
    m_settingsSaved = true;
    runGuarded(m_dialogs, this, [this] { Store.SaveSettingsAtExit(); });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The session's end quits the program: the main window closes first,
    // without a question where the logout was answered; a close the user
    // cancels keeps the program (and no second question comes).
    if (watched == qApp && event->type() == QEvent::Quit && isVisible() && Closing)
        return !Closing->quitRequested();
    if (watched == ComboBox2 || watched == ComboBox2->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            // ComboBox2KeyDown: the text as it stands before the key acts.
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const QString text = ComboBox2->currentText();
            // Only a new name changes the box; any other text stays as typed
            // until the box is left.
            Document.changeMapNames([&](TMapNameBox &names) { names.keyDown(enter, text); });
            if (enter)
                return true;
        } else if (event->type() == QEvent::FocusOut) {
            // The box takes the focus for its line edit and hands the focus
            // events on to it directly, so the box itself says it was left
            // (the line edit too where a style gives it the focus; leaving
            // twice changes nothing more).
            const auto *focus = static_cast<QFocusEvent *>(event);
            if (focus->reason() != Qt::PopupFocusReason) {
                Document.changeMapNames([](TMapNameBox &names) { names.exit(); }); // ComboBox2Exit
                syncMapNameBox();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::commitTableEdit()
{
    MouseEditing->endDrag();
    StringGrid1->closeCellEditor();
}

void TForm1::syncMapNameBox()
{
    const TMapNameBox &names = Document.mapNames();
    // A box that shows them already is left as it is.
    bool same = ComboBox2->count() == names.items.size() && ComboBox2->currentIndex() == names.selected
        && names.selected >= 0 && ComboBox2->currentText() == names.selectedText();
    for (int i = 0; same && i < ComboBox2->count(); ++i)
        same = ComboBox2->itemText(i) == QString::fromLatin1(names.items[i]);
    if (same)
        return;
    const QSignalBlocker block(ComboBox2);
    ComboBox2->clear();
    for (const QByteArray &name : names.items)
        ComboBox2->addItem(QString::fromLatin1(name));
    ComboBox2->setCurrentIndex(names.selected);
    if (names.selected < 0)
        ComboBox2->setEditText(QString());
}

void TForm1::mapDataRead()
{
    // Shown while the terrain loader may still ask for its pictures.
    Form3->refreshMapData();
}

bool TForm1::runPictureChooser(TMapPicture which, const QString &title, QString &fileName)
{
    return Form3->runChooser(which, title, fileName);
}

void TForm1::showColourMap(const QImage &picture)
{
    MapView->setPicture(picture);
}
