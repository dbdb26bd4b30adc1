// The Windows side of ordinaryuser.h. Windows has no root who may write
// anything and no user to switch to: the work runs right here. Of the
// permission bits Windows keeps only a file's read-only attribute, which is
// what QFile::setPermissions sets; a folder's attribute stops no writes, so
// the tests that need an unwritable folder are left out of the Windows run.
#include "ordinaryuser.h"

#include <QFile>

QString asOrdinaryUser(const std::function<QString()> &work)
{
    return work();
}

void openToEveryone(const QString &)
{
}

void setMode(const QString &path, unsigned mode)
{
    QFileDevice::Permissions p;
    if (mode & 0400)
        p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & 0200)
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & 0100)
        p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    QFile::setPermissions(path, p);
}
