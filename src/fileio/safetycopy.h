#pragma once
// TSafetyCopy: what makes a write in place safe. Where a folder cannot hold
// the temporary file of a whole-file write (a map in a shared folder where
// only the files themselves may be written), the file is overwritten where
// it lies. Its old bytes are first kept in the recovery folder with the
// fingerprints of the old and the new content; any failure of the write puts
// the old bytes back, and a copy left there by a write that was killed is
// found at the next start.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

class TSafetyCopy {
public:
    // How the file a copy was made for compares with that copy's write.
    enum class TargetState {
        Untouched,  // the old bytes: the write had not begun
        Written,    // the new bytes: the write was done, only the copy was left
        Incomplete, // neither (or no file): the write was stopped halfway
    };

    // Writes bytes as the whole content of the existing file path, in place:
    // refused with "Disk full" before anything changes when the free space
    // cannot take the content, refused when the old bytes cannot be kept in
    // the recovery folder; a failed write puts the old bytes back.
    static void writeInPlace(const QString &path, const QByteArray &bytes);

    // The copies in the recovery folder whose writer runs no more, each held
    // (locked) by this program until it is dropped. A copy that cannot be
    // read, or that names a file of a kind the program never writes in
    // place, is kept aside; a message saying so and where it is kept is
    // added to refused.
    static QList<TSafetyCopy> leftBehind(QStringList &refused);

    // Whether path is a file of a kind the program writes in place: a map
    // (.bms), the map-name list, a terrain text (.trn), the settings, the
    // repack batch or the table export. Only these are put back from a copy.
    static bool isWrittenInPlace(const QString &path);

    const QString &copyPath() const { return m_copyPath; }
    const QString &target() const { return m_target; }
    TargetState targetState() const;

    // Writes the old bytes back as the target's whole content and removes
    // the copy; a failure raises its TError and keeps the copy. Only a
    // regular file, or none, is written: never what has taken the target's
    // name since (a symbolic link, a device, a pipe, a folder).
    void putBack() const;
    void remove() const;
    // Moves the copy to the recovery folder's kept part; returns where it is.
    QString keepAside() const;

private:
    enum class TReadResult { Read, Unreadable, Refused };
    TReadResult read(const QString &copyPath);

    QString m_copyPath;
    QString m_target;
    QByteArray m_oldBytes;
    QByteArray m_newDigest;
    qint64 m_newSize = 0;
    std::shared_ptr<QLockFile> m_lock;
};
