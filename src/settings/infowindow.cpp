#include "infowindow.h"
#include "ui/screenfit.h"
#include "ui/windowstyle.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

static QLabel *messageLine(QWidget *parent, int top, const char *name)
{
    auto *label = new QLabel(QStringLiteral("TEXT"), parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(8, top, 377, 17);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // A long line is cut at the label's edges: no wrapping, no growing.
    label->setWordWrap(false);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

TForm6::TForm6(QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form6"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(451, 75);
    // A message is shown without taking the keys; a click on it takes them.
    setAttribute(Qt::WA_ShowWithoutActivating);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(3, 0, 393, 73);
    L_Text1 = messageLine(GroupBox1, 16, "L_Text1");
    L_Text2 = messageLine(GroupBox1, 40, "L_Text2");

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(400, 5, 49, 68);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setGeometry(408, 16, 33, 49);
    B_OK->raise();
    connect(B_OK, &QPushButton::clicked, this, &TForm6::B_OKClick);
    TWindowStyle::frameGroupBoxes(this);
}

QPoint TForm6::infoWindowPlace(const QRect &mainFrame, int infoOuterWidth)
{
    return QPoint(mainFrame.left() + mainFrame.width() / 2 - infoOuterWidth, mainFrame.top() + 100);
}

void TForm6::ShowInfoMessage(const QString &caption, const QString &line1, const QString &line2)
{
    placeAgainstMainWindow();
    if (!caption.isNull())
        setWindowTitle(caption);
    L_Text1->setText(line1);
    L_Text2->setText(line2);
    // The window the user works in keeps the keys (Enter after "Export"
    // still goes to the table): a window system that activates every window
    // it shows gives the activation back at once.
    QWidget *working = QApplication::activeWindow();
    show();
    raise();
    if (working && working != this)
        working->activateWindow();
    // The frames are known only once the windows have been shown: placed
    // again when the Info window's or the main window's frame arrives.
    TScreenFit::keepPlaced(this, [this] { placeAgainstMainWindow(); }, {m_mainWindow});
}

void TForm6::placeAgainstMainWindow()
{
    if (m_mainWindow)
        move(TScreenFit::within(QRect(infoWindowPlace(m_mainWindow->frameGeometry(), frameGeometry().width()),
                                      frameGeometry().size()),
                                TScreenFit::availableArea(m_mainWindow)));
}

void TForm6::B_OKClick()
{
    hide();
}
