// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QString>

// The sample map shipped in maps/: 1200 x 640 pixels from 51.30.00N 000.30.00W to
// 50.30.00N 002.30.00E.
namespace SampleMap {

// Copies its picture and calibration file into `folder` as `baseName`.jpg and .inf, so that
// the objects file a test makes lands there too. Returns the picture's path, or an empty
// text when a copy failed.
inline QString copyTo(const QString& folder, const QString& baseName = QStringLiteral("dover")) {
    const QString picture = QDir(folder).filePath(baseName + QStringLiteral(".jpg"));
    for (const char* ext : {".jpg", ".inf"}) {
        const QString target = QDir(folder).filePath(baseName + QLatin1String(ext));
        if (!QFile::copy(QStringLiteral(SKYVANE_SOURCE_DIR "/maps/strait-of-dover") +
                             QLatin1String(ext),
                         target))
            return {};
    }
    return picture;
}

// Pixels and the positions an object placed there gets, as its report writes them.
struct Spot {
    QPoint pixel;
    const char* latitude;
    const char* longitude;
};
inline constexpr Spot Spots[] = {
    {{100, 160}, "5115.00N", "00015.00W"},
    {{400, 320}, "5100.00N", "00030.00E"},
    {{700, 480}, "5045.00N", "00115.00E"},
};

} // namespace SampleMap
