#pragma once
// A termination request (SIGTERM: the session ends, the system shuts down,
// `kill`) runs onRequest on the event loop: the main window closes as its
// close box closes it, so the settings are written as at every exit, and
// the program ends.

#include <functional>

void CloseOnTerminationRequest(std::function<void()> onRequest);
