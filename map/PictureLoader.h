// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// A map picture read from disk: JPEG through libjpeg, every other kind (GIF, bitmap, PNG, TIFF,
// WebP, ...) through the readers Qt has on this machine. The kind is taken from the file's first
// bytes, not its name, so a renamed picture loads.
struct LoadedPicture {
    QImage image; // null on failure
    // The picture's own size, in the pixels that positions and symbol places count, and how
    // many of them each pixel of `image` stands for across and down: 1, or 2, 4 or 8 for a JPEG
    // too large to hold at full size.
    QSize fullSize;
    int reduction = 1;
    QString error;    // a full sentence naming the file; empty on success
    QString warnings; // faults the decoder stepped over, for the log
    // The pixels sit in a PixelBuffer rather than memory Qt's readers took from the heap.
    bool inPixelBuffer = false;
    bool ok() const { return error.isEmpty(); }
};

namespace PictureLoader {

// The largest file read at all; map pictures are a few megabytes.
inline constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

LoadedPicture load(const QString& path);
// The same from bytes already read; `name` is what messages call the file.
LoadedPicture fromData(const QByteArray& data, const QString& name);

// The picture dialog's filter ("All (*.gif;...)|*.gif;...|GIF Image (*.gif)|*.gif|..."): the
// kinds maps have always been, then every other kind Qt reads on this machine.
QString dialogFilter();

} // namespace PictureLoader
