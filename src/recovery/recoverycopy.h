#pragma once
// TRecoveryCopy: a recovery copy in the recovery folder, the unsaved state
// of one running program's map. Each program keeps its own copy under a
// lock it holds as long as it runs; a copy whose lock nobody holds was left
// by a program that was killed, crashed or lost its power.

#include "recovery/recoverystate.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

class TRecoveryCopy {
public:
    // The file name of a new copy of this program, not yet written.
    static QString newPath();
    // The lock every program holds on its copy while it runs; it is never
    // stale while its program lives.
    static std::unique_ptr<QLockFile> lockFor(const QString &copyPath);

    // The copies no running program holds, oldest first, each held by this
    // program from now on. A copy that cannot be read, or whose values are
    // out of range, is kept aside: its new path and the problem are added to
    // unreadable. Locks that programs no longer running left without a copy
    // are removed.
    static QList<TRecoveryCopy> leftBehind(QStringList &unreadable);

    const QString &path() const { return m_path; }
    const TRecoveryState &state() const { return m_state; }

    void remove() const;
    // Moves the copy into the recovery folder's kept part; returns where it is.
    QString keepAside() const;
    // The lock, for the program that goes on with this copy as its own.
    std::shared_ptr<QLockFile> lock() const { return m_lock; }

private:
    QString m_path;
    TRecoveryState m_state;
    std::shared_ptr<QLockFile> m_lock;
};
