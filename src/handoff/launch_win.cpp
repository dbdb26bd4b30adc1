// Unit Launch on Windows: the system's own short names, program search and
// process start. Free of Qt.
#include "launch.h"

#include <windows.h>

namespace {

bool fileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::string ToShortPath(const std::string &path)
{
    if (path.empty() || path.size() > MaxShortPathInput)
        return path;
    char shortPath[MaxShortPathInput + 1];
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    // 0: no short form; a length beyond the buffer: the form does not fit.
    if (length == 0 || length >= sizeof shortPath)
        return path;
    return std::string(shortPath, length);
}

std::vector<std::string> ToShortPaths(const std::vector<std::string> &paths)
{
    std::vector<std::string> shortPaths;
    shortPaths.reserve(paths.size());
    for (const std::string &p : paths)
        shortPaths.push_back(ToShortPath(p));
    return shortPaths;
}

std::string FindOnSearchPath(const std::string &name)
{
    char found[255];
    char *filePart = nullptr;
    const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, sizeof found, found, &filePart);
    if (length == 0 || length >= sizeof found)
        return name;
    return std::string(found, length);
}

bool LaunchProgram(const std::string &program, const std::string &directory,
                   const std::vector<std::string> &parameters)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWDEFAULT;

    const std::string executable = fileExists(program) ? program : FindOnSearchPath(program);
    // The command line names the program as passed in, not as found.
    std::string commandLine = JoinCommandLine(LaunchArguments(program, parameters, fileExists));
    commandLine.push_back('\0'); // CreateProcessA may write into its command line

    PROCESS_INFORMATION process{};
    if (!CreateProcessA(executable.empty() ? nullptr : executable.c_str(), commandLine.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return false;
    // Nobody waits for the process: its handles go at once.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
