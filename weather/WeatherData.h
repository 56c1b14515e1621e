// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/ConvertError.h"

#include <QString>

// The weather dialog's fields as typed, in the units the dialog is set to.
struct WeatherReadings {
    QString Direction;   // degrees, never converted
    QString Speed;       // mph or km/h
    QString Gust;        // mph or km/h
    QString Rain;        // last hour: inches or mm
    QString Rain24;      // last 24 hours
    QString RainM;       // since midnight
    QString Temperature; // degrees F or C
    QString Pressure;    // hPa in both systems
    QString Humidity;    // percent
};

// A reading that is a number but cannot be written in its group of the weather report (a
// four-digit wind speed, a temperature below -99 F). message() names the field and the range
// it must be in. Thrown instead of sending a group that receivers would misread. It is a
// ConvertError so that every handler that reports a number the user typed reports this too.
class WeatherRangeError : public ConvertError {
public:
    explicit WeatherRangeError(const QString& message) : ConvertError(message) {}
};

// text with "0" characters put in front until it is width characters long; an empty text
// counts as "0". Never cuts a longer text.
QString FormatData(const QString& text, int width);

// The wind direction field after its correction: anything above 360 becomes "359", other
// values (360, north, too) stay as typed. Throws ConvertError (integer message) when the text is
// not a whole number. The dialog writes this back before building the string, so the
// correction stays even when a later field is refused.
QString correctDirection(const QString& direction);

struct WeatherData {
    QString text;      // "090/005g012t068r005h55b10132w"
    QString direction; // the corrected Direction field
};

// The APRS weather data string of the readings, always in English units: direction "/"
// speed, then the g, t, r, p, P, h and b groups of the fields that are filled in, then "w".
// Fields are read in the dialog's order and the first bad one stops the build: ConvertError
// for a text that is not a number (integer message for the direction, floating point message
// for the others), WeatherRangeError for a value its group cannot hold.
WeatherData buildWeatherData(const WeatherReadings& readings, bool metric);
