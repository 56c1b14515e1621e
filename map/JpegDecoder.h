// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/PixelBuffer.h"

#include <QByteArray>
#include <QString>

// Map pictures are shown at full size and kept for the whole run, so a picture's pixels
// are held once: decoded straight into 32-bit rows that the window can use without a copy.
namespace JpegDecoder {

// Pictures above this many pixels are not held at full size: 120 million pixels hold 480 MB,
// several times any map an operator scrolls around in. A larger JPEG is decoded at a half, a
// quarter or an eighth of its size, the largest of them that stays within the limit.
inline constexpr qint64 MaxPixels = 120'000'000;

struct Image {
    int width = 0; // of the pixels held
    int height = 0;
    // The picture's own size, and how many of its pixels each pixel held stands for across and
    // down: 1, or 2, 4 or 8 for a picture decoded smaller. The pixel held at (x, y) shows the
    // picture's pixels from (x, y) * reduction on.
    int fullWidth = 0;
    int fullHeight = 0;
    int reduction = 1;
    qsizetype bytesPerLine = 0;
    // Each pixel is one native-endian 32-bit word 0xffRRGGBB (what QImage::Format_RGB32 holds).
    PixelBuffer pixels;
};

struct Result {
    Image image;      // empty (width 0) on failure
    QString error;    // why the data is not a usable picture; empty on success
    QString warnings; // minor faults the decoder stepped over, e.g. stray bytes between markers
    bool ok() const { return error.isEmpty(); }
};

// Decodes a whole JPEG file held in memory, smaller when its pixels are more than maxPixels.
// Never ends the process and never returns a partly decoded picture: data that stops early or
// is damaged is an error, and so is a picture still above maxPixels at an eighth of its size.
Result decode(const QByteArray& data, qint64 maxPixels = MaxPixels);
// The same, reading the file open on `fd` from its start as the decoder goes, so that the
// compressed bytes are never all held beside the pixels. The descriptor's offset is left alone.
Result decodeFile(int fd, qint64 maxPixels = MaxPixels);

// Only the header: the picture's size without decoding it. False with an error otherwise.
bool readSize(const QByteArray& data, int& width, int& height, QString& error);

} // namespace JpegDecoder
