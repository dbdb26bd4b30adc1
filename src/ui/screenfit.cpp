#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QMargins TScreenFit::frameMargins(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void TScreenFit::moveWithin(QWidget *window)
{
    const QRect area = availableArea(window);
    if (!area.isEmpty())
        window->move(within(window->frameGeometry(), area));
}

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
    m_frameCheck.setInterval(100);
    connect(&m_frameCheck, &QTimer::timeout, this, &TScreenFit::checkFrames);
}

void TScreenFit::keepPlaced(QWidget *window, std::function<void()> placement, const QList<QWidget *> &follows)
{
    TScreenFit *fit = fitOf(window);
    fit->m_placement = std::move(placement);
    fit->watch(QList<QWidget *>{window} + follows);
    fit->place();
}

TScreenFit *TScreenFit::fitOf(QWidget *window)
{
    auto *fit = window->findChild<TScreenFit *>(QStringLiteral("screenFit"), Qt::FindDirectChildrenOnly);
    return fit ? fit : new TScreenFit(window);
}

void TScreenFit::watch(const QList<QWidget *> &windows)
{
    for (const Watched &w : std::as_const(m_watched))
        if (w.window)
            w.window->removeEventFilter(this);
    m_watched.clear();
    for (const QMetaObject::Connection &c : std::as_const(m_followed))
        disconnect(c);
    m_followed.clear();
    for (QWidget *w : windows) {
        if (!w)
            continue;
        w->installEventFilter(this);
        m_watched.append({w, QMargins()});
        // A window this one follows, moved by its own placement, takes this
        // one along; a move of the user's does not.
        if (w != m_window)
            m_followed.append(connect(fitOf(w), &TScreenFit::placed, this, &TScreenFit::placeAfterFollowed));
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
            w.frame = frameMargins(w.window);
    m_placing = false;
    // Some window systems give a frame with no event after it, and a busy
    // window manager may take seconds: the frames are looked at again every
    // tenth of a second for five seconds.
    m_checksLeft = 50;
    m_frameCheck.start();
    emit placed();
}

void TScreenFit::checkFrames()
{
    if (!m_placement || --m_checksLeft <= 0)
        m_frameCheck.stop();
    if (!m_placement)
        return;
    for (const Watched &w : std::as_const(m_watched))
        if (w.window && frameMargins(w.window) != w.frame) {
            place();
            return;
        }
}

void TScreenFit::placeAfterFollowed()
{
    // The followed window may be placed on this same event (its frame came
    // as it showed): the place that follows it is worked out from where it ends.
    if (m_placeQueued)
        return;
    m_placeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_placeQueued = false;
            place();
        },
        Qt::QueuedConnection);
}

bool TScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_placement)
        return QObject::eventFilter(watched, event);
    if (watched == m_window && event->type() == QEvent::Hide) {
        m_placement = nullptr; // a placement is for the showing it was made for
        return QObject::eventFilter(watched, event);
    }
    // A window placed before it was shown is placed again as it shows, on
    // its screen (a window coming back from the task bar is not).
    if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous()) {
        place();
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
            if (w.window == watched && frameMargins(w.window) != w.frame) {
                if (watched == m_window)
                    place();
                else
                    placeAfterFollowed();
                break;
            }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
