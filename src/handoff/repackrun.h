#pragma once
// TRepackRun: the repack batch run where the game's tools run under Wine. The
// batch is a process of its own that the program does not wait for: "wine cmd
// /c" runs each of its lines in the game's folder, their output (each pack.exe
// line, the game start) goes to !VLMR_Repack.log beside it with a note of every
// line that failed, and when it has ended, ended() says whether it failed. The
// batch goes on to its end if the program ends first.

#include <QByteArray>
#include <QObject>
#include <QString>

class QProcess;

inline constexpr const char *RepackLogName = "!VLMR_Repack.log";
// How the log notes a line of the batch that failed, before the line's number
// and exit code.
inline constexpr const char *RepackLineFailedMark = "Vellumar: ";

// GameMainDir + "!VLMR_Repack.log".
QString RepackLogPath(const QString &gameMainDir);

// What the end of a batch run says: empty when it ran through, else why not
// (a line cmd could not run, the first line that ended with an error, or the
// exit code of the run).
QString RepackFailure(bool crashed, int exitCode, const QByteArray &log);

class TRepackRun : public QObject {
    Q_OBJECT
public:
    explicit TRepackRun(QObject *parent = nullptr);
    ~TRepackRun() override;

    // Starts batchPath in directory, the output going to logPath. False when
    // Wine or the batch cannot be found or the process cannot be started.
    bool start(const QString &batchPath, const QString &directory, const QString &logPath);

signals:
    // The batch has ended; failure as RepackFailure gives it.
    void ended(const QString &failure, const QString &logPath);

private:
    QProcess *m_process = nullptr;
    QString m_logPath;
};
