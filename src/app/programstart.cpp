#include "programstart.h"
#include "leftbehindwrites.h"
#include "mainwindow.h"
#include "recovery/recoveryoffer.h"

std::unique_ptr<TForm1> StartProgram(TDialogs &dialogs, const QStringList &arguments, const TProgramFiles &files)
{
    OfferLeftBehindWrites(dialogs, nullptr);
    // A restore opens the map of the changes it restores, not the one named
    // on the command line.
    const std::optional<TRecoveryCopy> restore = OfferRecoveryCopies(dialogs, nullptr);
    const QString file = arguments.size() > 1 && !restore ? arguments[1] : QString();
    auto form = std::make_unique<TForm1>(dialogs, file, files);
    form->createWindows();
    form->show();
    form->frontStartWindows();
    if (restore)
        form->restoreRecovered(*restore);
    return form;
}
