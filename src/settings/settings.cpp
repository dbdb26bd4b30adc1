#include "settings.h"
#include "document/fileio.h"

#include <QFileInfo>

void TSettingsStore::LoadSettings(const QString &programDir)
{
    Settings = TSettings{};
    Settings.SaveOptions = QStringLiteral("00");
    SettingsPath = programDir + QLatin1String(SettingsFileName);
    SettingsComplete = false;
    if (!QFileInfo::exists(SettingsPath))
        return;
    const QList<QByteArray> lines = readTextLines(SettingsPath);
    QString *fields[] = {&Settings.GameFilesDir, &Settings.BaseFilesDir, &Settings.GameMainDir,
                         &Settings.WorkDir,      &Settings.ImageListDir, &Settings.SeparatorCode,
                         &Settings.SaveOptions};
    for (int i = 0; i < 7; ++i)
        *fields[i] = i < lines.size() ? QString::fromLocal8Bit(lines[i]) : QString();
    SettingsComplete = !Settings.GameFilesDir.isEmpty();
}

void TSettingsStore::SaveSettings() const
{
    const TSettings &s = Settings;
    writeTextLinesCRLF(SettingsPath,
                       {s.GameFilesDir.toLocal8Bit(), s.BaseFilesDir.toLocal8Bit(), s.GameMainDir.toLocal8Bit(),
                        s.WorkDir.toLocal8Bit(), s.ImageListDir.toLocal8Bit(), s.SeparatorCode.toLocal8Bit(),
                        s.SaveOptions.toLocal8Bit()});
}

bool TSettingsStore::readyToLoad() const
{
    return SettingsComplete && !Settings.GameFilesDir.isEmpty() && !Settings.BaseFilesDir.isEmpty()
        && !Settings.GameMainDir.isEmpty() && !Settings.WorkDir.isEmpty();
}
