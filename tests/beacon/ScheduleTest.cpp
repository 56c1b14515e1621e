// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/BeaconSchedule.h"

#include <gtest/gtest.h>
#include <random>

namespace {

constexpr qint64 Minute = MinuteTicker::TickMs;

TEST(RemainingHint, ShowsMinutesOnlyWhileRunning) {
    EXPECT_EQ(Schedule::remainingHint(true, 7), "7 Mins remaining. ");
    EXPECT_EQ(Schedule::remainingHint(true, 0), "0 Mins remaining. ");
    EXPECT_EQ(Schedule::remainingHint(false, 7), "");
}

TEST(MinuteTicker, LateTicksShortenTheNextWaitSoNothingAccumulates) {
    MinuteTicker t;
    const qint64 start = 5'000'000;
    EXPECT_EQ(t.start(start), Minute);
    // Every delivery late by up to 900 ms, for three days: the grid never moves.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> lateness(0, 900);
    qint64 due = start + Minute;
    for (int i = 1; i <= 3 * 24 * 60; ++i) {
        const qint64 delivered = due + lateness(random);
        const MinuteTicker::Tick tick = t.tick(delivered);
        ASSERT_EQ(tick.minutes, 1) << i;
        ASSERT_EQ(delivered + tick.waitMs, start + qint64(i + 1) * Minute) << i;
        // The timer is re-armed for that grid point; its own lateness comes on top.
        due = delivered + tick.waitMs;
    }
    EXPECT_EQ(t.ticks(), 3 * 24 * 60);
}

TEST(MinuteTicker, EarlyAndStalledDeliveriesCountTheMinutesThatReallyPassed) {
    MinuteTicker t;
    t.start(0);
    // Half a second early still belongs to the first minute.
    MinuteTicker::Tick tick = t.tick(Minute - 500);
    EXPECT_EQ(tick.minutes, 1);
    EXPECT_EQ(tick.waitMs, Minute + 500);
    // A second delivery right behind it cannot serve the same minute twice.
    tick = t.tick(Minute - 400);
    EXPECT_EQ(tick.minutes, 1);
    EXPECT_EQ(t.ticks(), 2);
    EXPECT_EQ(tick.waitMs, 3 * Minute - (Minute - 400));

    // A machine suspended for ten minutes: the missed minutes count at once and the grid holds.
    MinuteTicker s;
    s.start(0);
    tick = s.tick(10 * Minute + 20'000);
    EXPECT_EQ(tick.minutes, 10);
    EXPECT_EQ(tick.waitMs, 40'000);
    tick = s.tick(11 * Minute + 3);
    EXPECT_EQ(tick.minutes, 1);
    EXPECT_EQ(tick.waitMs, Minute - 3);
}

TEST(MinuteTicker, RestartAnchorsANewGrid) {
    MinuteTicker t;
    t.start(0);
    t.tick(Minute);
    t.tick(2 * Minute + 100);
    EXPECT_EQ(t.start(7 * Minute + 123), Minute);
    EXPECT_EQ(t.ticks(), 0);
    const MinuteTicker::Tick tick = t.tick(8 * Minute + 123);
    EXPECT_EQ(tick.minutes, 1);
    EXPECT_EQ(tick.waitMs, Minute);
}

} // namespace
