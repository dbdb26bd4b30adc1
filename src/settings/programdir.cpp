#include "programdir.h"

#include <QCoreApplication>
#include <QDir>

static QString &overrideDir()
{
    static QString dir;
    return dir;
}

void setProgramDirOverride(const QString &dir)
{
    overrideDir() = dir;
}

QString ProgramDir()
{
    QString dir = overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir();
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir;
}
