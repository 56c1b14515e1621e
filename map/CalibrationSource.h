// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/Calibration.h"

#include <QSize>
#include <QString>

// Where a map picture's calibration comes from: the calibration file (".inf") beside it when
// there is one, which wins over a world file, else a world file.
struct CalibrationSource {
    enum class Kind { None, CalibrationFile, WorldFile };
    Kind kind = Kind::None;
    QString path;
    bool found() const { return kind != Kind::None; }
};

CalibrationSource findCalibration(const QString& picturePath);

// The calibration of a picture of `picture` full-size pixels from its source, spans and
// per-pixel values included (previousLongitudeSpan as for applyPictureSize). A map calibrated
// by a world file is titled by the picture's file name. Throws CalibrationError, also of kind
// Unreadable when there is no source at all.
MapCalibration readMapCalibration(const QString& picturePath, QSize picture,
                                  double previousLongitudeSpan = 0);
