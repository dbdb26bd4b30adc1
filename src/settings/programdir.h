#pragma once
// Where the program's files are. A copy whose own directory holds kzmap.ini,
// or can be written and is no installed copy, keeps kzmap.ini, item.ini and
// kzmap.dat beside the program (the build folder, a portable copy). An
// installed copy (bin/ beside the share/vellumar/ that `make install` writes)
// keeps kzmap.ini in the user's configuration folder and reads item.ini and
// kzmap.dat from the user's data folder when they are there, else the
// bundled ones of share/vellumar/.

#include <QString>

// Each directory with its trailing separator.
struct TProgramFiles {
    // Every file beside the program in dir (a directory alone says this).
    TProgramFiles(const QString &dir = QString()) : settingsDir(dir), catalogueDir(dir), trailerDir(dir) {}

    QString settingsDir;  // kzmap.ini
    QString catalogueDir; // item.ini
    QString trailerDir;   // kzmap.dat
    bool beside = true;   // all three are the program's own directory
};

// The program's own directory, with its trailing separator.
QString ProgramDir();

// Tests and the command-line tool may point the program at another directory.
void setProgramDirOverride(const QString &dir);

// The places for the running program (ProgramDir() and the user's folders
// of the editor, which the command-line tool shares).
TProgramFiles LocateProgramFiles();

// The rule itself: programDir as ProgramDir(); configDir and dataDir the
// user's folders.
TProgramFiles LocateProgramFiles(const QString &programDir, const QString &configDir, const QString &dataDir);
