#include "testregistry.h"

#include <QList>
#include <QTest>
#include <cstdio>
#include <memory>

namespace {
struct Entry {
    const char *name;
    std::function<QObject *()> factory;
};
QList<Entry> &entries()
{
    static QList<Entry> list;
    return list;
}
}

int registerTestClass(const char *name, std::function<QObject *()> factory)
{
    entries().append({name, std::move(factory)});
    return entries().size();
}

// Runs every class, or only those named with "-class NAME" (repeatable); the
// remaining arguments go to QTest (test functions, -v2, ...).
int runRegisteredTests(int argc, char **argv)
{
    QStringList only;
    QList<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-class") == 0 && i + 1 < argc)
            only << QString::fromLocal8Bit(argv[++i]);
        else
            rest << argv[i];
    }
    int failedClasses = 0;
    int ran = 0;
    for (const Entry &e : entries()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(e.name)))
            continue;
        std::unique_ptr<QObject> test(e.factory());
        ++ran;
        if (QTest::qExec(test.get(), rest.size(), rest.data()) != 0)
            ++failedClasses;
    }
    std::printf("%d test classes run, %d failed\n", ran, failedClasses);
    return failedClasses == 0 ? 0 : 1;
}
