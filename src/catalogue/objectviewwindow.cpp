#include "objectviewwindow.h"
#include "jpegpicture.h"
#include "fileio/errors.h"
#include "settings/settings.h"
#include "ui/windowstyle.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <exception>

TForm7::TForm7(TSettingsStore &store)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_store(store)
{
    setObjectName(QStringLiteral("Form7"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("Object View"));
    setFixedSize(327, 248);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(2, 3, 324, 244);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    JPEGImage1 = new QLabel(Panel1);
    JPEGImage1->setObjectName(QStringLiteral("JPEGImage1"));
    JPEGImage1->setGeometry(QRect(QPoint(2, 2), PictureSize));
    JPEGImage1->setAlignment(Qt::AlignCenter);

    I_NOImage = new QLabel(Panel1);
    I_NOImage->setObjectName(QStringLiteral("I_NOImage"));
    I_NOImage->setGeometry(QRect(QPoint(2, 2), PictureSize));
    I_NOImage->setAlignment(Qt::AlignCenter);
    I_NOImage->setPixmap(QPixmap::fromImage(NoPicturePlaceholder()));
    I_NOImage->raise();

    for (QWidget *w : {static_cast<QWidget *>(Panel1), static_cast<QWidget *>(JPEGImage1),
                       static_cast<QWidget *>(I_NOImage)})
        w->installEventFilter(this);
}

void TForm7::ShowItemPicture(const QString &numberText)
{
    const QString path = m_store.Settings.ImageListDir + numberText + QStringLiteral(".jpg");
    QImage picture;
    QString problem;
    if (QFileInfo(path).isFile()) {
        try {
            picture = LoadItemPicture(path);
        } catch (const TError &e) {
            problem = e.message();
        } catch (const std::exception &e) {
            problem = QString::fromLocal8Bit(e.what());
        }
    }
    if (picture.isNull()) {
        // A file that cannot be decoded shows the placeholder like a missing
        // one; its tooltip says which file and why, without a message box
        // while the user browses the list.
        I_NOImage->setToolTip(problem.isEmpty() ? QString() : path + QStringLiteral(": ") + problem);
        I_NOImage->show();
        I_NOImage->raise();
        return;
    }
    // A picture of another size is scaled to fit 320 by 240 with its aspect
    // ratio kept, and centred in the picture area.
    if (picture.size() != PictureSize)
        picture = picture.scaled(PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    I_NOImage->setToolTip(QString());
    I_NOImage->hide();
    JPEGImage1->setPixmap(QPixmap::fromImage(picture));
    JPEGImage1->update();
}

void TForm7::Panel1Click()
{
    hide();
}

bool TForm7::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the panel or on either picture closes the window.
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
        && (watched == Panel1 || watched == JPEGImage1 || watched == I_NOImage)) {
        Panel1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
