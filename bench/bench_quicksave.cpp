// Memory over many quick saves: the sample map loaded in the editor and saved
// 500 times with "Save", each through the real file dialog (answered as a user
// does: the proposed name confirmed), then 500 times with "Save all" for
// comparison. Prints the resident memory every 100 saves; a save that keeps
// memory shows as a steady rise.
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "handoff/savemapdialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Resident memory in kB, as the system counts it.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool copySample(const QString &relative, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(QStringLiteral(VELLUMAR_SAMPLES "/") + relative, to);
}

// The real dialogs, with the error box printing instead of blocking.
class TBenchQtDialogs : public TQtDialogs {
public:
    void showError(QWidget *, const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    for (const char *d : {"prog", "kz", "kzbase", "game"})
        QDir(dir.path()).mkdir(QLatin1String(d));
    const QString kz = dir.filePath(QStringLiteral("kz/")), base = dir.filePath(QStringLiteral("kzbase/"));
    bool ok = copySample(QStringLiteral("kzmap.dat"), dir.filePath(QStringLiteral("prog/kzmap.dat")))
        && copySample(QStringLiteral("item.ini"), dir.filePath(QStringLiteral("prog/item.ini")))
        && copySample(QStringLiteral("kzbase/kzmpname.bin"), base + QStringLiteral("kzmpname.bin"))
        && copySample(QStringLiteral("kzbase/vlmrtest.bms"), base + QStringLiteral("vlmrtest.bms"));
    for (const QString &f : QDir(QStringLiteral(VELLUMAR_SAMPLES "/kz")).entryList(QDir::Files))
        ok = ok && copySample(QStringLiteral("kz/") + f, kz + f);
    QFile ini(dir.filePath(QStringLiteral("prog/kzmap.ini")));
    ok = ok && ini.open(QIODevice::WriteOnly)
        && ini.write((kz + "\r\n" + base + "\r\n" + dir.filePath(QStringLiteral("game/")) + "\r\n" + base
                      + "\r\n\r\n59\r\n00\r\n")
                         .toLocal8Bit())
            > 0;
    ini.close();
    if (!ok) {
        std::fprintf(stderr, "the sample data could not be copied\n");
        return 1;
    }

    TBenchQtDialogs dialogs;
    TForm1 form(dialogs, base + QStringLiteral("vlmrtest.bms"), dir.filePath(QStringLiteral("prog/")));
    form.createWindows();
    form.show();
    // The batch's short paths come from Wine only with --wine (a Wine process
    // per save, about a third of a second each); else the paths stay as they are.
    const bool withWine = app.arguments().contains(QStringLiteral("--wine"));
    if (!withWine)
        form.ShortPaths = [](const std::vector<std::string> &paths) { return paths; };
    // Confirms every file dialog as soon as it shows, with the name it proposes.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            QMetaObject::invokeMethod(d, "accept");
    });
    answer.start(1);

    // The first save of each kind builds what every later one reuses (the file
    // dialog's model and icons, the fonts of the messages): the growth that
    // counts is the one after it.
    const int saves = withWine ? 100 : 500, every = saves / 5;
    std::printf("saves  quick save (kB)  Save all (kB)%s\n", withWine ? "  (short paths from Wine)" : "");
    std::vector<long> quick, all;
    for (int i = 0; i <= saves; ++i) {
        if (i % every == 0 || i == 1)
            quick.push_back(residentKb());
        if (i < saves)
            form.Button7->click();
    }
    form.Form3->show();
    for (int i = 0; i <= saves; ++i) {
        if (i % every == 0 || i == 1)
            all.push_back(residentKb());
        if (i < saves)
            form.Form3->Button1->click();
    }
    for (std::size_t k = 0; k < quick.size(); ++k)
        std::printf("%5d  %15ld  %13ld\n", k == 0 ? 0 : k == 1 ? 1 : int(k - 1) * every, quick[k], all[k]);
    std::printf("growth from save 1 to save %d: quick save %ld kB, Save all %ld kB (first quick save: %ld kB)\n",
                saves, quick.back() - quick[1], all.back() - all[1], quick[1] - quick[0]);
    return 0;
}
