#include "aboutwindow.h"
#include "document/category.h"
#include "ui/screenfit.h"
#include "ui/windowstyle.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <array>
#include <cstdint>

TForm4::TForm4(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form4"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("About"));
    resize(ShownSize);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(7, 2, 300, 250);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 300, 250);
    Image1->setPixmap(QPixmap::fromImage(AboutPicture()));
}

void TForm4::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm4::takeShownSize()
{
    // ShownSize is the outer size: take off the frame the platform gives.
    const QSize frame = frameGeometry().size() - size();
    resize(ShownSize - frame);
}

void TForm4::placeBesideSaveDialog(QWidget *saveDialog)
{
    takeShownSize();
    const QRect dialog = saveDialog->frameGeometry();
    const QRect beside(QPoint(dialog.left() + dialog.width(), dialog.top()), frameGeometry().size());
    move(TScreenFit::within(beside, TScreenFit::availableArea(saveDialog)));
}

void TForm4::showBesideSaveDialog(QWidget *saveDialog)
{
    show();
    if (saveDialog)
        TScreenFit::keepPlaced(this, [this, saveDialog] { placeBesideSaveDialog(saveDialog); },
                               {saveDialog});
    else
        TScreenFit::keepPlaced(this, [this] { takeShownSize(); });
    raise();
}

QPoint TForm4::centredPlace(const QRect &mainFrame, const QSize &aboutOuter)
{
    return QPoint(mainFrame.left() + 24 + 256 - aboutOuter.width() / 2,
                  mainFrame.top() + 24 + 256 - aboutOuter.height() / 2);
}

void TForm4::showCentredOn(QWidget *mainWindow)
{
    show();
    TScreenFit::keepPlaced(
        this,
        [this, mainWindow] {
            takeShownSize();
            if (mainWindow)
                move(TScreenFit::within(QRect(centredPlace(mainWindow->frameGeometry(), frameGeometry().size()),
                                              frameGeometry().size()),
                                        TScreenFit::availableArea(mainWindow)));
        },
        {mainWindow});
    raise();
}

// The picture: a small map window as the program shows one, drawn once.
namespace {

// Deterministic value noise: a lattice of pseudo-random heights, smoothly
// interpolated, so the made-up terrain looks the same on every run.
class TTerrainNoise {
public:
    explicit TTerrainNoise(std::uint32_t seed)
    {
        for (float &v : m_lattice) {
            seed = seed * 1664525u + 1013904223u;
            v = float(seed >> 8) / float(1u << 24);
        }
    }
    float at(float x, float y) const
    {
        const int ix = int(x), iy = int(y);
        const float fx = smooth(x - float(ix)), fy = smooth(y - float(iy));
        const float a = cell(ix, iy), b = cell(ix + 1, iy), c = cell(ix, iy + 1), d = cell(ix + 1, iy + 1);
        return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy;
    }

private:
    static constexpr int Side = 16;
    static float smooth(float t) { return t * t * (3 - 2 * t); }
    float cell(int x, int y) const { return m_lattice[(y % Side) * Side + (x % Side)]; }
    std::array<float, Side * Side> m_lattice{};
};

QRgb terrainColour(float height)
{
    if (height < 0.30f)
        return qRgb(40, 70, 150);   // deep water
    if (height < 0.36f)
        return qRgb(70, 110, 185);  // shallow water
    if (height < 0.40f)
        return qRgb(205, 190, 130); // shore
    if (height < 0.58f)
        return qRgb(80, 140, 60);   // grass
    if (height < 0.70f)
        return qRgb(50, 105, 45);   // forest
    if (height < 0.82f)
        return qRgb(120, 100, 75);  // rock
    return qRgb(235, 235, 240);     // snow
}

void drawTerrain(QImage &picture, const QRect &area)
{
    const TTerrainNoise coarse(482u), fine(1101u);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const float h = 0.75f * coarse.at(x / 40.0f, y / 40.0f) + 0.25f * fine.at(x / 11.0f, y / 11.0f);
            picture.setPixel(area.left() + x, area.top() + y, terrainColour(h));
        }
    }
}

} // namespace

QImage TForm4::AboutPicture()
{
    QImage picture(300, 250, QImage::Format_RGB32);
    picture.fill(qRgb(212, 208, 200));

    const QRect map(8, 30, 192, 192);
    drawTerrain(picture, map);

    QPainter p(&picture);
    // Caption strip.
    QLinearGradient strip(0, 0, 300, 0);
    strip.setColorAt(0, QColor(10, 36, 106));
    strip.setColorAt(1, QColor(166, 202, 240));
    p.fillRect(0, 0, 300, 22, strip);
    QFont font = p.font();
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, 200, 22), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Vellumar"));

    // The map window's frame.
    p.setPen(QColor(64, 64, 64));
    p.drawRect(map.adjusted(-1, -1, 0, 0));

    // Object markers, 4 by 4 in their category colours.
    struct Marker {
        int x, y, category;
    };
    static constexpr Marker markers[] = {
        {30, 40, 0},  {44, 52, 0},  {120, 60, 1}, {126, 66, 1}, {90, 100, 2}, {98, 104, 2},
        {60, 140, 3}, {150, 150, 4}, {156, 144, 4}, {162, 156, 4}, {110, 170, 5}, {40, 110, 5},
        {170, 90, 6}, {76, 60, 3},  {140, 120, 0}, {20, 170, 2},
    };
    for (const Marker &m : markers) {
        const TCategory &c = Categories[std::size_t(m.category)];
        const QRect r(map.left() + m.x, map.top() + m.y, 4, 4);
        p.fillRect(r, QColor::fromRgb(c.fill));
        p.setPen(QColor::fromRgb(c.outline));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    // The selection ring around one of the people.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 255, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(map.left() + 152, map.top() + 146), 11, 11);
    p.setRenderHint(QPainter::Antialiasing, false);

    // A strip of table rows beside the map.
    const QRect table(208, 30, 84, 192);
    p.fillRect(table, Qt::white);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(table.adjusted(0, 0, -1, -1));
    p.fillRect(table.left() + 1, table.top() + 1, table.width() - 2, 12, QColor(212, 208, 200));
    for (int row = 0; row < 13; ++row) {
        const int y = table.top() + 14 + row * 14;
        const TCategory &c = Categories[std::size_t(row % 7)];
        if (row == 8)
            p.fillRect(table.left() + 1, y, table.width() - 2, 13, QColor(10, 36, 106));
        p.fillRect(table.left() + 4, y + 4, 5, 5, QColor::fromRgb(c.fill));
        p.fillRect(table.left() + 14, y + 5, 20 + (row * 17) % 40, 3,
                   row == 8 ? QColor(255, 255, 255) : QColor(96, 96, 96));
        p.setPen(QColor(224, 224, 224));
        p.drawLine(table.left() + 1, y + 13, table.right() - 1, y + 13);
    }

    // Name and version under the map.
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(10, 36, 106));
    p.drawText(QRect(8, 224, 200, 26), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Vellumar"));
    font.setPixelSize(12);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(64, 64, 64));
    p.drawText(QRect(208, 224, 84, 26), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("v") + QStringLiteral(VELLUMAR_VERSION));
    p.end();
    return picture;
}
