#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"

bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack)
{
    QString gameMainDir;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        SaveMapFiles(inputs, target);
    });
    if (!saved)
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
