// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, TheWindowWithItsFrameEndsUpWhollyOnTheScreen) {
    const QMargins frame(4, 30, 4, 4);
    const struct {
        FormBounds bounds;
        QRect available;
        FormBounds placed;
    } cases[] = {
        // Room enough: it stays where it is.
        {{10, 40, 620, 438}, {0, 0, 1920, 1080}, {10, 40, 620, 438}},
        // A panel along the top edge: moved below it.
        {{10, 10, 620, 438}, {0, 32, 1920, 1048}, {10, 32, 620, 438}},
        // Off the right and bottom edges: moved back.
        {{1500, 900, 620, 438}, {0, 0, 1920, 1080}, {1292, 608, 620, 438}},
        // A small screen: made smaller as well.
        {{10, 10, 620, 438}, {0, 0, 600, 400}, {0, 0, 592, 366}},
        // A second screen to the left of the first.
        {{-1900, 10, 620, 438}, {-1920, 0, 1920, 1080}, {-1900, 10, 620, 438}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bounds.Left << "," << c.bounds.Top);
        const FormBounds placed = wholeOnScreen(c.bounds, frame, c.available);
        EXPECT_EQ(placed.Left, c.placed.Left);
        EXPECT_EQ(placed.Top, c.placed.Top);
        EXPECT_EQ(placed.Width, c.placed.Width);
        EXPECT_EQ(placed.Height, c.placed.Height);
    }
}
