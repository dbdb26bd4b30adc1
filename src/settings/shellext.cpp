#include "shellext.h"
#include "shellextplatform.h"

#include <QCoreApplication>
#include <QDir>

namespace {

TFileTypeLink linkOf(const TShellExt &ext)
{
    TFileTypeLink link;
    link.extension = ext.Extension().toStdU16String();
    link.extDescription = ext.ExtDescription().toStdU16String();
    link.fileDescription = ext.FileDescription().toStdU16String();
    link.openWith = ext.OpenWith().toStdU16String();
    link.paramString = ext.ParamString().toStdU16String();
    link.iconIndex = ext.IconIndex();
    return link;
}

} // namespace

TShellExt::TShellExt(QObject *owner) : QObject(owner)
{
}

void TShellExt::setExtension(const QString &extension)
{
    if (extension != m_extension)
        m_extension = extension;
}

void TShellExt::setOpenWith(const QString &program)
{
    if (!m_openWithMe)
        m_openWith = program;
}

void TShellExt::setOpenWithMe(bool me)
{
    m_openWithMe = me;
    // There is no form designer at run time: "me" is the running program.
    if (me)
        m_openWith = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

bool TShellExt::RegisterExtension()
{
    return RegisterFileType(linkOf(*this));
}

bool TShellExt::UnregisterExtension()
{
    return UnregisterFileType(linkOf(*this));
}
