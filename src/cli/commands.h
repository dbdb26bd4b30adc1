#pragma once
// The commands of vellumar-cli. Each returns the exit status: 0 on success,
// 1 when a file could not be read or written (message on standard error), 2
// for wrong usage.

#include <QStringList>
#include <QTextStream>

class QIODevice;

struct TCliStreams {
    QIODevice &out; // standard output: bytes, since cells are the game's 8-bit text
    QTextStream &err;
};

int runCli(const QStringList &args, TCliStreams streams);
