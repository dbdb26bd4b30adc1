#include "settings.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "fileio/textlinereader.h"

#include <QFile>
#include <QFileInfo>
#include <array>

namespace {
// The seven values in the file's order.
template <class TValues> auto linesOf(TValues &s)
{
    return std::array{&s.GameFilesDir, &s.BaseFilesDir, &s.GameMainDir, &s.WorkDir,
                      &s.ImageListDir, &s.SeparatorCode, &s.SaveOptions};
}
// Their names in messages.
constexpr std::array<const char *, 7> LineNames{"KZ-Files",       "KZBASE-Files",   "KZ-Main Dir", "Work-Dir",
                                                "Image-List Dir", "separator code", "save options"};
}

void TSettingsStore::LoadSettings(const QString &programDir)
{
    Settings = TSettings{};
    Settings.SaveOptions = QStringLiteral("00");
    SettingsPath = programDir + QLatin1String(SettingsFileName);
    SettingsComplete = false;
    SettingsUnreadable = false;
    LineBytes = {};
    if (!QFileInfo::exists(SettingsPath))
        return;
    TSettings read;
    try {
        // Only the seven lines are read; whatever follows them is never looked at.
        TTextLineReader reader(SettingsPath, MaxLineLength);
        QByteArray line;
        std::size_t i = 0;
        for (QString *field : linesOf(read)) {
            LineBytes[i] = reader.readLine(line) ? line : QByteArray();
            *field = valueFromBytes(LineBytes[i++]);
        }
    } catch (...) {
        LineBytes = {};
        SettingsUnreadable = true;
        throw;
    }
    Settings = read;
    SettingsComplete = !Settings.GameFilesDir.isEmpty();
}

void TSettingsStore::SaveSettings()
{
    // Written once (Setup confirmed), the values are the user's, and the exit
    // writes them too.
    SettingsUnreadable = false;
    const auto values = linesOf(Settings);
    QList<QByteArray> lines;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString &value = *values[i];
        if (!LineBytes[i].isEmpty() && valueFromBytes(LineBytes[i]) == value) {
            lines.append(LineBytes[i]);
            continue;
        }
        // A value the file system's encoding cannot give back would name
        // another folder: the file keeps the values it had.
        const QByteArray bytes = QFile::encodeName(value);
        if (QFile::decodeName(bytes) != value)
            throw TError(QStringLiteral("The %1 setting \"%2\" holds characters the file system cannot name")
                             .arg(QLatin1String(LineNames[i]), value),
                         SettingsPath);
        lines.append(bytes);
    }
    writeTextLinesCRLF(SettingsPath, lines);
    for (std::size_t i = 0; i < LineBytes.size(); ++i)
        LineBytes[i] = lines[qsizetype(i)];
}

void TSettingsStore::SaveSettingsAtExit()
{
    if (!SettingsUnreadable)
        SaveSettings();
}

QString TSettingsStore::valueFromBytes(const QByteArray &bytes)
{
    const QString named = QFile::decodeName(bytes);
    return QFile::encodeName(named) == bytes ? named : QString::fromLatin1(bytes);
}

bool TSettingsStore::readyToLoad() const
{
    return SettingsComplete && !Settings.GameFilesDir.isEmpty() && !Settings.BaseFilesDir.isEmpty()
        && !Settings.GameMainDir.isEmpty() && !Settings.WorkDir.isEmpty();
}
