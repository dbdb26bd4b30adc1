#include "repackbatch.h"
#include "fileio/fileio.h"
#include "document/mapnamelist.h"

QString RepackBatchPath(const QString &gameMainDir)
{
    return gameMainDir + QLatin1String(RepackBatchName);
}

QList<QByteArray> RepackBatchLines(const TRepackBatchInputs &in, const TShortPaths &shortPaths)
{
    // Archive and file of each line, in the batch's order.
    const std::pair<const char *, QString> packed[] = {
        {"kzbase.pff", in.BmsPath},
        {"kzbase.pff", in.BaseFilesDir + QLatin1String(TMapNameList::FileName)},
        {"kz.pff", in.TrnPath},
        {"kz.pff", in.ColourMapPath},
        {"kz.pff", in.ElevationMapPath},
        {"kz.pff", in.DetailMapPath},
        {"kz.pff", in.SkyMapPath},
    };
    // Paths are file-system names: in the system's 8-bit encoding, byte for byte.
    std::vector<std::string> paths;
    for (const auto &[archive, path] : packed)
        paths.push_back(path.toLocal8Bit().toStdString());
    if (in.kzStart)
        paths.push_back((in.GameMainDir + QStringLiteral("kz.exe")).toLocal8Bit().toStdString());
    const std::vector<std::string> shortened = shortPaths(paths);

    QList<QByteArray> lines;
    for (std::size_t i = 0; i < std::size(packed); ++i)
        lines.append(QByteArray("pack.exe ") + packed[i].first + ' ' + QByteArray::fromStdString(shortened[i]));
    if (in.kzStart)
        lines.append('"' + QByteArray::fromStdString(shortened.back()) + '"');
    return lines;
}

void WriteRepackBatch(const TRepackBatchInputs &inputs, const TShortPaths &shortPaths, QStringList *unflushed)
{
    writeTextLinesCRLF(RepackBatchPath(inputs.GameMainDir), RepackBatchLines(inputs, shortPaths), unflushed);
}
