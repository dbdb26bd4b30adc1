#pragma once
// A termination request (SIGTERM: the session ends, the system shuts down,
// `kill`) closes the main window as its close box does, so the settings are
// written as at every exit, and then ends the program.

class QWidget;

void CloseOnTerminationRequest(QWidget *mainWindow);
