// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop until the condition holds or the bound passes; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, int boundMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > boundMs)
            return false;
        // A short nested loop sleeps until an event comes instead of spinning.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Runs the event loop for a while, for checks that nothing more happens.
inline void spinEvents(int ms) {
    waitUntil([] { return false; }, ms);
}

// The TNC wait tests give a link instead of the 1.5 s it waits in use. An answer takes up to
// two polls of the serial port's reader (400 ms) to reach the link, so a TNC that answers at
// all still answers well within it; a test of a quiet TNC waits no longer than this.
inline constexpr int TestTncWaitMs = 1000;
