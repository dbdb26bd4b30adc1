#pragma once
// Flushing to the disk what the system still holds in memory: a file's bytes,
// and a folder's names after a file in it was replaced. Without the folder's
// flush a power cut can bring the old file back under its name after "Saved".
// Free of Qt, so the Windows half builds on its own.

// The bytes of the open file fd. False when the disk refused them.
bool SyncFileToDisk(int fd);

// The names in folder (a local path). False when the folder cannot be
// opened or flushed.
bool SyncFolderToDisk(const char *folder);
