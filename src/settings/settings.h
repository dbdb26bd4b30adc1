#pragma once
// The seven settings of kzmap.ini: where the game's files are, the export
// separator and the two save options. The file is seven plain lines in this
// order, each ended by CR LF; values are kept exactly as typed or read. The
// directories are byte strings of the file system (UTF-8 on Linux, the ANSI
// code page on Windows), so a path in any language can be set; a value read
// from the file is written back with the very bytes it was read with.

#include <QByteArray>
#include <QString>
#include <array>

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
    // A value is a path or a short code; a line longer than the longest path
    // Windows knows is no settings line.
    static constexpr qsizetype MaxLineLength = 32767;

    TSettings Settings;
    QString SettingsPath;
    // The bytes each line was read with (empty when not read). A value still
    // equal to what its bytes read as is written back with them, so bytes
    // the file system's encoding does not read (a Latin-1 path from a copy
    // made on Windows) come back unchanged.
    std::array<QByteArray, 7> LineBytes;
    bool SettingsComplete = false;
    // The file exists but could not be read: the values are those of a
    // missing file, and the exit must not overwrite it with them. Cleared
    // when the settings are written (Setup confirmed), also if that fails.
    bool SettingsUnreadable = false;

    // SettingsPath := dir + "kzmap.ini"; reads the file when it exists.
    // SettingsComplete := the file existed and its first line is not empty.
    // A file that cannot be read leaves the values of a missing file, sets
    // SettingsUnreadable and raises its error naming the file.
    void LoadSettings(const QString &programDir);
    // Writes the seven values as seven CR LF lines. A value the file system
    // cannot name is refused, naming it, and the file stays as it was.
    void SaveSettings();
    // The write at program end: skipped when the file could not be read.
    void SaveSettingsAtExit();

    // Load's check: complete, and the four directories it needs are set.
    bool readyToLoad() const;
    bool autoRepack() const { return Settings.SaveOptions.size() >= 1 && Settings.SaveOptions[0] == u'1'; }
    bool autoStart() const { return Settings.SaveOptions.size() >= 2 && Settings.SaveOptions[1] == u'1'; }

    // A line's text: the file system's reading of its bytes, or, for bytes
    // that reading does not give back, one character per byte (Latin-1).
    static QString valueFromBytes(const QByteArray &bytes);
};
