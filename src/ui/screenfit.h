#pragma once
// TScreenFit: keeps a window the program places on its screen. Places are
// worked out from outer frames, and the window system gives a window its
// frame only once it is shown and decorated, often a moment after show()
// returns, without moving it. So the placement is run again whenever the
// frame of the placed window, or of a window its place follows, changes:
// the first showing ends where every later one does. A move of the user's
// leaves the frames as they are and is never undone.

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <functional>

class QWidget;

class TScreenFit : public QObject {
    Q_OBJECT
public:
    // The top-left that puts an outer frame into area, moved as little as
    // possible; a frame larger than area keeps to area's top and left edges.
    static QPoint within(const QRect &frame, const QRect &area);
    // The area windows may take on the screen window is on (or the primary
    // screen): the screen without its panels. Empty when there is no screen.
    static QRect availableArea(const QWidget *window);

    // Runs placement now, and again whenever the frame of window or of one
    // of the windows it follows changes, until window is hidden or the next
    // keepPlaced for it replaces placement.
    static void keepPlaced(QWidget *window, std::function<void()> placement, const QList<QWidget *> &follows = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TScreenFit(QWidget *window);
    void watch(const QList<QWidget *> &windows);
    void place();

    struct Watched {
        QPointer<QWidget> window;
        QMargins frame;
    };
    QWidget *m_window;
    QList<Watched> m_watched;
    std::function<void()> m_placement;
    bool m_placing = false;
};
