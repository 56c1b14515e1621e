// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/UnitConversion.h"

#include "common/Numbers.h"
#include "weather/Real48.h"

#include <cmath>

namespace {

const QString DegreeSign = QString(QChar(0xB0));

QString speedToMetric(const QString& mph) {
    return floatToStr(real48(strToFloat(mph) * 1.61)).left(4);
}

QString speedToEnglish(const QString& kmh) {
    return floatToStr(std::trunc(real48(strToFloat(kmh) * 0.6211180124223602))).left(3);
}

// 25.45 rather than 25.4: the dialog has always shown it so, and operators compare readings.
QString rainToMetric(const QString& inches) {
    return floatToStr(real48(strToFloat(inches) * 25.45)).left(5);
}

QString rainToEnglish(const QString& mm) {
    // The English rain fields hold at most 9.99; a larger value would not fit their form.
    const double mostInches = real48(9.99);
    double inches = real48(strToFloat(mm) * 0.03937007874015748);
    if (inches > mostInches)
        inches = mostInches;
    return floatToStr(inches).left(4);
}

QString temperatureToMetric(const QString& fahrenheit) {
    return floatToStr(real48((strToFloat(fahrenheit) - 32) * 0.5555555555555556)).left(4);
}

// A frost keeps its sign: showing "000" would make OK send 0 F for -20 C instead of -4 F.
QString temperatureToEnglish(const QString& celsius) {
    return floatToStr(real48(real48(strToFloat(celsius) * 1.8) + 32)).left(4);
}

void convert(QString& field, QString (*conversion)(const QString&)) {
    if (!field.isEmpty())
        field = conversion(field);
}

} // namespace

WeatherUnitLabels weatherUnitLabels(bool metric) {
    if (metric)
        return {QStringLiteral("km/h"), QStringLiteral("km/h"), QStringLiteral("mm  (0 to 250)"),
                DegreeSign + QLatin1Char('C')};
    return {QStringLiteral("mph"), QStringLiteral("mph"), QStringLiteral("inches (0.00  to  9.99)"),
            DegreeSign + QLatin1Char('F')};
}

void convertReadings(WeatherReadings& r, bool toMetric) {
    const auto speed = toMetric ? speedToMetric : speedToEnglish;
    const auto rain = toMetric ? rainToMetric : rainToEnglish;
    convert(r.Speed, speed);
    convert(r.Gust, speed);
    convert(r.Rain, rain);
    convert(r.Rain24, rain);
    convert(r.RainM, rain);
    convert(r.Temperature, toMetric ? temperatureToMetric : temperatureToEnglish);
}
