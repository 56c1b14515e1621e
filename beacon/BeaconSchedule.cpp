// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/BeaconSchedule.h"

namespace Schedule {

QString remainingHint(bool running, int minutesLeft) {
    if (!running)
        return {};
    return QString::number(minutesLeft) + QStringLiteral(" Mins remaining. ");
}

} // namespace Schedule

qint64 MinuteTicker::start(qint64 nowMs) {
    m_anchor = nowMs;
    m_ticks = 0;
    return TickMs;
}

MinuteTicker::Tick MinuteTicker::tick(qint64 nowMs) {
    constexpr qint64 earlyMs = 1000;
    const qint64 since = nowMs - m_anchor;
    qint64 reached = (since + earlyMs) / TickMs;
    // Never a point already served: a delivery that comes early counts for the next one.
    if (reached <= m_ticks)
        reached = m_ticks + 1;
    const int minutes = int(reached - m_ticks);
    m_ticks = reached;
    return {minutes, m_anchor + (m_ticks + 1) * TickMs - nowMs};
}
