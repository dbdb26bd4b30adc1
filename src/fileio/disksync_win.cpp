#include "fileio/disksync.h"

#include <io.h>

bool SyncFileToDisk(int fd)
{
    return fd >= 0 && _commit(fd) == 0;
}

// The file system journals a rename with the file's own flush; a folder has
// nothing of its own to flush.
bool SyncFolderToDisk(const char *)
{
    return true;
}
