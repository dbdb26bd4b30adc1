#include "repackrun.h"
#include "launch.h"

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
    // cmd takes the batch by its short Windows path: no blank splits it.
    const QString windowsBatch =
        QString::fromLocal8Bit(ToShortPath(batchPath.toLocal8Bit().toStdString()));
    m_logPath = logPath;
    m_process = new QProcess(this);
    m_process->setWorkingDirectory(directory);
    m_process->setStandardInputFile(QProcess::nullDevice());
    // The shell only waits for the batch, which writes the log itself: should
    // the program end first, the shell is stopped and the batch runs on.
    m_process->setProgram(QStringLiteral("/bin/sh"));
    m_process->setArguments({QStringLiteral("-c"), QStringLiteral("\"$0\" cmd /c \"$1\" >\"$2\" 2>&1 & wait $!"), wine,
                             windowsBatch, logPath});
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        QFile log(m_logPath);
        const QByteArray text = log.open(QIODevice::ReadOnly) ? log.read(1 << 20) : QByteArray();
        emit ended(RepackFailure(status != QProcess::NormalExit, exitCode, text), m_logPath);
    });
    m_process->start();
    return m_process->waitForStarted();
}
