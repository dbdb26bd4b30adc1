#include "userdatafolder.h"
#include "ordinaryuser.h"

TUserDataFolder::TUserDataFolder() : TUserDataFolder(QString()) {}

TUserDataFolder::TUserDataFolder(const QString &folder)
    : m_path(folder.isEmpty() ? m_dir.path() : folder),
      m_previous(qgetenv("XDG_DATA_HOME")), m_hadPrevious(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    setMode(m_path, 0777);
    qputenv("XDG_DATA_HOME", m_path.toLocal8Bit());
}

TUserDataFolder::~TUserDataFolder()
{
    if (m_hadPrevious)
        qputenv("XDG_DATA_HOME", m_previous);
    else
        qunsetenv("XDG_DATA_HOME");
}
