// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/SampleMap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString SampleMapName = QStringLiteral("strait-of-dover");

// The shipped sample maps: beside the program (CMake copies them there), beside the folder of
// the test programs, or where an installed copy keeps its data.
QString shippedMapsFolder() {
    const QString app = QCoreApplication::applicationDirPath();
    const QStringList candidates = {app + QStringLiteral("/maps"), app + QStringLiteral("/../maps"),
                                    app + QStringLiteral("/../share/skyvane/maps")};
    for (const QString& dir : candidates)
        if (QFileInfo::exists(dir + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg")))
            return QDir(dir).absolutePath();
    return {};
}

} // namespace

QString sampleMapPath(const QString& settingsPath) {
    const QString userMaps = QFileInfo(settingsPath).absolutePath() + QStringLiteral("/maps");
    const QString picture = userMaps + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
    if (QFileInfo::exists(picture))
        return picture;
    const QString shipped = shippedMapsFolder();
    if (shipped.isEmpty())
        return {};
    // A copy where the settings live, because the objects placed on it are written beside it
    // and an installed program's own folder cannot be written.
    if (!QDir().mkpath(userMaps))
        return shipped + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
    for (const char* extension : {".jpg", ".inf"})
        QFile::copy(shipped + QLatin1Char('/') + SampleMapName + QLatin1String(extension),
                    userMaps + QLatin1Char('/') + SampleMapName + QLatin1String(extension));
    return QFileInfo::exists(picture)
               ? picture
               : shipped + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
}
