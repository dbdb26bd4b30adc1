#pragma once
// TUserDataFolder: the user's data folder, which holds the recovery folder,
// moved for the object's life into a fresh folder that every user may
// write (or into a given one), so tests neither see nor leave copies of
// other runs and an ordinary user's process can keep its copies there.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TUserDataFolder {
public:
    TUserDataFolder();
    explicit TUserDataFolder(const QString &folder);
    ~TUserDataFolder();
    TUserDataFolder(const TUserDataFolder &) = delete;
    TUserDataFolder &operator=(const TUserDataFolder &) = delete;

    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};
