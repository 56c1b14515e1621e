// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>
#include <optional>

// Time and fixed pauses, handed in so that tests can set the time and skip the waits.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime nowUtc() const = 0;
    virtual QDateTime nowLocal() const = 0;
    // A fixed pause that blocks the calling thread (the window stays still meanwhile).
    virtual void pause(int milliseconds) = 0;
    // Whether the time has been set by a time service; nothing when that cannot be told.
    virtual std::optional<bool> synchronised() const { return std::nullopt; }
};

class SystemClock : public Clock {
public:
    QDateTime nowUtc() const override;
    QDateTime nowLocal() const override;
    void pause(int milliseconds) override;
    // The kernel's clock status: a board with no real-time clock starts unsynchronised, in
    // 1970 or at its last shutdown, until its time service has run.
    std::optional<bool> synchronised() const override;
};
