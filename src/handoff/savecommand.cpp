#include "savecommand.h"
#include "ui/dialogs.h"
#include "launch.h"
#include "repackrun.h"
#include "document/category.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "terrain/viewtransform.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <QWidget>

namespace {

bool sameFile(const QString &a, const QString &b)
{
    return QFileInfo(a) == QFileInfo(b);
}

// The quick save's file dialog does not ask about a file that is there: a
// file other than the open map is replaced only when the user says so.
bool mayReplace(TDialogs &dialogs, QWidget *parent, const QString &mapPath)
{
    const TQuestion question{QStringLiteral("%1 already exists. Replace it?").arg(mapPath),
                             {QStringLiteral("Replace"), QStringLiteral("Cancel")}, 1, 1};
    return dialogs.ask(parent, question) == 0;
}

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

// Objects the map file has no place for are named before the save, while
// the user can still give them an item number.
bool mayLeaveOut(TDialogs &dialogs, QWidget *parent, const QList<int> &rows)
{
    if (rows.isEmpty())
        return true;
    // A long list names its first runs and counts the rest.
    const QString list = RowRunsText(rows, 10);
    const QString text = rows.size() == 1
        ? QStringLiteral("1 object has an item number outside the categories and will not be saved (row %1). "
                         "Save without it?")
              .arg(list)
        : QStringLiteral("%1 objects have item numbers outside the categories and will not be saved (rows %2). "
                         "Save without them?")
              .arg(rows.size())
              .arg(list);
    return dialogs.ask(parent, {text, {QStringLiteral("Save"), QStringLiteral("Cancel")}, 0, 1}) == 0;
}

// Objects off the terrain are named before the save: their markers stand on
// the dimmed copies beyond its edge, which the game has no ground for.
bool mayKeepObjectsOutside(TDialogs &dialogs, QWidget *parent, const TMapDocument &document)
{
    const QList<int> rows = ObjectsOutsideTerrain(document);
    if (rows.isEmpty())
        return true;
    const QString text = (rows.size() == 1 ? QStringLiteral("1 object lies outside the terrain: row ")
                                           : QStringLiteral("%1 objects lie outside the terrain: rows ").arg(rows.size()))
        + RowRunsText(rows, 10) + QStringLiteral(". Save the map all the same?");
    const TQuestion question{text, {QStringLiteral("Save"), QStringLiteral("Cancel")}, 0, 1};
    return dialogs.ask(parent, question) == 0;
}

// The questions a save asks before it writes anything: first about the file
// it writes, then about what the map file leaves out, then about objects off
// the terrain. Any answered with Cancel stops the save, and no file is written.
bool confirmSave(TDialogs &dialogs, QWidget *parent, const TMapDocument &document, const TSaveTarget &target)
{
    // A cell that is no number stops the save here, before any question.
    const QList<int> leftOut = LeftOutRows(document);
    const bool otherFile = target.AskBeforeReplacing && QFileInfo(target.MapPath).isFile()
        && !sameFile(target.MapPath, document.BmsPath);
    // One question per file: replacing another file once agreed to, it does
    // not matter whether another program changed it.
    if (otherFile ? !mayReplace(dialogs, parent, target.MapPath)
                  : !mayOverwrite(dialogs, parent, document, target.MapPath))
        return false;
    return mayLeaveOut(dialogs, parent, leftOut) && mayKeepObjectsOutside(dialogs, parent, document);
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

bool RunSaveCommand(TSaveHost &host, TDialogs &dialogs, QWidget *parent, const TSaveTarget &target,
                    bool autoRepack)
{
    QString gameMainDir;
    QStringList unflushed;
    bool cancelled = false;
    const bool saved = runGuarded(dialogs, parent, [&] {
        const TMapSaveInputs inputs = host.mapSaveInputs();
        gameMainDir = inputs.GameMainDir;
        cancelled = !confirmSave(dialogs, parent, *inputs.Document, target);
        if (!cancelled)
            SaveMapFiles(inputs, target, &unflushed);
    });
    if (!saved || cancelled)
        return false;
    host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::Line1),
                         QLatin1String(SavedMessage::Line2));
    // Saved all the same: every file has its new content under its name.
    if (!unflushed.isEmpty())
        host.ShowInfoMessage(QLatin1String(SavedMessage::Caption), QLatin1String(SavedMessage::NotFlushed),
                             unflushed.join(QStringLiteral(", ")));
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
