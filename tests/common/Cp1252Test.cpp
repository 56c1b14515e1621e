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

TEST(Cp1252, TypedCapitalsShiftEveryPrintableCodeAbove96) {
    struct Row {
        char16_t typed;
        char16_t entered; // 0: the key goes in as typed
    };
    const Row rows[] = {{u'a', u'A'},
                        {u'z', u'Z'},
                        {u'A', 0},
                        {u'5', 0},
                        {u'-', 0},
                        {u'`', 0},
                        {u'{', u'['},
                        {u'~', u'^'},
                        {u'\u00E9', u'\u00C9'},
                        {u'\u00FF', u'\u00DF'},
                        // Counted in the code page: the euro sign is byte 0x80.
                        {u'\u20AC', u'`'},
                        {u'\u00A0', u'\u20AC'},
                        // Not in the code page ("?", 63), or not printable.
                        {u'\u65E5', 0},
                        {u'\u007F', 0},
                        {u'\t', 0}};
    for (const Row& r : rows) {
        const std::optional<QChar> got = Cp1252::typedCapital(QChar(r.typed));
        if (r.entered == 0)
            EXPECT_FALSE(got.has_value()) << int(r.typed);
        else
            EXPECT_EQ(got, QChar(r.entered)) << int(r.typed);
    }
}
