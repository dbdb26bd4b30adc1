#pragma once
// Tests of files the program may not read or write mean nothing to root, who
// may read and write anything, and the CI machine runs the tests as root.
// asOrdinaryUser runs such a test's file work as an ordinary user: as root in
// a child process that has given up root for the user and group "nobody",
// otherwise right here. The work returns a text (an error message, or empty
// for success) that comes back to the test; it must not use QtTest's checks.

#include <QString>
#include <functional>

QString asOrdinaryUser(const std::function<QString()> &work);

// Lets every user into dir and its files (a QTemporaryDir is its owner's only).
void openToEveryone(const QString &dir);

// Sets a file's or directory's permission bits, as chmod does (e.g. 0555).
void setMode(const QString &path, unsigned mode);

// What work returns, done in a child process that may run at most seconds
// and take at most memoryMiB of memory; or a note of how the child ended
// otherwise ("it did not end", "it ran out of memory", "it crashed"). For
// tests of readers that, faulty, would wait for ever or read without end:
// such a fault fails the test instead of stopping the machine. Like
// asOrdinaryUser, work must not use QtTest's checks.
QString inLimitedChild(const std::function<QString()> &work, int seconds = 2, int memoryMiB = 512);
