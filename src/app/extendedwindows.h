#pragma once
// What the main window's "Extended" shows: the Save Map dialog below the main
// window and the About window to the dialog's right, both kept within the
// screen's available area with their frames, on the first click as on every
// later one.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;
class TForm4;

// The Save Map dialog's outer top-left: left edges level with the main
// window's, top at its bottom; moved up so its bottom stays on the screen,
// and in any case kept within area.
QPoint SaveMapDialogPlace(const QRect &mainFrame, const QSize &dialogFrame, const QRect &area);

// Shows the dialog and the About window at their places, placing them again
// once the window system has given them their frames.
void ShowExtendedWindows(QWidget *mainWindow, QWidget *saveDialog, TForm4 *about);
