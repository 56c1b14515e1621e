// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/JpegDecoder.h"

#include <QLoggingCategory>
#include <QtEndian>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h expects size_t and FILE to be declared before it; jerror.h needs its version.
#include <jpeglib.h>

#include <jerror.h>

Q_LOGGING_CATEGORY(lcJpeg, "skyvane.map.jpeg")

namespace JpegDecoder {
namespace {

// Compressed bytes read from a file a block at a time, so only one block is held at once.
struct FileSource {
    jpeg_source_mgr pub;
    int fd;
    off_t offset;  // of the next block to read
    int readError; // errno of a failed read; 0 when the file simply ended
    JOCTET block[64 * 1024];
};

// Everything the library's callbacks and the long jump touch lives here, in plain C data:
// no C++ object with a destructor may sit in a frame that longjmp() leaves.
struct Context {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char warnings[512];
    bool damaged;
    unsigned char* pixels; // from PixelBuffer; handed over on success, freed on failure
    unsigned char* row;    // CMYK scratch row, malloc'd
    FileSource source;     // used when decoding from a file
};

// Warnings that mean the picture is not what the file should hold: stopping here is better
// than showing a map that is grey or smeared below some line.
bool isDamageWarning(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

extern "C" void onError(j_common_ptr cinfo) {
    auto* ctx = reinterpret_cast<Context*>(cinfo->client_data);
    (*cinfo->err->format_message)(cinfo, ctx->message);
    std::longjmp(ctx->jump, 1);
}

extern "C" void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return; // trace output
    auto* ctx = reinterpret_cast<Context*>(cinfo->client_data);
    if (isDamageWarning(cinfo->err->msg_code)) {
        (*cinfo->err->format_message)(cinfo, ctx->message);
        ctx->damaged = true;
        std::longjmp(ctx->jump, 1);
    }
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const size_t used = std::strlen(ctx->warnings);
    if (used + std::strlen(text) + 3 < sizeof ctx->warnings)
        std::snprintf(ctx->warnings + used, sizeof ctx->warnings - used, "%s%s", used ? "; " : "",
                      text);
}

extern "C" void startFile(j_decompress_ptr) {}
extern "C" void endFile(j_decompress_ptr) {}

extern "C" boolean fillFromFile(j_decompress_ptr cinfo) {
    FileSource& s = reinterpret_cast<Context*>(cinfo->client_data)->source;
    ssize_t n = 0;
    do
        n = pread(s.fd, s.block, sizeof s.block, s.offset);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        if (n < 0)
            s.readError = errno;
        // Like the library's own sources: an end-of-image marker after a warning, which
        // onMessage turns into a damaged picture.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        s.block[0] = 0xFF;
        s.block[1] = JPEG_EOI;
        n = 2;
    } else {
        s.offset += n;
    }
    s.pub.next_input_byte = s.block;
    s.pub.bytes_in_buffer = size_t(n);
    return TRUE;
}

extern "C" void skipInFile(j_decompress_ptr cinfo, long count) {
    FileSource& s = reinterpret_cast<Context*>(cinfo->client_data)->source;
    if (count <= 0)
        return;
    if (size_t(count) <= s.pub.bytes_in_buffer) {
        s.pub.next_input_byte += count;
        s.pub.bytes_in_buffer -= size_t(count);
        return;
    }
    // The next fill starts beyond the skipped bytes.
    s.offset += off_t(size_t(count) - s.pub.bytes_in_buffer);
    s.pub.bytes_in_buffer = 0;
}

void useFile(Context& ctx, int fd) {
    FileSource& s = ctx.source;
    s.fd = fd;
    s.offset = 0;
    s.readError = 0;
    s.pub.init_source = startFile;
    s.pub.fill_input_buffer = fillFromFile;
    s.pub.skip_input_data = skipInFile;
    s.pub.resync_to_restart = jpeg_resync_to_restart;
    s.pub.term_source = endFile;
    s.pub.bytes_in_buffer = 0;
    s.pub.next_input_byte = nullptr;
    ctx.cinfo.src = &s.pub;
}

enum class Outcome { Ok, Failed, TooLarge, OutOfMemory };

// Adobe writes CMYK inverted (0 = full ink); others write it straight.
void cmykRowToRgb32(const unsigned char* in, quint32* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = 0xff000000u | ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
    }
}

// The part that the library may leave by longjmp. Only plain data in this frame.
// Ends a decode that cannot finish: the library's state and our buffers go together.
void abandon(Context& ctx) {
    jpeg_destroy_decompress(&ctx.cinfo);
    PixelBuffer::free(ctx.pixels);
    ctx.pixels = nullptr;
    std::free(ctx.row);
    ctx.row = nullptr;
}

// Reads from `fd` when it is not negative, otherwise from `data`.
Outcome decodeRaw(Context& ctx, const unsigned char* data, unsigned long size, int fd,
                  qint64 maxPixels, bool headerOnly) {
    jpeg_decompress_struct& cinfo = ctx.cinfo;
    cinfo.err = jpeg_std_error(&ctx.err);
    ctx.err.error_exit = onError;
    ctx.err.emit_message = onMessage;
    if (setjmp(ctx.jump)) {
        abandon(ctx);
        return Outcome::Failed;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.client_data = &ctx;
    // Progressive files keep every coefficient in memory; beyond this the library reports
    // an error instead of asking the system for more.
    cinfo.mem->max_memory_to_use = 1024L * 1024L * 1024L;
    if (fd >= 0)
        useFile(ctx, fd);
    else
        jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (headerOnly) {
        jpeg_calc_output_dimensions(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        return Outcome::Ok;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    // The library's scaled decoding works on the compressed blocks: a quarter-size picture
    // costs a fraction of the full decode and never holds the full-size pixels.
    cinfo.scale_num = 1;
    for (unsigned reduction : {1u, 2u, 4u, 8u}) {
        cinfo.scale_denom = reduction;
        jpeg_calc_output_dimensions(&cinfo);
        if (qint64(cinfo.output_width) * qint64(cinfo.output_height) <= maxPixels)
            break;
    }
    if (qint64(cinfo.output_width) * qint64(cinfo.output_height) > maxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return Outcome::TooLarge;
    }
    const size_t stride = size_t(cinfo.output_width) * 4;
    ctx.pixels = PixelBuffer::allocate(stride * cinfo.output_height).release();
    if (cmyk)
        ctx.row = static_cast<unsigned char*>(std::malloc(stride));
    if (!ctx.pixels || (cmyk && !ctx.row)) {
        abandon(ctx);
        return Outcome::OutOfMemory;
    }
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* target = ctx.pixels + stride * cinfo.output_scanline;
        if (cmyk) {
            JSAMPROW row[1] = {ctx.row};
            if (jpeg_read_scanlines(&cinfo, row, 1) != 1)
                break; // a suspending source never happens with a memory source
            cmykRowToRgb32(ctx.row, reinterpret_cast<quint32*>(target), cinfo.output_width,
                           cinfo.saw_Adobe_marker);
            continue;
        }
        // Several rows a call let the library write whole row groups straight into place.
        JSAMPROW rows[16];
        const JDIMENSION count =
            std::min<JDIMENSION>(16, cinfo.output_height - cinfo.output_scanline);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = target + stride * i;
        if (jpeg_read_scanlines(&cinfo, rows, count) == 0)
            break;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::free(ctx.row);
    ctx.row = nullptr;
    return Outcome::Ok;
}

Context* newContext() {
    auto* ctx = static_cast<Context*>(std::calloc(1, sizeof(Context)));
    return ctx;
}

} // namespace

bool readSize(const QByteArray& data, int& width, int& height, QString& error) {
    if (data.isEmpty()) {
        error = QStringLiteral("the file is empty");
        return false;
    }
    std::unique_ptr<Context, decltype(&std::free)> ctx(newContext(), &std::free);
    if (!ctx) {
        error = QStringLiteral("not enough memory");
        return false;
    }
    const Outcome outcome =
        decodeRaw(*ctx, reinterpret_cast<const unsigned char*>(data.constData()),
                  static_cast<unsigned long>(data.size()), -1, MaxPixels, true);
    if (outcome != Outcome::Ok) {
        error = QString::fromLocal8Bit(ctx->message);
        return false;
    }
    width = int(ctx->cinfo.output_width);
    height = int(ctx->cinfo.output_height);
    return true;
}

namespace {

Result decodeFrom(const QByteArray& data, int fd, qint64 maxPixels) {
    Result result;
    std::unique_ptr<Context, decltype(&std::free)> ctx(newContext(), &std::free);
    if (!ctx) {
        result.error = QStringLiteral("not enough memory to decode it");
        return result;
    }
    const Outcome outcome =
        decodeRaw(*ctx, reinterpret_cast<const unsigned char*>(data.constData()),
                  static_cast<unsigned long>(data.size()), fd, maxPixels, false);
    switch (outcome) {
    case Outcome::Ok:
        break;
    case Outcome::TooLarge:
        result.error = QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 "
                                      "million pixels can be shown, also at an eighth of its "
                                      "size)")
                           .arg(ctx->cinfo.image_width)
                           .arg(ctx->cinfo.image_height)
                           .arg(maxPixels / 1'000'000.0);
        return result;
    case Outcome::OutOfMemory:
        result.error = QStringLiteral("not enough memory for a picture of %1 x %2 pixels")
                           .arg(ctx->cinfo.output_width)
                           .arg(ctx->cinfo.output_height);
        return result;
    case Outcome::Failed:
        if (ctx->source.readError != 0) {
            result.error = QStringLiteral("the file could not be read (%1)")
                               .arg(QString::fromLocal8Bit(std::strerror(ctx->source.readError)));
            return result;
        }
        result.error = ctx->damaged ? QStringLiteral("the JPEG data is damaged or incomplete (%1)")
                                          .arg(QString::fromLocal8Bit(ctx->message))
                                    : QStringLiteral("it is not a readable JPEG picture (%1)")
                                          .arg(QString::fromLocal8Bit(ctx->message));
        qCInfo(lcJpeg) << "decode failed:" << ctx->message;
        return result;
    }
    result.image.width = int(ctx->cinfo.output_width);
    result.image.height = int(ctx->cinfo.output_height);
    result.image.fullWidth = int(ctx->cinfo.image_width);
    result.image.fullHeight = int(ctx->cinfo.image_height);
    result.image.reduction = int(ctx->cinfo.scale_denom);
    result.image.bytesPerLine = qsizetype(ctx->cinfo.output_width) * 4;
    result.image.pixels = PixelBuffer::adopt(ctx->pixels);
    ctx->pixels = nullptr;
    result.warnings = QString::fromLocal8Bit(ctx->warnings);
    if (!result.warnings.isEmpty())
        qCInfo(lcJpeg) << "decoded with warnings:" << result.warnings;
    return result;
}

} // namespace

Result decode(const QByteArray& data, qint64 maxPixels) {
    if (data.isEmpty()) {
        Result result;
        result.error = QStringLiteral("the file is empty");
        return result;
    }
    return decodeFrom(data, -1, maxPixels);
}

Result decodeFile(int fd, qint64 maxPixels) {
    return decodeFrom(QByteArray(), fd, maxPixels);
}

} // namespace JpegDecoder
