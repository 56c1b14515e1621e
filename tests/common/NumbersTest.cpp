// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Numbers.h"
#include "common/ConvertError.h"

#include <gtest/gtest.h>

TEST(StrToInt, ReadsDecimalAndBothHexadecimalForms) {
    const struct {
        const char* text;
        int value;
    } rows[] = {{"0", 0},
                {"27", 27},
                {"$1B", 27},
                {"$03", 3},
                {"$0d", 13},
                {"0x1B", 27},
                {"0X1b", 27},
                {"-5", -5},
                {"+5", 5},
                {"  42", 42},
                {"$FFFFFFFF", -1},
                {"2147483647", 2147483647},
                {"-2147483648", -2147483647 - 1}};
    for (const auto& row : rows)
        EXPECT_EQ(strToInt(QString::fromLatin1(row.text)), row.value) << row.text;
}

TEST(StrToInt, RefusesWhatIsNotAnInteger) {
    for (const char* text : {"", "abc", "12abc", "1.5", "$", "0x", "2147483648", "$1G", "42 ", "-"})
        EXPECT_FALSE(tryStrToInt(QString::fromLatin1(text)).has_value()) << text;
    try {
        strToInt(QStringLiteral("abc"));
        FAIL() << "no exception";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}

TEST(StrToFloat, ReadsPointDecimalsAndRefusesOthers) {
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("1013.2")), 1013.2);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("5.")), 5.0);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("-20")), -20.0);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("1e3")), 1000.0);
    for (const char* text : {"", ".", "1.2.3", "1,5", "abc", "inf", "nan", "1e", "0x10"})
        EXPECT_FALSE(tryStrToFloat(QString::fromLatin1(text)).has_value()) << text;
    try {
        strToFloat(QStringLiteral("1..2"));
        FAIL() << "no exception";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'1..2' is not a valid floating point value"));
    }
}

TEST(FloatToStr, WritesShortestFormWithFifteenDigits) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{0, "0"},
                {5, "5"},
                {120, "120"},
                {10132, "10132"},
                {9999.9, "9999.9"},
                {40.25, "40.25"},
                {-17.777777777777777, "-17.7777777777778"},
                {0.1 + 0.2, "0.3"},
                {51.333333333333336, "51.3333333333333"},
                {0.00001, "0.00001"},
                {0.000001, "1E-6"},
                {1.5e20, "1.5E20"},
                {123456789012345.0, "123456789012345"},
                {1e15, "1E15"},
                {-0.5, "-0.5"}};
    for (const auto& row : rows)
        EXPECT_EQ(floatToStr(row.value), QString::fromLatin1(row.text)) << row.text;
}

TEST(Real48, RoundsToFortyBitSignificand) {
    // 37 °C in Fahrenheit: the 6-byte real is just below 98.6.
    EXPECT_EQ(floatToStr(real48(37 * 1.8 + 32)), QStringLiteral("98.5999999999767"));
    EXPECT_EQ(real48(0.0), 0.0);
    EXPECT_EQ(real48(1013.0 * 10), 10130.0);
    // Whole numbers and halves below 2^39 are exact.
    EXPECT_EQ(real48(549755813887.0), 549755813887.0);
    EXPECT_EQ(real48(-2.5), -2.5);
}
