#pragma once
// TForm6: the Info window, the program's own non-blocking message box. A
// caller puts a caption and two centred bold lines into it and carries on;
// "OK" hides it. It stays above the program's other windows.

#include <QPoint>
#include <QRect>
#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window the message is placed against (not a parent, so
    // the Info window stays usable while the main window is disabled).
    explicit TForm6(QWidget *mainWindow);

    // Places the window against the main window, takes the caption (a null
    // caption leaves the current one) and the two lines, shows the window and
    // returns at once.
    void ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2);

    // Where the Info window's outer top-left goes: 100 below the main window's
    // top, its right edge at the main window's horizontal centre.
    static QPoint infoWindowPlace(const QRect &mainFrame, int infoOuterWidth);

    QGroupBox *GroupBox1;
    QLabel *L_Text1;
    QLabel *L_Text2;
    QFrame *Panel1;
    QPushButton *B_OK;

public slots:
    void B_OKClick();

private:
    void placeAgainstMainWindow();

    QWidget *m_mainWindow;
};
