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
                        // Not in the code page: the letter under the marks, in capitals;
                        // Turkish dotless and dotted i are both "I".
                        {u'\u0131', u'I'},
                        {u'\u0130', u'I'},
                        {u'\u015F', u'S'},
                        {u'\u011E', u'G'},
                        // No letter stands for it ("?", 63), or not printable.
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

TEST(Cp1252, TextTheCodePageLacksIsMendedOrLeftOut) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"\u0130STANBUL", "ISTANBUL"},
        {"D\u0130YARBAKIR \u0131\u015F\u0131k", "DIYARBAKIR isik"},
        {"\u011Eumu\u015F\u00E7ay\u0131r\u0131", "Gumus\u00E7ayiri"}, // ç is in the page
        {"A\u20AC\u00E9?Z", "A\u20AC\u00E9?Z"},
        {"\u65E5\u672CX\u0416", "X"},
        {"\U0001F4E1N", "N"}, // both halves of a surrogate pair go
    };
    for (const auto& r : rows) {
        const QString out = Cp1252::encodable(QString::fromUtf8(r.in));
        EXPECT_EQ(out, QString::fromUtf8(r.out)) << r.in;
        EXPECT_TRUE(Cp1252::canEncode(out)) << r.in;
    }
}
