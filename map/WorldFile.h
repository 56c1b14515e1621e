// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/Calibration.h"

#include <QSize>
#include <QString>
#include <QStringList>

// A world file: the six lines GIS programs write beside an exported picture. Each line holds
// one number: the pixel's width, two rotation terms, the pixel's height (negative for a picture
// with north up), and the position of the middle of the top-left pixel.
namespace WorldFile {

// The extensions looked for beside a picture, the one that goes with the picture's own kind
// first: ".pgw" for PNG, ".jgw" for JPEG, ".tfw" for TIFF, ".gfw" for GIF, ".bpw" for
// bitmaps, ".wld" for any.
QStringList extensionsFor(const QString& picturePath);
// The world file beside a picture; empty when there is none.
QString pathFor(const QString& picturePath);

// The calibration of a picture of `picture` full-size pixels from a world file's lines: each
// pixel reads the position the world file gives the middle of that pixel. Only north-up
// pictures in degrees of latitude and longitude can be used; a rotated one, one in a projected
// grid (metres), or text that is not six numbers throws CalibrationError (Kind::Invalid) with a
// message that names the file and says what it holds. `title` becomes the map title.
MapCalibration parse(const QStringList& lines, QSize picture, const QString& fileName,
                     const QString& title);
// From disk; a file that cannot be read throws CalibrationError (Kind::Unreadable).
MapCalibration read(const QString& path, QSize picture, const QString& title);

} // namespace WorldFile
