// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(Cp1252::fromUnicode(Cp1252::toUnicode(all)), all);
}

TEST(Cp1252, MapsTheWindowsRangeAndReplacesTheRest) {
    EXPECT_EQ(Cp1252::toUnicode(QByteArray("\x80\xB0", 2)), QString::fromUtf8("€°"));
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("°F")), QByteArray("\xB0"
                                                                       "F"));
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("a€b")), QByteArray("a\x80"
                                                                        "b"));
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("日本")), QByteArray("??"));
}
