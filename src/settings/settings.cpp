#include "settings.h"
#include "document/errors.h"
#include "document/fileio.h"
#include "document/textlinereader.h"

#include <QFileInfo>

namespace {
constexpr int LineCount = 7;
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
    QString *fields[LineCount] = {&read.GameFilesDir, &read.BaseFilesDir, &read.GameMainDir, &read.WorkDir,
                                  &read.ImageListDir, &read.SeparatorCode, &read.SaveOptions};
    try {
        // Only the seven lines are read; whatever follows them is never looked at.
        TTextLineReader reader(SettingsPath, MaxLineLength);
        QByteArray line;
        for (QString *field : fields)
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
    const TSettings &s = Settings;
    const QString *values[] = {&s.GameFilesDir, &s.BaseFilesDir, &s.GameMainDir, &s.WorkDir,
                               &s.ImageListDir, &s.SeparatorCode, &s.SaveOptions};
    static const char *const names[] = {"KZ-Files",       "KZBASE-Files",   "KZ-Main Dir", "Work-Dir",
                                        "Image-List Dir", "separator code", "save options"};
    QList<QByteArray> lines;
    for (int i = 0; i < 7; ++i) {
        // One byte per character, as the game's own files: a character beyond
        // that would come back as '?', so the file keeps the values it had.
        for (const QChar c : *values[i])
            if (c.unicode() > 0xFF)
                throw TError(QStringLiteral("The %1 setting \"%2\" holds the character '%3', which the settings "
                                            "file cannot keep (it keeps one byte per character)")
                                 .arg(QLatin1String(names[i]), *values[i], QString(c)),
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
