// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/UnitConversion.h"

#include "common/ConvertError.h"
#include "weather/WeatherData.h"

#include <gtest/gtest.h>

namespace {

// Converts one field, put in every converted slot of the readings, and checks they agree.
QString convertOne(QString WeatherReadings::*field, const QString& value, bool toMetric) {
    WeatherReadings r;
    r.*field = value;
    convertReadings(r, toMetric);
    return r.*field;
}

} // namespace

TEST(UnitConversion, ToMetric) {
    struct Row {
        QString WeatherReadings::*field;
        const char* english;
        const char* metric;
    };
    const Row rows[] = {
        {&WeatherReadings::Speed, "10", "16.1"},
        {&WeatherReadings::Speed, "25", "40.2"},
        {&WeatherReadings::Gust, "100", "161"},
        {&WeatherReadings::Gust, "1000", "1610"},
        {&WeatherReadings::Rain, "1.00", "25.45"},
        {&WeatherReadings::Rain24, "0.05", "1.272"},
        {&WeatherReadings::RainM, "9.99", "254.2"},
        {&WeatherReadings::Temperature, "68", "20"},
        {&WeatherReadings::Temperature, "32", "0"},
        {&WeatherReadings::Temperature, "0", "-17."},
        {&WeatherReadings::Temperature, "100", "37.7"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(convertOne(r.field, r.english, true), r.metric) << r.english;
}

TEST(UnitConversion, ToEnglish) {
    struct Row {
        QString WeatherReadings::*field;
        const char* metric;
        const char* english;
    };
    const Row rows[] = {
        {&WeatherReadings::Speed, "16.1", "10"},
        {&WeatherReadings::Speed, "50", "31"},
        {&WeatherReadings::Gust, "40.2", "24"},
        {&WeatherReadings::Gust, "1.5", "0"},
        {&WeatherReadings::Rain, "25.45", "1.00"},
        {&WeatherReadings::Rain24, "254.2", "9.99"},
        {&WeatherReadings::RainM, "10", "0.39"},
        {&WeatherReadings::Rain, "1000", "9.99"},
        {&WeatherReadings::Temperature, "20", "68"},
        // Below 0 F the value keeps its sign, so that the report carries it.
        {&WeatherReadings::Temperature, "-20", "-4"},
        {&WeatherReadings::Temperature, "-25", "-13"},
        {&WeatherReadings::Temperature, "-20.5", "-4.9"},
        {&WeatherReadings::Temperature, "-40", "-40"},
        {&WeatherReadings::Temperature, "20.5", "68.9"},
        {&WeatherReadings::Temperature, "37", "98.5"},
        {&WeatherReadings::Temperature, "-10", "14"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(convertOne(r.field, r.metric, false), r.english) << r.metric;
}

TEST(UnitConversion, ThereAndBackLosesWhatTheCutsLose) {
    WeatherReadings r;
    r.Speed = "25";
    r.RainM = "9.99";
    r.Temperature = "0";
    convertReadings(r, true);
    EXPECT_EQ(r.Speed, "40.2");
    EXPECT_EQ(r.RainM, "254.2");
    EXPECT_EQ(r.Temperature, "-17.");
    convertReadings(r, false);
    EXPECT_EQ(r.Speed, "24");
    EXPECT_EQ(r.RainM, "9.99");
    EXPECT_EQ(r.Temperature, "1.39"); // -17 C, the cut of -17.77...
}

TEST(UnitConversion, FrostToggledToEnglishGoesOnTheAirWithItsSign) {
    const struct {
        const char* celsius;
        const char* shown;
        const char* sent;
    } rows[] = {
        {"-20", "-4", "---/---t-04w"},
        {"-20.5", "-4.9", "---/---t-04w"},
        {"-30", "-22", "---/---t-22w"},
        {"-17.95", "-0.3", "---/---t000w"}, // less than one degree below zero F
    };
    for (const auto& row : rows) {
        WeatherReadings r;
        r.Temperature = row.celsius;
        convertReadings(r, false);
        EXPECT_EQ(r.Temperature, row.shown) << row.celsius;
        EXPECT_EQ(buildWeatherData(r, false).text, row.sent) << row.celsius;
        // Typed in metric and sent from there, the report says the same.
        r.Temperature = row.celsius;
        EXPECT_EQ(buildWeatherData(r, true).text, row.sent) << row.celsius;
    }
}

TEST(UnitConversion, EmptyAndUnconvertedFieldsStayAsTheyAre) {
    for (bool toMetric : {true, false}) {
        WeatherReadings r;
        r.Direction = "270";
        r.Pressure = "1013.2";
        r.Humidity = "55";
        convertReadings(r, toMetric);
        EXPECT_EQ(r.Direction, "270");
        EXPECT_EQ(r.Pressure, "1013.2");
        EXPECT_EQ(r.Humidity, "55");
        EXPECT_TRUE(r.Speed.isEmpty() && r.Gust.isEmpty() && r.Rain.isEmpty() &&
                    r.Rain24.isEmpty() && r.RainM.isEmpty() && r.Temperature.isEmpty());
    }
}

TEST(UnitConversion, StopsAtTheFirstBadFieldWithEarlierFieldsConverted) {
    WeatherReadings r;
    r.Speed = "10";
    r.Gust = "16.1";
    r.Rain = "1.00";
    r.Rain24 = "a lot";
    r.RainM = "0.05";
    r.Temperature = "68";
    try {
        convertReadings(r, true);
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), "'a lot' is not a valid floating point value");
    }
    EXPECT_EQ(r.Speed, "16.1");
    EXPECT_EQ(r.Gust, "25.9");
    EXPECT_EQ(r.Rain, "25.45");
    EXPECT_EQ(r.Rain24, "a lot");
    EXPECT_EQ(r.RainM, "0.05");
    EXPECT_EQ(r.Temperature, "68");
}

TEST(UnitConversion, LabelsPerSystem) {
    const WeatherUnitLabels english = weatherUnitLabels(false);
    EXPECT_EQ(english.speed, "mph");
    EXPECT_EQ(english.gust, "mph");
    EXPECT_EQ(english.rain, "inches (0.00  to  9.99)");
    EXPECT_EQ(english.temperature, QString::fromUtf8("°F"));
    const WeatherUnitLabels metric = weatherUnitLabels(true);
    EXPECT_EQ(metric.speed, "km/h");
    EXPECT_EQ(metric.gust, "km/h");
    EXPECT_EQ(metric.rain, "mm  (0 to 250)");
    EXPECT_EQ(metric.temperature, QString::fromUtf8("°C"));
}
