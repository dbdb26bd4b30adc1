#pragma once
// Unit Launch: the few services of the operating system a save hands the map
// to the game with: short path names for the repack batch, the program
// search, and starting a program as a separate process. launch_win.cpp holds
// the Windows implementation (free of Qt, so it also builds with mingw-w64),
// launch_unix.cpp the one for systems where the game runs under Wine; the
// command-line composition below is shared by both.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The longest path the short-path service is asked about.
inline constexpr std::size_t MaxShortPathInput = 600;

// The short (8.3) form of an existing path; the path unchanged when the
// system gives none (the file does not exist, the path is empty or longer
// than MaxShortPathInput). Under Wine: the short Windows path of the file.
std::string ToShortPath(const std::string &path);
// The same for several paths at once (under Wine one lookup for all).
std::vector<std::string> ToShortPaths(const std::vector<std::string> &paths);

// The full path under which the system's program search finds name, or name
// unchanged when it finds nothing.
std::string FindOnSearchPath(const std::string &name);

// Starts program as a separate process in directory (the current one when
// empty) with the parameters, and returns at once without waiting. False when
// the process could not be started.
bool LaunchProgram(const std::string &program, const std::string &directory,
                   const std::vector<std::string> &parameters);

// The message shown when LaunchProgram returns false.
std::string LaunchFailureMessage(const std::string &program);

// One element of a command line: quoted ones are written in double quotes.
struct TCommandArgument {
    std::string text;
    bool quoted = false;
    bool operator==(const TCommandArgument &) const = default;
};

// What LaunchProgram puts on the new process's command line: the program in
// double quotes (when not empty), then per parameter: a parameter naming an
// existing file in double quotes, any other non-empty one bare; an empty
// parameter adds nothing.
std::vector<TCommandArgument> LaunchArguments(const std::string &program, const std::vector<std::string> &parameters,
                                              const std::function<bool(const std::string &)> &fileExists);

// The arguments joined by single blanks into one Windows command line.
std::string JoinCommandLine(const std::vector<TCommandArgument> &arguments);
