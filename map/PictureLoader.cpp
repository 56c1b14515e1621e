// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PictureLoader.h"

#include "map/JpegDecoder.h"
#include "map/PixelBuffer.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPicture, "skyvane.map.picture")

namespace PictureLoader {
namespace {

LoadedPicture failure(const QString& name, const QString& reason) {
    LoadedPicture p;
    p.error = QStringLiteral("Unable to load the map picture \"%1\": %2.").arg(name, reason);
    qCInfo(lcPicture) << p.error;
    return p;
}

LoadedPicture fromJpeg(JpegDecoder::Result r, const QString& name) {
    if (!r.ok())
        return failure(name, r.error);
    unsigned char* pixels = r.image.pixels.release();
    LoadedPicture p;
    // The image takes over the decoder's buffer: an 8000 x 6000 map is not copied.
    p.image = QImage(pixels, r.image.width, r.image.height, r.image.bytesPerLine,
                     QImage::Format_RGB32, PixelBuffer::free, pixels);
    p.fullSize = QSize(r.image.fullWidth, r.image.fullHeight);
    p.reduction = r.image.reduction;
    p.inPixelBuffer = true;
    if (p.reduction > 1)
        qCInfo(lcPicture) << name << "is" << p.fullSize << "pixels: held at 1 /" << p.reduction;
    p.warnings = r.warnings;
    return p;
}

QString tooLarge(qint64 width, qint64 height) {
    return QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 million pixels "
                          "can be shown)")
        .arg(width)
        .arg(height)
        .arg(JpegDecoder::MaxPixels / 1'000'000);
}

qint64 littleEndian(const QByteArray& data, qsizetype at, int bytes) {
    qint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(data[at + i]);
    if (bytes < 8 && (v & (qint64(1) << (bytes * 8 - 1))))
        v -= qint64(1) << (bytes * 8); // sign-extend: bitmap heights may be negative
    return v;
}

// What the bitmap's header says, as far as the checks and the pixel buffer need it.
struct BitmapHeader {
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitCount = 0;
    qint64 compression = 0;
    qint64 pixelOffset = 0;
};

// Qt's bitmap reader fills the rows missing from a cut file with black and reports success;
// a map missing its lower part would still take clicks, so the rows are counted here first.
// `data` holds at least the file's first 34 bytes (all of it when shorter); `fileSize` is the
// size of the whole file.
QString bitmapProblem(const QByteArray& data, qint64 fileSize, BitmapHeader* header = nullptr) {
    if (data.size() < 26)
        return QStringLiteral("the bitmap data is damaged or incomplete (header cut short)");
    const qint64 pixelOffset = littleEndian(data, 10, 4) & 0xffffffff;
    const qint64 headerSize = littleEndian(data, 14, 4);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0;
    if (headerSize == 12) {
        width = littleEndian(data, 18, 2) & 0xffff;
        height = littleEndian(data, 20, 2) & 0xffff;
        bitCount = littleEndian(data, 24, 2);
    } else {
        if (data.size() < 34 || headerSize < 40)
            return QStringLiteral("the bitmap data is damaged or incomplete (unknown header)");
        width = littleEndian(data, 18, 4);
        height = qAbs(littleEndian(data, 22, 4));
        bitCount = littleEndian(data, 28, 2);
        compression = littleEndian(data, 30, 4);
    }
    if (width <= 0 || height <= 0)
        return QStringLiteral("the bitmap data is damaged or incomplete (no pixels)");
    if (width * height > JpegDecoder::MaxPixels)
        return tooLarge(width, height);
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed && bitCount > 0 && bitCount <= 32) {
        const qint64 stride = (width * bitCount + 31) / 32 * 4;
        if (pixelOffset + stride * height > fileSize)
            return QStringLiteral("the bitmap data is damaged or incomplete (%1 of %2 bytes)")
                .arg(fileSize)
                .arg(pixelOffset + stride * height);
    }
    if (header)
        *header = {width, height, bitCount, compression, pixelOffset};
    return {};
}

// An image on a pixel buffer in the form Qt's bitmap reader gives such a file, which the
// reader then fills in place; null where the reader would choose its own form.
QImage bitmapTarget(const BitmapHeader& h) {
    QImage::Format format = QImage::Format_Invalid;
    qsizetype bytesPerLine = 0;
    if ((h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32) && h.compression == 0) {
        format = QImage::Format_RGB32;
        bytesPerLine = qsizetype(h.width) * 4;
    } else if ((h.bitCount == 4 || h.bitCount == 8) &&
               (h.compression == 0 || h.compression == 1 || h.compression == 2)) {
        format = QImage::Format_Indexed8;
        bytesPerLine = (qsizetype(h.width) + 3) / 4 * 4;
    } else {
        return {};
    }
    PixelBuffer buffer = PixelBuffer::allocate(std::size_t(bytesPerLine) * std::size_t(h.height));
    if (buffer.isNull())
        return {};
    unsigned char* pixels = buffer.release();
    return QImage(pixels, int(h.width), int(h.height), bytesPerLine, format, PixelBuffer::free,
                  pixels);
}

// Qt's GIF reader, too, shows a cut file as far as it goes. Walking the block structure up to
// the end of the first picture's data tells a whole file from a cut one.
QString gifProblem(const QByteArray& data) {
    const QString cut =
        QStringLiteral("the GIF data is damaged or incomplete (the file ends early)");
    qsizetype at = 13;
    if (data.size() < at)
        return cut;
    const qint64 width = littleEndian(data, 6, 2) & 0xffff;
    const qint64 height = littleEndian(data, 8, 2) & 0xffff;
    if (width * height > JpegDecoder::MaxPixels)
        return tooLarge(width, height);
    const auto flags = quint8(data[10]);
    if (flags & 0x80)
        at += 3 * (qsizetype(1) << ((flags & 7) + 1));
    // Sub-blocks: a length byte, that many bytes, until a zero length.
    auto skipSubBlocks = [&data](qsizetype& pos) {
        while (pos < data.size()) {
            const auto length = quint8(data[pos++]);
            if (length == 0)
                return true;
            pos += length;
        }
        return false;
    };
    while (at < data.size()) {
        const auto introducer = quint8(data[at++]);
        if (introducer == 0x21) { // extension: label, then sub-blocks
            ++at;
            if (!skipSubBlocks(at))
                return cut;
        } else if (introducer == 0x2C) { // image: descriptor, local colours, code size, data
            if (at + 9 > data.size())
                return cut;
            const auto local = quint8(data[at + 8]);
            at += 9;
            if (local & 0x80)
                at += 3 * (qsizetype(1) << ((local & 7) + 1));
            ++at;
            return at <= data.size() && skipSubBlocks(at) ? QString() : cut;
        } else {
            break;
        }
    }
    return QStringLiteral("the GIF data is damaged or incomplete (no picture in it)");
}

// `target`, when not null, is the image the reader is to fill in place.
LoadedPicture fromQtReader(QIODevice& device, const QString& name, const char* format,
                           QImage target = {}) {
    QImageReader reader(&device, format);
    // The reader's own cap covers what the size check below cannot see in advance.
    QImageReader::setAllocationLimit(int(JpegDecoder::MaxPixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > JpegDecoder::MaxPixels)
        return failure(name, tooLarge(size.width(), size.height()));
    const uchar* const given = target.isNull() ? nullptr : target.constBits();
    QImage image = std::move(target);
    if (!reader.read(&image) || image.isNull())
        return failure(name, QStringLiteral("the %1 data is damaged or incomplete (%2)")
                                 .arg(QString::fromLatin1(format).toUpper(), reader.errorString()));
    LoadedPicture p;
    p.inPixelBuffer = given && image.constBits() == given;
    p.image = std::move(image);
    p.fullSize = p.image.size();
    return p;
}

LoadedPicture fromQtReader(const QByteArray& data, const QString& name, const char* format,
                           QImage target = {}) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return fromQtReader(buffer, name, format, std::move(target));
}

// The kinds of picture Qt reads here, by the names its readers go by ("png", "tiff", ...).
QString readableKinds() {
    QStringList names;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        names << QString::fromLatin1(format).toUpper();
    names.removeDuplicates();
    return names.join(QStringLiteral(", "));
}

// Any other kind Qt has a reader for, told by its content.
LoadedPicture fromOtherReader(QIODevice& device, const QString& name) {
    const QByteArray format = QImageReader::imageFormat(&device);
    if (format.isEmpty())
        return failure(name, QStringLiteral("it is not a picture of a kind Skyvane reads (%1)")
                                 .arg(readableKinds()));
    return fromQtReader(device, name, format.constData());
}

} // namespace

LoadedPicture fromData(const QByteArray& data, const QString& name) {
    if (data.isEmpty())
        return failure(name, QStringLiteral("the file is empty"));
    if (data.startsWith("\xFF\xD8"))
        return fromJpeg(JpegDecoder::decode(data), name);
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) {
        if (const QString problem = gifProblem(data); !problem.isEmpty())
            return failure(name, problem);
        return fromQtReader(data, name, "gif");
    }
    if (data.startsWith("BM")) {
        BitmapHeader header;
        if (const QString problem = bitmapProblem(data, data.size(), &header); !problem.isEmpty())
            return failure(name, problem);
        return fromQtReader(data, name, "bmp", bitmapTarget(header));
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return fromOtherReader(buffer, name);
}

LoadedPicture load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, file.errorString());
    if (file.size() > MaxFileBytes)
        return failure(
            path, QStringLiteral("the file is too large (%1 MB)").arg(file.size() / (1024 * 1024)));
    // JPEG and bitmap pixels are read from the file as they are decoded, so the file's bytes
    // are never all held beside the picture. GIF files, small beside their pictures, are read
    // whole for the block walk below.
    if (file.size() > 0) {
        const QByteArray head = file.peek(64);
        if (head.startsWith("\xFF\xD8"))
            return fromJpeg(JpegDecoder::decodeFile(file.handle()), path);
        if (head.startsWith("BM")) {
            BitmapHeader header;
            if (const QString problem = bitmapProblem(head, file.size(), &header);
                !problem.isEmpty())
                return failure(path, problem);
            return fromQtReader(file, path, "bmp", bitmapTarget(header));
        }
        // PNG, TIFF, WebP and the rest are read from the file by their readers.
        if (!head.startsWith("GIF8"))
            return fromOtherReader(file, path);
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(path, file.errorString());
    return fromData(data, path);
}

QString dialogFilter() {
    struct Kind {
        QString label;
        QStringList patterns;
    };
    QList<Kind> kinds = {
        {QStringLiteral("GIF Image"), {QStringLiteral("*.gif")}},
        {QStringLiteral("JPEG Image File"), {QStringLiteral("*.jpg")}},
        {QStringLiteral("JPEG Image File"), {QStringLiteral("*.jpeg")}},
        {QStringLiteral("Bitmaps"), {QStringLiteral("*.bmp")}},
    };
    QStringList listed = {QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                          QStringLiteral("bmp")};
    // Names a reader goes by that are another's too: one entry for both.
    const QList<QStringList> together = {
        {QStringLiteral("tif"), QStringLiteral("tiff")},
        {QStringLiteral("svg"), QStringLiteral("svgz")},
    };
    const QHash<QString, QString> labels = {
        {QStringLiteral("png"), QStringLiteral("PNG Image")},
        {QStringLiteral("tif"), QStringLiteral("TIFF Image")},
        {QStringLiteral("webp"), QStringLiteral("WebP Image")},
        {QStringLiteral("jfif"), QStringLiteral("JPEG Image File")},
    };
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString name = QString::fromLatin1(format).toLower();
        if (listed.contains(name))
            continue;
        QStringList names = {name};
        for (const QStringList& group : together)
            if (group.contains(name))
                names = group;
        Kind kind{labels.value(names.first(), names.first().toUpper() + QStringLiteral(" Image")),
                  {}};
        for (const QString& n : names) {
            kind.patterns << QStringLiteral("*.") + n;
            listed << n;
        }
        kinds << kind;
    }
    QStringList all;
    for (const Kind& k : kinds)
        all << k.patterns;
    const QString allPatterns = all.join(QLatin1Char(';'));
    QStringList parts = {QStringLiteral("All (%1)").arg(allPatterns), allPatterns};
    for (const Kind& k : kinds) {
        const QString patterns = k.patterns.join(QLatin1Char(';'));
        parts << QStringLiteral("%1 (%2)").arg(k.label, patterns) << patterns;
    }
    return parts.join(QLatin1Char('|'));
}

} // namespace PictureLoader
