#include "pcxctrl.h"

#include "document/bytes.h"
#include "fileio/errors.h"
#include "fileio/fileio.h"
#include "document/numbers.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::uint8_t PcxManufacturer = 10;
constexpr std::uint8_t PaletteMarker = 12;
constexpr int PaletteTrailerSize = 769; // marker byte + 256 triples
constexpr int InfoHeaderSize = 40;
constexpr int FileHeaderSize = 14;
constexpr int PlaneCount = 4;

// Qt's image readers hold every picture to one allocation limit, in MiB,
// counted as if the picture had 32 bits a pixel whatever its format. Our own
// size checks already bound the picture (one byte a pixel, 4-bit rows
// widened to 8 bits), so the limit lets the largest of them through.
constexpr int ReaderAllocationLimitMiB = 4 * (MaxBitmapStreamSize / (1024 * 1024) + 1);

[[noreturn]] void refuse(const QString &why)
{
    throw TError(why);
}

// Qt's BMP reader over a finished BMP file in memory.
QImage readBitmapStream(const QByteArray &bmp)
{
    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(ReaderAllocationLimitMiB);
    return reader.read();
}

// The plain bitmap loader: reads a BMP from the stream's current position.
QImage readBitmapAt(QIODevice &stream)
{
    QImageReader reader(&stream, "bmp");
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

} // namespace

QString pcxFileFilter()
{
    const QString description = QString::fromLatin1(PcxFormatDescription);
    const QString pattern = QStringLiteral("*.") + QString::fromLatin1(PcxFormatExtension);
    return description + QStringLiteral(" (") + pattern + QStringLiteral(")|") + pattern;
}

TPCXHeader TPCXHeader::decode(const std::uint8_t *p)
{
    TPCXHeader h;
    h.Manufacturer = p[0];
    h.Version = p[1];
    h.Encoding = p[2];
    h.BitsPerPixel = p[3];
    h.XMin = getInt16LE(p + 4);
    h.YMin = getInt16LE(p + 6);
    h.XMax = getInt16LE(p + 8);
    h.YMax = getInt16LE(p + 10);
    h.HDpi = getInt16LE(p + 12);
    h.VDpi = getInt16LE(p + 14);
    std::memcpy(h.Colormap.data(), p + 16, h.Colormap.size());
    h.Reserved = p[64];
    h.NPlanes = p[65];
    h.BytesPerLine = getInt16LE(p + 66);
    h.PaletteInfo = getInt16LE(p + 68);
    return h;
}

std::int32_t RoundUp4(std::int32_t value)
{
    return checkedAdd(value, 3) & ~std::int32_t(3);
}

// ---------------------------------------------------------------- TDecoder

QByteArray TDecoder::CreateBitmapInfo(QIODevice &source)
{
    InfoSize = static_cast<std::uint16_t>(PaletteSize() + InfoHeaderSize);
    QByteArray info(InfoSize, '\0'); // palette entries not read stay black
    FillInfoHeader(reinterpret_cast<std::uint8_t *>(info.data()));
    ReadPalette(source, info);
    return info;
}

std::int32_t TDecoder::ImageSize() const
{
    return checkedMul(LineSize, Height);
}

QByteArray TDecoder::MakeFileHeader()
{
    QByteArray bytes(FileHeaderSize, '\0');
    auto *p = reinterpret_cast<std::uint8_t *>(bytes.data());
    p[0] = 'B';
    p[1] = 'M';
    putInt32LE(p + 2, checkedAdd(checkedAdd(ImageSize(), InfoSize), FileHeaderSize));
    // bytes 6 to 9: two reserved words, zero
    PixelOffset = InfoSize + FileHeaderSize;
    putInt32LE(p + 10, PixelOffset);
    return bytes;
}

void TDecoder::StartFrame(const TPCXHeader &header)
{
    Header = header;
    Height = checkedAdd(checkedSub(header.YMax, header.YMin), 1);
    Width = checkedAdd(checkedSub(header.XMax, header.XMin), 1);
    if (Height <= 0)
        refuse(QStringLiteral("PCX picture has no rows: YMax %1 is below YMin %2")
                   .arg(header.YMax).arg(header.YMin));
    if (Width <= 0)
        refuse(QStringLiteral("PCX picture has no columns: XMax %1 is below XMin %2")
                   .arg(header.XMax).arg(header.XMin));
}

void TDecoder::BuildFrame(QIODevice &source, QByteArray &destination)
{
    // Every size is worked out, overflow-checked, and held against the limits
    // before the palette is read or the destination allocated.
    const std::int32_t infoSize = checkedAdd(PaletteSize(), InfoHeaderSize);
    const std::int32_t streamSize = checkedAdd(checkedAdd(ImageSize(), infoSize), FileHeaderSize);
    if (Width > MaxPictureSide || Height > MaxPictureSide)
        refuse(QStringLiteral("PCX picture of %1 x %2 pixels is larger than %3 pixels on a side")
                   .arg(Width).arg(Height).arg(MaxPictureSide));
    if (streamSize > MaxBitmapStreamSize)
        refuse(QStringLiteral("PCX picture of %1 x %2 pixels needs %3 bytes, more than the %4 bytes allowed")
                   .arg(Width).arg(Height).arg(streamSize).arg(MaxBitmapStreamSize));

    const QByteArray info = CreateBitmapInfo(source);
    const QByteArray fileHeader = MakeFileHeader();

    destination = QByteArray(streamSize, Qt::Uninitialized);
    char *out = destination.data();
    std::memcpy(out, fileHeader.constData(), FileHeaderSize);
    std::memcpy(out + FileHeaderSize, info.constData(), InfoSize);

    // A stream that ends inside the header has no pixel data; the first
    // refill reports it.
    m_sourceLeft = std::max<qint64>(0, source.size() - TPCXHeader::DataOffset);
    if (m_sourceLeft > 0 && !source.seek(TPCXHeader::DataOffset))
        throw TError(Msg::StreamRead);
    InPos = 0;
    m_inLength = 0;
}

std::uint8_t TDecoder::TakeByte(QIODevice &source)
{
    if (InPos == m_inLength)
        Refill(source);
    return InBuffer[InPos++];
}

void TDecoder::Refill(QIODevice &source)
{
    // A block is 1024 bytes or what is left of the source. A source with
    // nothing left ended before the last row: that is a read error, never a
    // reason to decode stale buffer bytes.
    const auto n = static_cast<std::int32_t>(std::min<qint64>(sizeof InBuffer, m_sourceLeft));
    if (n <= 0 || source.read(reinterpret_cast<char *>(InBuffer), n) != n)
        throw TError(Msg::StreamRead);
    m_sourceLeft -= n;
    m_inLength = n;
    InPos = 0;
}

std::int32_t TDecoder::DecodeLine(QIODevice &source, std::int32_t count, std::uint8_t *line)
{
    // A byte below 0xC0 is one pixel; a byte B from 0xC0 up repeats the next
    // byte B - 0xC0 times (0xC0 consumes its value and appends nothing). A run
    // goes in whole even past count: the caller keeps only its row, so the
    // surplus never reaches the next row. InBuffer and InPos carry over from
    // one row to the next; the first call finds the buffer empty and fills it.
    std::uint8_t *out = line;
    std::uint8_t *const outEnd = line + count;
    while (out < outEnd) {
        // Codes wholly inside the buffer. Both kinds are worked out with
        // arithmetic rather than a branch (in picture data they alternate
        // unpredictably) and stored 8 bytes at a time; the line's slack of
        // MaxRun bytes takes what goes past the run.
        const std::uint8_t *in = InBuffer + InPos;
        const std::uint8_t *const lastPair = InBuffer + std::max(m_inLength - 1, 0);
        while (out < outEnd && in < lastPair) {
            const unsigned b = in[0];
            const unsigned next = in[1];
            const unsigned run = (b + 0x40) >> 8; // 1 from 0xC0 up
            const unsigned mask = 0u - run;
            const unsigned value = b ^ ((b ^ next) & mask);            // next for a run
            const auto n = std::ptrdiff_t(1 + int((b - 0xC1) & mask)); // B - 0xC0 for a run
            const std::uint64_t pattern = value * 0x0101010101010101ull;
            std::memcpy(out, &pattern, 8);
            for (std::ptrdiff_t k = 8; k < n; k += 8)
                std::memcpy(out + k, &pattern, 8);
            out += n;
            in += 1 + run;
        }
        InPos = std::int32_t(in - InBuffer);
        if (out >= outEnd)
            break;

        // The code at the block end, byte by byte across the refill.
        const std::uint8_t b = TakeByte(source);
        if (b < 0xC0) {
            *out++ = b;
        } else {
            const std::uint8_t value = TakeByte(source);
            std::memset(out, value, b - 0xC0);
            out += b - 0xC0;
        }
    }
    return std::int32_t(out - line);
}

// ------------------------------------------------------------- TDecoder256

void TDecoder256::FillInfoHeader(std::uint8_t *p)
{
    putInt32LE(p + 0, InfoHeaderSize);
    putInt32LE(p + 4, Width);
    putInt32LE(p + 8, Height); // positive: rows stored bottom-up
    putInt16LE(p + 12, 1);     // planes
    putInt16LE(p + 14, 8);     // bits per pixel
    putInt32LE(p + 16, 0);     // uncompressed
    putInt32LE(p + 20, ImageSize());
    putInt32LE(p + 24, 0);
    putInt32LE(p + 28, 0);
    putInt32LE(p + 32, 256); // colours used
    putInt32LE(p + 36, 0);
}

void TDecoder256::ReadPalette(QIODevice &source, QByteArray &info)
{
    // The palette is the last 768 bytes, after the marker byte 12. Without the
    // marker the entries stay black.
    const qint64 size = source.size();
    if (size < PaletteTrailerSize)
        return;
    std::uint8_t trailer[PaletteTrailerSize];
    if (!source.seek(size - PaletteTrailerSize)
        || source.read(reinterpret_cast<char *>(trailer), 1) != 1)
        throw TError(Msg::StreamRead);
    if (trailer[0] != PaletteMarker)
        return;
    if (source.read(reinterpret_cast<char *>(trailer + 1), 768) != 768)
        throw TError(Msg::StreamRead);
    auto *entry = reinterpret_cast<std::uint8_t *>(info.data()) + InfoHeaderSize;
    for (int i = 0; i < 256; ++i, entry += 4) {
        const std::uint8_t *rgb = trailer + 1 + 3 * i;
        entry[0] = rgb[2];
        entry[1] = rgb[1];
        entry[2] = rgb[0];
        entry[3] = 0;
    }
}

int TDecoder256::Decode(QIODevice &source, const TPCXHeader &header, QByteArray &destination)
{
    StartFrame(header);
    const std::int32_t bytesPerLine = header.BytesPerLine;
    if (bytesPerLine < Width)
        refuse(QStringLiteral("PCX scan line of %1 bytes is too short for %2 pixels")
                   .arg(bytesPerLine).arg(Width));
    // A BMP row holds Width pixels, 32-bit aligned. For the usual files, whose
    // BytesPerLine is Width or Width rounded up to even, this is
    // RoundUp4(BytesPerLine); a wider BytesPerLine is scan-line padding and is
    // cut off rather than shifting every row.
    LineSize = RoundUp4(Width);
    BuildFrame(source, destination);

    // The line keeps what earlier rows left beyond this row's bytes; those
    // bytes are padding and mean nothing.
    std::unique_ptr<std::uint8_t[]> line(new std::uint8_t[std::max(LineSize, bytesPerLine + MaxRun)]());
    auto *pixels = reinterpret_cast<std::uint8_t *>(destination.data()) + PixelOffset;
    // The first scan line is the top of the picture, the last BMP row.
    for (std::int32_t row = Height - 1; row >= 0; --row) {
        DecodeLine(source, bytesPerLine, line.get());
        std::memcpy(pixels + std::size_t(LineSize) * std::size_t(row), line.get(), std::size_t(LineSize));
    }
    return 1;
}

// -------------------------------------------------------------- TDecoder16

void TDecoder16::FillInfoHeader(std::uint8_t *p)
{
    putInt32LE(p + 0, InfoHeaderSize);
    putInt32LE(p + 4, Width);
    putInt32LE(p + 8, Height);
    putInt16LE(p + 12, 1);
    putInt16LE(p + 14, 4);
    putInt32LE(p + 16, 0);
    putInt32LE(p + 20, ImageSize());
    putInt32LE(p + 24, 0);
    putInt32LE(p + 28, 0);
    putInt32LE(p + 32, 0); // all 16 colours
    putInt32LE(p + 36, 0);
}

void TDecoder16::ReadPalette(QIODevice &, QByteArray &info)
{
    // Header bytes 16 to 63, as read at the start of the stream.
    auto *entry = reinterpret_cast<std::uint8_t *>(info.data()) + InfoHeaderSize;
    for (int i = 0; i < 16; ++i, entry += 4) {
        entry[0] = Header.Colormap[3 * i + 2];
        entry[1] = Header.Colormap[3 * i + 1];
        entry[2] = Header.Colormap[3 * i];
        entry[3] = 0;
    }
}

void TDecoder16::MergePlanes(const std::uint8_t *planeLine, std::uint8_t *outputLine) const
{
    const std::int32_t bytesPerLine = Header.BytesPerLine;
    const std::uint8_t *plane0 = planeLine;
    const std::uint8_t *plane1 = plane0 + bytesPerLine;
    const std::uint8_t *plane2 = plane1 + bytesPerLine;
    const std::uint8_t *plane3 = plane2 + bytesPerLine;
    std::uint8_t *out = outputLine;
    for (std::int32_t i = 0; i < bytesPerLine; ++i) {
        unsigned p0 = plane0[i], p1 = plane1[i], p2 = plane2[i], p3 = plane3[i];
        for (int k = 0; k < 4; ++k) {
            const unsigned high = (p0 >> 7 & 1) | (p1 >> 7 & 1) << 1 | (p2 >> 7 & 1) << 2 | (p3 >> 7 & 1) << 3;
            const unsigned low = (p0 >> 6 & 1) | (p1 >> 6 & 1) << 1 | (p2 >> 6 & 1) << 2 | (p3 >> 6 & 1) << 3;
            *out++ = static_cast<std::uint8_t>(high << 4 | low);
            p0 <<= 2;
            p1 <<= 2;
            p2 <<= 2;
            p3 <<= 2;
        }
    }
}

int TDecoder16::Decode(QIODevice &source, const TPCXHeader &header, QByteArray &destination)
{
    StartFrame(header);
    const std::int32_t bytesPerLine = header.BytesPerLine;
    const std::int32_t needed = (Width + 7) / 8;
    if (bytesPerLine < needed)
        refuse(QStringLiteral("PCX scan line of %1 bytes per plane is too short for %2 pixels")
                   .arg(bytesPerLine).arg(Width));
    // One scan line is four planes of BytesPerLine bytes, merging into
    // 4 x BytesPerLine bytes of packed pixels. A BMP row holds the first Width
    // of them, 32-bit aligned: this equals 4 x BytesPerLine unless the planes
    // are padded, and keeps padded files from coming out skewed.
    const std::int32_t planeLineSize = checkedMul(bytesPerLine, PlaneCount);
    LineSize = RoundUp4((Width + 1) / 2);
    BuildFrame(source, destination);

    std::unique_ptr<std::uint8_t[]> planeLine(new std::uint8_t[planeLineSize + MaxRun]());
    std::unique_ptr<std::uint8_t[]> outputLine(new std::uint8_t[planeLineSize]());
    auto *pixels = reinterpret_cast<std::uint8_t *>(destination.data()) + PixelOffset;
    for (std::int32_t row = Height - 1; row >= 0; --row) {
        DecodeLine(source, planeLineSize, planeLine.get());
        MergePlanes(planeLine.get(), outputLine.get());
        std::memcpy(pixels + std::size_t(LineSize) * std::size_t(row), outputLine.get(), std::size_t(LineSize));
    }
    return 1;
}

// ------------------------------------------------------------------- unit

QByteArray ConvertToBitmapStream(QIODevice &source, TPCXHeader &header, bool &is256Colour)
{
    if (!source.isReadable())
        throw TError(Msg::StreamRead);
    if (source.isSequential())
        refuse(QStringLiteral("PCX pictures are read from files or memory, not from sequential streams"));
    if (!source.seek(0))
        throw TError(Msg::StreamRead);

    // A short stream leaves the rest of the header zero, which no kind accepts.
    std::uint8_t raw[TPCXHeader::Size] = {};
    source.read(reinterpret_cast<char *>(raw), TPCXHeader::Size);
    header = TPCXHeader::decode(raw);
    is256Colour = false;

    if (header.Manufacturer != PcxManufacturer)
        return {};
    std::unique_ptr<TDecoder> decoder;
    if (header.BitsPerPixel == 8 && header.NPlanes == 1) {
        is256Colour = true;
        decoder = std::make_unique<TDecoder256>();
    } else if (header.BitsPerPixel == 1 && header.NPlanes == 4) {
        decoder = std::make_unique<TDecoder16>();
    } else {
        return {};
    }
    QByteArray bmp;
    if (decoder->Decode(source, header, bmp) != 1)
        return {};
    return bmp;
}

// -------------------------------------------------------------- TPCXBitmap

void TPCXBitmap::LoadFromStream(QIODevice &stream)
{
    QImage image;
    try {
        const QByteArray bmp = ConvertToBitmapStream(stream, Header, Is256Colour);
        // Neither kind: the plain bitmap loader gets the stream where the
        // header read left it.
        image = bmp.isEmpty() ? readBitmapAt(stream) : readBitmapStream(bmp);
    } catch (const std::bad_alloc &) {
        throw TError(Msg::OutOfMemory);
    }
    if (image.isNull())
        throw TError(Msg::InvalidBitmap);
    m_picture = std::move(image);
}

void TPCXBitmap::LoadFromFile(const QString &path)
{
    QFile file;
    try {
        // Only a regular file: a pipe named as a picture would never end.
        openForReading(file, path);
    } catch (const TError &) {
        throw TError::cannotOpen(path);
    }
    try {
        LoadFromStream(file);
    } catch (const TError &e) {
        throw e.at(path);
    }
}
