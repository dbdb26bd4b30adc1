#include "settings.h"
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
    writeTextLinesCRLF(SettingsPath,
                       {s.GameFilesDir.toLatin1(), s.BaseFilesDir.toLatin1(), s.GameMainDir.toLatin1(),
                        s.WorkDir.toLatin1(), s.ImageListDir.toLatin1(), s.SeparatorCode.toLatin1(),
                        s.SaveOptions.toLatin1()});
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
