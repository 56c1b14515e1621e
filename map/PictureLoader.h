// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QImage>
#include <QString>

// A map picture read from disk: JPEG through libjpeg, GIF and bitmap through Qt's readers.
// The kind is taken from the file's first bytes, not its name, so a renamed picture loads.
struct LoadedPicture {
    QImage image;     // null on failure
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

} // namespace PictureLoader
