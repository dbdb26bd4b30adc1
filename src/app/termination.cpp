#include "termination.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
// What a request runs; the last one given.
std::function<void()> requestHandler;

// Only async-signal-safe work here: the event loop reads the byte.
void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void CloseOnTerminationRequest(std::function<void()> onRequest)
{
    requestHandler = std::move(onRequest);
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        // A request answered Cancel keeps the program; the next one asks
        // again. One that comes while the question is open adds nothing.
        static bool handling = false;
        if (!requestHandler || handling)
            return;
        handling = true;
        requestHandler();
        handling = false;
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}
#else
void CloseOnTerminationRequest(std::function<void()>)
{
}
#endif
