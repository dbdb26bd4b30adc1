#include "fileio/regularfile.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <string>

TReadOpen OpenRegularFileForReading(const char *path, int &fd)
{
    fd = -1;
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1)
        return TReadOpen::Missing;
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TReadOpen::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return TReadOpen::Folder;
    const int opened = _wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (opened < 0)
        return TReadOpen::Denied;
    // A device name (CON, NUL, COM1) or a pipe is no file on a disk.
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(opened))) != FILE_TYPE_DISK) {
        _close(opened);
        return TReadOpen::NotRegular;
    }
    fd = opened;
    return TReadOpen::Opened;
}

void CloseReadDescriptor(int fd)
{
    if (fd >= 0)
        _close(fd);
}
