// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/WeatherData.h"

#include "common/ConvertError.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace {

// The readings of a table row in the order of their fields; those left out stay empty.
struct Readings : WeatherReadings {
    Readings() = default;
    Readings(std::initializer_list<const char*> fields) {
        QString* const order[] = {&Direction, &Speed,       &Gust,     &Rain,    &Rain24,
                                  &RainM,     &Temperature, &Pressure, &Humidity};
        size_t i = 0;
        for (const char* field : fields)
            *order[i++] = QString::fromUtf8(field);
    }
};

QString build(const WeatherReadings& r, bool metric = false) {
    return buildWeatherData(r, metric).text;
}

} // namespace

TEST(WeatherData, FormatDataFillsButNeverCuts) {
    EXPECT_EQ(FormatData("5", 3), "005");
    EXPECT_EQ(FormatData("", 3), "000");
    EXPECT_EQ(FormatData("", 1), "0");
    EXPECT_EQ(FormatData("55", 2), "55");
    EXPECT_EQ(FormatData("1234", 3), "1234");
    EXPECT_EQ(FormatData("-4", 3), "0-4");
}

TEST(WeatherData, EnglishExamples) {
    struct Row {
        Readings readings;
        const char* expected;
    };
    const Row rows[] = {
        {{}, "---/---w"},
        {{"90", "5", "12", "0.05", "", "", "68", "1013.2", "55"}, "090/005g012t068r005h55b10132w"},
        {{"360"}, "360/---w"},
        {{"361"}, "359/---w"},
        {{"999"}, "359/---w"},
        {{"5"}, "005/---w"},
        {{"", "", "", "", "", "", "", "", "7"}, "---/---h07w"},
        {{"", "", "", "", "0.5"}, "---/---p050w"},
        {{"", "", "", "1.2", "9.99", "0."}, "---/---r120p999P000w"},
        {{"", "", "", "", "", "", "", "1013"}, "---/---b10130w"},
        {{"", "", "", "", "", "", "", "985"}, "---/---b09850w"},
        {{"", "", "", "", "", "", "", "9999.9"}, "---/---b99999w"},
        {{"", "", "", "", "", "", "0"}, "---/---t000w"},
        {{"", "999", "999", "", "", "", "999"}, "---/999g999t999w"},
        // Every group present: the longest regular string fits a 40-character comment.
        {{"359", "120", "150", "1.00", "2.50", "3.75", "102", "1020.5", "95"},
         "359/120g150t102r100p250P375h95b10205w"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(build(r.readings), r.expected) << r.expected;
    }
    EXPECT_EQ(build(rows[14].readings).size(), 37);
}

TEST(WeatherData, MetricExamples) {
    struct Row {
        Readings readings;
        const char* expected;
    };
    const Row rows[] = {
        {{"", "", "", "", "", "", "-20"}, "---/---t-04w"},
        {{"", "", "", "", "", "", "20"}, "---/---t068w"},
        {{"", "", "", "", "", "", "-24.5"}, "---/---t-12w"},
        {{"", "", "", "", "", "", "-0.3"}, "---/---t031w"},
        {{"", "", "", "", "", "", "-18"}, "---/---t000w"}, // -0.4 F truncates to 0
        {{"", "10"}, "---/006w"},
        {{"", "16.1", "40.2"}, "---/010g024w"},
        {{"", "", "", "25.4"}, "---/---r100w"},
        {{"", "", "", "250", "1", "0"}, "---/---r984p003P000w"},
        {{"", "", "", "", "", "", "", "1013.2", "55"}, "---/---h55b10132w"},
        // Direction, pressure and humidity are the same in both systems.
        {{"90", "8.05", "", "", "", "", "", "", ""}, "090/005w"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(build(r.readings, true), r.expected) << r.expected;
    }
}

TEST(WeatherData, DirectionCorrectionComesBackForTheDialog) {
    struct Row {
        const char* typed;
        const char* corrected;
    };
    const Row rows[] = {{"360", "360"}, {"361", "359"}, {"999", "359"}, {"90", "90"},
                        {"0", "0"},     {"", ""},       {"359", "359"}};
    for (const Row& r : rows) {
        EXPECT_EQ(correctDirection(r.typed), r.corrected);
        WeatherReadings readings;
        readings.Direction = r.typed;
        EXPECT_EQ(buildWeatherData(readings, false).direction, r.corrected);
    }
    // Whatever the direction was typed as, only digits go into the group.
    WeatherReadings hex;
    hex.Direction = "$5A";
    EXPECT_EQ(build(hex), "090/---w");
}

TEST(WeatherData, TextThatIsNotANumberStopsWithTheFrameworkMessage) {
    struct Row {
        Readings readings;
        bool metric;
        const char* message;
    };
    const Row rows[] = {
        {{"9O"}, false, "'9O' is not a valid integer value"},
        {{"90.5"}, true, "'90.5' is not a valid integer value"},
        {{"90", "fast"}, true, "'fast' is not a valid floating point value"},
        {{"", "", "1,5"}, true, "'1,5' is not a valid floating point value"},
        {{"", "", "", "", "", "", "warm"}, true, "'warm' is not a valid floating point value"},
        {{"", "", "", "1..2"}, false, "'1..2' is not a valid floating point value"},
        {{"", "", "", "", "", "", "", "1013..2"},
         false,
         "'1013..2' is not a valid floating point value"},
        {{"", "", "", "", "", "", "", "", "5O"}, true, "'5O' is not a valid floating point value"},
        // The first bad field in the dialog's order is the one reported.
        {{"", "x1", "", "", "", "", "x2"}, true, "'x1' is not a valid floating point value"},
        {{"", "", "", "", "", "", "x2", "x3"}, true, "'x2' is not a valid floating point value"},
    };
    for (const Row& r : rows) {
        try {
            buildWeatherData(r.readings, r.metric);
            ADD_FAILURE() << "accepted: " << r.message;
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.message(), r.message);
        }
    }
}

TEST(WeatherData, ValuesTheirGroupCannotHoldAreRefused) {
    struct Row {
        Readings readings;
        bool metric;
        const char* message;
    };
    const Row rows[] = {
        {{"", "1000"}, false, "Wind speed must be from 0 to 999 mph."},
        {{"", "1610"}, true, "Wind speed must be from 0 to 1609 km/h."},
        {{"", "5", "1200"}, false, "Gust speed must be from 0 to 999 mph."},
        {{"", "", "", "", "", "", "1000"}, false, "Temperature must be from -99 to 999 \u00B0F."},
        {{"", "", "", "", "", "", "-100"}, false, "Temperature must be from -99 to 999 \u00B0F."},
        {{"", "", "", "", "", "", "-74"}, true, "Temperature must be from -73 to 537 \u00B0C."},
        {{"", "", "", "", "", "", "538"}, true, "Temperature must be from -73 to 537 \u00B0C."},
        {{"", "", "", "254"}, true, "Rain in the last hour must be from 0 to 253.9 mm."},
        {{"", "", "", "", "300"}, true, "Rain in the last 24 hours must be from 0 to 253.9 mm."},
        {{"", "", "", "", "", "10"},
         false,
         "Rain since midnight must be from 0.00 to 9.99 inches."},
        {{"", "", "", "", "", "", "", "10000"}, false, "Pressure must be from 0 to 9999.9 hPa."},
        {{"", "", "", "", "", "", "", "9999.99"}, false, "Pressure must be from 0 to 9999.9 hPa."},
        {{"", "", "", "", "", "", "", "", "101"}, false, "Humidity must be from 1 to 100 %."},
        {{"", "", "", "", "", "", "", "", "0"}, false, "Humidity must be from 1 to 100 %."},
        {{"-5"}, true, "Wind direction must be from 0 to 360 degrees."},
        {{"", "-3"}, true, "Wind speed must be from 0 to 1609 km/h."},
    };
    for (const Row& r : rows) {
        try {
            buildWeatherData(r.readings, r.metric);
            ADD_FAILURE() << "accepted: " << r.message;
        } catch (const WeatherRangeError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(r.message));
        }
    }
}

TEST(WeatherData, EdgesOfTheRangesStillSend) {
    struct Row {
        Readings readings;
        bool metric;
        const char* expected;
    };
    const Row rows[] = {
        {{"", "1609.9"}, true, "---/999w"},
        {{"", "", "", "", "", "", "-99"}, false, "---/---t-99w"},
        {{"", "", "", "", "", "", "-73"}, true, "---/---t-99w"},
        {{"", "", "", "", "", "", "537"}, true, "---/---t998w"},
        {{"", "", "", "253.9"}, true, "---/---r999w"},
        // Two decimals of pressure are rounded to tenths instead of sending a full stop.
        {{"", "", "", "", "", "", "", "999.99"}, false, "---/---b10000w"},
        {{"", "", "", "", "", "", "", "1013.25"}, false, "---/---b10133w"},
        {{"", "", "", "", "", "", "", "1013.24"}, false, "---/---b10132w"},
        {{"", "", "", "", "", "", "", "", "100"}, false, "---/---h00w"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(build(r.readings, r.metric), r.expected) << r.expected;
    }
}
