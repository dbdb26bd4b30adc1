#include "repackrun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString RepackLogPath(const QString &gameMainDir)
{
    return gameMainDir + QLatin1String(RepackLogName);
}

QString RepackFailure(bool crashed, int exitCode, const QByteArray &log)
{
    if (crashed)
        return QStringLiteral("the batch stopped before its end");
    // cmd's words for a line it cannot run (Wine's, then Windows' own).
    for (const QByteArray &line : log.split('\n'))
        if (line.startsWith("Can't recognize '") || line.contains("is not recognized as an internal or external command"))
            return QStringLiteral("a line of the batch could not be run");
    // The first line that failed, as the run noted it in the log.
    for (const QByteArray &line : log.split('\n'))
        if (line.startsWith(RepackLineFailedMark))
            return QString::fromLocal8Bit(line.mid(int(qstrlen(RepackLineFailedMark))).trimmed());
    if (exitCode != 0)
        return QStringLiteral("the batch ended with exit code %1").arg(exitCode);
    return QString();
}

TRepackRun::TRepackRun(QObject *parent) : QObject(parent) {}

TRepackRun::~TRepackRun() = default;

bool TRepackRun::start(const QString &batchPath, const QString &directory, const QString &logPath)
{
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty() || !QFileInfo(batchPath).isFile())
        return false;
    m_logPath = logPath;
    m_process = new QProcess(this);
    m_process->setWorkingDirectory(directory);
    m_process->setStandardInputFile(QProcess::nullDevice());
    // The batch's lines run one after the other, each through cmd in the
    // game's folder as the batch would run it, so that a pack.exe line that
    // fails is seen even when the lines after it go through: its exit code is
    // noted in the log. The outer shell only waits for the run, which writes
    // the log itself: should the program end first, the shell is stopped and
    // the run goes on to the batch's end.
    static const char script[] =
        "wine=$0 batch=$1 log=$2\n"
        "cr=$(printf '\\r')\n"
        "(\n"
        "  n=0 failed=0\n"
        "  while IFS= read -r line || [ -n \"$line\" ]; do\n"
        "    n=$((n + 1)); line=${line%\"$cr\"}\n"
        "    [ -n \"$line\" ] || continue\n"
        "    printf '>%s\\n' \"$line\"\n"
        // Wine would pass the quotes of a quoted program path on to cmd as
        // \" and cmd not find it: the path goes without them, and Wine
        // quotes it again when it holds a blank.
        "    case $line in \\\"*\\\") inner=${line#\\\"}; inner=${inner%\\\"}\n"
        "      case $inner in *\\\"*) ;; *) line=$inner ;; esac ;; esac\n"
        "    \"$wine\" cmd /c \"$line\" </dev/null; rc=$?\n"
        "    if [ $rc -ne 0 ]; then\n"
        "      printf '%sline %d of the batch ended with exit code %d\\n' \"$3\" $n $rc\n"
        "      [ $failed -ne 0 ] || failed=$rc\n"
        "    fi\n"
        "  done <\"$batch\"\n"
        "  exit $failed\n"
        ") >\"$log\" 2>&1 & wait $!\n";
    m_process->setProgram(QStringLiteral("/bin/sh"));
    m_process->setArguments({QStringLiteral("-c"), QLatin1String(script), wine, batchPath, logPath,
                             QLatin1String(RepackLineFailedMark)});
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        QFile log(m_logPath);
        const QByteArray text = log.open(QIODevice::ReadOnly) ? log.read(1 << 20) : QByteArray();
        emit ended(RepackFailure(status != QProcess::NormalExit, exitCode, text), m_logPath);
    });
    m_process->start();
    return m_process->waitForStarted();
}
