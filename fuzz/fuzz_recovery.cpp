// The recovery copy read at the start and restored, as the program does it:
// the input put in the recovery folder as a copy a killed run left, offered
// at the start and answered "Restore", the map of the copy loaded (or, where
// it is gone, the copy's own header) and the changes put on top, while the
// main window and its map and table follow offscreen; then the restore is
// undone and redone and the map file a save would write is built. A copy
// carries the fingerprint of its content, so input that is not a whole copy
// is first given a true one: the reader behind the fingerprint check, and
// the restore behind the reader, are what a damaged or made-up copy meets.
//
// The harness works in a folder of its own: it holds the sample map and its
// name list, the program's files, and the user's data folder with the
// recovery folder. A copy whose map has no folder in its name ("vlmrtest.bms",
// as the seeds name it) is taken as one of that folder's, so it restores onto
// the sample map.
#include "fuzzinput.h"

#include "app/mainwindow.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "fileio/recoveryfolder.h"
#include "recovery/recoverykeeper.h"
#include "recovery/recoveryoffer.h"
#include "recovery/recoverystate.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace {

// A user who restores every copy offered, and chooses no file when asked
// for one (a terrain file or a picture that is missing).
class TRestoringUser : public TDialogs {
public:
    bool openFile(QWidget *, TFileRequest &) override { return false; }
    bool saveFile(QWidget *, TFileRequest &) override { return false; }
    QString chooseDirectory(QWidget *, const QString &) override { return QString(); }
    void showError(QWidget *, const QString &) override {}
    int ask(QWidget *, const TQuestion &question) override { return question.defaultButton; }
};

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct TWorld {
    TRestoringUser user;
    std::unique_ptr<TForm1> form;
    QByteArray trailer;

    TWorld()
    {
        const QString dir = inputDir();
        const QString samples = QStringLiteral(VELLUMAR_SAMPLES "/");
        QDir().mkpath(dir + QStringLiteral("prog"));
        QDir().mkpath(dir + QStringLiteral("game"));
        const bool ready = copyFile(samples + QStringLiteral("kzbase/vlmrtest.bms"), dir + QStringLiteral("vlmrtest.bms"))
            && copyFile(samples + QStringLiteral("kzbase/kzmpname.bin"), dir + QStringLiteral("kzmpname.bin"))
            && copyFile(samples + QStringLiteral("item.ini"), dir + QStringLiteral("prog/item.ini"))
            && copyFile(samples + QStringLiteral("kzmap.dat"), dir + QStringLiteral("prog/kzmap.dat"))
            && writeFile(dir + QStringLiteral("prog/kzmap.ini"),
                         QFile::encodeName(samples + QStringLiteral("kz/")) + "\r\n" + QFile::encodeName(dir) + "\r\n"
                             + QFile::encodeName(dir + QStringLiteral("game/")) + "\r\n" + QFile::encodeName(dir)
                             + "\r\n" + QFile::encodeName(samples + QStringLiteral("images/")) + "\r\n59\r\n00\r\n");
        if (!ready)
            std::abort(); // the harness itself failed, not the program
        trailer = QByteArray(TrailerSize, '\0');
        form = std::make_unique<TForm1>(user, QString(), TProgramFiles(dir + QStringLiteral("prog/")));
        form->createWindows();
        form->show();
    }
};

TWorld *world = nullptr;

void emptyRecoveryFolder()
{
    QDir(RecoveryFolder()).removeRecursively();
}

} // namespace

// The font library keeps its caches for the life of the process, reachable
// only from its own data: no leak of the program's.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_DATA_HOME", QFile::encodeName(inputDir() + QStringLiteral("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(inputDir() + QStringLiteral("config")));
    // Neither is ever destroyed: the process ends with them.
    new QApplication(*argc, *argv);
    world = new TWorld;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray magic = "Vellumar recovery copy 3\n";
    QByteArray bytes = inputBytes(data, size);
    if (!bytes.startsWith(magic))
        bytes = magic + QByteArray::number(bytes.size()) + ' '
            + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n' + bytes;
    try {
        TRecoveryState state = TRecoveryState::fromBytes(bytes, QStringLiteral("unsaved.state"));
        if (QFileInfo(state.bmsPath).isRelative()) {
            state.bmsPath = inputDir() + state.bmsPath;
            bytes = state.toBytes();
        }
    } catch (const TError &) {
        // Offered as it is: the start reports it.
    }
    TForm1 &form = *world->form;
    emptyRecoveryFolder();
    if (!writeFile(MakeRecoveryFolder() + QStringLiteral("unsaved-1-1-1.state"), bytes))
        std::abort();

    // The start: the copy offered and restored into the main window.
    if (const std::optional<TRecoveryCopy> copy = OfferRecoveryCopies(world->user, nullptr)) {
        form.restoreRecovered(*copy);
        if (form.mapLoaded()) {
            form.undoStep();
            form.redoStep();
            TMapDocument &doc = form.Document;
            try {
                BuildMapFile(doc, doc.mapControls(), int(doc.mapNames().items.size()), world->trailer);
            } catch (const TError &) {
                // A cell that is no number: the save refuses it with its message.
            }
        }
    }
    QCoreApplication::processEvents();

    // Back to the empty window for the next input, no copy left.
    form.Recovery->finish();
    form.Button8Click();
    emptyRecoveryFolder();
    return 0;
}
