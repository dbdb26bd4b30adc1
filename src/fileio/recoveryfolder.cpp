#include "fileio/recoveryfolder.h"
#include "fileio/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString RecoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery/");
}

QString MakeRecoveryFolder()
{
    const QString folder = RecoveryFolder();
    if (!QDir().mkpath(folder))
        throw TError(QStringLiteral("The recovery folder cannot be made"), folder);
    return folder;
}

QString KeepAside(const QString &copyPath)
{
    const QString kept = RecoveryFolder() + QStringLiteral("kept/");
    if (!QDir().mkpath(kept))
        return copyPath;
    const QString name = QFileInfo(copyPath).fileName();
    QString target = kept + name;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = kept + QString::number(n) + u'-' + name;
    return QFile::rename(copyPath, target) ? target : copyPath;
}
