// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/Real48.h"

#include "common/Numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(Real48, RoundsToFortyBitSignificand) {
    // 37 °C in Fahrenheit: the 6-byte real is just below 98.6.
    EXPECT_EQ(floatToStr(real48(37 * 1.8 + 32)), QStringLiteral("98.5999999999767"));
    EXPECT_EQ(real48(0.0), 0.0);
    EXPECT_EQ(real48(1013.0 * 10), 10130.0);
    // Whole numbers and halves below 2^39 are exact.
    EXPECT_EQ(real48(549755813887.0), 549755813887.0);
    EXPECT_EQ(real48(-2.5), -2.5);
}

} // namespace
