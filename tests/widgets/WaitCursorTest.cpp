// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/WaitCursor.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

TEST(WaitCursor, ShowsWhileHeldAndTakesDownOnlyItsOwnHolds) {
    // A cursor someone else set stays through everything the wait cursor does.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    {
        WaitCursor wait;
        wait.hold();
        wait.hold();
        ASSERT_TRUE(QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        wait.release();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        wait.release();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        // More releases than holds take nothing of anyone else's.
        wait.release();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        wait.hold();
        wait.hold();
        wait.releaseAll();
        EXPECT_EQ(wait.holds(), 0);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        // Held at its end: the hourglass goes with it.
        wait.hold();
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_FALSE(QApplication::overrideCursor());
}

} // namespace
