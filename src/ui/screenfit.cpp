#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

QMargins frameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

} // namespace

QPoint TScreenFit::within(const QRect &frame, const QRect &area)
{
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return QPoint(left, top);
}

QRect TScreenFit::availableArea(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

TScreenFit::TScreenFit(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("screenFit"));
}

void TScreenFit::keepPlaced(QWidget *window, std::function<void()> placement, const QList<QWidget *> &follows)
{
    auto *fit = window->findChild<TScreenFit *>(QStringLiteral("screenFit"), Qt::FindDirectChildrenOnly);
    if (!fit)
        fit = new TScreenFit(window);
    fit->m_placement = std::move(placement);
    fit->watch(QList<QWidget *>{window} + follows);
    fit->place();
}

void TScreenFit::watch(const QList<QWidget *> &windows)
{
    for (const Watched &w : std::as_const(m_watched))
        if (w.window)
            w.window->removeEventFilter(this);
    m_watched.clear();
    for (QWidget *w : windows) {
        if (!w)
            continue;
        w->installEventFilter(this);
        m_watched.append({w, QMargins()});
    }
}

void TScreenFit::place()
{
    if (m_placing || !m_placement)
        return;
    m_placing = true; // the placement's own moves are no reason to place again
    m_placement();
    for (Watched &w : m_watched)
        if (w.window)
            w.frame = frameOf(w.window);
    m_placing = false;
}

bool TScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_placement)
        return QObject::eventFilter(watched, event);
    if (watched == m_window && event->type() == QEvent::Hide) {
        m_placement = nullptr; // a placement is for the showing it was made for
        return QObject::eventFilter(watched, event);
    }
    // A frame arrives without an event of its own: it is looked for on the
    // events that follow it (the window mapped and painted, or moved).
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Paint:
        for (const Watched &w : std::as_const(m_watched))
            if (w.window == watched && frameOf(w.window) != w.frame) {
                place();
                break;
            }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
