// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/Clock.h"

#include <QList>

// A clock the test sets; pauses are recorded and advance the time instead of sleeping.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime utc = QDateTime(QDate(2026, 3, 6), QTime(15, 23), Qt::UTC),
                         int localOffsetSeconds = 0)
        : m_utc(utc), m_offset(localOffsetSeconds) {}

    QDateTime nowUtc() const override { return m_utc; }
    // Local time as a plain wall-clock value, offset from UTC by a fixed amount.
    QDateTime nowLocal() const override { return m_utc.toOffsetFromUtc(m_offset); }
    void pause(int milliseconds) override {
        pauses.append(milliseconds);
        m_utc = m_utc.addMSecs(milliseconds);
    }

    void setUtc(const QDateTime& utc) { m_utc = utc.toUTC(); }
    void setLocalOffset(int seconds) { m_offset = seconds; }
    void advanceSecs(qint64 seconds) { m_utc = m_utc.addSecs(seconds); }

    std::optional<bool> synchronised() const override { return clockSynchronised; }

    QList<int> pauses;
    std::optional<bool> clockSynchronised;

private:
    QDateTime m_utc;
    int m_offset;
};
