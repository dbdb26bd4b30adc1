// Unit Launch's Windows implementation, run under Wine: short names, the
// program search and the program start with its command line. Prints one
// line per check and exits with the number of failed checks.
#include "handoff/launch.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
    if (!ok)
        ++failures;
}

bool exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "a folder with a long name " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string file = dir + "\\a long file name.txt";
    std::ofstream(file) << "x";

    const std::string shortFile = ToShortPath(file);
    check(shortFile != file && shortFile.find(' ') == std::string::npos && exists(shortFile),
          "a long existing path has a short form without blanks that names the file");
    check(ToShortPath(shortFile) == shortFile, "a path already in short form comes back unchanged");
    const std::string missing = dir + "\\no such picture.pcx";
    check(ToShortPath(missing) == missing, "a missing file comes back unchanged");
    check(ToShortPath("").empty(), "an empty path comes back empty");
    const std::string tooLong = dir + "\\" + std::string(600, 'x');
    check(ToShortPath(tooLong) == tooLong, "a path over 600 characters comes back unchanged");
    const std::vector<std::string> both = ToShortPaths({file, missing});
    check(both.size() == 2 && both[0] == shortFile && both[1] == missing, "several paths convert one by one");

    const std::string cmd = FindOnSearchPath("cmd.exe");
    check(cmd != "cmd.exe" && exists(cmd), "the program search finds cmd.exe by its full path");
    check(FindOnSearchPath("no-such-program-4711.exe") == "no-such-program-4711.exe",
          "a name the search does not find comes back unchanged");

    // The batch writes its first argument (quotes removed) and its working folder.
    const std::string batch = dir + "\\run me.bat";
    const std::string marker = dir + "\\marker.txt";
    std::ofstream(batch) << "@echo %~1;%CD%> \"" << marker << "\"\r\n";
    const bool started = LaunchProgram(batch, dir, {file, ""});
    check(started, "a batch file starts");
    for (int i = 0; started && i < 300 && readFile(marker).empty(); ++i)
        Sleep(100);
    Sleep(200);
    const std::string ran = readFile(marker);
    check(ran.rfind(file + ";" + dir, 0) == 0,
          "the batch ran in its folder with the quoted file as one parameter");

    check(!LaunchProgram(dir + "\\no such program.exe", dir, {""}), "a missing program is not started");
    check(LaunchFailureMessage("C:\\KZ\\!VLMR_Repack.bat") == "The program C:\\KZ\\!VLMR_Repack.bat was not executed",
          "the failure names the program");
    return failures;
}
