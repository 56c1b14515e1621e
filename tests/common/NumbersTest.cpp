// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Numbers.h"
#include "common/ConvertError.h"
#include "support/ScopedLocale.h"

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

// The desktop's language must not change how a number text reads: under a decimal-comma
// locale the C library would read "51.25" as 51.
TEST(StrToFloat, ReadsPointDecimalsAndRefusesOthersUnderEveryLanguage) {
    const struct {
        const char* text;
        double value;
    } rows[] = {{"1013.2", 1013.2},
                {".5", 0.5},
                {"5.", 5.0},
                {"-20", -20.0},
                {"1e3", 1000.0},
                {"51.25", 51.25},
                {"+0.0125", 0.0125},
                {" 29.92 ", 29.92},
                {"-1.5E-6", -1.5e-6},
                {"1e-400", 0.0},
                {"0.0001e-320", 0.0},
                {"100000e-400", 0.0},
                {"0.1234567890123456789", 0.1234567890123456789}};
    for (const char* language : TestLocales) {
        ScopedLocale locale(language);
        ASSERT_TRUE(locale.active()) << language << " is not installed on this machine";
        for (const auto& row : rows)
            EXPECT_EQ(strToFloat(QString::fromLatin1(row.text)), row.value)
                << row.text << " under " << language;
        for (const char* text : {"", ".", "1.2.3", "1,5", "51,25", "abc", "inf", "nan", "1e",
                                 "0x10", "1e400", "--1", "0.01e312"})
            EXPECT_FALSE(tryStrToFloat(QString::fromLatin1(text)).has_value())
                << text << " under " << language;
    }
    try {
        strToFloat(QStringLiteral("1..2"));
        FAIL() << "no exception";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'1..2' is not a valid floating point value"));
    }
}

TEST(FloatToStr, WritesShortestFormWithFifteenDigitsUnderEveryLanguage) {
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
                {-0.5, "-0.5"},
                {51.25, "51.25"},
                {1013.2, "1013.2"}};
    for (const char* language : TestLocales) {
        ScopedLocale locale(language);
        ASSERT_TRUE(locale.active()) << language << " is not installed on this machine";
        for (const auto& row : rows) {
            EXPECT_EQ(floatToStr(row.value), QString::fromLatin1(row.text))
                << row.text << " under " << language;
            // What is written reads back as the same value, to its 15 digits.
            EXPECT_EQ(strToFloat(floatToStr(row.value)), strToFloat(QString::fromLatin1(row.text)))
                << row.text << " under " << language;
        }
    }
}

// The tables of this suite also run in processes started under other desktop languages
// (see tests/CMakeLists.txt); such a run must really be under the language it names, or it
// would pass without exercising anything.
TEST(DesktopLanguage, RunIsUnderTheLanguageItNames) {
    const QByteArray expected = qgetenv("SKYVANE_TEST_LANGUAGE");
    if (expected.isEmpty())
        GTEST_SKIP() << "run under the language of the environment";
    EXPECT_EQ(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), expected);
    EXPECT_EQ(ScopedLocale::decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
}
