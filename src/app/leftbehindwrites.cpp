#include "leftbehindwrites.h"

#include "fileio/safetycopy.h"
#include "ui/dialogs.h"

void OfferLeftBehindWrites(TDialogs &dialogs, QWidget *parent)
{
    QStringList refused;
    const QList<TSafetyCopy> copies = TSafetyCopy::leftBehind(refused);
    for (const QString &problem : refused)
        dialogs.showError(parent, problem);
    for (const TSafetyCopy &copy : copies) {
        if (copy.targetState() != TSafetyCopy::TargetState::Incomplete) {
            copy.remove();
            continue;
        }
        const TQuestion question{
            QStringLiteral("Vellumar was stopped while it wrote \"%1\", and the file is incomplete. Put back its "
                           "content from before that save?")
                .arg(copy.target()),
            {QStringLiteral("Put back"), QStringLiteral("Keep aside")}, 0, -1};
        if (dialogs.ask(parent, question) == 0)
            runGuarded(dialogs, parent, [&] { copy.putBack(); });
        else
            copy.keepAside();
    }
}
