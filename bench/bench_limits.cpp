// Every reader of the program's input files, fed files at the sizes it
// accepts and just beyond: each must read or refuse its file within 2 s and
// 300 MB. Each case runs in a process of its own (this program started again
// with --read), so its time and peak memory (maximum resident set) are its
// own; the files are made first, in a temporary directory.
//
//   bench_limits            all cases, one line each
//   bench_limits --read KIND FILE   one reader on one file (used by the above)

#include "builders.h"

#include "catalogue/itemcatalogue.h"
#include "catalogue/jpegpicture.h"
#include "document/bmsfile.h"
#include "fileio/errors.h"
#include "document/mapdocument.h"
#include "document/mapnamelist.h"
#include "settings/settings.h"
#include "terrain/pcxctrl.h"
#include "terrain/terrainfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jpeglib.h>

namespace {

constexpr double MaxSeconds = 2.0;
constexpr double MaxMegabytes = 300.0;

// --- the readers, as the program calls them -------------------------------

// Runs one reader on path; returns "read" or the refusal's message.
QString readWith(const QString &kind, const QString &path)
{
    const QString dir = QFileInfo(path).absolutePath() + u'/';
    try {
        if (kind == "map") {
            TMapDocument doc;
            TItemCatalogue catalogue;
            LoadMapFile(path, doc, catalogue);
        } else if (kind == "namelist") {
            TMapNameList list;
            list.read(path);
        } else if (kind == "catalogue") {
            TItemCatalogue catalogue;
            catalogue.LoadItemCatalogueFile(path);
        } else if (kind == "settings") {
            TSettingsStore store;
            store.LoadSettings(dir); // the file is dir + "kzmap.ini"
        } else if (kind == "terrain") {
            TTerrain terrain;
            ReadTerrainFile(path, dir, terrain);
        } else if (kind == "pcx") {
            TPCXBitmap bitmap;
            bitmap.LoadFromFile(path);
        } else if (kind == "jpeg") {
            LoadItemPicture(path);
        } else {
            return QStringLiteral("unknown reader");
        }
    } catch (const TError &e) {
        return e.message();
    }
    return QStringLiteral("read");
}

// --- the files ------------------------------------------------------------

QByteArray lines(int count, int length)
{
    return build::repeated(QByteArray(length, 'v') + "\r\n", count);
}

QByteArray nameListOf(int count, int length, qsizetype padTo = 0)
{
    QList<QByteArray> names;
    for (int i = 0; i < count; ++i)
        names.append(QByteArray(length, char('A' + i % 26)));
    QByteArray out = build::nameList(names);
    if (out.size() < padTo)
        out += QByteArray(padTo - out.size(), '\0');
    return out;
}

// A 256-colour PCX of random pixels, every byte coded as a run of one: the
// most work a file of this size can ask for.
QByteArray noisyPcx(int side)
{
    QByteArray pcx = build::flatPcx(side, 1); // the header, then one line
    pcx.truncate(128);
    pcx[10] = char((side - 1) & 0xFF);
    pcx[11] = char((side - 1) >> 8);
    std::mt19937 random(4711);
    pcx.reserve(128 + qsizetype(side) * side * 2 + 769);
    for (qsizetype i = 0; i < qsizetype(side) * side; ++i) {
        pcx += char(0xC1);
        pcx += char(random() & 0xFF);
    }
    pcx += char(12);
    pcx += QByteArray(768, '\x40');
    return pcx;
}

// A colour JPEG of random pixels at the best quality, coded by libjpeg: the
// largest and slowest picture data for its size.
QByteArray noisyJpeg(int width, int height, bool progressive)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::mt19937 random(815);
    std::vector<unsigned char> row(size_t(width) * 3);
    while (c.next_scanline < c.image_height) {
        for (unsigned char &v : row)
            v = static_cast<unsigned char>(random());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    jpeg_destroy_compress(&c);
    free(buffer);
    return out;
}

struct Case {
    const char *kind;
    const char *what;
    std::function<QByteArray()> make;
};

QList<Case> cases()
{
    const int lineEnds = 48 * 1024 * 1024;
    return {
        {"map", "2000 objects, the most a map holds", [] { return build::mapOfObjects(2000, 2000); }},
        {"map", "a header counting 2001 objects", [] { return build::mapOfObjects(2001, 2001); }},
        {"map", "a header counting 2^31 - 1 objects", [] { return build::mapOfObjects(1, 0x7FFFFFFF); }},
        {"namelist", "1000 names of 1024 characters in 16 MiB", [] { return nameListOf(1000, 1024, 16 << 20); }},
        {"namelist", "1001 names", [] { return nameListOf(1001, 8); }},
        {"namelist", "a file of 16 MiB and one byte", [] { return nameListOf(1, 8, (16 << 20) + 1); }},
        {"catalogue", "10000 rows of 1024-character lines", [] { return lines(20000, 1024); }},
        {"catalogue", "48 MiB of line ends", [=] { return QByteArray(lineEnds, '\n'); }},
        {"catalogue", "one line of 48 MiB", [=] { return QByteArray(lineEnds, 'x'); }},
        {"settings", "seven lines of 32767 characters, then 48 MiB of line ends",
         [=] { return lines(7, TSettingsStore::MaxLineLength) + QByteArray(lineEnds, '\n'); }},
        {"settings", "one line of 48 MiB", [=] { return QByteArray(lineEnds, 'x'); }},
        {"terrain", "1000 lines of 1024 characters", [] { return lines(1000, 1024); }},
        {"terrain", "48 MiB of line ends", [=] { return QByteArray(lineEnds, '\n'); }},
        {"pcx", "8192 x 8192, 256 colours, flat", [] { return build::flatPcx(8192, 8192); }},
        {"pcx", "8192 x 8192, 256 colours, random pixels", [] { return noisyPcx(8192); }},
        {"pcx", "8192 x 8192, 16 colours", [] { return build::flatPcx(8192, 8192, true); }},
        {"pcx", "8193 x 8193", [] { return build::flatPcx(8193, 8193); }},
        {"jpeg", "16384 x 16384 baseline", [] { return build::flatGreyJpeg(16384, 16384); }},
        {"jpeg", "4000 x 4000 colour baseline, random pixels, quality 100",
         [] { return noisyJpeg(4000, 4000, false); }},
        {"jpeg", "3500 x 3500 colour progressive, random pixels, quality 100",
         [] { return noisyJpeg(3500, 3500, true); }},
        {"jpeg", "8192 x 4096 progressive in 16 scans (64 MiB of coefficients)",
         [] { return build::flatGreyJpeg(8192, 4096, 16); }},
        {"jpeg", "8192 x 4096 progressive in 17 scans", [] { return build::flatGreyJpeg(8192, 4096, 17); }},
        {"jpeg", "4096 x 4096 colour progressive, random pixels, quality 100",
         [] { return noisyJpeg(4096, 4096, true); }},
        {"jpeg", "4096 x 4096 progressive in 500 scans", [] { return build::flatGreyJpeg(4096, 4096, 500); }},
        {"jpeg", "16384 x 16384 progressive in 300 scans", [] { return build::flatGreyJpeg(16384, 16384, 300); }},
    };
}

// Runs this program on one file and reports the reader's answer, the time
// it took and the child's peak memory.
bool measure(const Case &c, const QString &path, qint64 fileSize)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray kind(c.kind);
    const QByteArray file = path.toLocal8Bit();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl(self.constData(), self.constData(), "--read", kind.constData(), file.constData(), nullptr);
        _exit(127);
    }
    close(out[1]);
    QByteArray answer;
    char buffer[1024];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const int tab = int(answer.indexOf('\t'));
    const double seconds = tab > 0 ? answer.left(tab).toDouble() : -1;
    const QByteArray result = tab > 0 ? answer.mid(tab + 1).trimmed() : QByteArray("(crashed)");
    const double megabytes = double(usage.ru_maxrss) / 1024.0;
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && seconds >= 0 && seconds <= MaxSeconds
        && megabytes <= MaxMegabytes;
    std::printf("%-9s %-62s %9.1f MiB  %6.3f s  %6.1f MB  %s  %s\n", c.kind, c.what, double(fileSize) / (1 << 20),
                seconds, megabytes, ok ? "ok  " : "OVER", result.constData());
    std::fflush(stdout);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--read") {
        QElapsedTimer timer;
        timer.start();
        const QString result = readWith(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        std::printf("%.3f\t%s\n", double(timer.nsecsElapsed()) / 1e9, qPrintable(result));
        return 0;
    }
    std::printf("Each reader on files at the sizes it accepts and beyond: read or refused within %.0f s and %.0f MB\n"
                "(peak resident memory of the whole process, Qt included).\n\n",
                MaxSeconds, MaxMegabytes);
    std::printf("%-9s %-62s %13s  %8s  %9s  %s\n", "reader", "file", "size", "time", "memory", "");
    bool allOk = true;
    for (const Case &c : cases()) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1(c.kind) == "settings" ? QStringLiteral("kzmap.ini")
                                                                                     : QStringLiteral("input"));
        qint64 size = 0;
        {
            const QByteArray bytes = c.make();
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                return 1;
            size = bytes.size();
        }
        allOk = measure(c, path, size) && allOk;
    }
    std::printf("\n%s\n", allOk ? "Every case within the limits." : "Some cases are OVER the limits.");
    return allOk ? 0 : 1;
}
