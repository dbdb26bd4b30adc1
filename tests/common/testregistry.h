#pragma once
// Test classes register themselves here; the suite's main runs them all.
#include <QObject>
#include <functional>

int registerTestClass(const char *name, std::function<QObject *()> factory);
int runRegisteredTests(int argc, char **argv);

#define VELLUMAR_TEST(Class) \
    static const int vellumarTestRegistration_##Class = \
        registerTestClass(#Class, [] { return static_cast<QObject *>(new Class); });
