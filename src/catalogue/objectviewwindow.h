#pragma once
// TForm7: the Object View window, the picture of the picked item from the
// item-picture directory, or the built-in "NO PIC" placeholder when there is
// none. A click on the picture closes it.

#include <QWidget>

class QFrame;
class QLabel;
struct TSettingsStore;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(TSettingsStore &store);

    static constexpr QSize PictureSize{320, 240};

    QFrame *Panel1;
    QLabel *JPEGImage1;
    QLabel *I_NOImage;

public slots:
    // Shows ImageListDir + numberText + ".jpg", or the placeholder when that
    // file is missing or cannot be decoded.
    void ShowItemPicture(const QString &numberText);
    void Panel1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TSettingsStore &m_store;
};
