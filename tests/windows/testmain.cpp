// The main of the Windows test programs: as tests/common/testmain.cpp, with
// the faces the shipped program has (Windows' own, and where Windows has no
// narrow face, the copy the program brings in its fonts folder). Each test
// program runs in a Wine prefix of its own, so its user folders are fresh.
#include "testregistry.h"
#include "ui/windowstyle.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const int added = TWindowStyle::addBundledFaces(QStringLiteral(VELLUMAR_BUNDLED_FONTS));
    std::printf("faces of the program's own fonts folder added: %d\n", added);
    return runRegisteredTests(argc, argv);
}
