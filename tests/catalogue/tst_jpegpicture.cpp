// Item pictures decoded for the Object View, held against the pixels the
// libjpeg-turbo command-line decoder gives with the same settings (the .bmp
// beside each .jpg in data/, made by data/make-jpeg-samples.sh), and bad files
// that must fail with a message naming the file.

#include "catalogue/jpegpicture.h"
#include "fileio/errors.h"
#include "builders.h"
#include "testregistry.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

QString dataPath(const QString &name)
{
    return QStringLiteral(VELLUMAR_TEST_DATA "/") + name;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("test data missing: %s", qPrintable(path));
    return f.readAll();
}

quint32 le(const QByteArray &b, int at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

// Compares the picture with djpeg's 8-bit BMP, read byte by byte: a BGRA
// palette (djpeg pads it to 256 entries with black) and bottom-up rows padded
// to 4 bytes. The colour table must be the palette's first entries and every
// pixel must have the same index.
void compareWithReference(const QImage &image, const QString &bmpName, int expectedColours)
{
    const QByteArray b = fileBytes(dataPath(bmpName));
    QVERIFY(b.size() >= 54 && b.startsWith("BM") && le(b, 28, 2) == 8 && le(b, 30, 4) == 0);
    const quint32 pixelsAt = le(b, 10, 4);
    const quint32 paletteAt = 14 + le(b, 14, 4);
    const int width = int(le(b, 18, 4));
    const int height = int(le(b, 22, 4)); // positive: bottom-up
    const quint32 entries = le(b, 46, 4) ? le(b, 46, 4) : 256;
    const qsizetype stride = (width + 3) & ~3;
    QVERIFY(entries <= 256 && paletteAt + entries * 4 <= pixelsAt && height > 0
            && pixelsAt + stride * height <= b.size());

    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QCOMPARE(image.size(), QSize(width, height));
    QCOMPARE(image.colorCount(), expectedColours);
    for (int i = 0; i < int(entries); ++i) {
        const qsizetype at = paletteAt + i * 4;
        const QRgb expected = qRgb(quint8(b[at + 2]), quint8(b[at + 1]), quint8(b[at]));
        const QRgb actual = i < image.colorCount() ? image.color(i) : qRgb(0, 0, 0);
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("colour %1 is %2, reference %3")
                                 .arg(i).arg(actual, 8, 16).arg(expected, 8, 16)));
    }
    for (int y = 0; y < height; ++y) {
        const uchar *row = image.constScanLine(y);
        const char *ref = b.constData() + pixelsAt + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            if (row[x] != uchar(ref[x]))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, reference %4")
                                     .arg(x).arg(y).arg(row[x]).arg(uchar(ref[x]))));
        }
    }
}

// Offset of the first segment whose marker lies in first..last, walking the
// segments from the start marker.
qsizetype segmentAt(const QByteArray &jpeg, quint8 first, quint8 last)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xFF) {
        const quint8 marker = quint8(jpeg[at + 1]);
        if (marker >= first && marker <= last)
            return at;
        at += 2 + qsizetype(quint8(jpeg[at + 2])) * 256 + quint8(jpeg[at + 3]);
    }
    qFatal("marker missing in test picture");
    return -1;
}

qsizetype frameHeaderAt(const QByteArray &jpeg)
{
    return segmentAt(jpeg, 0xC0, 0xC2);
}

qsizetype scanDataAt(const QByteArray &jpeg)
{
    const qsizetype sos = segmentAt(jpeg, 0xDA, 0xDA);
    return sos + 2 + qsizetype(quint8(jpeg[sos + 2])) * 256 + quint8(jpeg[sos + 3]);
}

QByteArray withSize(QByteArray jpeg, int width, int height)
{
    const qsizetype sof = frameHeaderAt(jpeg);
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width);
    return jpeg;
}

// An 8 by 8 grey progressive picture with all coefficients zero (a flat
// mid grey), sent as `scans` successive scans: the DC band and then each AC
// coefficient, each first at bit 13 and refined bit by bit down to bit 0, so
// every prefix is a valid progression (the command-line decoder takes it with
// warnings fatal). Each scan's data is one code: "0".
QByteArray progressiveGrey(int scans)
{
    QByteArray j("\xFF\xD8", 2);
    j += QByteArray("\xFF\xDB\x00\x43\x00", 5) + QByteArray(64, '\x01');
    j += QByteArray("\xFF\xC2\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 13);
    const QByteArray oneCode = QByteArray("\x01", 1) + QByteArray(15, '\0') + QByteArray(1, '\0');
    j += QByteArray("\xFF\xC4\x00\x26\x00", 5) + oneCode + QByteArray(1, '\x10') + oneCode;
    int made = 0;
    for (int k = 0; k < 64 && made < scans; ++k) {
        for (int bit = 13; bit >= 0 && made < scans; --bit, ++made) {
            const int ah = bit == 13 ? 0 : bit + 1;
            j += QByteArray("\xFF\xDA\x00\x08\x01\x01\x00", 7);
            j += char(k);
            j += char(k);
            j += char(ah << 4 | bit);
            j += '\x7F';
        }
    }
    return j + QByteArray("\xFF\xD9", 2);
}

// The TError that f throws, if any; any other exception escapes and fails the test.
template <typename F>
std::optional<TError> refusal(F f)
{
    try {
        f();
    } catch (const TError &e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class TestJpegPicture : public QObject {
    Q_OBJECT

private slots:
    void decodesLikeReferenceDecoder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("colours");
        QTest::newRow("colour picture with halved chroma matches pixel for pixel") << "colour-420" << 256;
        QTest::newRow("odd width keeps row padding out of the pixels") << "colour-444-odd" << 256;
        QTest::newRow("progressive picture") << "colour-422-progressive" << 256;
        QTest::newRow("arithmetic coding with restart markers") << "colour-arith-restart" << 256;
        QTest::newRow("greyscale picture has 256 grey levels") << "gray-odd" << 256;
        QTest::newRow("progressive greyscale picture") << "gray-progressive" << 256;
        QTest::newRow("single-colour picture has a one-entry colour table") << "solid" << 1;
    }
    void decodesLikeReferenceDecoder()
    {
        QFETCH(QString, name);
        QFETCH(int, colours);
        compareWithReference(LoadItemPicture(dataPath(name + ".jpg")), name + ".bmp", colours);
    }

    void toleratesHarmlessOddities_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        const QByteArray good = fileBytes(dataPath("colour-420.jpg"));
        QTest::newRow("bytes after the end marker are ignored") << good + "trailing junk";
        QByteArray jfif = good;
        jfif[11] = 2; // JFIF major revision
        QTest::newRow("unknown JFIF revision is only a warning") << jfif;
    }
    void toleratesHarmlessOddities()
    {
        QFETCH(QByteArray, jpeg);
        compareWithReference(DecodeItemPicture(jpeg, "odd.jpg"), "colour-420.bmp", 256);
    }

    void refusesBadData_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = fileBytes(dataPath("colour-420.jpg"));
        const qsizetype scan = scanDataAt(good);
        const qsizetype middle = (scan + good.size()) / 2;
        QByteArray noise(1000, '\0');
        quint32 seed = 12345;
        for (char &c : noise)
            c = char((seed = seed * 1103515245u + 12345u) >> 24);

        QTest::newRow("empty data") << QByteArray();
        QTest::newRow("text instead of a picture") << QByteArray("1001 is a palm tree\r\n");
        QTest::newRow("random bytes") << noise;
        QTest::newRow("start marker followed by random bytes") << QByteArray("\xFF\xD8", 2) + noise;
        QTest::newRow("only the start marker") << good.left(2);
        QTest::newRow("cut before the frame header") << good.left(frameHeaderAt(good));
        QTest::newRow("cut right after the scan header") << good.left(scan);
        QTest::newRow("cut in the middle of the picture data") << good.left(middle);
        QTest::newRow("end marker missing") << good.chopped(2);
        QTest::newRow("marker inserted into the picture data")
            << good.left(middle) + QByteArray("\xFF\xD3", 2) + good.mid(middle);
        QTest::newRow("zeros written over picture data")
            << good.left(middle) + QByteArray(40, '\0') + good.mid(middle + 40);
        QTest::newRow("zero width") << withSize(good, 0, 48);
        QTest::newRow("CMYK picture has no colour conversion") << fileBytes(dataPath("cmyk.jpg"));
    }
    void refusesBadData()
    {
        QFETCH(QByteArray, data);
        const auto error = refusal([&] { DecodeItemPicture(data, "bad.jpg"); });
        QVERIFY2(error, "not refused");
        QCOMPARE(error->where(), QString("bad.jpg"));
        QVERIFY(!error->message().isEmpty());
    }

    void refusesHugePicturesBeforeDecoding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("tooLarge");
        QTest::newRow("wider than 16384 pixels") << "colour-420" << 16385 << 48 << true;
        QTest::newRow("higher than 16384 pixels") << "colour-420" << 64 << 16385 << true;
        QTest::newRow("colour picture over 256 MiB") << "colour-420" << 16384 << 5462 << true;
        QTest::newRow("colour picture just within 256 MiB fails only for its missing data")
            << "colour-420" << 16384 << 5461 << false;
        QTest::newRow("greyscale picture of 16384 by 16384 is exactly 256 MiB and allowed")
            << "gray-odd" << 16384 << 16384 << false;
    }
    void refusesHugePicturesBeforeDecoding()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, tooLarge);
        const QByteArray jpeg = withSize(fileBytes(dataPath(name + ".jpg")), width, height);
        const auto error = refusal([&] { DecodeItemPicture(jpeg, "big.jpg"); });
        QVERIFY2(error, "not refused");
        QCOMPARE(error->where(), QString("big.jpg"));
        QVERIFY2(error->message().contains("too large") == tooLarge, qPrintable(error->message()));
    }

    // Flat grey pictures of any size, coded by hand (builders.h).
    void largePicturesAreScaledForTheBoxOrRefused_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QSize>("decoded"); // empty: refused
        QTest::addColumn<QString>("error");
        QTest::newRow("639 by 479 is decoded whole") << build::flatGreyJpeg(639, 479) << QSize(639, 479) << "";
        QTest::newRow("640 by 480 is decoded at half size") << build::flatGreyJpeg(640, 480) << QSize(320, 240) << "";
        QTest::newRow("2560 by 1920 is decoded at an eighth") << build::flatGreyJpeg(2560, 1920) << QSize(320, 240) << "";
        QTest::newRow("a wide picture fits by its width") << build::flatGreyJpeg(2600, 100) << QSize(325, 13) << "";
        QTest::newRow("a tall picture fits by its height") << build::flatGreyJpeg(100, 1300) << QSize(25, 325) << "";
        QTest::newRow("progressive 4096 by 4096 in 32 scans is decoded at an eighth")
            << build::flatGreyJpeg(4096, 4096, 32) << QSize(512, 512) << "";
        QTest::newRow("progressive 4096 by 4096 in 33 scans is refused")
            << build::flatGreyJpeg(4096, 4096, 33) << QSize() << "The picture sends 33 scans";
        QTest::newRow("progressive 8192 by 4096 has 64 MiB of coefficients and is decoded")
            << build::flatGreyJpeg(8192, 4096, 2) << QSize(1024, 512) << "";
        QTest::newRow("progressive 8192 by 4104 needs more and is refused unread")
            << build::flatGreyJpeg(8192, 4104, 2) << QSize() << "too large";
        QTest::newRow("progressive 16384 by 16384 is refused unread")
            << build::flatGreyJpeg(16384, 16384, 2) << QSize() << "too large";
    }
    void largePicturesAreScaledForTheBoxOrRefused()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(QSize, decoded);
        QFETCH(QString, error);
        QImage image;
        const auto refused = refusal([&] { image = DecodeItemPicture(jpeg, "big.jpg", ItemPictureBox); });
        if (refused) {
            QVERIFY2(!error.isEmpty() && refused->message().contains(error), qPrintable(refused->text()));
            QCOMPARE(refused->where(), QString("big.jpg"));
            return;
        }
        QVERIFY2(error.isEmpty(), "not refused");
        QCOMPARE(image.size(), decoded);
        const int grey = qGray(image.pixel(decoded.width() / 2, decoded.height() / 2));
        QVERIFY2(grey >= 127 && grey <= 128, qPrintable(QString::number(grey)));
    }

    void limitsProgressiveScans_data()
    {
        QTest::addColumn<int>("scans");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("500 scans decode") << 500 << true;
        QTest::newRow("501 scans are refused") << 501 << false;
    }
    void limitsProgressiveScans()
    {
        QFETCH(int, scans);
        QFETCH(bool, accepted);
        const QByteArray jpeg = progressiveGrey(scans);
        if (!accepted) {
            const auto error = refusal([&] { DecodeItemPicture(jpeg, "scans.jpg"); });
            QVERIFY2(error, "not refused");
            QCOMPARE(error->message(), QString("The picture has more than 500 scans"));
            return;
        }
        const QImage image = DecodeItemPicture(jpeg, "scans.jpg");
        QCOMPARE(image.size(), QSize(8, 8));
        // Flat mid grey; dithering to 256 grey levels makes some pixels 127.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const QRgb c = image.pixel(x, y);
                QVERIFY2(qIsGray(c) && qGray(c) >= 127 && qGray(c) <= 128, qPrintable(QString::number(c, 16)));
            }
    }

    void refusesUnreadableFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("size"); // -1: do not create
        QTest::addColumn<QString>("message"); // part of it
        QTest::newRow("missing file") << "1002.jpg" << qint64(-1) << Msg::FileNotFound;
        QTest::newRow("directory named like a picture") << "dir.jpg" << qint64(-1) << Msg::FileNotFound;
        QTest::newRow("empty file") << "empty.jpg" << qint64(0) << "Empty input file";
        QTest::newRow("file of 64 MiB is read, then found not to be a picture")
            << "zeros.jpg" << qint64(64) * 1024 * 1024 << "Not a JPEG file: starts with 0x00 0x00";
        QTest::newRow("file over 64 MiB is refused unread") << "huge.jpg" << qint64(64) * 1024 * 1024 + 1 << "too large";
    }
    void refusesUnreadableFiles()
    {
        QFETCH(QString, file);
        QFETCH(qint64, size);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(file);
        if (file == "dir.jpg")
            QVERIFY(QDir(dir.path()).mkdir(file));
        if (size >= 0) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(size)); // sparse: no disk space used
        }
        const auto error = refusal([&] { LoadItemPicture(path); });
        QVERIFY2(error, "not refused");
        QVERIFY2(error->message().contains(message), qPrintable(error->message()));
        QCOMPARE(error->where(), path);
    }

    void bundledItemPicturesFitTheView_data()
    {
        QTest::addColumn<QString>("number");
        for (const char *n : {"1001", "2001", "3001", "4076", "5001", "6002"})
            QTest::addRow("sample picture %s is 320 by 240", n) << QString(n);
    }
    void bundledItemPicturesFitTheView()
    {
        QFETCH(QString, number);
        const QImage image = LoadItemPicture(QStringLiteral(VELLUMAR_SAMPLES "/images/") + number + ".jpg");
        QCOMPARE(image.size(), QSize(320, 240));
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY(image.colorCount() >= 2);
    }

    void placeholderShowsProhibitionSign_data()
    {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<QColor>("colour");
        const QColor red(204, 16, 16), white(255, 255, 255), background(232, 232, 228), ink(60, 60, 60);
        QTest::newRow("top of the ring is red") << QPoint(160, 30) << red;
        QTest::newRow("the bar crosses the centre in red") << QPoint(160, 100) << red;
        QTest::newRow("beside the bar the sign is white") << QPoint(125, 135) << white;
        QTest::newRow("corner is plain background") << QPoint(4, 4) << background;
        QTest::newRow("the words start below the sign in dark ink") << QPoint(91, 200) << ink;
    }
    void placeholderShowsProhibitionSign()
    {
        QFETCH(QPoint, where);
        QFETCH(QColor, colour);
        const QImage image = NoPicturePlaceholder();
        QCOMPARE(image.size(), QSize(320, 240));
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QCOMPARE(image.colorCount(), 256);
        const QRgb c = image.pixel(where);
        QVERIFY2(qAbs(qRed(c) - colour.red()) <= 20 && qAbs(qGreen(c) - colour.green()) <= 20
                     && qAbs(qBlue(c) - colour.blue()) <= 20,
                 qPrintable(QString::number(c, 16)));
    }
};

VELLUMAR_TEST(TestJpegPicture)
#include "tst_jpegpicture.moc"
