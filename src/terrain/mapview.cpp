#include "mapview.h"

#include "marker.h"

#include "ui/itemdrag.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFont>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <QtMath>
#include <algorithm>
#include <cmath>

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

// A picture's pixels at half their brightness: the copies beyond the terrain.
QImage dimmedPicture(const QImage &picture)
{
    QImage dimmed = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < dimmed.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(dimmed.scanLine(y));
        for (int x = 0; x < dimmed.width(); ++x)
            line[x] = 0xFF000000 | ((line[x] >> 1) & 0x7F7F7F);
    }
    return dimmed;
}

// [from, to) clipped to the window's [low, high), as ints; empty when
// nothing of it is inside.
bool clipSpan(std::int64_t from, std::int64_t to, int low, int high, int &a, int &b)
{
    a = int(std::max<std::int64_t>(from, low));
    b = int(std::min<std::int64_t>(to, high));
    return a < b;
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

    RubberBand = new TRubberBand;
    RubberBand->setZValue(RubberBandZ);
    RubberBand->hide();
    scene->addItem(RubberBand);

    OutsideNote = new QGraphicsRectItem;
    auto *note = new QGraphicsSimpleTextItem(outsideText(), OutsideNote);
    note->setBrush(QColor(255, 255, 255));
    note->setPos(3, 1);
    const QRectF text = note->boundingRect();
    const qreal w = std::ceil(text.width()) + 6;
    const qreal h = std::ceil(text.height()) + 2;
    OutsideNote->setRect(0, 0, w, h);
    OutsideNote->setPos(ViewPanelSize - w - 3, 3);
    OutsideNote->setBrush(QColor(0, 0, 0));
    OutsideNote->setPen(Qt::NoPen);
    OutsideNote->setAcceptedMouseButtons(Qt::NoButton);
    note->setAcceptedMouseButtons(Qt::NoButton);
    OutsideNote->setZValue(OutsideNoteZ);
    OutsideNote->hide();
    scene->addItem(OutsideNote);
    setAcceptDrops(true);

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
    m_dimmed = dimmedPicture(shown);
    m_dimmedBrush = QBrush(m_dimmed);
    viewport()->update();
}

void TMapView::clearPicture()
{
    for (TMImage *tile : tiles())
        tile->setPicture(QImage());
    m_pictureBrush = QBrush();
    m_dimmed = QImage();
    m_dimmedBrush = QBrush();
    viewport()->update();
}

void TMapView::setTerrainEdgeShown(bool shown)
{
    m_edgeShown = shown;
    viewport()->update();
}

QString TMapView::outsideNoteText() const
{
    const QList<QGraphicsItem *> children = OutsideNote->childItems();
    const auto *text = children.isEmpty() ? nullptr : dynamic_cast<const QGraphicsSimpleTextItem *>(children.first());
    return text ? text->text() : QString();
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

void TMapView::addGroupMarks(QGraphicsItem *marks)
{
    marks->setZValue(GroupMarksZ);
    scene()->addItem(marks);
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

void TMapView::notifyWorkMaskRelease(Qt::MouseButton button, QPointF point)
{
    emit workMaskReleased(button, pixelOf(point));
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
    if (event->type() == QEvent::Enter) {
        m_pointerOver = true;
    } else if (event->type() == QEvent::Leave) {
        m_pointerOver = false;
        OutsideNote->hide();
    }
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
    if (event->type() != QEvent::KeyPress || !m_pointerOver || !Work_maske->isEnabled())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool plainOrShift = modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
    bool ours = false;
    switch (event->key()) {
    case Qt::Key_A: ours = modifiers == Qt::ControlModifier; break;
    case Qt::Key_Delete: ours = modifiers == Qt::NoModifier; break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_F: ours = plainOrShift; break;
    default: break;
    }
    if (ours)
        emit mapKeyPressed(event->key(), modifiers);
    return ours;
}

bool TMapView::acceptsDrag(const QMimeData *data) const
{
    return Work_maske->isEnabled() && draggedItem(data).has_value();
}

void TMapView::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMapView::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMapView::dragLeaveEvent(QDragLeaveEvent *event)
{
    event->accept();
}

void TMapView::dropEvent(QDropEvent *event)
{
    const auto item = Work_maske->isEnabled() ? draggedItem(event->mimeData()) : std::nullopt;
    if (!item) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit itemDropped(*item, pixelOf(mapToScene(pixelOf(event->position()))));
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
    const std::int64_t phaseX = periodPhase(m_view.ViewOffsetX, period);
    const std::int64_t phaseY = periodPhase(m_view.ViewOffsetY, period);
    if (m_view.Zoom >= PixelRectZoom) {
        drawPixelRects(painter, area, phaseX, phaseY);
    } else {
        const qreal zoom = m_view.Zoom;
        const QTransform place(zoom, 0, 0, zoom, qreal(phaseX), qreal(phaseY));
        QBrush brush = m_pictureBrush;
        brush.setTransform(place);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (!m_edgeShown) {
            painter->fillRect(area, brush);
            return;
        }
        // The terrain's own copy in full colour, the rest of the window dimmed:
        // each window pixel is painted once.
        QBrush dimmed = m_dimmedBrush;
        dimmed.setTransform(place);
        const QRect r = area.toAlignedRect();
        const TGround g = ground();
        int x0, x1, y0, y1;
        const bool inX = clipSpan(g.left, g.right, r.left(), r.right() + 1, x0, x1);
        const bool inY = clipSpan(g.top, g.bottom, r.top(), r.bottom() + 1, y0, y1);
        if (!inX || !inY) {
            painter->fillRect(r, dimmed);
        } else {
            painter->fillRect(QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)), brush);
            if (y0 > r.top())
                painter->fillRect(QRect(r.left(), r.top(), r.width(), y0 - r.top()), dimmed);
            if (y1 <= r.bottom())
                painter->fillRect(QRect(r.left(), y1, r.width(), r.bottom() + 1 - y1), dimmed);
            if (x0 > r.left())
                painter->fillRect(QRect(r.left(), y0, x0 - r.left(), y1 - y0), dimmed);
            if (x1 <= r.right())
                painter->fillRect(QRect(x1, y0, r.right() + 1 - x1, y1 - y0), dimmed);
        }
    }
    if (m_edgeShown)
        drawTerrainEdge(painter, area.toAlignedRect(), ground());
}

TMapView::TGround TMapView::ground() const
{
    const std::int64_t size = std::int64_t(ViewPanelSize) * m_view.Zoom;
    return {m_view.ViewOffsetX, m_view.ViewOffsetY, std::int64_t(m_view.ViewOffsetX) + size,
            std::int64_t(m_view.ViewOffsetY) + size};
}

// The edge runs on the window pixels just outside the terrain's own copy, so
// every pixel of the terrain stays as the picture has it.
void TMapView::drawTerrainEdge(QPainter *painter, const QRect &area, const TGround &g)
{
    QBrush dashes = dashBrush();
    dashes.setTransform(QTransform::fromTranslate(qreal(periodPhase(g.left, 8)), qreal(periodPhase(g.top, 8))));
    const int low = area.left(), high = area.right() + 1, top = area.top(), bottom = area.bottom() + 1;
    int a, b, c, d;
    // The two columns, each as tall as the terrain and one pixel beyond it.
    if (clipSpan(g.top - 1, g.bottom + 1, top, bottom, c, d)) {
        for (const std::int64_t x : {g.left - 1, g.right})
            if (clipSpan(x, x + 1, low, high, a, b))
                painter->fillRect(QRect(a, c, 1, d - c), dashes);
    }
    if (clipSpan(g.left - 1, g.right + 1, low, high, a, b)) {
        for (const std::int64_t y : {g.top - 1, g.bottom})
            if (clipSpan(y, y + 1, top, bottom, c, d))
                painter->fillRect(QRect(a, c, b - a, 1), dashes);
    }
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
    const bool dim = m_edgeShown && !m_dimmed.isNull();
    const TGround g = ground();
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
        const int source = index(y, phaseY);
        const QRgb *line = reinterpret_cast<const QRgb *>(picture.constScanLine(source));
        const QRgb *dimLine = dim ? reinterpret_cast<const QRgb *>(m_dimmed.constScanLine(source)) : line;
        const bool rowInside = y >= g.top && y < g.bottom;
        for (std::int64_t x = firstEdge(r.left(), phaseX); x <= r.right(); x += zoom) {
            const bool inside = !dim || (rowInside && x >= g.left && x < g.right);
            const int i = index(x, phaseX);
            painter->fillRect(QRect(int(x), int(y), int(zoom), int(zoom)), QColor(inside ? line[i] : dimLine[i]));
        }
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
