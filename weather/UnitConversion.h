// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "weather/WeatherData.h"

#include <QString>

// Unit captions of the weather dialog for one unit system.
struct WeatherUnitLabels {
    QString speed;       // under Speed (Label4)
    QString gust;        // under Gust (Label10)
    QString rain;        // under the three rain fields (Label8)
    QString temperature; // under Temperature (Label14)
};

WeatherUnitLabels weatherUnitLabels(bool metric);

// Rewrites the readings shown in the dialog in the other unit system: to metric when toMetric,
// otherwise to English. Fields are done in the order speed, gust, rain last hour, last 24
// hours, since midnight, temperature; empty fields stay empty; direction, pressure and
// humidity never change. The first field that is not a number stops the conversion with
// ConvertError (floating point message): the fields before it are already converted, it and
// the ones after are not.
//
// The display conversion is not the one used for the report and does not round-trip: speeds
// to metric are cut to four characters and back truncated to whole mph, rain to metric uses
// 25.45 mm per inch, and rain back is held at 9.99 inches.
void convertReadings(WeatherReadings& readings, bool toMetric);
