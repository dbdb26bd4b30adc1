#pragma once
// Program start: files a killed write left incomplete offered back first,
// and the unsaved changes of a run that did not end normally; then the
// seven windows created once, in their order, and the main window shown. The main window comes first; the Object View, created
// last, loads the map named on the command line, so a map opened through the
// file association is loaded before any window shows.

#include "settings/programdir.h"

#include <QString>
#include <QStringList>
#include <memory>

class TDialogs;
class TForm1;

// arguments: the program's command line, the program itself first.
// files: where kzmap.ini, item.ini and kzmap.dat are.
std::unique_ptr<TForm1> StartProgram(TDialogs &dialogs, const QStringList &arguments, const TProgramFiles &files);
