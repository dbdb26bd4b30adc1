#include "ui/dialogs.h"
#include "mainwindow.h"
#include "programstart.h"
#include "settings/programdir.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMAR_VERSION));
    TQtDialogs dialogs;
    const std::unique_ptr<TForm1> form = StartProgram(dialogs, app.arguments(), ProgramDir());
    return app.exec();
}
