#pragma once
// TFileStamps: the map files as the program last loaded or saved them, each
// by its size, modification time and bytes. A file whose stamp no longer
// matches was changed by another program since, and is not overwritten
// without asking.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

class TFileStamps {
public:
    void clear() { m_stamps.clear(); }
    // The file as it is on the disk now (its bytes read back).
    void record(const QString &path);
    // The file just written with bytes.
    void record(const QString &path, const QByteArray &bytes);
    // True when path has a stamp and the file there now differs from it. A
    // file that is gone has nothing left to lose.
    bool changedSince(const QString &path) const;

private:
    struct Stamp {
        qint64 size = 0;
        QDateTime time;
        QByteArray digest;
    };
    QHash<QString, Stamp> m_stamps;
};
