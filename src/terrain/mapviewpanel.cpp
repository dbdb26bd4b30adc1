#include "mapviewpanel.h"

#include "ui/dialogs.h"
#include "document/category.h"
#include "fileio/errors.h"
#include "document/numbers.h"
#include "pcxctrl.h"
#include "ui/thumbstyle.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <cstdlib>

namespace {
std::int32_t narrowed(std::int64_t v);

QPushButton *makeButton(QWidget *host, const char *caption, int x, int y)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), host);
    b->setGeometry(x, y, 16, 16);
    return b;
}

QScrollBar *makeScrollBar(QWidget *host, Qt::Orientation orientation, QRect geometry, int min,
                          int max, int position)
{
    auto *s = new QScrollBar(orientation, host);
    s->setGeometry(geometry);
    s->setRange(min, max);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setValue(position);
    return s;
}

QLabel *makeLabel(QWidget *parent, const char *caption, QRect geometry)
{
    auto *l = new QLabel(QString::fromLatin1(caption), parent);
    l->setGeometry(geometry);
    return l;
}

// The window readout keeps its place and grows to hold its caption where the
// design's spacing is too narrow for it ("Local_x" needs more than the 24
// pixels before "KZ_x"); the game readout then starts a little after it and
// keeps its right end.
void placeReadoutPair(QLabel *window, QLabel *game)
{
    constexpr int Gap = 2;
    const int needed = window->fontMetrics().horizontalAdvance(window->text()) + 1;
    if (needed <= window->width())
        return;
    const int end = game->geometry().right();
    window->resize(needed, window->height());
    game->setGeometry(window->x() + needed + Gap, game->y(), end + 1 - (window->x() + needed + Gap), game->height());
}
}

TMapViewPanel::TMapViewPanel(QWidget *host, TMapDocument &document, TDialogs &dialogs)
    : QObject(host), Panel1(new TMapView(View, host)),
      Markers(*Panel1, View, document, [this](int category) { return categoryBoxes()[category]->isChecked(); }),
      m_host(host), m_document(document), m_dialogs(dialogs)
{
    Panel1->setGeometry(24, 24, ViewPanelSize, ViewPanelSize);

    Button5 = makeButton(host, "#", 4, 4);
    ScrollBar2 = makeScrollBar(host, Qt::Horizontal, QRect(24, 4, 48, 16), -2, 2, 0);
    ScrollBar3 = makeScrollBar(host, Qt::Vertical, QRect(4, 24, 16, 48), -2, 2, 0);

    Panel2 = new QFrame(host);
    Panel2->setGeometry(2, 75, 19, 83);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label14 = makeLabel(Panel2, "Z", QRect(1, 2, 17, 13));
    Label15 = makeLabel(Panel2, "O", QRect(1, 15, 17, 13));
    Label16 = makeLabel(Panel2, "O", QRect(1, 28, 17, 13));
    Label17 = makeLabel(Panel2, "M", QRect(1, 41, 17, 13));
    for (QLabel *l : {Label14, Label15, Label16, Label17})
        l->setAlignment(Qt::AlignCenter);
    E_Zoom = new QLineEdit(QStringLiteral("1"), Panel2);
    E_Zoom->setGeometry(1, 58, 17, 21);
    E_Zoom->setFrame(false);
    E_Zoom->setAlignment(Qt::AlignCenter);
    E_Zoom->setEnabled(false);

    ScrollBar1 = makeScrollBar(host, Qt::Vertical, QRect(3, 159, 16, 48), MinZoom, MaxZoom, MinZoom);
    // Its track is too short for the style's least thumb: a shorter thumb
    // keeps the slider draggable.
    TThumbStyle::apply(ScrollBar1);

    Button2 = makeButton(host, "c", 4, 219);
    Button3 = makeButton(host, "d", 4, 243);
    Button4 = makeButton(host, "m", 4, 267);

    // The boxes sit below the map in the order of the categories.
    static constexpr std::array<int, 7> boxX{28, 116, 184, 256, 320, 384, 456};
    static constexpr std::array<int, 7> boxWidth{85, 65, 69, 61, 61, 69, 73};
    std::array<QCheckBox *, 7> boxes{};
    for (int i = 0; i < 7; ++i) {
        boxes[i] = new QCheckBox(QString::fromLatin1(Categories[i].name), host);
        boxes[i]->setGeometry(boxX[i], 541, boxWidth[i], 17);
        boxes[i]->setChecked(true);
        boxes[i]->setToolTip(QStringLiteral("Show / Hide ~"));
    }
    C_10 = boxes[0];
    C_20 = boxes[1];
    C_30 = boxes[2];
    C_40 = boxes[3];
    C_50 = boxes[4];
    C_60 = boxes[5];
    C_70 = boxes[6];

    Label1 = makeLabel(host, "Local_x", QRect(544, 3, 24, 17));
    Label4 = makeLabel(host, "KZ_x", QRect(568, 3, 62, 17));
    Label2 = makeLabel(host, "Local_y", QRect(630, 3, 26, 17));
    Label5 = makeLabel(host, "KZ_y", QRect(656, 3, 78, 17));
    placeReadoutPair(Label1, Label4);
    placeReadoutPair(Label2, Label5);

    setMapControlsEnabled(false);
    // Zooming is possible before any map is loaded.
    ScrollBar1->setEnabled(true);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TMapViewPanel::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TMapViewPanel::ScrollBar2Change);
    connect(ScrollBar3, &QScrollBar::valueChanged, this, &TMapViewPanel::ScrollBar3Change);
    connect(Button2, &QPushButton::clicked, this, &TMapViewPanel::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TMapViewPanel::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TMapViewPanel::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TMapViewPanel::Button5Click);
    for (QCheckBox *box : boxes)
        connect(box, &QCheckBox::toggled, this, &TMapViewPanel::C_10Click);
    connect(Panel1, &TMapView::wheelTurned, this, &TMapViewPanel::wheelZoom);
    connect(Panel1, &TMapView::panDragged, this, &TMapViewPanel::panBy);
    connect(Panel1, &TMapView::mapKeyPressed, this, &TMapViewPanel::mapKey);
}

TMapViewPanel::~TMapViewPanel() = default;

void TMapViewPanel::guarded(const std::function<void()> &command)
{
    runGuarded(m_dialogs, m_host, command);
}

void TMapViewPanel::setMapControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{Button2, Button3, Button4, Button5, ScrollBar1,
                                                       ScrollBar2, ScrollBar3})
        w->setEnabled(enabled);
    Panel1->Work_maske->setEnabled(enabled);
}

// --- view operations ------------------------------------------------------

void TMapViewPanel::MoveView(std::int32_t dx, std::int32_t dy, bool full, int zoomDirection)
{
    View.ViewOffsetX = checkedSub(View.ViewOffsetX, dx);
    View.ViewOffsetY = checkedSub(View.ViewOffsetY, dy);

    const bool moveAll = full || zoomDirection != 0;
    if (moveAll || dx != 0 || dy != 0)
        Markers.place(moveAll);

    if (Panel1->Selector->isVisible()) {
        if (TMarker *m = Markers.currentMarker())
            Panel1->Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
    }
    if (Panel1->MetaMeter->isVisible()) {
        if (zoomDirection != 0) {
            Panel1->MetaMeter->hide();
            Panel1->MeterAnz->hide();
        } else {
            Panel1->MetaMeter->moveByPixels(-dx, -dy);
            Panel1->MeterAnz->moveBy(-dx, -dy);
        }
    }
    if (Panel1->Ranger->isVisible())
        Panel1->Ranger->moveByPixels(-dx, -dy);
    Panel1->viewport()->update();
}

void TMapViewPanel::LayoutTiles()
{
    Panel1->setTileLayout(layoutTiles(View));
    Panel1->viewport()->update();
}

void TMapViewPanel::ShowMapFile(const QString &path)
{
    TPCXBitmap bitmap;
    bitmap.LoadFromFile(path);
    setPicture(bitmap.picture());
}

void TMapViewPanel::setPicture(const QImage &picture)
{
    Panel1->setPicture(picture);
}

void TMapViewPanel::clearPicture()
{
    Panel1->clearPicture();
}

// --- markers --------------------------------------------------------------

void TMapViewPanel::followDocument()
{
    Markers.follow();
    MoveView(0, 0, true, 0);
    // The selection marks stay shown or hidden, and their size, on the
    // current object; no cell is read for them.
    Markers.putSelectionMarks(Markers.selectionMarks());
}

// --- reset and centring ---------------------------------------------------

void TMapViewPanel::resetView()
{
    View = TViewState{};
    Panel1->setTileLayout(startTileLayout());
    {
        // The slider only follows: the zoom step would move markers and
        // circles that Reset removes or hides anyway.
        const QSignalBlocker block(ScrollBar1);
        ScrollBar1->setValue(MinZoom);
    }
    E_Zoom->setText(QString::number(View.Zoom));
    Markers.destroyAll();
    clearPicture();
    Markers.hideMarks();
    Panel1->MetaMeter->hide();
    Panel1->MeterAnz->hide();
    Panel1->RubberBand->hide();
    Panel1->OutsideNote->hide();
    Markers.setSelectedRows({});
    Panel1->clearWorkMask();
    Panel1->viewport()->update();
}

void TMapViewPanel::centreOnObjects()
{
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    ::centreOnObjects(View, m_document.ObjectX.data(), m_document.ObjectY.data(), count);
    MoveView(0, 0, true, 0);
    LayoutTiles();
}

// --- handlers -------------------------------------------------------------

void TMapViewPanel::showOffsets()
{
    Label1->setText(QString::number(View.ViewOffsetX));
    Label2->setText(QString::number(View.ViewOffsetY));
}

void TMapViewPanel::ScrollBar1Change()
{
    guarded([this] { zoomStep(); });
}

void TMapViewPanel::zoomStep()
{
    const std::int32_t position = ScrollBar1->value();
    E_Zoom->setText(QString::number(position));
    const int direction = zoomTo(View, position);
    MoveView(0, 0, true, direction);
    showOffsets();
    LayoutTiles();
    // Without a current object (no map loaded yet, or a map without objects)
    // there is no radius to show: the step is skipped rather than failing on
    // a "Radius" cell that holds no number. Zoom, offsets and tiles stay
    // consistent, so a later load shows its map at this zoom.
    if (TMarker *m = Markers.currentMarker())
        Markers.showRangerOn(m);
}

void TMapViewPanel::ScrollBar2Change()
{
    guarded([this] { scrollStep(TScrollAxis::Horizontal, ScrollBar2); });
}

void TMapViewPanel::ScrollBar3Change()
{
    guarded([this] { scrollStep(TScrollAxis::Vertical, ScrollBar3); });
}

void TMapViewPanel::scrollStep(TScrollAxis axis, QScrollBar *bar)
{
    const std::int32_t position = bar->value();
    if (position == 0)
        return;
    // The bar springs back to 0 at once, so every arrow click is one step and
    // a failing step does not leave it off centre.
    {
        const QSignalBlocker block(bar);
        bar->setValue(0);
    }
    const std::int32_t step = checkedMul(ScrollStepPixels, position);
    TTileLayout tiles = Panel1->tileLayout();
    scrollTiles(tiles, axis, step);
    Panel1->setTileLayout(tiles);
    if (axis == TScrollAxis::Vertical)
        MoveView(0, step, false, 0);
    else
        MoveView(step, 0, false, 0);
    showOffsets();
    Markers.marksFollowView();
}

void TMapViewPanel::showPointerReadout(QPoint point)
{
    // In 64 bits: a view scrolled very far must not turn every pointer move
    // into an overflow message.
    const TWideGamePoint game = windowToGameWide(View, point.x(), point.y());
    Label1->setText(QString::number(point.x()));
    Label4->setText(QString::number(game.X));
    Label2->setText(QString::number(point.y()));
    Label5->setText(QString::number(game.Y));
    Panel1->OutsideNote->setVisible(!windowPixelOnTerrain(View, point.x(), point.y()));
}

void TMapViewPanel::mapKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key != Qt::Key_F)
        return;
    guarded([&] {
        if (modifiers & Qt::ShiftModifier)
            zoomToSelection();
        else
            fitTerrain();
    });
}

void TMapViewPanel::fitTerrain()
{
    showArea(MinZoom, 0, 0);
}

void TMapViewPanel::zoomToSelection()
{
    // Marker places at zoom 1 from the map's corner, as the transform puts them.
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    std::int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
    for (int row : Markers.selectedRows()) {
        if (row > count)
            continue;
        const std::int64_t x = m_document.ObjectX[row - 1] / GameUnitsPerPixel;
        const std::int64_t y = -(m_document.ObjectY[row - 1] / GameUnitsPerPixel);
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (left > right)
        return;
    // The markers and their marks keep this far from the window's edges.
    constexpr std::int64_t Margin = 16;
    constexpr std::int64_t room = ViewPanelSize - 2 * Margin - MarkerSize;
    std::int64_t zoom = MaxZoom;
    for (const std::int64_t span : {right - left, bottom - top})
        if (span > 0)
            zoom = std::min(zoom, room / span);
    zoom = std::max<std::int64_t>(zoom, MinZoom);
    const std::int64_t offsetX = ViewCentre - ((left + right) * zoom + MarkerSize) / 2;
    const std::int64_t offsetY = ViewCentre - ((top + bottom) * zoom + MarkerSize) / 2;
    showArea(std::int32_t(zoom), narrowed(offsetX), narrowed(offsetY));
}

void TMapViewPanel::showArea(std::int32_t zoom, std::int32_t offsetX, std::int32_t offsetY)
{
    const int direction = zoom > View.Zoom ? 1 : zoom < View.Zoom ? -1 : 0;
    {
        // The zoom step's own offset correction does not apply: the offsets are given.
        const QSignalBlocker block(ScrollBar1);
        ScrollBar1->setValue(zoom);
    }
    E_Zoom->setText(QString::number(zoom));
    View.Zoom = zoom;
    MoveView(checkedSub(View.ViewOffsetX, offsetX), checkedSub(View.ViewOffsetY, offsetY), true, direction);
    LayoutTiles();
    showOffsets();
    if (Panel1->Ranger->isVisible())
        if (TMarker *m = Markers.currentMarker())
            Markers.showRangerOn(m);
}

void TMapViewPanel::wheelZoom(int angle, QPoint point)
{
    constexpr int Notch = 120;
    // A turn the other way starts counting afresh.
    if ((m_wheelAngle < 0) != (angle < 0))
        m_wheelAngle = 0;
    m_wheelAngle += angle;
    while (m_wheelAngle >= Notch || m_wheelAngle <= -Notch) {
        const int direction = m_wheelAngle > 0 ? 1 : -1;
        m_wheelAngle -= direction * Notch;
        zoomAtPoint(direction, point);
    }
}

namespace {
// a / b rounded to the nearest integer, halves away from zero; b > 0.
std::int64_t roundedDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

std::int32_t narrowed(std::int64_t v)
{
    if (v < INT32_MIN || v > INT32_MAX)
        throw TError(Msg::IntegerOverflow);
    return std::int32_t(v);
}
}

void TMapViewPanel::zoomAtPoint(int direction, QPoint point)
{
    if (!ScrollBar1->isEnabled())
        return;
    const std::int32_t target = View.Zoom + direction;
    if (target < MinZoom || target > MaxZoom)
        return;
    const TViewState before = View;
    // The slider's own step first: E_Zoom, tiles, markers and circles follow
    // as for a click on it.
    ScrollBar1->setValue(target);
    if (View.Zoom != target)
        return;
    guarded([&] {
        // The map point under the pointer, (point - offset) / Zoom map
        // pixels, comes back under it at the new zoom.
        const auto corrected = [&](std::int32_t p, std::int32_t offset) {
            return narrowed(p - roundedDiv((std::int64_t(p) - offset) * View.Zoom, before.Zoom));
        };
        const std::int32_t dx = checkedSub(View.ViewOffsetX, corrected(point.x(), before.ViewOffsetX));
        const std::int32_t dy = checkedSub(View.ViewOffsetY, corrected(point.y(), before.ViewOffsetY));
        MoveView(dx, dy, true, 0);
        LayoutTiles();
        showOffsets();
        if (Panel1->Work_maske->isEnabled())
            showPointerReadout(point);
    });
}

void TMapViewPanel::panBy(QPoint delta)
{
    guarded([&] {
        TTileLayout tiles = Panel1->tileLayout();
        scrollTiles(tiles, TScrollAxis::Horizontal, -delta.x());
        scrollTiles(tiles, TScrollAxis::Vertical, -delta.y());
        Panel1->setTileLayout(tiles);
        // A move within the scroll band's margin leaves no marker stale
        // inside the window; a longer jump repositions every marker.
        const bool full = std::abs(delta.x()) > ScrollStepPixels || std::abs(delta.y()) > ScrollStepPixels;
        MoveView(-delta.x(), -delta.y(), full, 0);
        showOffsets();
        Markers.marksFollowView();
    });
}

void TMapViewPanel::Button2Click()
{
    guarded([this] {
        if (Terrain)
            ShowMapFile(Terrain->ColourMapPath);
    });
}

void TMapViewPanel::Button3Click()
{
    guarded([this] {
        if (Terrain)
            ShowMapFile(Terrain->ElevationMapPath);
    });
}

void TMapViewPanel::Button4Click()
{
    guarded([this] {
        if (Terrain)
            ShowMapFile(Terrain->DetailMapPath);
    });
}

void TMapViewPanel::Button5Click()
{
    guarded([this] {
        TMarker *m = Markers.currentMarker();
        if (!m)
            return;
        const int row = m_document.CurrentRow;
        const TObjectTable &table = m_document.Table;
        const std::int32_t posX = StrToInt(table.cell(TObjectTable::ColX, row),
                                           TObjectTable::cellName(TObjectTable::ColX, row));
        const std::int32_t posY = StrToInt(table.cell(TObjectTable::ColY, row),
                                           TObjectTable::cellName(TObjectTable::ColY, row));
        centreOn(View, posX, posY);
        MoveView(0, 0, true, 0);
        LayoutTiles();
        Markers.showRangerOn(m);
        Panel1->Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
    });
}

void TMapViewPanel::C_10Click()
{
    Markers.applyFilters();
}
