#pragma once
// TForm4: the About window, the program's picture in a small tool window. It
// is shown beside the Save Map dialog or centred on a point of the main window.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

class QFrame;
class QLabel;

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    // Every showing makes the window 320 by 282 (outer size).
    static constexpr QSize ShownSize{320, 282};

    // The Extended button: the window's left edge at the Save Map dialog's
    // right edge, tops aligned, as far as the screen's available area lets
    // it; placed again when the window system gives the window its frame.
    void showBesideSaveDialog(QWidget *saveDialog);
    // That place and size, for a window already shown (the dialog moved).
    void placeBesideSaveDialog(QWidget *saveDialog);
    // The "?" button: centred on the point 280 pixels right of and below the
    // main window's top-left corner.
    void showCentredOn(QWidget *mainWindow);

    // Outer top-left that centres a window of outer size aboutOuter on that point.
    static QPoint centredPlace(const QRect &mainFrame, const QSize &aboutOuter);

    // The 300 by 250 true-colour picture of the program shown in Image1.
    static QImage AboutPicture();

    QFrame *Panel1;
    QLabel *Image1;

protected:
    // Escape closes the window, as its close box does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Every showing makes the outer size ShownSize.
    void takeShownSize();
};
