// Decoding speed of the PCX reader: a 4096 x 4096 256-colour picture with
// noisy content, loaded through TPCXBitmap several times. When Pillow is
// installed, the same file is timed with Pillow's decoder for comparison.

#include "fileio/errors.h"
#include "terrain/pcxctrl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int Side = 4096;
constexpr int Runs = 9;

// A terrain-like picture: short runs of random colours, each scan line coded
// on its own as encoders do.
QByteArray makeNoisyPcx()
{
    std::mt19937 random(20240601);
    QByteArray pcx(128, '\0');
    pcx[0] = 10;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = char((Side - 1) & 0xFF);
    pcx[9] = char((Side - 1) >> 8);
    pcx[10] = pcx[8];
    pcx[11] = pcx[9];
    pcx[65] = 1;
    pcx[66] = char(Side & 0xFF);
    pcx[67] = char(Side >> 8);
    pcx.reserve(12 * 1024 * 1024);
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side;) {
            const unsigned r = random();
            const int run = std::min<int>(Side - x, (r & 3) == 0 ? 2 + int(r >> 2 & 7) : 1);
            const auto value = static_cast<unsigned char>(r >> 8);
            if (run == 1 && value < 0xC0) {
                pcx.append(char(value));
            } else {
                pcx.append(char(0xC0 + run));
                pcx.append(char(value));
            }
            x += run;
        }
    }
    pcx.append(char(12));
    for (int i = 0; i < 256; ++i) {
        pcx.append(char(i));
        pcx.append(char((i * 7) & 0xFF));
        pcx.append(char(255 - i));
    }
    return pcx;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Pillow's in-process decode time of the file, median of runs, or a negative
// number when Pillow is not available.
double pillowMedianMs(const QString &path)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        return -1;
    const QString script = QStringLiteral(
        "import sys, time\n"
        "try:\n"
        "    from PIL import Image\n"
        "except ImportError:\n"
        "    sys.exit(3)\n"
        "path, runs = sys.argv[1], int(sys.argv[2])\n"
        "times = []\n"
        "for i in range(runs + 1):\n"
        "    t = time.perf_counter()\n"
        "    im = Image.open(path)\n"
        "    im.load()\n"
        "    times.append(time.perf_counter() - t)\n"
        "times = sorted(times[1:])\n"
        "print(times[len(times) // 2] * 1000.0)\n");
    QProcess process;
    process.start(python, {QStringLiteral("-c"), script, path, QString::number(Runs)});
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return -1;
    bool ok = false;
    const double ms = QString::fromLatin1(process.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("noise4096.pcx"));
    const QByteArray pcx = makeNoisyPcx();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(pcx) != pcx.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const double mb = double(pcx.size()) / (1024.0 * 1024.0);

    std::vector<double> convertMs, loadMs;
    try {
        for (int i = 0; i <= Runs; ++i) {
            QElapsedTimer timer;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                throw TError::cannotOpen(path);
            TPCXHeader header;
            bool is256 = false;
            timer.start();
            const QByteArray bmp = ConvertToBitmapStream(file, header, is256);
            const double convert = double(timer.nsecsElapsed()) / 1e6;

            timer.start();
            TPCXBitmap bitmap;
            bitmap.LoadFromFile(path);
            const double load = double(timer.nsecsElapsed()) / 1e6;
            if (bitmap.picture().size() != QSize(Side, Side) || bmp.isEmpty()) {
                std::fprintf(stderr, "decoded picture has the wrong size\n");
                return 1;
            }
            if (i == 0)
                continue; // warm-up
            convertMs.push_back(convert);
            loadMs.push_back(load);
        }
    } catch (const TError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    const double ours = median(loadMs);
    std::printf("PCX %dx%d, 256 colours, %.1f MB, median of %d runs\n", Side, Side, mb, Runs);
    std::printf("  PCX to BMP stream:          %8.2f ms\n", median(convertMs));
    std::printf("  TPCXBitmap (to QImage):     %8.2f ms  %8.1f MB/s\n", ours, mb / (ours / 1000.0));
    const double pillow = pillowMedianMs(path);
    if (pillow < 0) {
        std::printf("  Pillow:                     not available\n");
    } else {
        std::printf("  Pillow open + load:         %8.2f ms  %8.1f MB/s\n", pillow, mb / (pillow / 1000.0));
        std::printf("  ours / Pillow:              %8.2f\n", ours / pillow);
    }
    return 0;
}
