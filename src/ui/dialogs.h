#pragma once
// TDialogs: the one way the program asks the user for files and shows its
// standard error box. Every file dialog follows the DialogConfirmed
// convention: the caller clears the flag, runs the dialog, and acts only when
// the dialog's confirm set it. Tests answer through their own TDialogs.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

struct TFileRequest {
    QString title;
    QString filter;      // in the program's "Description (*.EXT)|*.ext" form
    QString initialDir;
    QString fileName;    // proposed name; receives the chosen path on confirm
    bool fileMustExist = true;
    bool picturePreview = false; // the picture-open dialog with its preview pane
};

// A message box titled "Vellumar" that asks: its text and its buttons'
// captions, left to right, with the one Enter presses and the one Escape and
// the close box press (-1: the box cannot be closed without an answer).
struct TQuestion {
    QString text;
    QStringList buttons;
    int defaultButton = 0;
    int escapeButton = -1;
};

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // Returns DialogConfirmed; on confirm request.fileName holds the chosen path.
    virtual bool openFile(QWidget *parent, TFileRequest &request) = 0;
    virtual bool saveFile(QWidget *parent, TFileRequest &request) = 0;
    // A directory chooser; returns the chosen directory without trailing separator,
    // or an empty string when cancelled.
    virtual QString chooseDirectory(QWidget *parent, const QString &start) = 0;
    // The application's standard error box (blocks until dismissed).
    virtual void showError(QWidget *parent, const QString &text) = 0;
    // Asks the question (blocks until answered); returns the pressed button's index.
    virtual int ask(QWidget *parent, const TQuestion &question) = 0;
};

// Qt's file dialogs and message box.
class TQtDialogs : public TDialogs {
public:
    bool openFile(QWidget *parent, TFileRequest &request) override;
    bool saveFile(QWidget *parent, TFileRequest &request) override;
    QString chooseDirectory(QWidget *parent, const QString &start) override;
    void showError(QWidget *parent, const QString &text) override;
    int ask(QWidget *parent, const TQuestion &question) override;
};

// The picture-open dialog's preview: the PCX file at path decoded with the
// program's own reader and scaled to fit box (aspect ratio kept); a null
// picture when the path is no readable PCX file.
inline constexpr QSize PicturePreviewSize{200, 200};
QImage pcxPreviewPicture(const QString &path, const QSize &box = PicturePreviewSize);

// Converts "Description (*.EXT)|*.ext|..." to Qt's "Description (*.EXT *.ext);;..." form.
QString qtFilterFrom(const QString &filter);

// Runs one command: a TError (or any other exception) stops it, is shown in the
// standard error box, and the program returns to idle with the steps already
// done kept. Returns false when the command stopped with an error.
bool runGuarded(TDialogs &dialogs, QWidget *parent, const std::function<void()> &command);
