// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <stdexcept>

// How the pixels of the loaded map picture relate to latitude and longitude. Angles are in
// minutes of arc, counted within the top-left corner's hemispheres and decreasing from the
// top and from the left edge; a negative LongitudePerPixel means longitude grows to the right.
struct MapCalibration {
    double TopLatitude = 0;
    double BottomLatitude = 0;
    double LeftLongitude = 0;
    double RightLongitude = 0;
    QChar TopHemisphere;
    QChar BottomHemisphere;
    QChar LeftHemisphere;
    QChar RightHemisphere;
    double LatitudeSpan = 0;
    double LongitudeSpan = 0;
    double LatitudePerPixel = 0;
    double LongitudePerPixel = 0;
    QString MapTitle;
};

// A calibration file that cannot be used. message() is meant for the user: it names the file,
// and for a bad value the line and the text found there.
class CalibrationError : public std::runtime_error {
public:
    enum class Kind {
        Unreadable, // missing, a folder, or refused by the system
        Invalid,    // readable, but a line does not hold two corner positions
    };
    CalibrationError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message) {}
    Kind kind() const { return m_kind; }
    const QString& message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

// Reads the corners and the title from the first three lines of a calibration file's text
// ("51.30.00N, 000.45.00W" / "51.10.00N, 000.05.00E" / title). Latitude or longitude may come
// first on each corner line. Spans and per-pixel values are left at zero: see
// applyPictureSize. fileName only goes into error messages. Throws CalibrationError.
MapCalibration parseCalibration(const QStringList& lines, const QString& fileName);

// Fills in the spans and the minutes per pixel for a picture of the given size. A longitude
// hemisphere pair that is none of W/W, E/E, W/E or E/W keeps previousLongitudeSpan.
void applyPictureSize(MapCalibration& calibration, int width, int height,
                      double previousLongitudeSpan = 0);

// The corners of a picture in degrees, north and east positive: the top and bottom latitudes,
// the left and right longitudes. A map across the 180th meridian has a right longitude beyond
// 180 or a left one below -180; both are taken round the globe.
struct MapCorners {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
};

// The calibration a file with these corners and this title gives, as parseCalibration would
// read it; spans and per-pixel values still need applyPictureSize.
MapCalibration calibrationFromCorners(const MapCorners& corners, const QString& title);

// Reads the calibration file at path (first three lines, Windows-1252 text) and parses it.
// Throws CalibrationError: Kind::Unreadable when the file cannot be read, Kind::Invalid when
// its contents are wrong.
MapCalibration readCalibrationFile(const QString& path);
