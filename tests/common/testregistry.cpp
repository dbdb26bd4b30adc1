#include "testregistry.h"

#include <QList>
#include <QMetaMethod>
#include <QSet>
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

namespace {

// The test functions of a class: its private slots other than QtTest's
// init and cleanup functions and the _data tables.
QList<QByteArray> testFunctions(const QObject &test)
{
    static const QSet<QByteArray> framework{"initTestCase", "cleanupTestCase", "init", "cleanup"};
    QList<QByteArray> names;
    const QMetaObject *meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() != QMetaMethod::Slot || m.access() != QMetaMethod::Private || m.parameterCount() != 0)
            continue;
        const QByteArray name = m.name();
        if (!framework.contains(name) && !name.endsWith("_data"))
            names << name;
    }
    return names;
}

} // namespace

// Runs every class, or only those named with "-class NAME" (repeatable),
// leaving out the functions named with "-skip CLASS::FUNCTION" (repeatable;
// a name that matches no function is an error, so the list stays true); the
// remaining arguments go to QTest (test functions, -v2, ...).
int runRegisteredTests(int argc, char **argv)
{
    QStringList only;
    QSet<QByteArray> skipped;
    QList<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-class") == 0 && i + 1 < argc)
            only << QString::fromLocal8Bit(argv[++i]);
        else if (qstrcmp(argv[i], "-skip") == 0 && i + 1 < argc)
            skipped << QByteArray(argv[++i]);
        else
            rest << argv[i];
    }
    QSet<QByteArray> unmatched = skipped;
    int failedClasses = 0;
    int ran = 0;
    for (const Entry &e : entries()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(e.name))) {
            // A class not run here skips nothing of its own.
            for (const QByteArray &name : skipped)
                if (name.startsWith(QByteArray(e.name) + "::"))
                    unmatched.remove(name);
            continue;
        }
        std::unique_ptr<QObject> test(e.factory());
        ++ran;
        QList<QByteArray> kept;
        bool skips = false;
        for (const QByteArray &f : testFunctions(*test)) {
            const QByteArray qualified = QByteArray(e.name) + "::" + f;
            if (skipped.contains(qualified)) {
                unmatched.remove(qualified);
                std::printf("SKIP   : %s() left out of this run\n", qualified.constData());
                skips = true;
            } else {
                kept << f;
            }
        }
        QList<char *> args = rest;
        if (skips) {
            if (kept.isEmpty())
                continue;
            for (QByteArray &f : kept)
                args << f.data();
        }
        if (QTest::qExec(test.get(), args.size(), args.data()) != 0)
            ++failedClasses;
    }
    for (const QByteArray &name : unmatched) {
        std::printf("FAIL!  : -skip %s names no test function\n", name.constData());
        ++failedClasses;
    }
    std::printf("%d test classes run, %d failed\n", ran, failedClasses);
    return failedClasses == 0 ? 0 : 1;
}
