#pragma once
// The seven settings of kzmap.ini: where the game's files are, the export
// separator and the two save options. The file is seven plain lines in this
// order, each ended by CR LF; values are kept exactly as typed or read (in
// the system's own 8-bit encoding, since they are paths).

#include <QString>

struct TSettings {
    QString GameFilesDir;   // what was extracted from kz.pff (TRN, PCX)
    QString BaseFilesDir;   // what was extracted from kzbase.pff (BMS, kzmpname.bin)
    QString GameMainDir;    // the game's installation (pack.exe, kz.exe, the repack batch)
    QString WorkDir;        // export.txt
    QString ImageListDir;   // item pictures
    QString SeparatorCode;  // decimal code of the export separator ("59" for ';')
    QString SaveOptions = QStringLiteral("00"); // C_AutoRepack, C_KZstart as '1'/'0'

    bool operator==(const TSettings &) const = default;
};

inline constexpr const char *SettingsFileName = "kzmap.ini";

struct TSettingsStore {
    TSettings Settings;
    QString SettingsPath;
    bool SettingsComplete = false;

    // SettingsPath := dir + "kzmap.ini"; reads the file when it exists.
    // SettingsComplete := the file existed and its first line is not empty.
    void LoadSettings(const QString &programDir);
    // Writes the seven values as seven CR LF lines.
    void SaveSettings() const;

    // Load's check: complete, and the four directories it needs are set.
    bool readyToLoad() const;
    bool autoRepack() const { return Settings.SaveOptions.size() >= 1 && Settings.SaveOptions[0] == u'1'; }
    bool autoStart() const { return Settings.SaveOptions.size() >= 2 && Settings.SaveOptions[1] == u'1'; }
};
