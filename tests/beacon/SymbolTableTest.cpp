// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/SymbolTable.h"

#include <gtest/gtest.h>

TEST(SymbolTable, EverySymbolByNumberAndByItem) {
    const struct {
        int number;
        const char* item;
        char table;
        char code;
        const char* picture;
    } rows[] = {
        {1, "Advisory", '\\', '<', "Advise"},     {2, "Aid Station", '/', 'A', "Aid"},
        {3, "Campground", '/', ';', "Camp"},      {4, "Car", '/', '>', "Car"},
        {5, "Emergency", '\\', '!', "Emergency"}, {6, "Home", '/', '-', "Home"},
        {7, "Info Kiosk", '\\', '?', "Info"},     {8, "Navigation Bouy", '\\', 'N', "NavBouy"},
        {9, "Park", '\\', ';', "park"},           {10, "Parking", '\\', 'P', "parking"},
        {11, "Phone", '/', '$', "phone"},         {12, "Weather Station", '/', '_', "wx"},
    };
    for (const auto& row : rows) {
        const SymbolInfo* s = Symbols::byNumber(row.number);
        ASSERT_NE(s, nullptr) << row.number;
        EXPECT_EQ(Symbols::byItemText(QString::fromLatin1(row.item)), s) << row.item;
        EXPECT_EQ(s->table, row.table) << row.item;
        EXPECT_EQ(s->code, row.code) << row.item;
        EXPECT_EQ(Symbols::pictureName(row.number, 1), QString::fromLatin1(row.picture));
    }
    EXPECT_EQ(Symbols::byNumber(0), nullptr);
    EXPECT_EQ(Symbols::byNumber(13), nullptr);
    EXPECT_EQ(Symbols::byNumber(-1), nullptr);
    EXPECT_EQ(Symbols::byItemText(QStringLiteral("car")), nullptr);
    EXPECT_EQ(Symbols::byItemText(QStringLiteral("Navigation Buoy")), nullptr);
}

TEST(SymbolTable, WeatherStationBelongsToObjectOneOnly) {
    EXPECT_EQ(Symbols::itemTexts(1).size(), 12);
    EXPECT_EQ(Symbols::itemTexts(2).size(), 11);
    EXPECT_EQ(Symbols::itemTexts(3).last(), QStringLiteral("Phone"));
    EXPECT_EQ(Symbols::itemTexts(1).indexOf(QStringLiteral("Car")) + 1, 4);
    EXPECT_EQ(Symbols::pictureName(4, 2), QStringLiteral("Car1"));
    EXPECT_EQ(Symbols::pictureName(9, 3), QStringLiteral("park2"));
    EXPECT_EQ(Symbols::pictureName(12, 2), QString());
    EXPECT_EQ(Symbols::pictureName(4, 4), QString());
}
