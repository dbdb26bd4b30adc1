#include "programstart.h"
#include "leftbehindwrites.h"
#include "mainwindow.h"

std::unique_ptr<TForm1> StartProgram(TDialogs &dialogs, const QStringList &arguments, const TProgramFiles &files)
{
    OfferLeftBehindWrites(dialogs, nullptr);
    auto form = std::make_unique<TForm1>(dialogs, arguments.size() > 1 ? arguments[1] : QString(), files);
    form->createWindows();
    form->show();
    form->frontStartWindows();
    return form;
}
