// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QtGlobal>

namespace Schedule {

inline constexpr int MinInterval = 10;
inline constexpr int MaxInterval = 120;

// The hint of an interval box: "7 Mins remaining. " while the object runs, empty otherwise.
QString remainingHint(bool running, int minutesLeft);

} // namespace Schedule

// The one-minute ticks of one object, kept on a grid anchored at its Start. A tick that
// arrives late (a busy window thread, a loaded machine) shortens the wait for the next one,
// so lateness never adds up and each report leaves within a second of its schedule, even
// after days. Times are milliseconds of a monotonic clock.
class MinuteTicker {
public:
    static constexpr qint64 TickMs = 60000;

    // Anchors the grid at `nowMs`; returns the wait until the first tick.
    qint64 start(qint64 nowMs);
    struct Tick {
        int minutes;   // grid points passed with this delivery: 1, more after a stall
        qint64 waitMs; // until the next grid point, always more than a second
    };
    // A tick was delivered at `nowMs`. A delivery up to a second early still counts for its
    // grid point; one that comes after a stall (a suspended machine) counts every minute the
    // stall swallowed and re-joins the grid at the next point ahead.
    Tick tick(qint64 nowMs);

    qint64 anchor() const { return m_anchor; }
    // Grid points served since the anchor.
    qint64 ticks() const { return m_ticks; }

private:
    qint64 m_anchor = 0;
    qint64 m_ticks = 0;
};
