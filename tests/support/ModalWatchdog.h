// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Rejects a modal dialog that is still open after a bound and fails the running test with the
// dialog's title. A test that opens a dialog closes it from inside (a single-shot timer, a
// script of answers); when that goes wrong, the dialog's own event loop would otherwise hold
// the test until ctest's time-out, with nothing said about why.
class ModalWatchdog {
public:
    static constexpr int DefaultBoundMs = 10000;

    explicit ModalWatchdog(int boundMs = DefaultBoundMs);
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    int boundMs() const { return m_boundMs; }
    // Dialogs this watchdog had to close.
    int rejected() const { return m_rejected; }

private:
    void check();

    int m_boundMs;
    int m_rejected = 0;
    QTimer m_timer;
    QPointer<QWidget> m_watched;
    QElapsedTimer m_openFor;
};
