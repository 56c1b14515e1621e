// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Clock.h"

#include <QThread>

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
