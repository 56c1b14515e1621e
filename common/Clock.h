// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>

// Time and fixed pauses, handed in so that tests can set the time and skip the waits.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime nowUtc() const = 0;
    virtual QDateTime nowLocal() const = 0;
    // A fixed pause that blocks the calling thread (the window stays still meanwhile).
    virtual void pause(int milliseconds) = 0;
};

class SystemClock : public Clock {
public:
    QDateTime nowUtc() const override;
    QDateTime nowLocal() const override;
    void pause(int milliseconds) override;
};
