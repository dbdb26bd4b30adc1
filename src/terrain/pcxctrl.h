#pragma once
// Unit Pcxctrl: the PCX reader behind every terrain picture. A PCX stream of
// one of the two kinds the terrain files use (256 colours in one 8-bit plane,
// 16 colours in four 1-bit planes) is converted into a complete BMP file in
// memory, which Qt's BMP reader then turns into the picture. Any other stream
// goes to the plain bitmap loader, which refuses it.

#include <QByteArray>
#include <QImage>
#include <QIODevice>
#include <QString>
#include <array>
#include <cstdint>

// How the picture-format registry and the picture dialogs name the format.
inline constexpr char PcxFormatDescription[] = "PCX Files";
inline constexpr char PcxFormatExtension[] = "PCX";
// The dialog filter built from the two: "PCX Files (*.PCX)|*.PCX".
QString pcxFileFilter();

// Limits that keep a damaged or hostile header from asking for huge amounts
// of memory: both are checked before anything is allocated. Terrain pictures
// are 512 to 2048 pixels on a side; at the limit the BMP stream and the
// decoded picture take 64 MiB each.
inline constexpr std::int32_t MaxPictureSide = 8192;
inline constexpr std::int32_t MaxBitmapStreamSize = MaxPictureSide * MaxPictureSide + 4096;

// The first 70 bytes of the 128-byte PCX header, decoded field by field
// (little-endian). Bytes 70 to 127 carry nothing we use.
struct TPCXHeader {
    static constexpr int Size = 70;
    static constexpr int DataOffset = 128; // the encoded pixels start here

    std::uint8_t Manufacturer = 0; // 10 for PCX
    std::uint8_t Version = 0;
    std::uint8_t Encoding = 0;
    std::uint8_t BitsPerPixel = 0;
    std::int16_t XMin = 0;
    std::int16_t YMin = 0;
    std::int16_t XMax = 0;
    std::int16_t YMax = 0;
    std::int16_t HDpi = 0;
    std::int16_t VDpi = 0;
    std::array<std::uint8_t, 48> Colormap{}; // 16 triples red, green, blue
    std::uint8_t Reserved = 0;
    std::uint8_t NPlanes = 0;
    std::int16_t BytesPerLine = 0; // bytes per plane per scan line
    std::int16_t PaletteInfo = 0;

    static TPCXHeader decode(const std::uint8_t *bytes); // Size bytes
};

// Least multiple of 4 not below value (BMP rows are 32-bit aligned).
std::int32_t RoundUp4(std::int32_t value);

// Converter for one picture: reads the run-length coded rows of a PCX stream
// and writes a BMP file (file header, info header, palette, bottom-up rows).
// A decoder is made for one Decode and thrown away after it.
class TDecoder {
public:
    TDecoder() = default;
    virtual ~TDecoder() = default;
    TDecoder(const TDecoder &) = delete;
    TDecoder &operator=(const TDecoder &) = delete;

    // The BITMAPINFO block: the 40-byte info header followed by the palette.
    virtual QByteArray CreateBitmapInfo(QIODevice &source);
    virtual void FillInfoHeader(std::uint8_t *infoHeader) = 0; // 40 bytes
    // Fills the palette entries that follow the 40-byte header of info.
    virtual void ReadPalette(QIODevice &source, QByteArray &info) = 0;
    virtual int PaletteSize() const = 0;
    // Writes the whole BMP file into destination; 1 on success. Throws TError
    // on a header it refuses and on data that ends early.
    virtual int Decode(QIODevice &source, const TPCXHeader &header, QByteArray &destination) = 0;

    // Longest run one code byte can ask for. A line buffer holds this many
    // bytes beyond its row, since runs are appended whole.
    static constexpr int MaxRun = 63;

protected:
    // Appends at least count decoded bytes to line, which must hold
    // count + MaxRun bytes, and returns how many it appended.
    std::int32_t DecodeLine(QIODevice &source, std::int32_t count, std::uint8_t *line);
    // The 14-byte BITMAPFILEHEADER; sets PixelOffset.
    QByteArray MakeFileHeader();
    std::int32_t ImageSize() const;

    // Height and Width from the header; refuses a picture without pixels.
    void StartFrame(const TPCXHeader &header);
    // Checks the sizes, sizes destination once and writes the file header and
    // the BITMAPINFO block; leaves source at the first encoded byte.
    void BuildFrame(QIODevice &source, QByteArray &destination);

    std::int32_t Height = 0;
    std::int32_t Width = 0;
    std::int32_t LineSize = -1;
    std::uint8_t InBuffer[1024] = {};
    std::int32_t InPos = 0;
    std::uint16_t InfoSize = 0;
    std::int32_t PixelOffset = 0;
    TPCXHeader Header{}; // the header being decoded

private:
    std::uint8_t TakeByte(QIODevice &source);
    void Refill(QIODevice &source);

    std::int32_t m_inLength = 0; // bytes of InBuffer that hold source data
    qint64 m_sourceLeft = 0;     // source bytes not yet in InBuffer
};

// 256 colours: one plane of 8-bit indices, palette after marker byte 12 in the
// last 769 bytes of the file.
class TDecoder256 : public TDecoder {
public:
    void FillInfoHeader(std::uint8_t *infoHeader) override;
    void ReadPalette(QIODevice &source, QByteArray &info) override;
    int PaletteSize() const override { return 1024; }
    int Decode(QIODevice &source, const TPCXHeader &header, QByteArray &destination) override;
};

// 16 colours: four 1-bit planes per scan line, palette in the header.
class TDecoder16 : public TDecoder {
public:
    void FillInfoHeader(std::uint8_t *infoHeader) override;
    void ReadPalette(QIODevice &source, QByteArray &info) override;
    int PaletteSize() const override { return 64; }
    int Decode(QIODevice &source, const TPCXHeader &header, QByteArray &destination) override;

protected:
    // One scan line of four planes (4 x BytesPerLine bytes) into packed 4-bit
    // pixels, two to a byte, high nibble first (4 x BytesPerLine bytes).
    void MergePlanes(const std::uint8_t *planeLine, std::uint8_t *outputLine) const;
};

// Reads the header into header and, for the two kinds, returns the complete
// BMP file; returns an empty array when the stream is neither kind (the
// stream then stands just after the header bytes read).
QByteArray ConvertToBitmapStream(QIODevice &source, TPCXHeader &header, bool &is256Colour);

// A terrain picture loaded from a PCX stream or file.
class TPCXBitmap {
public:
    TPCXHeader Header{};      // header of the last stream loaded
    bool Is256Colour = false; // the last stream was the 256-colour kind

    // Replaces the picture by the decoded stream. Throws TError; on failure
    // the old picture stays (Header and Is256Colour describe the stream read).
    void LoadFromStream(QIODevice &stream);
    // Opens path read-only and loads it; errors name the file.
    void LoadFromFile(const QString &path);

    // Indexed 8-bit for both kinds (Qt promotes the 4-bit rows).
    const QImage &picture() const { return m_picture; }
    bool isEmpty() const { return m_picture.isNull(); }

private:
    QImage m_picture;
};
