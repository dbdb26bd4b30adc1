#include "jpegpicture.h"

#include "fileio/errors.h"
#include "fileio/fileio.h"

#include <QList>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

constexpr qint64 MaxPictureFileSize = 64 * 1024 * 1024;
constexpr JDIMENSION MaxPictureSide = 16384;
// Colour samples of the decoded picture: width * height * components.
constexpr quint64 MaxPictureSamples = 256ull * 1024 * 1024;
// libjpeg's whole-picture buffers (progressive coefficients, the two-pass
// quantiser's copy of the picture); within the limits above they need at most
// about three times MaxPictureSamples.
constexpr long MaxDecoderMemory = 1024L * 1024 * 1024;
// A picture sent in several scans keeps every DCT coefficient of the whole
// picture (128 bytes a block of 8 by 8 samples) however small it is shown,
// and decoding time grows with them: 64 MiB hold a 4096 by 4096 colour
// picture (colour at half resolution, as cameras and libjpeg store it).
constexpr quint64 MaxCoefficientBytes = 64ull * 1024 * 1024;
// A progressive file can send hundreds of scans of a few bytes each, every one
// a pass over the whole picture; real pictures have about ten.
constexpr int MaxScans = 500;
// ... and the passes together are held to what sixteen scans over the
// largest picture above cost (scans times blocks, a third of a second), so a
// large picture cannot send hundreds of them.
constexpr quint64 MaxBlockScans = 16 * (MaxCoefficientBytes / (DCTSIZE2 * sizeof(JCOEF)));

// One decode's libjpeg state. libjpeg reports an error through error_exit,
// which must not return: ours jumps with longjmp back into the step that called
// libjpeg. Everything a step changes lives here, in the caller's frame, and the
// steps hold no objects with destructors, so the jump skips nothing that needs
// cleaning up; the destructor releases libjpeg's memory afterwards.
struct TJpegDecode {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    bool created = false;
    quint64 blocks = 0; // coefficient blocks of the whole picture, for a multi-scan file

    TJpegDecode()
    {
        std::memset(&cinfo, 0, sizeof cinfo);
        std::memset(&progress, 0, sizeof progress);
        std::memset(message, 0, sizeof message);
    }
    ~TJpegDecode()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    TJpegDecode(const TJpegDecode &) = delete;
    TJpegDecode &operator=(const TJpegDecode &) = delete;
};

TJpegDecode &decodeOf(j_common_ptr cinfo)
{
    return *static_cast<TJpegDecode *>(cinfo->client_data);
}

[[noreturn]] void abandonDecoding(j_common_ptr cinfo)
{
    TJpegDecode &d = decodeOf(cinfo);
    (*cinfo->err->format_message)(cinfo, d.message);
    std::longjmp(d.escape, 1);
}

// Warnings that say nothing about the pixels; every other warning means the
// picture data is damaged or incomplete, and the picture is not shown.
bool isHarmlessWarning(int code)
{
    return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC;
}

void noteMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return; // trace output
    if (isHarmlessWarning(cinfo->err->msg_code)) {
        ++cinfo->err->num_warnings;
        return;
    }
    abandonDecoding(cinfo);
}

// libjpeg's own reporter prints to stderr; the program shows its own message.
void printNothing(j_common_ptr) {}

void watchScans(j_common_ptr cinfo)
{
    TJpegDecode &d = decodeOf(cinfo);
    if (d.cinfo.input_scan_number > MaxScans) {
        std::snprintf(d.message, sizeof d.message, "The picture has more than %d scans", MaxScans);
        std::longjmp(d.escape, 1);
    }
    if (d.blocks * quint64(std::max(d.cinfo.input_scan_number, 0)) > MaxBlockScans) {
        std::snprintf(d.message, sizeof d.message,
                      "The picture sends %d scans, more than a picture of its size needs",
                      d.cinfo.input_scan_number);
        std::longjmp(d.escape, 1);
    }
}

// Coefficient blocks libjpeg keeps for a picture sent in several scans: each
// component's blocks, rounded up to whole units of its sampling factors.
quint64 coefficientBlocks(const jpeg_decompress_struct &c)
{
    quint64 blocks = 0;
    for (int i = 0; i < c.num_components; ++i) {
        const jpeg_component_info &comp = c.comp_info[i];
        const quint64 h = std::max(comp.h_samp_factor, 1);
        const quint64 v = std::max(comp.v_samp_factor, 1);
        blocks += (comp.width_in_blocks + h - 1) / h * h * ((comp.height_in_blocks + v - 1) / v * v);
    }
    return blocks;
}

// The largest reduction (1, 2, 4 or 8) at which the decoded picture still
// covers what the box shows of it: the picture is fitted into the box by its
// tighter side, so that side must keep at least the box's pixels.
unsigned int reductionFor(JDIMENSION width, JDIMENSION height, const QSize &box)
{
    if (box.isEmpty())
        return 1;
    const quint64 w = width, h = height, bw = quint64(box.width()), bh = quint64(box.height());
    // Fitted by width when width / bw >= height / bh.
    const bool byWidth = w * bh >= h * bw;
    unsigned int d = 8;
    while (d > 1 && (byWidth ? w < d * bw : h < d * bh))
        d /= 2;
    return d;
}

// The steps below each arm the jump before calling libjpeg and report false
// when libjpeg failed; d.message then holds libjpeg's text.

bool readHeader(TJpegDecode &d, const unsigned char *data, unsigned long size)
{
    d.cinfo.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = abandonDecoding;
    d.errors.emit_message = noteMessage;
    d.errors.output_message = printNothing;
    d.cinfo.client_data = &d;
    if (setjmp(d.escape))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.progress.progress_monitor = watchScans;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool scaleOutput(TJpegDecode &d, unsigned int reduction)
{
    if (setjmp(d.escape))
        return false;
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = reduction;
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

bool startDecompress(TJpegDecode &d)
{
    if (setjmp(d.escape))
        return false;
    jpeg_start_decompress(&d.cinfo);
    return true;
}

bool readRows(TJpegDecode &d, unsigned char *bits, qsizetype stride)
{
    if (setjmp(d.escape))
        return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = bits + qsizetype(d.cinfo.output_scanline) * stride;
        // From memory libjpeg never suspends; a short read would loop forever.
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) {
            std::snprintf(d.message, sizeof d.message, "Premature end of JPEG file");
            return false;
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

} // namespace

QImage DecodeItemPicture(const QByteArray &jpegData, const QString &nameForMessages, const QSize &box)
{
    if (jpegData.size() > MaxPictureFileSize)
        throw TError(QStringLiteral("The file is too large (more than %1 bytes)").arg(MaxPictureFileSize),
                     nameForMessages);

    TJpegDecode d;
    const auto libjpegError = [&] { return TError(QString::fromLatin1(d.message), nameForMessages); };

    if (!readHeader(d, reinterpret_cast<const unsigned char *>(jpegData.constData()),
                    static_cast<unsigned long>(jpegData.size())))
        throw libjpegError();

    jpeg_decompress_struct &c = d.cinfo;
    const auto tooLarge = [&] {
        return TError(QStringLiteral("The picture is too large (%1 by %2 pixels)").arg(c.image_width).arg(c.image_height),
                      nameForMessages);
    };
    if (c.image_width > MaxPictureSide || c.image_height > MaxPictureSide)
        throw tooLarge();
    // The header tells all the sizes: the picture is refused, or scaled down,
    // before libjpeg decodes anything.
    if (jpeg_has_multiple_scans(&c)) {
        d.blocks = coefficientBlocks(c);
        if (d.blocks * DCTSIZE2 * sizeof(JCOEF) > MaxCoefficientBytes)
            throw tooLarge();
    }
    if (!scaleOutput(d, reductionFor(c.image_width, c.image_height, box)))
        throw libjpegError();
    const quint64 samples = quint64(c.output_width) * c.output_height * quint64(c.num_components);
    if (samples > MaxPictureSamples)
        throw tooLarge();
    // libjpeg converts YCbCr and RGB pictures to RGB and leaves CMYK as CMYK,
    // for which it has no RGB conversion (nor has its own command-line decoder).
    if (c.out_color_space != JCS_GRAYSCALE && c.out_color_space != JCS_RGB)
        throw TError(QStringLiteral("The picture's colour space is not supported (only greyscale and RGB are)"),
                     nameForMessages);

    c.dct_method = JDCT_ISLOW;
    c.quantize_colors = TRUE;
    c.desired_number_of_colors = 256;
    c.dither_mode = JDITHER_FS;
    c.two_pass_quantize = TRUE; // libjpeg uses one pass for greyscale by itself
    c.mem->max_memory_to_use = MaxDecoderMemory;

    if (!startDecompress(d))
        throw libjpegError();

    const int colours = c.actual_number_of_colors;
    const int components = c.out_color_components;
    if (c.output_components != 1 || c.colormap == nullptr || colours < 1 || colours > 256
        || (components != 1 && components != 3))
        throw TError(QStringLiteral("The picture could not be reduced to 256 colours"), nameForMessages);

    QList<QRgb> table(colours);
    for (int i = 0; i < colours; ++i) {
        if (components == 1) {
            const int v = c.colormap[0][i];
            table[i] = qRgb(v, v, v);
        } else {
            table[i] = qRgb(c.colormap[0][i], c.colormap[1][i], c.colormap[2][i]);
        }
    }

    QImage image(int(c.output_width), int(c.output_height), QImage::Format_Indexed8);
    if (image.isNull())
        throw TError(Msg::OutOfMemory, nameForMessages);
    image.setColorTable(table);

    if (!readRows(d, image.bits(), image.bytesPerLine()))
        throw libjpegError();
    return image;
}

QImage LoadItemPicture(const QString &path, const QSize &box)
{
    return DecodeItemPicture(readWholeFile(path, MaxPictureFileSize), path, box);
}

// Outside any namespace: the resource initialiser is a global function.
static void registerCatalogueResources()
{
    Q_INIT_RESOURCE(catalogue);
}

QImage NoPicturePlaceholder()
{
    static const QImage placeholder = [] {
        registerCatalogueResources();
        return QImage(QStringLiteral(":/catalogue/nopic.png"));
    }();
    return placeholder;
}
