#include "windowstyle.h"

#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QWidget>

namespace {
// The size every window was designed at.
constexpr int DesignPointSize = 8;
} // namespace

// Without any of the faces, the general face of that kind at a condensed
// width (Qt narrows a face that has no condensed cut itself) still fits the
// captions.
QFont TWindowStyle::face(const QStringList &families, QFont::StyleHint kind)
{
    const QString family = firstInstalled(families);
    QFont chosen;
    if (!family.isEmpty()) {
        chosen.setFamily(family);
    } else {
        chosen.setStyleHint(kind);
        chosen.setFamily(kind == QFont::Serif ? QStringLiteral("Serif") : QStringLiteral("Sans Serif"));
        chosen.setStretch(QFont::Condensed);
    }
    return chosen;
}

const QStringList &TWindowStyle::SansFamilies()
{
    static const QStringList families{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                                      QStringLiteral("DejaVu Sans Condensed")};
    return families;
}

const QStringList &TWindowStyle::SerifFamilies()
{
    static const QStringList families{QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                                      QStringLiteral("DejaVu Serif Condensed")};
    return families;
}

QString TWindowStyle::firstInstalled(const QStringList &families)
{
    for (const QString &family : families)
        if (QFontDatabase::hasFamily(family))
            return family;
    return QString();
}

int TWindowStyle::addBundledFaces(const QString &folder)
{
    if (!firstInstalled(SansFamilies()).isEmpty())
        return 0;
    const QDir dir(folder);
    int added = 0;
    for (const QString &name : dir.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name))
        if (QFontDatabase::addApplicationFont(dir.filePath(name)) >= 0)
            ++added;
    return added;
}

QFont TWindowStyle::font()
{
    // Looked up once: every window asks for it.
    static const QFont chosen = [] {
        QFont f = face(SansFamilies(), QFont::SansSerif);
        f.setPointSize(DesignPointSize);
        return f;
    }();
    return chosen;
}

QFont TWindowStyle::serifFont(int pixelSize)
{
    static const QFont chosen = face(SerifFamilies(), QFont::Serif);
    QFont f = chosen;
    f.setPixelSize(pixelSize);
    return f;
}

void TWindowStyle::frameGroupBoxes(QWidget *window)
{
    // An etched line (dark, then light) round the box, starting half a line
    // below the box's top so the caption sits on it, the caption 8 pixels in.
    static const QString look = QStringLiteral(
        "QGroupBox { border: 2px groove palette(mid); border-radius: 0px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 2px; }");
    for (QGroupBox *box : window->findChildren<QGroupBox *>())
        box->setStyleSheet(look);
}
