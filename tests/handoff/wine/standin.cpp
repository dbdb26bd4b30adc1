// Stand-ins for the game's own programs, which cannot be shipped: built as
// pack.exe it appends its two arguments and the size of the file the second
// names to "repack.log" beside itself, and fails (exit code 1) when there is
// no such file; built with STANDIN_GAME as kz.exe it
// appends "kz.exe started". Windows only (mingw-w64), free of Qt.
#include <windows.h>

#include <cstdio>
#include <string>

static std::string logPath()
{
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    return path.substr(0, path.find_last_of('\\') + 1) + "repack.log";
}

int main(int argc, char **argv)
{
    FILE *log = std::fopen(logPath().c_str(), "ab");
    if (!log)
        return 1;
#ifdef STANDIN_GAME
    (void)argc;
    (void)argv;
    std::fprintf(log, "kz.exe started\n");
#else
    long long size = -1;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (argc > 2 && GetFileAttributesExA(argv[2], GetFileExInfoStandard, &data))
        size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::fprintf(log, "%s|%s|%lld\n", argc > 1 ? argv[1] : "", argc > 2 ? argv[2] : "", size);
    std::fclose(log);
    return size < 0 ? 1 : 0;
#endif
    std::fclose(log);
    return 0;
}
