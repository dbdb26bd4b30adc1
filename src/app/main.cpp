#include "ui/dialogs.h"
#include "mainwindow.h"
#include "programstart.h"
#include "termination.h"
#include "settings/programdir.h"
#include "ui/windowstyle.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMAR_VERSION));
    // The desktop entry's id: Wayland compositors match windows to it.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELLUMAR_APP_ID));
    QIcon icon;
    for (const int size : {48, 256})
        icon.addFile(QStringLiteral(":/vellumar/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
#ifdef Q_OS_WIN
    // Windows brings no narrow face of its own (Arial Narrow comes with other
    // programs): the copy of Liberation Sans Narrow beside the program then
    // gives the windows the face they were laid out for.
    TWindowStyle::addBundledFaces(ProgramDir() + QStringLiteral("fonts"));
#endif
    TQtDialogs dialogs;
    const TProgramFiles files = LocateProgramFiles();
    // The editor writes its settings at every exit: their folder must be
    // there. (The command-line tool only reads, and makes no folder.)
    if (!files.beside)
        QDir().mkpath(files.settingsDir);
    const std::unique_ptr<TForm1> form = StartProgram(dialogs, app.arguments(), files);
    CloseOnTerminationRequest([&form] { form->Closing->terminationRequested(); });
    return app.exec();
}
