#pragma once
// TScreenFit: keeps a window the program places on its screen. Places are
// worked out from outer frames, and the window system gives a window its
// frame only once it is shown and decorated, often a moment after show()
// returns, without moving it. So the placement is run again whenever the
// frame of the placed window, or of a window its place follows, changes,
// and when the window is shown by the program after being placed hidden:
// the first showing ends where every later one does; a window is placed
// again, too, when a window its place follows was moved by its own placement.
// A move of the user's leaves the frames as they are and is never undone.

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>
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
    // The frame the window system puts around window (none before it is shown).
    static QMargins frameMargins(const QWidget *window);
    // Moves window so that its outer frame stays where it is if that is
    // within its area, else as little as it must.
    static void moveWithin(QWidget *window);

    // Runs placement now, and again whenever the frame of window or of one
    // of the windows it follows changes, until window is hidden or the next
    // keepPlaced for it replaces placement.
    static void keepPlaced(QWidget *window, std::function<void()> placement, const QList<QWidget *> &follows = {});

signals:
    // The placement has run (the window may have moved).
    void placed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TScreenFit(QWidget *window);
    // The window's own, made when it has none.
    static TScreenFit *fitOf(QWidget *window);
    void watch(const QList<QWidget *> &windows);
    void place();
    void placeAfterFollowed();
    void checkFrames();

    struct Watched {
        QPointer<QWidget> window;
        QMargins frame;
    };
    QWidget *m_window;
    QList<Watched> m_watched;
    QList<QMetaObject::Connection> m_followed;
    std::function<void()> m_placement;
    bool m_placing = false;
    bool m_placeQueued = false;
    QTimer m_frameCheck;
    int m_checksLeft = 0;
};
