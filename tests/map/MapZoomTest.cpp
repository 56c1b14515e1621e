// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapZoom.h"

#include <gtest/gtest.h>

TEST(MapZoom, StepsGoAlongTheLadderAndStopAtItsEnds) {
    const struct {
        double from, in, out;
    } cases[] = {
        {1, 1.5, 2.0 / 3},           {2, 2, 1.5},          {0.125, 1.0 / 6, 0.125},
        {0.5, 2.0 / 3, 1.0 / 3},     {0.3, 1.0 / 3, 0.25}, // from a zoom Fit Window chose
        {0.666666666666667, 1, 0.5},                       // a step as read back from its text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_DOUBLE_EQ(MapZoom::stepIn(c.from), c.in);
        EXPECT_DOUBLE_EQ(MapZoom::stepOut(c.from), c.out);
    }
    EXPECT_DOUBLE_EQ(MapZoom::fit({1200, 640}, {600, 600}), 0.5);
    EXPECT_DOUBLE_EQ(MapZoom::fit({100, 100}, {600, 300}), 2);         // never above 2
    EXPECT_DOUBLE_EQ(MapZoom::fit({24000, 24000}, {600, 600}), 0.125); // never below 1/8
}

// The edges: a part of a pixel still shows, and a point off the picture is kept on it.
TEST(MapZoom, ThePictureKeepsItsEdges) {
    EXPECT_EQ(MapZoom::pictureAt({-3, 5000}, 1, {400, 320}), QPoint(0, 319));
    EXPECT_EQ(MapZoom::screenSize({1201, 641}, 2.0 / 3), QSize(801, 428));
    EXPECT_EQ(MapZoom::screenSize({24000, 24000}, 0.25), QSize(6000, 6000));
}

TEST(MapZoom, TextIsTheSameInEveryLanguageAndOnlyZoomsReadBack) {
    EXPECT_EQ(MapZoom::toText(0.25), "0.25");
    EXPECT_EQ(MapZoom::toText(2), "2");
    EXPECT_EQ(MapZoom::toText(2.0 / 3), "0.666666666666667");
    const struct {
        const char* text;
        std::optional<double> zoom;
    } cases[] = {
        {"0.25", 0.25},
        {"1", 1.0},
        {" 2 ", 2.0},
        {"0.125", 0.125},
        {"0.666666666666667", 2.0 / 3},
        {"0,5", std::nullopt},
        {"4", std::nullopt},
        {"0.1", std::nullopt},
        {"", std::nullopt},
        {"big", std::nullopt},
        {"nan", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> read = MapZoom::fromText(QString::fromLatin1(c.text));
        ASSERT_EQ(read.has_value(), c.zoom.has_value());
        if (read) {
            EXPECT_NEAR(*read, *c.zoom, 1e-12);
        }
    }
}
