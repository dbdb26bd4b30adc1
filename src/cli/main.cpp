#include "commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumar-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMAR_VERSION));
#ifdef Q_OS_WIN
    // What the tool writes are the files' own bytes (export's CR LF lines,
    // info's names): the C runtime's text mode would put a CR before every
    // LF once more.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    QTextStream err(stderr);
    const int status = runCli(app.arguments().mid(1), {out, err});
    out.flush();
    err.flush();
    return status;
}
