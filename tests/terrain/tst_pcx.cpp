// The PCX reader: pixels against netpbm's decoder, the BMP stream byte for
// byte, the run-length code at row and block ends, and refused input.

#include "builders.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "terrain/pcxctrl.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

// A PCX file: 128-byte header, encoded data as given, then the trailer.
struct Pcx {
    quint8 manufacturer = 10, bitsPerPixel = 8, planes = 1;
    qint16 xMin = 0, yMin = 0, xMax = 0, yMax = 0, bytesPerLine = 0;
    QByteArray colormap = QByteArray(48, '\0');
    QByteArray data, trailer;

    // BytesPerLine as encoders write it: width, or (width + 7) / 8 per plane.
    static Pcx of(int width, int height, bool sixteen = false)
    {
        Pcx p;
        p.xMax = qint16(width - 1);
        p.yMax = qint16(height - 1);
        p.bytesPerLine = qint16(sixteen ? (width + 7) / 8 : width);
        if (sixteen) {
            p.bitsPerPixel = 1;
            p.planes = 4;
        }
        return p;
    }
    QByteArray bytes() const
    {
        QByteArray out(128, '\0');
        const auto put16 = [&](int at, qint16 v) { out[at] = char(v & 0xFF), out[at + 1] = char(v >> 8); };
        out[0] = char(manufacturer), out[1] = 5, out[2] = 1, out[3] = char(bitsPerPixel);
        put16(4, xMin), put16(6, yMin), put16(8, xMax), put16(10, yMax);
        out.replace(16, 48, colormap);
        out[65] = char(planes);
        put16(66, bytesPerLine);
        return out + data + trailer;
    }
};

QByteArray run(int n, quint8 value) { return QByteArray(1, char(0xC0 + n)) + char(value); }

// Codes a row as encoders do: runs where bytes repeat or are 0xC0 and up.
QByteArray encode(const QByteArray &row)
{
    QByteArray out;
    for (qsizetype i = 0, n = 1; i < row.size(); i += n, n = 1) {
        while (i + n < row.size() && row[i + n] == row[i] && n < 63)
            ++n;
        out += (n > 1 || quint8(row[i]) >= 0xC0) ? run(int(n), quint8(row[i])) : QByteArray(1, row[i]);
    }
    return out;
}

// Marker 12 and 256 triples: entry i is red i, green 255 - i, blue i / 2.
QByteArray rampPalette()
{
    QByteArray out(1, char(12));
    for (int i = 0; i < 256; ++i)
        out += QByteArray(1, char(i)) + char(255 - i) + char(i / 2);
    return out;
}

// Four planes of a 16-colour scan line whose pixel x has value pixel(x).
QByteArray planes(int width, int bytesPerLine, const std::function<int(int)> &pixel)
{
    QByteArray line(4 * bytesPerLine, '\0');
    for (int x = 0; x < width; ++x)
        for (int p = 0; p < 4; ++p)
            if (pixel(x) >> p & 1)
                line[p * bytesPerLine + x / 8] = char(line[p * bytesPerLine + x / 8] | 0x80 >> (x % 8));
    return line;
}

QByteArray bitmapStream(const QByteArray &pcx)
{
    QBuffer buffer;
    buffer.setData(pcx);
    buffer.open(QIODevice::ReadOnly);
    TPCXHeader header;
    bool is256 = false;
    return ConvertToBitmapStream(buffer, header, is256);
}

void load(TPCXBitmap &bitmap, const QByteArray &pcx)
{
    QBuffer buffer;
    buffer.setData(pcx);
    buffer.open(QIODevice::ReadOnly);
    bitmap.LoadFromStream(buffer);
}

quint32 field(const QByteArray &bytes, int offset, int size = 4)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | quint8(bytes[offset + i]);
    return v;
}

// One BMP palette entry: blue, green, red, 0.
QByteArray entry(int blue, int green, int red)
{
    return QByteArray(1, char(blue)) + char(green) + char(red) + '\0';
}

} // namespace

class TTestPcx : public QObject {
    Q_OBJECT

private slots:
    void matchesNetpbm_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("is256");
        QTest::newRow("256 colours, odd width 37") << "rgb256-37x23" << true;
        QTest::newRow("256 colours, width a multiple of 8") << "rgb256-64x16" << true;
        QTest::newRow("256 colours, BytesPerLine padded to even") << "pil256-37x9" << true;
        QTest::newRow("16 colours, width 33") << "rgb16-33x19" << false;
        QTest::newRow("16 colours, width a multiple of 8") << "rgb16-40x12" << false;
        QTest::newRow("16 colours, padded planes come out unskewed") << "padded16-33x7" << false;
    }
    void matchesNetpbm()
    {
        QFETCH(QString, name);
        QFETCH(bool, is256);
        const QString dir = QStringLiteral(VELLUMAR_TEST_DATA "/");
        const QImage expected(dir + name + ".ppm", "PPM");
        QVERIFY(!expected.isNull());
        TPCXBitmap bitmap;
        bitmap.LoadFromFile(dir + name + ".pcx");
        QCOMPARE(bitmap.Is256Colour, is256);
        QCOMPARE(bitmap.picture().size(), expected.size());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (bitmap.picture().pixel(x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
    }

    void bitmapStreamOf512x512()
    {
        Pcx pcx = Pcx::of(512, 512); // scan line y is all y % 192
        for (int y = 0; y < 512; ++y)
            pcx.data += encode(QByteArray(512, char(y % 192)));
        pcx.trailer = rampPalette();
        const QByteArray bmp = bitmapStream(pcx.bytes());

        QCOMPARE(bmp.size(), 14 + 1064 + 262144);
        QCOMPARE(bmp.left(2), QByteArray("BM"));
        const int fields[][2] = {{2, 14 + 1064 + 262144}, {6, 0}, {10, 1078}, {14, 40}, {18, 512},
                                 {22, 512}, {30, 0}, {34, 262144}, {38, 0}, {42, 0}, {46, 256}, {50, 0}};
        for (const auto &[offset, value] : fields)
            QCOMPARE(field(bmp, offset), quint32(value));
        QCOMPARE(field(bmp, 26, 2), 1u); // planes
        QCOMPARE(field(bmp, 28, 2), 8u); // bits per pixel
        for (int i = 0; i < 256; ++i)
            QCOMPARE(bmp.mid(54 + 4 * i, 4), entry(i / 2, 255 - i, i));
        // Bottom-up: the stream's first row is the last scan line.
        QCOMPARE(bmp.mid(1078, 512), QByteArray(512, char(511 % 192)));
        QCOMPARE(bmp.mid(1078 + 511 * 512, 512), QByteArray(512, char(0)));
    }

    void rowDecoding_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<QByteArray>>("rows"); // top down
        QTest::newRow("a run crossing the row end is cut; the next row starts with the next code")
            << 4 << ("\x01" + run(6, 7) + "\x09\x08\x07\x06")
            << QList<QByteArray>{"\x01\x07\x07\x07", "\x09\x08\x07\x06"};
        // The first code of a file goes through the refill, later ones not.
        QTest::newRow("0xC0 consumes its value byte and writes nothing")
            << 3 << (run(0, 0x55) + "\x01" + run(0, 0x66) + "\x02\x03") << QList<QByteArray>{"\x01\x02\x03"};
        QTest::newRow("values from 0xC0 up come from one-byte runs")
            << 3 << (run(1, 0xC0) + run(1, 0xFF) + run(1, 0x00)) << QList<QByteArray>{QByteArray("\xC0\xFF\x00", 3)};
        QTest::newRow("0xFF repeats its value 63 times")
            << 64 << (run(63, 5) + "\x06") << QList<QByteArray>{QByteArray(63, 5) + "\x06"};
        QByteArray literals;
        for (int i = 0; i < 1023; ++i)
            literals += char(i % 192);
        QTest::newRow("a run split across two 1024-byte blocks")
            << 1028 << (literals + run(5, 0x77)) << QList<QByteArray>{literals + QByteArray(5, 0x77)};
    }
    void rowDecoding()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, data);
        QFETCH(QList<QByteArray>, rows);
        Pcx pcx = Pcx::of(width, int(rows.size()));
        pcx.data = data;
        pcx.trailer = rampPalette();
        TPCXBitmap bitmap;
        load(bitmap, pcx.bytes());
        for (int y = 0; y < rows.size(); ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(bitmap.picture().pixelIndex(x, y), int(quint8(rows[y][x])));
    }

    void rowLength_data()
    {
        QTest::addColumn<bool>("sixteen");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("bytesPerLine");
        QTest::addColumn<int>("lineSize");
        QTest::newRow("8-bit, BytesPerLine = width 37: rows of 40 bytes") << false << 37 << 37 << 40;
        QTest::newRow("8-bit, BytesPerLine padded to 38: rows of 40 bytes") << false << 37 << 38 << 40;
        QTest::newRow("8-bit, BytesPerLine 12 for 5 pixels: padding cut, rows of 8") << false << 5 << 12 << 8;
        QTest::newRow("16 colours, width 512, BytesPerLine 64: rows of 256 bytes") << true << 512 << 64 << 256;
        QTest::newRow("16 colours, width 37, BytesPerLine 5: rows of 20 bytes") << true << 37 << 5 << 20;
        QTest::newRow("16 colours, width 33, padded BytesPerLine 6: rows of 20, not 24") << true << 33 << 6 << 20;
        QTest::newRow("16 colours, width 3, padded BytesPerLine 4: rows of 4, not 16") << true << 3 << 4 << 4;
    }
    void rowLength()
    {
        QFETCH(bool, sixteen);
        QFETCH(int, width);
        QFETCH(int, bytesPerLine);
        QFETCH(int, lineSize);
        const int height = 3;
        const int colours = sixteen ? 16 : 192;
        const auto value = [&](int x, int y) { return (x * 7 + y * 5) % colours; };
        Pcx pcx = Pcx::of(width, height, sixteen);
        pcx.bytesPerLine = qint16(bytesPerLine);
        for (int y = 0; y < height; ++y) {
            QByteArray row(bytesPerLine, char(0xBB)); // 8-bit padding bytes
            for (int x = 0; x < width && !sixteen; ++x)
                row[x] = char(value(x, y));
            pcx.data += encode(sixteen ? planes(width, bytesPerLine, [&](int x) { return value(x, y); }) : row);
        }
        QCOMPARE(bitmapStream(pcx.bytes()).size(), 14 + (sixteen ? 104 : 1064) + height * lineSize);
        TPCXBitmap bitmap;
        load(bitmap, pcx.bytes());
        QCOMPARE(bitmap.picture().size(), QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(bitmap.picture().pixelIndex(x, y), value(x, y));
    }

    void palette_data()
    {
        QTest::addColumn<bool>("sixteen");
        QTest::addColumn<QByteArray>("trailer");
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("256 colours: marker 12 before the last 768 bytes gives the file's palette")
            << false << rampPalette() << true;
        QTest::newRow("256 colours: another marker byte leaves the palette black")
            << false << rampPalette().replace(0, 1, "\x0B") << false;
        QTest::newRow("256 colours: a file shorter than the palette trailer has a black palette")
            << false << QByteArray() << false;
        QTest::newRow("16 colours: the palette comes from the header") << true << QByteArray() << true;
    }
    void palette()
    {
        QFETCH(bool, sixteen);
        QFETCH(QByteArray, trailer);
        QFETCH(bool, fromFile);
        Pcx pcx = Pcx::of(2, 1, sixteen);
        pcx.data = sixteen ? QByteArray(4, '\0') : QByteArray("\x01\x02");
        pcx.trailer = trailer;
        pcx.colormap = rampPalette().mid(1, 48);
        const int entries = sixteen ? 16 : 256;
        const QByteArray bmp = bitmapStream(pcx.bytes());
        QCOMPARE(bmp.size(), 14 + 40 + 4 * entries + 4);
        for (int i = 0; i < entries; ++i)
            QCOMPARE(bmp.mid(54 + 4 * i, 4), fromFile ? entry(i / 2, 255 - i, i) : entry(0, 0, 0));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QString invalid = Msg::InvalidBitmap, readError = Msg::StreamRead;

        Pcx rgb = Pcx::of(4, 2);
        rgb.planes = 3;
        rgb.data = QByteArray(24, 1);
        QTest::newRow("24-bit PCX is not a valid bitmap") << rgb.bytes() << invalid;
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        QImage(8, 8, QImage::Format_RGB32).save(&bmp, "BMP");
        QTest::newRow("a BMP file is not a valid bitmap") << bmp.data() << invalid;
        Pcx other = Pcx::of(2, 1);
        other.manufacturer = 11;
        other.data = "\x01\x02";
        QTest::newRow("a manufacturer byte other than 10 is not a valid bitmap") << other.bytes() << invalid;
        QTest::newRow("an empty stream is not a valid bitmap") << QByteArray() << invalid;

        Pcx upside = Pcx::of(4, 1);
        upside.yMin = 5, upside.yMax = 3;
        QTest::newRow("YMax below YMin is refused")
            << upside.bytes() << "PCX picture has no rows: YMax 3 is below YMin 5";
        Pcx narrow = Pcx::of(4, 1, true);
        narrow.xMin = 2, narrow.xMax = 0;
        QTest::newRow("XMax below XMin is refused")
            << narrow.bytes() << "PCX picture has no columns: XMax 0 is below XMin 2";
        Pcx shortLine = Pcx::of(10, 1);
        shortLine.bytesPerLine = 9;
        shortLine.data = QByteArray(20, 1);
        QTest::newRow("8-bit BytesPerLine below the width is refused")
            << shortLine.bytes() << "PCX scan line of 9 bytes is too short for 10 pixels";
        Pcx shortPlanes = Pcx::of(17, 1, true);
        shortPlanes.bytesPerLine = 2;
        shortPlanes.data = QByteArray(20, 1);
        QTest::newRow("16-colour BytesPerLine below (width + 7) div 8 is refused")
            << shortPlanes.bytes() << "PCX scan line of 2 bytes per plane is too short for 17 pixels";

        // These have no pixel data: decoding before the check would end in a
        // stream read error instead.
        QTest::newRow("more than 8192 pixels on a side is refused before decoding")
            << Pcx::of(8193, 1, true).bytes() << "PCX picture of 8193 x 1 pixels is larger than 8192 pixels on a side";
        QTest::newRow("more than 8192 rows is refused before decoding")
            << Pcx::of(8192, 8193).bytes() << "PCX picture of 8192 x 8193 pixels is larger than 8192 pixels on a side";
        Pcx vast = Pcx::of(1, 1, true);
        vast.xMin = vast.yMin = -32768;
        vast.xMax = vast.yMax = 32767;
        vast.bytesPerLine = 8192;
        QTest::newRow("sizes past 32 bits raise integer overflow") << vast.bytes() << QString(Msg::IntegerOverflow);

        Pcx truncated = Pcx::of(4, 4);
        QTest::newRow("a header without pixel data is a stream read error") << truncated.bytes() << readError;
        truncated.data = "\x01\x02\x03\x04\x05\x06";
        QTest::newRow("data ending inside a row is a stream read error") << truncated.bytes() << readError;
        truncated.data = "\x01\x02\x03\x04\x05\xC3";
        QTest::newRow("data ending between a run code and its value is a stream read error")
            << truncated.bytes() << readError;
        Pcx truncated16 = Pcx::of(16, 2, true);
        truncated16.data = QByteArray(9, 1);
        QTest::newRow("16-colour data ending early is a stream read error") << truncated16.bytes() << readError;
    }
    void refused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        TPCXBitmap bitmap;
        try {
            load(bitmap, file);
            QFAIL("the stream was accepted");
        } catch (const TError &e) {
            QCOMPARE(e.message(), message);
        }
        QVERIFY(bitmap.isEmpty());
    }

    void theLargestPicturesAreDecoded_data()
    {
        QTest::addColumn<bool>("sixteen");
        QTest::newRow("256 colours, 8192 x 8192") << false;
        QTest::newRow("16 colours, 8192 x 8192") << true;
    }
    void theLargestPicturesAreDecoded()
    {
        QFETCH(bool, sixteen);
        TPCXBitmap bitmap;
        load(bitmap, build::flatPcx(8192, 8192, sixteen));
        QCOMPARE(bitmap.picture().size(), QSize(8192, 8192));
        QCOMPARE(bitmap.picture().format(), QImage::Format_Indexed8);
        QCOMPARE(bitmap.picture().pixelIndex(8191, 8191), 1);
    }

    void failedLoadKeepsThePicture()
    {
        Pcx good = Pcx::of(2, 1);
        good.data = "\x01\x02";
        TPCXBitmap bitmap;
        load(bitmap, good.bytes());
        const QImage before = bitmap.picture();
        QVERIFY_THROWS_EXCEPTION(TError, load(bitmap, Pcx::of(8, 8, true).bytes()));
        QCOMPARE(bitmap.picture(), before);
        QVERIFY(!bitmap.Is256Colour);
    }

    void neitherKindGoesToTheBitmapLoaderAfterTheHeader()
    {
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(qRgb(10, 200, 30));
        image.save(&bmp, "BMP");
        QBuffer stream;
        stream.setData(QByteArray(70, '\0') + bmp.data());
        stream.open(QIODevice::ReadOnly);
        TPCXHeader header;
        bool is256 = true;
        QVERIFY(ConvertToBitmapStream(stream, header, is256).isEmpty());
        QCOMPARE(stream.pos(), 70);
        QVERIFY(!is256);
        TPCXBitmap bitmap;
        bitmap.LoadFromStream(stream);
        QCOMPARE(bitmap.picture().convertToFormat(QImage::Format_RGB32), image);
    }

    void fileErrorsNameTheFile()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.pcx"), truncated = dir.filePath("short.pcx");
        TPCXBitmap bitmap;
        try {
            bitmap.LoadFromFile(missing);
            QFAIL("a missing file loaded");
        } catch (const TError &e) {
            QCOMPARE(e.text(), TError::cannotOpen(missing).text());
        }
        QFile file(truncated);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Pcx::of(4, 4).bytes()) == 128);
        file.close();
        try {
            bitmap.LoadFromFile(truncated);
            QFAIL("a truncated file loaded");
        } catch (const TError &e) {
            QCOMPARE(e.text(), TError(Msg::StreamRead, truncated).text());
        }
    }

    void pluginReadsPcxThroughQt_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("readable");
        QTest::newRow("a .pcx file decodes through the plugin") << "x.pcx" << true;
        QTest::newRow("PCX content under another suffix is recognised") << "x.img" << true;
        QTest::newRow("a broken .pcx file gives a null picture") << "broken.pcx" << false;
    }
    void pluginReadsPcxThroughQt()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, readable);
        QVERIFY(QImageReader::supportedImageFormats().contains("pcx"));
        Pcx pcx = Pcx::of(9, 2, true);
        pcx.colormap[3] = char(0xFF); // colour 1 is red
        if (readable)
            pcx.data = encode(planes(9, 2, [](int x) { return x % 2; })).repeated(2);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pcx.bytes()) > 0);
        file.close();

        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("pcx"));
        const QImage image = reader.read();
        QCOMPARE(image.isNull(), !readable);
        QCOMPARE(QPixmap(path).isNull(), !readable);
        if (readable) {
            QCOMPARE(image.size(), QSize(9, 2));
            QCOMPARE(image.pixel(1, 1), qRgb(255, 0, 0));
            QCOMPARE(image.pixel(8, 0), qRgb(0, 0, 0));
        }
    }
};

VELLUMAR_TEST(TTestPcx)
#include "tst_pcx.moc"
