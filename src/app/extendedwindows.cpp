#include "extendedwindows.h"

#include "settings/aboutwindow.h"
#include "ui/screenfit.h"

#include <QWidget>

QPoint SaveMapDialogPlace(const QRect &mainFrame, const QSize &dialogFrame, const QRect &area)
{
    return TScreenFit::within(QRect(QPoint(mainFrame.left(), mainFrame.top() + mainFrame.height()), dialogFrame),
                              area);
}

void ShowExtendedWindows(QWidget *mainWindow, QWidget *saveDialog, TForm4 *about)
{
    TScreenFit::keepPlaced(saveDialog, [mainWindow, saveDialog, about] {
        saveDialog->move(SaveMapDialogPlace(mainWindow->frameGeometry(), saveDialog->frameGeometry().size(),
                                            TScreenFit::availableArea(mainWindow)));
        // The About window follows the dialog when the dialog's frame moved it.
        if (about->isVisible())
            about->placeBesideSaveDialog(saveDialog);
    }, {mainWindow});
    saveDialog->show();
    about->showBesideSaveDialog(saveDialog);
}
