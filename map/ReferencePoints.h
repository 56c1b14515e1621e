// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/Calibration.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

// Calibrating a picture in the program: two points clicked on it, far apart, each with the
// latitude and longitude the user knows it has. From them follow the picture's corners and the
// calibration file written beside it.
namespace ReferencePoints {

struct Point {
    std::optional<QPoint> pixel; // the full-size picture pixel clicked; nothing before a click
    QString latitude;            // as typed
    QString longitude;
};

// Signed degrees (north and east positive) from a typed position: the form calibration files
// take (degrees, a full stop, two digits of minutes with any decimals after a second full stop,
// the hemisphere letter: "51.30.00N", "000.45.5W") or decimal degrees with a minus for south
// and west ("51.5", "-0.75"). Nothing when the text is neither, with why in `reason`.
std::optional<double> readLatitude(const QString& text, QString* reason = nullptr);
std::optional<double> readLongitude(const QString& text, QString* reason = nullptr);

// The nearest two points may be, across and up and down, on a picture of this size: a click
// is a pixel out either way, and two points close together would let that spread over the map.
QSize minimumApart(QSize picture);

struct Outcome {
    QString error; // why the points cannot calibrate the picture, for the user; empty if they can
    MapCorners corners;
    bool ok() const { return error.isEmpty(); }
};

// The corners of a picture of `picture` full-size pixels on which the two points read the
// positions typed for them. The picture is taken to have north up and latitude and longitude
// each even across it, as calibration files describe every map.
Outcome solve(const std::array<Point, 2>& points, QSize picture);

// The calibration file for these corners and title, CRLF line ends ("51.30.00N, 000.30.00W",
// "50.30.00N, 002.30.00E", title). Minutes carry as many decimals as they need, two to four.
// Windows-1252 text, or UTF-8 with a byte order mark for a title that code page cannot hold.
QByteArray calibrationFileBytes(const MapCorners& corners, const QString& title);

// Writes the calibration file atomically. False with a message for the user that names the
// file and, when that is why, the folder that cannot be written.
bool writeCalibrationFile(const QString& path, const QByteArray& bytes, QString* message);

} // namespace ReferencePoints
