#include "testregistry.h"
#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    // The user's data folder (the recovery copies) of a test run is its own.
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", userData.path().toLocal8Bit());
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    return runRegisteredTests(argc, argv);
}
