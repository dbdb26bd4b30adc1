#include "dialogs.h"
#include "fileio/errors.h"
#include "terrain/pcxctrl.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <exception>
#include <new>

QString qtFilterFrom(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString patterns = parts[i + 1];
        // Match the extension in any case: the game's files are named both ways.
        QStringList globs;
        for (const QString &p : patterns.split(u';', Qt::SkipEmptyParts)) {
            globs << p;
            if (p.toLower() != p)
                globs << p.toLower();
            if (p.toUpper() != p)
                globs << p.toUpper();
        }
        globs.removeDuplicates();
        const qsizetype paren = description.indexOf(u'(');
        if (paren >= 0)
            description = description.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, globs.join(u' '));
    }
    return out.join(QStringLiteral(";;"));
}

QImage pcxPreviewPicture(const QString &path, const QSize &box)
{
    if (!QFileInfo(path).isFile())
        return QImage();
    TPCXBitmap bitmap;
    try {
        bitmap.LoadFromFile(path);
    } catch (const std::exception &) {
        return QImage();
    }
    const QImage &picture = bitmap.picture();
    if (picture.isNull())
        return QImage();
    // Shrunk smoothly, enlarged pixel by pixel so a small map stays sharp.
    const bool shrink = picture.width() > box.width() || picture.height() > box.height();
    return picture.scaled(box, Qt::KeepAspectRatio, shrink ? Qt::SmoothTransformation : Qt::FastTransformation);
}

// The picture-open dialog's preview pane: Qt's own (non-native) dialog with a
// label in a new column of its layout, showing the current file through our
// PCX reader.
static void addPicturePreview(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return;
    auto *preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    preview->setFixedSize(PicturePreviewSize + QSize(8, 8));
    preview->setText(QStringLiteral("no preview"));
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        const QImage picture = pcxPreviewPicture(path, PicturePreviewSize);
        if (picture.isNull())
            preview->setText(QStringLiteral("no preview"));
        else
            preview->setPixmap(QPixmap::fromImage(picture));
    });
}

static bool runFileDialog(QWidget *parent, TFileRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title, request.initialDir, qtFilterFrom(request.filter));
    if (request.picturePreview && mode == QFileDialog::AcceptOpen)
        addPicturePreview(dialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                       : request.fileMustExist       ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.fileName = dialog.selectedFiles().constFirst();
    return true;
}

bool TQtDialogs::openFile(QWidget *parent, TFileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

bool TQtDialogs::saveFile(QWidget *parent, TFileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString TQtDialogs::chooseDirectory(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, QString(), start);
}

void TQtDialogs::showError(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

int TQtDialogs::ask(QWidget *parent, const TQuestion &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vellumar"), question.text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (int i = 0; i < question.buttons.size(); ++i) {
        const QMessageBox::ButtonRole role = i == question.escapeButton ? QMessageBox::RejectRole
                                             : i == 0                   ? QMessageBox::AcceptRole
                                                                        : QMessageBox::DestructiveRole;
        buttons << box.addButton(question.buttons[i], role);
    }
    if (question.defaultButton >= 0 && question.defaultButton < buttons.size())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons[question.defaultButton]));
    if (question.escapeButton >= 0 && question.escapeButton < buttons.size())
        box.setEscapeButton(buttons[question.escapeButton]);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

bool runGuarded(TDialogs &dialogs, QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const TError &e) {
        dialogs.showError(parent, e.text());
    } catch (const std::bad_alloc &) {
        dialogs.showError(parent, QString::fromLatin1(Msg::OutOfMemory));
    } catch (const std::exception &e) {
        dialogs.showError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
