#include "fileio/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TReadOpen kindOf(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return TReadOpen::Folder;
    return S_ISREG(st.st_mode) ? TReadOpen::Opened : TReadOpen::NotRegular;
}

} // namespace

TReadOpen OpenRegularFileForReading(const char *path, int &fd)
{
    fd = -1;
    // Looked at first, so a device is not even opened (opening one can do
    // something, such as rewinding a tape).
    struct stat st {};
    if (stat(path, &st) != 0)
        return TReadOpen::Missing;
    if (const TReadOpen kind = kindOf(st); kind != TReadOpen::Opened)
        return kind;
    // Without waiting: a pipe put in its place meanwhile would wait for a writer.
    const int opened = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0)
        return TReadOpen::Denied;
    TReadOpen kind = fstat(opened, &st) == 0 ? kindOf(st) : TReadOpen::Denied;
    const int flags = fcntl(opened, F_GETFL);
    if (kind == TReadOpen::Opened && (flags < 0 || fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0))
        kind = TReadOpen::Denied;
    if (kind != TReadOpen::Opened) {
        close(opened);
        return kind;
    }
    fd = opened;
    return TReadOpen::Opened;
}

void CloseReadDescriptor(int fd)
{
    if (fd >= 0)
        close(fd);
}
