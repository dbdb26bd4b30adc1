#include "fileio/disksync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool SyncFileToDisk(int fd)
{
    return fd >= 0 && fsync(fd) == 0;
}

bool SyncFolderToDisk(const char *folder)
{
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems keep no folder data to flush and say so with EINVAL.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return synced;
}
