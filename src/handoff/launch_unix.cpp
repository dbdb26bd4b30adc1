// Unit Launch where the game and its tools are Windows programs run with Wine.
// Short paths are the short Windows paths Wine gives the files (asked of
// winepath, once for all paths of a call); a batch file is run as
// "wine cmd /c <its short Windows path>", a Windows program as
// "wine <program>", anything else directly.
#include "launch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

namespace {

// A first Wine start in a new prefix sets the prefix up, which takes a while.
constexpr int WineLookupTimeoutMs = 60000;

QString fromLocal(const std::string &s)
{
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}

std::string toLocal(const QString &s)
{
    return s.toLocal8Bit().toStdString();
}

bool fileExists(const std::string &path)
{
    return !path.empty() && QFileInfo(fromLocal(path)).isFile();
}

bool isBatchFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"bat" || suffix == u"cmd";
}

bool isWindowsProgram(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return isBatchFile(path) || suffix == u"exe" || suffix == u"com";
}

// Waits for the process to end, at most timeoutMs. The program's windows go
// on painting meanwhile (a first Wine start takes seconds), but take no
// input: the command that waits goes on when the process has ended.
bool waitWhileWindowsPaint(QProcess &process, int timeoutMs)
{
    if (!QCoreApplication::instance())
        return process.waitForFinished(timeoutMs);
    if (!process.waitForStarted())
        return false;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.state() == QProcess::NotRunning;
}

// winepath's output for "-s -w" and the paths: two lines per path, the short
// form (a Unix-style path on the drive of the working directory, empty when
// the file has no short form) and the Windows form. The first path asked is
// "/", whose Windows form gives that drive.
std::vector<QString> shortWindowsPaths(const QStringList &paths)
{
    const QString winepath = QStandardPaths::findExecutable(QStringLiteral("winepath"));
    if (winepath.isEmpty())
        return {};
    QProcess lookup;
    // Should this lookup be Wine's first start, it sets up the prefix without
    // stopping to offer Wine's .NET and HTML add-ons (unless the user says otherwise).
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("WINEDLLOVERRIDES")))
        environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    lookup.setProcessEnvironment(environment);
    lookup.setWorkingDirectory(QStringLiteral("/"));
    lookup.setStandardErrorFile(QProcess::nullDevice());
    lookup.start(winepath, QStringList{QStringLiteral("-s"), QStringLiteral("-w"), QStringLiteral("/")} + paths);
    if (!waitWhileWindowsPaint(lookup, WineLookupTimeoutMs)) {
        lookup.kill();
        lookup.waitForFinished();
        return {};
    }
    if (lookup.exitStatus() != QProcess::NormalExit || lookup.exitCode() != 0)
        return {};
    QStringList lines = QString::fromLocal8Bit(lookup.readAllStandardOutput()).split(u'\n');
    for (QString &l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    if (lines.size() < 2 * (paths.size() + 1))
        return {};
    const QString root = lines[1];
    if (root.size() < 3 || root[1] != u':' || root[2] != u'\\')
        return {};
    const QString drive = root.left(2);
    std::vector<QString> result;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QString shortForm = lines[2 + 2 * i];
        if (shortForm.startsWith(u'/'))
            shortForm = drive + shortForm.replace(u'/', u'\\');
        else if (shortForm.size() < 3 || shortForm[1] != u':')
            shortForm.clear(); // no short form
        result.push_back(shortForm);
    }
    return result;
}

} // namespace

std::vector<std::string> ToShortPaths(const std::vector<std::string> &paths)
{
    std::vector<std::string> result = paths;
    // Only existing files have a short form: the others need no Wine start.
    QStringList asked;
    std::vector<std::size_t> where;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string &p = paths[i];
        if (p.size() <= MaxShortPathInput && p.starts_with('/') && QFileInfo::exists(fromLocal(p))) {
            asked << fromLocal(p);
            where.push_back(i);
        }
    }
    if (asked.isEmpty())
        return result;
    const std::vector<QString> found = shortWindowsPaths(asked);
    for (std::size_t k = 0; k < found.size(); ++k)
        if (!found[k].isEmpty())
            result[where[k]] = toLocal(found[k]);
    return result;
}

std::string ToShortPath(const std::string &path)
{
    return ToShortPaths({path}).front();
}

std::string FindOnSearchPath(const std::string &name)
{
    if (name.empty())
        return name;
    const QString found = QStandardPaths::findExecutable(fromLocal(name));
    return found.isEmpty() ? name : toLocal(found);
}

bool LaunchProgram(const std::string &program, const std::string &directory,
                   const std::vector<std::string> &parameters)
{
    const std::string executable = fileExists(program) ? program : FindOnSearchPath(program);
    if (!fileExists(executable))
        return false;
    std::vector<TCommandArgument> arguments = LaunchArguments(program, parameters, fileExists);
    arguments.front().text = executable; // the program as found

    QProcess process;
    QStringList argv;
    if (isWindowsProgram(fromLocal(executable))) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return false;
        // The program and the files among the parameters as Windows sees them.
        std::vector<std::string> files;
        for (const TCommandArgument &a : arguments)
            if (a.quoted)
                files.push_back(a.text);
        const std::vector<std::string> windowsFiles = ToShortPaths(files);
        std::size_t next = 0;
        for (TCommandArgument &a : arguments)
            if (a.quoted)
                a.text = windowsFiles[next++];
        process.setProgram(wine);
        if (isBatchFile(fromLocal(executable)))
            argv << QStringLiteral("cmd") << QStringLiteral("/c");
    } else {
        process.setProgram(fromLocal(executable));
        arguments.erase(arguments.begin());
    }
    // Each argument travels on its own; Wine quotes one that holds a blank.
    for (const TCommandArgument &a : arguments)
        argv << fromLocal(a.text);
    process.setArguments(argv);
    process.setWorkingDirectory(fromLocal(directory));
    return process.startDetached();
}
