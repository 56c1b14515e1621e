// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/DateFormat.h"

#include <gtest/gtest.h>

TEST(FormatDateTime, CommentFormatsAndWeatherHeader) {
    const QDateTime when(QDate(2007, 3, 6), QTime(15, 23, 9));
    const struct {
        const char* format;
        const char* text;
    } rows[] = {{"dd hh:MM", "06 15:23"}, {"dd hhMM", "06 1523"},   {"ddhhMM", "061523"},
                {"hh:MM", "15:23"},       {"hhMM", "1523"},         {"hhmm", "1523"},
                {"DDHHmm", "061523"},     {"dd/mm/yy", "06/03/07"}, {"hh:nn:ss", "15:23:09"},
                {"yyyy", "2007"},         {"d h", "6 15"},          {"'dd' dd", "dd 06"}};
    for (const auto& row : rows)
        EXPECT_EQ(formatDateTime(QString::fromLatin1(row.format), when),
                  QString::fromLatin1(row.text))
            << row.format;
}
