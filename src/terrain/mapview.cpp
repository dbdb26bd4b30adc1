#include "mapview.h"

#include "marker.h"

#include <QCoreApplication>
#include <QFont>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <QtMath>

namespace {
const QRectF WindowRect(0, 0, ViewPanelSize, ViewPanelSize);

QPoint pixelOf(QPointF point)
{
    return QPoint(qFloor(point.x()), qFloor(point.y()));
}

// Euclidean remainder: where the picture's origin falls within one period.
std::int64_t periodPhase(std::int64_t offset, std::int64_t period)
{
    const std::int64_t r = offset % period;
    return r < 0 ? r + period : r;
}
}

TMapView::TMapView(const TViewState &view, QWidget *parent) : QGraphicsView(parent), m_view(view)
{
    auto *scene = new QGraphicsScene(WindowRect, this);
    // Every item moves on a full repositioning; an index would be rebuilt for
    // nothing, and repainting the whole window is cheaper than tracking the
    // regions of 2000 markers.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    setScene(scene);
    setSceneRect(WindowRect);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setOptimizationFlags(QGraphicsView::DontSavePainterState | QGraphicsView::DontAdjustForAntialiasing);
    setRenderHints(QPainter::RenderHints());
    setCacheMode(QGraphicsView::CacheNone);
    // The map window is no keyboard target: clicking it leaves the focus
    // where it was (the object table keeps its editor).
    setFocusPolicy(Qt::NoFocus);

    setTileLayout(startTileLayout());

    Selector = new TCircleShape(QColor(255, 255, 0), 2);
    Selector->setBounds(0, 0, SelectorSize, SelectorSize);
    Selector->setZValue(SelectorZ);
    Selector->hide();
    scene->addItem(Selector);

    Ranger = new TCircleShape(QColor(255, 0, 0), 1);
    Ranger->setZValue(RangerZ);
    Ranger->hide();
    scene->addItem(Ranger);

    Work_maske = new TWorkMask(this);
    Work_maske->setZValue(WorkMaskZ);
    scene->addItem(Work_maske);

    // The measuring circle keeps its last size between uses; before the first
    // use it has its design size.
    MetaMeter = new TCircleShape(QColor(0, 0, 0), 1, TCircleShape::PenMode::MergeNotPen);
    MetaMeter->setBounds(0, 0, 152, 152);
    MetaMeter->setZValue(MetaMeterZ);
    MetaMeter->hide();
    scene->addItem(MetaMeter);

    MeterAnz = new QGraphicsSimpleTextItem(QStringLiteral("MeterAnz"));
    QFont bold = MeterAnz->font();
    bold.setBold(true);
    MeterAnz->setFont(bold);
    MeterAnz->setBrush(QColor(255, 0, 255));
    MeterAnz->setAcceptedMouseButtons(Qt::NoButton);
    MeterAnz->setZValue(MeterAnzZ);
    MeterAnz->hide();
    scene->addItem(MeterAnz);

    // Keys for the map (Space, Escape) are told by the pointer, not by the
    // focus, which the map window never takes.
    QCoreApplication::instance()->installEventFilter(this);
}

TMapView::~TMapView() = default;

TTileLayout TMapView::tileLayout() const
{
    return {MImage1.bounds(), MImage2.bounds(), MImage3.bounds(), MImage4.bounds()};
}

void TMapView::setTileLayout(const TTileLayout &layout)
{
    MImage1.setBounds(layout[0]);
    MImage2.setBounds(layout[1]);
    MImage3.setBounds(layout[2]);
    MImage4.setBounds(layout[3]);
}

void TMapView::setPicture(const QImage &picture)
{
    if (picture.isNull()) {
        clearPicture();
        return;
    }
    QImage shown = picture;
    if (shown.width() != ViewPanelSize || shown.height() != ViewPanelSize)
        shown = shown.scaled(ViewPanelSize, ViewPanelSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Painting fetches from a 32-bit picture directly; an indexed one would be
    // converted on every paint.
    shown = shown.convertToFormat(QImage::Format_RGB32);
    // In the order MImage1 to MImage4; all share the one picture.
    for (TMImage *tile : tiles())
        tile->setPicture(shown);
    m_pictureBrush = QBrush(shown);
    viewport()->update();
}

void TMapView::clearPicture()
{
    for (TMImage *tile : tiles())
        tile->setPicture(QImage());
    m_pictureBrush = QBrush();
    viewport()->update();
}

void TMapView::addMarker(TMarker *marker)
{
    marker->setZValue(MarkerZ);
    scene()->addItem(marker);
}

void TMapView::bringSelectorToFront()
{
    Selector->setZValue(SelectorFrontZ);
}

void TMapView::clearWorkMask()
{
    Work_maske->clear();
}

void TMapView::drawOnWorkMask(QPoint from, QPoint to, const QPen &pen)
{
    Work_maske->drawLine(from, to, pen);
}

void TMapView::notifyMarkerPress(TMarker &marker, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers, QPointF point)
{
    emit markerPressed(marker.Tag, button, modifiers, pixelOf(point));
}

void TMapView::notifyWorkMaskPress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point)
{
    emit workMaskPressed(button, modifiers, pixelOf(point));
}

void TMapView::notifyWorkMaskMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF point)
{
    emit workMaskMoved(buttons, modifiers, pixelOf(point));
}

void TMapView::notifyMarkerMove(TMarker &marker, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                QPointF point)
{
    emit markerDragged(marker.Tag, buttons, modifiers, pixelOf(point));
}

void TMapView::notifyMarkerRelease(TMarker &marker, Qt::MouseButton button, QPointF point)
{
    emit markerReleased(marker.Tag, button, pixelOf(point));
}

void TMapView::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int angle = event->angleDelta().y();
    if (angle != 0)
        emit wheelTurned(angle, pixelOf(mapToScene(pixelOf(event->position()))));
}

void TMapView::mousePressEvent(QMouseEvent *event)
{
    m_heldButtons = event->buttons();
    // With Space held the left button drags the map: no item sees the press.
    if (event->button() == Qt::LeftButton && m_panKeyHeld && Work_maske->isEnabled()) {
        m_panning = true;
        m_panLast = pixelOf(event->position());
        event->accept();
        return;
    }
    QGraphicsView::mousePressEvent(event);
}

void TMapView::mouseMoveEvent(QMouseEvent *event)
{
    m_pointerOver = true;
    if (m_panning && (event->buttons() & Qt::LeftButton)) {
        const QPoint at = pixelOf(event->position());
        const QPoint delta = at - m_panLast;
        m_panLast = at;
        event->accept();
        if (!delta.isNull())
            emit panDragged(delta);
        return;
    }
    m_panning = false;
    QGraphicsView::mouseMoveEvent(event);
}

void TMapView::mouseReleaseEvent(QMouseEvent *event)
{
    m_heldButtons = event->buttons();
    if (m_panning && event->button() == Qt::LeftButton) {
        m_panning = false;
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

bool TMapView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Enter)
        m_pointerOver = true;
    else if (event->type() == QEvent::Leave)
        m_pointerOver = false;
    return QGraphicsView::viewportEvent(event);
}

bool TMapView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QGraphicsView::eventFilter(watched, event);
    // Only keys typed into the map's own window count.
    bool ours = false;
    if (const auto *widget = qobject_cast<const QWidget *>(watched))
        ours = widget->window() == window();
    else if (const auto *w = qobject_cast<const QWindow *>(watched))
        ours = w == window()->windowHandle();
    if (ours && takeKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QGraphicsView::eventFilter(watched, event);
}

// Space over the map arms the drag of the map instead of typing; Escape
// during a drag begun on the map cancels it. True when the key is used up.
bool TMapView::takeKey(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        if (event->type() == QEvent::KeyPress) {
            if (!m_pointerOver && !m_panKeyHeld && !m_panning)
                return false;
            m_panKeyHeld = true;
            return true;
        }
        if (event->isAutoRepeat())
            return m_panKeyHeld;
        const bool held = m_panKeyHeld;
        m_panKeyHeld = false;
        return held;
    }
    if (event->key() == Qt::Key_Escape && event->type() == QEvent::KeyPress && m_heldButtons != Qt::NoButton) {
        emit escapePressed();
        return true;
    }
    return false;
}

void TMapView::drawBackground(QPainter *painter, const QRectF &rect)
{
    const QRectF area = rect.intersected(WindowRect);
    if (!hasPicture()) {
        drawCaption(painter);
        return;
    }
    // The picture's origin sits at the offsets modulo one enlarged picture
    // (the place of MImage1); reducing the offsets keeps the painter's
    // texture coordinates small at any scroll distance, where its fast
    // fixed-point fetch applies.
    const std::int64_t period = std::int64_t(ViewPanelSize) * m_view.Zoom;
    if (m_view.Zoom >= PixelRectZoom) {
        drawPixelRects(painter, area, periodPhase(m_view.ViewOffsetX, period), periodPhase(m_view.ViewOffsetY, period));
        return;
    }
    const qreal zoom = m_view.Zoom;
    QBrush brush = m_pictureBrush;
    brush.setTransform(QTransform(zoom, 0, 0, zoom, qreal(periodPhase(m_view.ViewOffsetX, period)),
                                  qreal(periodPhase(m_view.ViewOffsetY, period))));
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->fillRect(area, brush);
}

// From this zoom on, every picture pixel is one filled square of its colour
// (at most 33 by 33 of them in the window). The brush's fixed-point texture
// fetch steps by the inverse of the whole scale, zoom times the screen's
// scale, and at large zooms on a high-density screen that error moves a
// pixel's edge by a device pixel; the squares' edges sit exactly on window
// pixels at every scale.
void TMapView::drawPixelRects(QPainter *painter, const QRectF &area, std::int64_t phaseX, std::int64_t phaseY)
{
    const QImage &picture = MImage1.picture();
    const std::int64_t zoom = m_view.Zoom;
    const QRect r = area.toAlignedRect();
    // The picture's pixel columns start at phaseX + k * zoom.
    auto firstEdge = [zoom](std::int64_t from, std::int64_t phase) {
        const std::int64_t d = from - phase;
        return phase + (d / zoom - (d % zoom < 0)) * zoom;
    };
    auto index = [zoom](std::int64_t edge, std::int64_t phase) {
        const std::int64_t i = ((edge - phase) / zoom) % ViewPanelSize;
        return int(i < 0 ? i + ViewPanelSize : i);
    };
    for (std::int64_t y = firstEdge(r.top(), phaseY); y <= r.bottom(); y += zoom) {
        const QRgb *line = reinterpret_cast<const QRgb *>(picture.constScanLine(index(y, phaseY)));
        for (std::int64_t x = firstEdge(r.left(), phaseX); x <= r.right(); x += zoom)
            painter->fillRect(QRect(int(x), int(y), int(zoom), int(zoom)), QColor(line[index(x, phaseX)]));
    }
}

void TMapView::drawCaption(QPainter *painter)
{
    const QPalette &pal = palette();
    painter->fillRect(WindowRect, pal.window());
    // A raised outer and a lowered inner bevel, one pixel each.
    const QRect outer(0, 0, ViewPanelSize, ViewPanelSize);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    auto bevel = [painter](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        painter->setPen(topLeft);
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(bottomRight);
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
    };
    bevel(outer, pal.light().color(), pal.dark().color());
    bevel(inner, pal.dark().color(), pal.light().color());
    painter->setPen(pal.windowText().color());
    painter->setFont(font());
    painter->drawText(outer, Qt::AlignCenter, caption());
}
