#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"
#include "repackrun.h"

#include <QDir>
#include <QWidget>

bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack)
{
    QString gameMainDir;
    QList<int> leftOut;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        leftOut = SaveMapFiles(inputs, target);
    });
    if (!saved)
        return false;
    host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::Line1),
                         QLatin1String(SavedMessage::Line2));
    // Objects the file has no place for are not lost without a word: the
    // message after "Saved" names them.
    if (!leftOut.isEmpty()) {
        const auto lines = LeftOutRowsMessage(leftOut);
        host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), lines[0], lines[1]);
    }
    if (autoRepack)
        StartRepackBatch(host, dialogs, parent, gameMainDir);
    return true;
}

void StartRepackBatch(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const QString &gameMainDir)
{
    const std::string batch = RepackBatchPath(gameMainDir).toLocal8Bit().toStdString();
#ifdef Q_OS_WIN
    (void)host;
    if (!LaunchProgram(batch, gameMainDir.toLocal8Bit().toStdString(), {std::string()}))
        dialogs.showError(parent, QString::fromLocal8Bit(LaunchFailureMessage(batch)));
#else
    // Under Wine the batch's output would only reach the terminal the program
    // was started from: it goes to a log, and a failed run is reported.
    auto *run = new TRepackRun(parent);
    QObject::connect(run, &TRepackRun::ended, parent, [&host, run](const QString &failure, const QString &log) {
        if (!failure.isEmpty())
            host.ShowInfoMessage(QStringLiteral("Repack"), QStringLiteral("Repack failed: ") + failure,
                                 QStringLiteral("See ") + QDir::toNativeSeparators(log));
        run->deleteLater();
    });
    if (!run->start(QString::fromLocal8Bit(batch), gameMainDir, RepackLogPath(gameMainDir))) {
        delete run;
        dialogs.showError(parent, QString::fromLocal8Bit(LaunchFailureMessage(batch)));
    }
#endif
}
