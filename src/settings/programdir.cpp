#include "programdir.h"
#include "settings.h"
#include "document/bmsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The bundled files' directory of an installed copy, relative to its bin/
// (GNUInstallDirs' places, given by the build).
#ifndef VELLUMAR_BUNDLED_FROM_BIN
#define VELLUMAR_BUNDLED_FROM_BIN "../share/vellumar"
#endif

namespace {

QString &overrideDir()
{
    static QString dir;
    return dir;
}

QString withSeparator(QString dir)
{
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir;
}

// dataDir's own copy of the file when there is one, else the bundled one.
QString dirOf(const char *fileName, const QString &dataDir, const QString &bundledDir)
{
    return QFileInfo(dataDir + QLatin1String(fileName)).isFile() ? dataDir : bundledDir;
}

} // namespace

void setProgramDirOverride(const QString &dir)
{
    overrideDir() = dir;
}

QString ProgramDir()
{
    return withSeparator(overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir());
}

TProgramFiles LocateProgramFiles(const QString &programDir, const QString &configDir, const QString &dataDir)
{
    const QString bundled = QDir::cleanPath(programDir + QStringLiteral(VELLUMAR_BUNDLED_FROM_BIN));
    const bool installed = QFileInfo(bundled).isDir();
    TProgramFiles files(programDir);
    if (QFileInfo::exists(programDir + QLatin1String(SettingsFileName))
        || (!installed && QFileInfo(programDir).isWritable()))
        return files;
    // A read-only copy that is not installed still has its bundled files
    // beside the program.
    const QString bundledDir = installed ? withSeparator(bundled) : programDir;
    const QString data = withSeparator(dataDir);
    files.settingsDir = withSeparator(configDir);
    files.catalogueDir = dirOf("item.ini", data, bundledDir);
    files.trailerDir = dirOf(TrailerFileName, data, bundledDir);
    files.beside = false;
    return files;
}

TProgramFiles LocateProgramFiles()
{
    // The editor's AppConfigLocation and AppDataLocation, named here so the
    // command-line tool, a program of another name, finds the same files.
    const QString own = QStringLiteral("/Vellumar");
    return LocateProgramFiles(ProgramDir(), QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + own,
                              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + own);
}
