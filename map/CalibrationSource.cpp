// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/CalibrationSource.h"

#include "map/ObjectsFile.h"
#include "map/WorldFile.h"

#include <QFileInfo>

CalibrationSource findCalibration(const QString& picturePath) {
    // Anything standing under the calibration file's name is that file, also a folder or a file
    // that cannot be read: the user meant it, and is told why it cannot be used.
    const QString inf = ObjectsFile::calibrationPathFor(picturePath);
    if (QFileInfo::exists(inf))
        return {CalibrationSource::Kind::CalibrationFile, inf};
    if (const QString world = WorldFile::pathFor(picturePath); !world.isEmpty())
        return {CalibrationSource::Kind::WorldFile, world};
    return {};
}

MapCalibration readMapCalibration(const QString& picturePath, QSize picture,
                                  double previousLongitudeSpan) {
    const CalibrationSource source = findCalibration(picturePath);
    MapCalibration calibration;
    switch (source.kind) {
    case CalibrationSource::Kind::CalibrationFile:
        calibration = readCalibrationFile(source.path);
        break;
    case CalibrationSource::Kind::WorldFile:
        calibration = WorldFile::read(source.path, picture, QFileInfo(picturePath).fileName());
        break;
    case CalibrationSource::Kind::None:
        throw CalibrationError(CalibrationError::Kind::Unreadable,
                               QStringLiteral("Unable to locate the \".INF\" file for ") +
                                   picturePath);
    }
    applyPictureSize(calibration, picture.width(), picture.height(), previousLongitudeSpan);
    return calibration;
}
