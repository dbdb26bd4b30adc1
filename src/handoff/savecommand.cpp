#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"
#include "repackrun.h"
#include "document/category.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/viewtransform.h"

#include <QDir>
#include <algorithm>
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

QList<int> ObjectsOutsideTerrain(const TMapDocument &document)
{
    QList<int> rows;
    const TObjectTable &table = document.Table;
    const int count = std::min(document.ObjectCount, TMapDocument::MaxObjects);
    for (int row = 1; row <= count; ++row) {
        // Rows the file has no place for, and cells that are no numbers, are
        // the save's own business.
        const auto item = parseInt32(table.cell(TObjectTable::ColObject, row));
        const auto x = parseInt32(table.cell(TObjectTable::ColX, row));
        const auto y = parseInt32(table.cell(TObjectTable::ColY, row));
        if (item && categoryIndex(categoryOf(*item)) >= 0 && x && y && !objectOnTerrain(*x, *y))
            rows.append(row);
    }
    return rows;
}

bool mayKeepObjectsOutside(TDialogs &dialogs, QWidget *parent, const TMapDocument &document)
{
    const QList<int> rows = ObjectsOutsideTerrain(document);
    if (rows.isEmpty())
        return true;
    const QString text = (rows.size() == 1 ? QStringLiteral("1 object lies outside the terrain: row ")
                                           : QStringLiteral("%1 objects lie outside the terrain: rows ").arg(rows.size()))
        + RowRuns(rows) + QStringLiteral(". Save the map all the same?");
    const TQuestion question{text, {QStringLiteral("Save"), QStringLiteral("Cancel")}, 0, 1};
    return dialogs.ask(parent, question) == 0;
}

bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack)
{
    QString gameMainDir;
    QList<int> leftOut;
    bool cancelled = false;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        cancelled = !mayKeepObjectsOutside(dialogs, parent, *inputs.Document)
            || !mayOverwrite(dialogs, parent, *inputs.Document, target.MapPath);
        if (!cancelled)
            leftOut = SaveMapFiles(inputs, target);
    });
    if (!saved || cancelled)
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
