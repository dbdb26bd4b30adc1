#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"
#include "repackrun.h"
#include "document/mapdocument.h"

#include <QDir>
#include <QWidget>

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
    QList<int> leftOut;
    QStringList unflushed;
    bool cancelled = false;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        cancelled = !mayOverwrite(dialogs, parent, *inputs.Document, target.MapPath);
        if (!cancelled)
            leftOut = SaveMapFiles(inputs, target, &unflushed);
    });
    if (!saved || cancelled)
        return false;
    host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::Line1),
                         QLatin1String(SavedMessage::Line2));
    // Saved all the same: every file has its new content under its name.
    if (!unflushed.isEmpty())
        host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::NotFlushed),
                             unflushed.join(QStringLiteral(", ")));
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
