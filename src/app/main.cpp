#include "app/dialogs.h"
#include "mainwindow.h"
#include "settings/programdir.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMAR_VERSION));
    const QStringList args = app.arguments();
    TQtDialogs dialogs;
    // The windows are created once, the main window first; the last one's
    // creation loads the map named on the command line, before anything shows.
    TForm1 form(dialogs, args.size() > 1 ? args[1] : QString(), ProgramDir());
    form.createWindows();
    form.show();
    return app.exec();
}
