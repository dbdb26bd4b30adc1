#pragma once
// Opening a file to read it, only when it is a regular file. A device, a
// pipe or a socket holds nothing the program reads: reading a pipe nobody
// writes waits for ever, and a device such as /dev/zero never ends. What the
// path names is checked again on the opened file, so nothing put in its
// place between the check and the opening is read either.
// Free of Qt, so the Windows half builds on its own.

enum class TReadOpen {
    Opened,
    Missing,    // nothing of that name (or a folder on the way is missing)
    Folder,     // a folder has the name
    NotRegular, // a device, a pipe, a socket
    Denied,     // the file may not be read
};

// Opens path read-only: on Linux the file system's bytes of the path, on
// Windows its UTF-8. On Opened, fd is a descriptor the caller owns (it reads
// as any file does, blocking).
TReadOpen OpenRegularFileForReading(const char *path, int &fd);

// Closes a descriptor OpenRegularFileForReading gave.
void CloseReadDescriptor(int fd);
