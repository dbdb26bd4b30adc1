#include "commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumar-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMAR_VERSION));
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    QTextStream err(stderr);
    const int status = runCli(app.arguments().mid(1), {out, err});
    out.flush();
    err.flush();
    return status;
}
