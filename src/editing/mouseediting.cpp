#include "mouseediting.h"

#include "objectgrid.h"

#include "ui/dialogs.h"
#include "document/journalstep.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/mapview.h"
#include "terrain/mapviewpanel.h"
#include "terrain/marker.h"

#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <cstdlib>

TMouseEditing::TMouseEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid, TDialogs &dialogs,
                             QWidget *host)
    : QObject(host), m_document(document), m_view(view), m_grid(grid), m_dialogs(dialogs), m_host(host)
{
    connect(view.Panel1, &TMapView::workMaskMoved, this, &TMouseEditing::Work_maskeMouseMove);
    connect(view.Panel1, &TMapView::workMaskPressed, this, &TMouseEditing::Work_maskeMouseDown);
    connect(view.Panel1, &TMapView::markerPressed, this, &TMouseEditing::Shape1MouseDown);
}

void TMouseEditing::Work_maskeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint point)
{
    if (buttons == Qt::NoButton && modifiers == Qt::AltModifier)
        TrackMeter(point);
    // In 64 bits: a view scrolled very far must not turn every pointer move
    // into an overflow message.
    const TWideGamePoint game = windowToGameWide(m_view.View, point.x(), point.y());
    m_view.Label1->setText(QString::number(point.x()));
    m_view.Label4->setText(QString::number(game.X));
    m_view.Label2->setText(QString::number(point.y()));
    m_view.Label5->setText(QString::number(game.Y));
}

void TMouseEditing::Shape1MouseDown(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)
{
    runGuarded(m_dialogs, m_host, [&] {
        TMarker *m = row >= 1 && row <= TMapDocument::MaxObjects ? m_view.Markers[row] : nullptr;
        if (!m)
            return;
        m_document.CurrentRow = row;
        ToggleMeter(button, modifiers, point, row);
        TMapView &map = *m_view.Panel1;
        map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
        map.Selector->show();
        m_view.showRangerOn(m);
        if (button == Qt::RightButton)
            m_view.SelectionShown = true;
        // The table follows with a cell selection in its current column.
        if (m_grid.moveTo(std::max(m_grid.currentCol(), 0), row))
            m_grid.scrollRowToTop(row);
    });
}

void TMouseEditing::Work_maskeMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)
{
    runGuarded(m_dialogs, m_host, [&] {
        ToggleMeter(button, modifiers, point, -1);
        TMapView &map = *m_view.Panel1;
        if (button == Qt::LeftButton) {
            emit weaponBoxHideRequested();
            m_view.SelectionShown = false;
            map.Ranger->hide();
            map.Selector->hide();
            if (m_grid.currentCol() == TObjectTable::ColHorzAngle)
                map.clearWorkMask();
        } else if (button == Qt::RightButton && m_view.SelectionShown) {
            moveCurrentObjectTo(point);
        }
    });
}

// The armed object's marker lands with its top left corner on the pressed
// pixel; the cache and the "X-Axis" and "Y-Axis" cells take the game position
// of that pixel.
void TMouseEditing::moveCurrentObjectTo(QPoint point)
{
    TMarker *m = m_view.currentMarker();
    if (!m)
        return;
    const TGamePoint game = windowToGame(m_view.View, point.x(), point.y());
    TJournalStep step(m_document, QStringLiteral("Move object"));
    const int row = m_document.CurrentRow;
    m->setTopLeft(point);
    m_document.ObjectX[row - 1] = game.X;
    m_document.ObjectY[row - 1] = game.Y;
    TMapView &map = *m_view.Panel1;
    map.clearWorkMask();
    m_document.Table.setCell(TObjectTable::ColX, row, QString::number(game.X));
    m_document.Table.setCell(TObjectTable::ColY, row, QString::number(game.Y));
    m_view.showRangerOn(m);
    map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
}

void TMouseEditing::ToggleMeter(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point, int row)
{
    if (button != Qt::LeftButton || modifiers != Qt::AltModifier)
        return;
    const TViewState &v = m_view.View;
    if (row != -1) {
        const TMarker *m = m_view.Markers[row];
        MeterOriginX = checkedSub(m->left() + MarkerSize / 2, v.ViewOffsetX) / v.Zoom;
        MeterOriginY = checkedSub(m->top() + MarkerSize / 2, v.ViewOffsetY) / v.Zoom;
    } else {
        MeterOriginX = checkedSub(point.x(), v.ViewOffsetX) / v.Zoom;
        MeterOriginY = checkedSub(point.y(), v.ViewOffsetY) / v.Zoom;
    }
    TMapView &map = *m_view.Panel1;
    map.MetaMeter->setVisible(!map.MetaMeter->isVisible());
    map.MeterAnz->setVisible(!map.MeterAnz->isVisible());
}

void TMouseEditing::TrackMeter(QPoint point)
{
    const TViewState &v = m_view.View;
    const std::int64_t dx = std::llabs(std::int64_t(MeterOriginX) * v.Zoom - (std::int64_t(point.x()) - v.ViewOffsetX));
    const std::int64_t dy = std::llabs(std::int64_t(MeterOriginY) * v.Zoom - (std::int64_t(point.y()) - v.ViewOffsetY));
    const double radius = std::trunc(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)));
    MeterRadius = radius < double(INT32_MAX / 2) ? std::int32_t(radius) : INT32_MAX / 2;
    TMapView &map = *m_view.Panel1;
    const std::int64_t top = std::int64_t(MeterOriginY) * v.Zoom + v.ViewOffsetY - MeterRadius;
    const std::int64_t left = std::int64_t(MeterOriginX) * v.Zoom + v.ViewOffsetX - MeterRadius;
    map.MetaMeter->setBounds(int(std::clamp<std::int64_t>(left, INT32_MIN / 2, INT32_MAX / 2)),
                             int(std::clamp<std::int64_t>(top, INT32_MIN / 2, INT32_MAX / 2)), 2 * MeterRadius,
                             2 * MeterRadius);
    map.MeterAnz->setPos(point.x() + 15, point.y() + 10);
    map.MeterAnz->setText(QString::number(MeterRadius / v.Zoom * 2));
}
