// The Windows side of userdatafolder.h. Windows' user folders are the
// profile's and no variable moves them: the program's own folder there (the
// recovery folder's parent) is put aside for the object's life and given
// back afterwards, so a test starts without the copies of the tests before
// it and leaves none behind.
#include "userdatafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString programDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
} // namespace

TUserDataFolder::TUserDataFolder() : TUserDataFolder(QString()) {}

TUserDataFolder::TUserDataFolder(const QString &folder)
{
    if (!folder.isEmpty())
        qFatal("TUserDataFolder: Windows cannot move the user's data folder to %s", qPrintable(folder));
    const QString own = programDataFolder();
    m_path = QFileInfo(own).absolutePath();
    // m_previous: where the folder waits meanwhile.
    m_previous = (own + QStringLiteral(".outside-test")).toUtf8();
    m_hadPrevious = QFileInfo(own).exists();
    if (m_hadPrevious && !QDir().rename(own, QString::fromUtf8(m_previous)))
        qFatal("TUserDataFolder: cannot put %s aside", qPrintable(own));
}

TUserDataFolder::~TUserDataFolder()
{
    const QString own = programDataFolder();
    QDir(own).removeRecursively();
    if (m_hadPrevious)
        QDir().rename(QString::fromUtf8(m_previous), own);
}
