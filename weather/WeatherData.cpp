// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/WeatherData.h"

#include "common/ConvertError.h"
#include "common/Numbers.h"
#include "weather/Real48.h"

#include <cmath>

// The arithmetic below rounds every product to a 6-byte real (real48) before it is truncated
// or written, as the weather strings have always been computed; receivers and operators
// compare them with strings made that way.

namespace {

const double SpeedDivisor = real48(1.61);
constexpr double InchesPerMillimetre = 0.03937007874015748;

bool isEmpty(const QString& text) {
    return text.isEmpty();
}

// An integer value as written in decimal, cut to width characters and zero-filled to it.
// Callers have checked the range, so the cut never loses a digit of a valid value.
QString group(double wholeValue, int width) {
    return FormatData(floatToStr(wholeValue).left(width), width);
}

[[noreturn]] void outOfRange(const QString& field, const QString& range) {
    throw WeatherRangeError(QStringLiteral("%1 must be %2.").arg(field, range));
}

// Wind speed or gust in whole mph, read from mph or km/h.
QString speedGroup(const QString& text, bool metric, const QString& field) {
    const double value = strToFloat(text);
    const double mph = std::trunc(metric ? real48(value / SpeedDivisor) : value);
    if (!(mph >= 0 && mph <= 999))
        outOfRange(field, metric ? QStringLiteral("from 0 to 1609 km/h")
                                 : QStringLiteral("from 0 to 999 mph"));
    return group(mph, 3);
}

QString temperatureGroup(const QString& text, bool metric) {
    const double value = strToFloat(text);
    const double f = std::trunc(metric ? real48(real48(value * 1.8) + 32) : value);
    if (!(f >= -99 && f <= 999))
        outOfRange(QStringLiteral("Temperature"), metric
                                                      ? QStringLiteral("from -73 to 537 \u00B0C")
                                                      : QStringLiteral("from -99 to 999 \u00B0F"));
    if (f < 0)
        return QLatin1Char('-') + FormatData(floatToStr(-f), 2);
    return group(f, 3);
}

// Rain in hundredths of an inch, read from inches or mm.
QString rainGroup(const QString& text, bool metric, const QString& field) {
    const double value = strToFloat(text);
    const double hundredths = std::trunc(metric ? real48(real48(value * InchesPerMillimetre) * 100)
                                                : real48(value * 100));
    if (!(hundredths >= 0 && hundredths <= 999))
        outOfRange(field, metric ? QStringLiteral("from 0 to 253.9 mm")
                                 : QStringLiteral("from 0.00 to 9.99 inches"));
    return group(hundredths, 3);
}

QString humidityGroup(const QString& text) {
    const double value = std::trunc(strToFloat(text));
    // "h00" is how 100 % is written, so 0 % cannot be: no air holds no water at all.
    if (!(value >= 1 && value <= 100))
        outOfRange(QStringLiteral("Humidity"), QStringLiteral("from 1 to 100 %"));
    // Two digits only: 100 % is written 00.
    return value == 100 ? QStringLiteral("00") : group(value, 2);
}

QString pressureGroup(const QString& text) {
    // Tenths of a hPa; a second decimal is rounded away rather than sent as a full stop.
    const double tenths = std::round(real48(strToFloat(text) * 10));
    if (!(tenths >= 0 && tenths <= 99999))
        outOfRange(QStringLiteral("Pressure"), QStringLiteral("from 0 to 9999.9 hPa"));
    return group(tenths, 5);
}

} // namespace

QString FormatData(const QString& text, int width) {
    QString s = text.isEmpty() ? QStringLiteral("0") : text;
    if (s.size() < width)
        s.prepend(QString(width - s.size(), QLatin1Char('0')));
    return s;
}

QString correctDirection(const QString& direction) {
    if (isEmpty(direction))
        return direction;
    // 360 is north, and goes out as 360: "000" reads as calm or unknown.
    const int value = strToInt(direction);
    if (value > 360)
        return QStringLiteral("359");
    return direction;
}

WeatherData buildWeatherData(const WeatherReadings& r, bool metric) {
    WeatherData out;
    out.direction = correctDirection(r.Direction);
    QString s;
    if (isEmpty(out.direction)) {
        s = QStringLiteral("---");
    } else {
        // Written from its value, so "$5A" or "+90" cannot put other characters in the group.
        const int degrees = strToInt(out.direction);
        if (degrees < 0)
            outOfRange(QStringLiteral("Wind direction"), QStringLiteral("from 0 to 360 degrees"));
        s = FormatData(QString::number(degrees), 3);
    }
    s += QLatin1Char('/');
    s += isEmpty(r.Speed) ? QStringLiteral("---")
                          : speedGroup(r.Speed, metric, QStringLiteral("Wind speed"));
    if (!isEmpty(r.Gust))
        s += QLatin1Char('g') + speedGroup(r.Gust, metric, QStringLiteral("Gust speed"));
    if (!isEmpty(r.Temperature))
        s += QLatin1Char('t') + temperatureGroup(r.Temperature, metric);
    if (!isEmpty(r.Rain))
        s += QLatin1Char('r') + rainGroup(r.Rain, metric, QStringLiteral("Rain in the last hour"));
    if (!isEmpty(r.Rain24))
        s += QLatin1Char('p') +
             rainGroup(r.Rain24, metric, QStringLiteral("Rain in the last 24 hours"));
    if (!isEmpty(r.RainM))
        s += QLatin1Char('P') + rainGroup(r.RainM, metric, QStringLiteral("Rain since midnight"));
    if (!isEmpty(r.Humidity))
        s += QLatin1Char('h') + humidityGroup(r.Humidity);
    if (!isEmpty(r.Pressure))
        s += QLatin1Char('b') + pressureGroup(r.Pressure);
    s += QLatin1Char('w');
    out.text = s;
    return out;
}
