// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "map/Calibration.h"

#include <QString>

// A point of the map picture as the program writes it.
struct MapPosition {
    QString latitude;         // position text, "5130.00N"
    QString longitude;        // position text, "00045.00W"
    QString latitudeDisplay;  // "51.30.00N", as the object pages show it
    QString longitudeDisplay; // "000.45.00W"
    QString readout;          // the status bar's pointer readout: "  51.30.00N   000.45.00W"
};

// The position under picture pixel (x, y) of a map with this calibration. Minutes are cut,
// not rounded, from their 15-significant-digit text, so a point reached through a division
// by 60 may read a hundredth low (51 degrees 20 minutes reads 51.19.99N).
MapPosition positionAt(const MapCalibration& calibration, double x, double y);

// Display forms of stored position texts: a full stop after the degrees ("5130.00N" ->
// "51.30.00N", "00045.00W" -> "000.45.00W"). Texts too short to hold degrees come back as
// they are.
QString latitudeDisplay(const QString& latitude);
QString longitudeDisplay(const QString& longitude);
