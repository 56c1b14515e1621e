// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Clock.h"

#include <QThread>

#include <sys/timex.h>

QDateTime SystemClock::nowUtc() const {
    return QDateTime::currentDateTimeUtc();
}

QDateTime SystemClock::nowLocal() const {
    return QDateTime::currentDateTime();
}

void SystemClock::pause(int milliseconds) {
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::optional<bool> SystemClock::synchronised() const {
    timex tx{};
    // modes 0 reads the status and changes nothing, so no privilege is needed.
    if (adjtimex(&tx) == -1)
        return std::nullopt;
    return !(tx.status & STA_UNSYNC);
}
