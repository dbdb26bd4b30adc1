#pragma once
// The recovery folder in the user's data folder: the copies that let the
// program give back work a kill, a crash or a power cut would otherwise
// lose. Nothing of it is ever kept beside or over a map.

#include <QString>

// The folder, with its trailing separator (it may not exist yet).
QString RecoveryFolder();

// Makes the folder; raises a TError naming it when it cannot be made.
QString MakeRecoveryFolder();

// Moves a copy that is not to be used now into the folder's "kept" part,
// where nothing deletes it. Returns its new path, or the old one when it
// could not be moved.
QString KeepAside(const QString &copyPath);
