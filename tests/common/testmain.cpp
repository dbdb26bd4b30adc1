#include "testregistry.h"
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    return runRegisteredTests(argc, argv);
}
