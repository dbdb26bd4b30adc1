#include "ordinaryuser.h"

#include <QDirIterator>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

// Runs work in a child process made with fork, after prepare (which returns
// an error text, or an empty one to go on), and gives back what work
// returned. The child's end status goes to *status; a failed pipe or fork
// is said in the text.
QString inChild(const std::function<QByteArray()> &prepare, const std::function<QString()> &work, int *status)
{
    *status = 0;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return QStringLiteral("pipe failed: ") + QString::fromLocal8Bit(std::strerror(errno));
    const pid_t child = fork();
    if (child < 0)
        return QStringLiteral("fork failed: ") + QString::fromLocal8Bit(std::strerror(errno));
    if (child == 0) {
        close(pipeEnds[0]);
        QByteArray result = prepare();
        if (result.isEmpty()) {
            try {
                result = work().toUtf8();
            } catch (const std::bad_alloc &) {
                result = "it ran out of memory";
            } catch (...) {
                result = "the work raised an exception";
            }
        }
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t n = write(pipeEnds[1], result.constData() + done, size_t(result.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        _exit(0); // nothing of the test process runs down in the child
    }
    close(pipeEnds[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    close(pipeEnds[0]);
    waitpid(child, status, 0);
    return QString::fromUtf8(result);
}

} // namespace

QString asOrdinaryUser(const std::function<QString()> &work)
{
    if (geteuid() != 0)
        return work();
    int status = 0;
    const QString result = inChild(
        [] {
            if (setgroups(0, nullptr) != 0 || setgid(NoGroup) != 0 || setuid(Nobody) != 0)
                return "could not give up root: " + QByteArray(std::strerror(errno));
            return QByteArray();
        },
        work, &status);
    if (!WIFEXITED(status))
        return QStringLiteral("the ordinary user's process ended abnormally");
    return result;
}

QString inLimitedChild(const std::function<QString()> &work, int seconds, int memoryMiB)
{
    int status = 0;
    const QString result = inChild(
        [=] {
            const rlimit memory{rlim_t(memoryMiB) << 20, rlim_t(memoryMiB) << 20};
            setrlimit(RLIMIT_AS, &memory);
            alarm(unsigned(seconds));
            return QByteArray();
        },
        work, &status);
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? QStringLiteral("it did not end") : QStringLiteral("it crashed");
    return result;
}

void setMode(const QString &path, unsigned mode)
{
    chmod(QFile::encodeName(path).constData(), mode_t(mode));
}

void openToEveryone(const QString &dir)
{
    setMode(dir, 0777);
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        setMode(path, it.fileInfo().isDir() ? 0777 : 0666);
    }
}
