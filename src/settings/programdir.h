#pragma once
// The program's own directory, with its trailing separator: kzmap.dat,
// item.ini and kzmap.ini are looked for there.

#include <QString>

QString ProgramDir();

// Tests and the command-line tool may point the program at another directory.
void setProgramDirOverride(const QString &dir);
