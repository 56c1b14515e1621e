// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGHUP (a desktop logging out, a system shutting down) into a signal on the
// window thread, so the program can save its objects and settings instead of dying mid-run.
// One instance per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void requested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
