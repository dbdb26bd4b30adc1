#pragma once
// The repack batch "!VLMR_Repack.bat" in the game's directory: one line per
// saved file that puts it into the game's archive with the game's pack.exe,
// and, with "KZ Auto start", a last line that starts the game. Paths are
// written in their short form so the unquoted pack.exe lines keep one
// argument per path, also below folders with blanks in their names.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

inline constexpr const char *RepackBatchName = "!VLMR_Repack.bat";

struct TRepackBatchInputs {
    QString BmsPath;
    QString BaseFilesDir;
    QString TrnPath;
    QString ColourMapPath;
    QString ElevationMapPath;
    QString DetailMapPath;
    QString SkyMapPath;
    QString GameMainDir;
    bool kzStart = false; // C_KZstart
};

// The short-path service: ToShortPaths of unit Launch, or a test's own.
using TShortPaths = std::function<std::vector<std::string>(const std::vector<std::string> &)>;

// GameMainDir + "!VLMR_Repack.bat".
QString RepackBatchPath(const QString &gameMainDir);

// The batch's seven (or eight) lines, without their CR LF ends.
QList<QByteArray> RepackBatchLines(const TRepackBatchInputs &inputs, const TShortPaths &shortPaths);

// Writes the batch whole, each line ended by CR LF, nothing else; raises TError naming the file when it cannot.
// unflushed: as for writeWholeFile.
void WriteRepackBatch(const TRepackBatchInputs &inputs, const TShortPaths &shortPaths,
                      QStringList *unflushed = nullptr);
