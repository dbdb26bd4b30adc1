#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"
#include "document/mapdocument.h"

namespace {

// A map another program changed since it was loaded or saved here is
// overwritten only when the user says so.
bool mayOverwrite(TDialogs &dialogs, QWidget *parent, const TMapDocument &document, const QString &mapPath)
{
    if (!document.MapStamps.changedSince(mapPath))
        return true;
    const TQuestion question{
        QStringLiteral("%1 was changed by another program since it was opened. Overwrite it?").arg(mapPath),
        {QStringLiteral("Overwrite"), QStringLiteral("Cancel")}, 1, 1};
    return dialogs.ask(parent, question) == 0;
}

} // namespace

bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack)
{
    QString gameMainDir;
    bool cancelled = false;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        cancelled = !mayOverwrite(dialogs, parent, *inputs.Document, target.MapPath);
        if (!cancelled)
            SaveMapFiles(inputs, target);
    });
    if (!saved || cancelled)
        return false;
    host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::Line1),
                         QLatin1String(SavedMessage::Line2));
    if (autoRepack)
        StartRepackBatch(dialogs, parent, gameMainDir);
    return true;
}

void StartRepackBatch(TDialogs &dialogs, QWidget *parent, const QString &gameMainDir)
{
    const std::string batch = RepackBatchPath(gameMainDir).toLocal8Bit().toStdString();
    if (!LaunchProgram(batch, gameMainDir.toLocal8Bit().toStdString(), {std::string()}))
        dialogs.showError(parent, QString::fromLocal8Bit(LaunchFailureMessage(batch)));
}
