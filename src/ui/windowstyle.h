#pragma once
// TWindowStyle: the look every window of the program shares. The windows'
// places and sizes were laid out for a narrow 8-point sans face, so the
// choice of face decides whether their captions fit: the narrow face the
// set-up script installs (on Windows, the copy the program brings) where it
// is present, else another narrow or condensed one, else the system's sans
// squeezed to a condensed width.

#include <QFont>
#include <QStringList>

class QWidget;

class TWindowStyle {
public:
    // The faces tried in order for the windows' font; the first installed one is used.
    static const QStringList &SansFamilies();
    static const QStringList &SerifFamilies();

    // The 8-point face every window is laid out for. Windows set it on
    // themselves first thing, so controls that copy it (bold captions) copy this one.
    static QFont font();
    // The small serif face of the map window's game-type labels, at a pixel height.
    static QFont serifFont(int pixelSize);

    // Gives every group box inside window a visible etched frame with its
    // caption on the frame's top line. Run at the end of a window's construction.
    static void frameGroupBoxes(QWidget *window);

    // Adds the font files (*.ttf) of folder to the program's faces when none
    // of SansFamilies() is installed (a Windows without a narrow face), and
    // returns how many it added. Run before the first window asks for font().
    static int addBundledFaces(const QString &folder);

    // The first of families that is installed, or an empty text.
    static QString firstInstalled(const QStringList &families);
    // That face (size not set), or, where none of families is installed, the
    // system's face of that kind at a condensed width.
    static QFont face(const QStringList &families, QFont::StyleHint kind);
};
