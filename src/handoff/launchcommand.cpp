// The command-line composition shared by every implementation of LaunchProgram.
#include "launch.h"

std::vector<TCommandArgument> LaunchArguments(const std::string &program, const std::vector<std::string> &parameters,
                                              const std::function<bool(const std::string &)> &fileExists)
{
    std::vector<TCommandArgument> arguments;
    if (!program.empty())
        arguments.push_back({program, true});
    for (const std::string &p : parameters) {
        if (fileExists(p))
            arguments.push_back({p, true});
        else if (!p.empty())
            arguments.push_back({p, false});
    }
    return arguments;
}

std::string JoinCommandLine(const std::vector<TCommandArgument> &arguments)
{
    std::string line;
    for (const TCommandArgument &a : arguments) {
        if (!line.empty())
            line += ' ';
        if (a.quoted)
            line += '"' + a.text + '"';
        else
            line += a.text;
    }
    return line;
}

std::string LaunchFailureMessage(const std::string &program)
{
    return "The program " + program + " was not executed";
}
