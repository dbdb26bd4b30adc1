#include "recovery/recoveryoffer.h"

#include "ui/dialogs.h"

#include <QFileInfo>

std::optional<TRecoveryCopy> OfferRecoveryCopies(TDialogs &dialogs, QWidget *parent)
{
    QStringList unreadable;
    const QList<TRecoveryCopy> copies = TRecoveryCopy::leftBehind(unreadable);
    for (const QString &problem : unreadable)
        dialogs.showError(parent, problem);
    for (const TRecoveryCopy &copy : copies) {
        const QString map = copy.state().bmsPath;
        const bool mapThere = QFileInfo(map).isFile();
        const TQuestion question =
            mapThere ? TQuestion{QStringLiteral("Vellumar was not closed normally. Restore the unsaved changes to "
                                                "\"%1\"?")
                                     .arg(map),
                                 {QStringLiteral("Restore"), QStringLiteral("Discard")}, 0, -1}
                     : TQuestion{QStringLiteral("Vellumar was not closed normally, and the map \"%1\" of its unsaved "
                                                "changes is no longer there. Restore the unsaved changes without "
                                                "the file?")
                                     .arg(map),
                                 {QStringLiteral("Restore"), QStringLiteral("Keep aside")}, 0, -1};
        switch (dialogs.ask(parent, question)) {
        case 0:
            return copy;
        case 1:
            if (mapThere)
                copy.remove();
            else
                copy.keepAside();
            break;
        default:
            // Closed unanswered: asked again at the next start.
            break;
        }
    }
    return std::nullopt;
}
