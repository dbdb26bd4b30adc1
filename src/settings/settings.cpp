#include "settings.h"
#include "document/errors.h"
#include "document/fileio.h"
#include "document/textlinereader.h"

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
    if (!QFileInfo::exists(SettingsPath))
        return;
    TSettings read;
    try {
        // Only the seven lines are read; whatever follows them is never looked at.
        TTextLineReader reader(SettingsPath, MaxLineLength);
        QByteArray line;
        for (QString *field : linesOf(read))
            *field = reader.readLine(line) ? QString::fromLatin1(line) : QString();
    } catch (...) {
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
        // One byte per character, as the game's own files: a character beyond
        // that would come back as '?', so the file keeps the values it had.
        for (const QChar c : *values[i])
            if (c.unicode() > 0xFF)
                throw TError(QStringLiteral("The %1 setting \"%2\" holds the character '%3', which the settings "
                                            "file cannot keep (it keeps one byte per character)")
                                 .arg(QLatin1String(LineNames[i]), *values[i], QString(c)),
                             SettingsPath);
        lines.append(values[i]->toLatin1());
    }
    writeTextLinesCRLF(SettingsPath, lines);
}

void TSettingsStore::SaveSettingsAtExit()
{
    if (!SettingsUnreadable)
        SaveSettings();
}

bool TSettingsStore::readyToLoad() const
{
    return SettingsComplete && !Settings.GameFilesDir.isEmpty() && !Settings.BaseFilesDir.isEmpty()
        && !Settings.GameMainDir.isEmpty() && !Settings.WorkDir.isEmpty();
}
