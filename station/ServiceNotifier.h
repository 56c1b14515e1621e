// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QTimer>

// Tells systemd how the service is doing, over the datagram socket it names in NOTIFY_SOCKET
// (a path, or "@name" in the abstract namespace): READY once the station runs, STATUS lines,
// WATCHDOG pings and STOPPING. The pings come from the event loop's own timer, so a loop that
// is stuck stops them and systemd restarts the station. Without NOTIFY_SOCKET it does nothing.
class ServiceNotifier : public QObject {
    Q_OBJECT
public:
    explicit ServiceNotifier(
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
        QObject* parent = nullptr);
    ~ServiceNotifier() override;

    bool active() const { return m_fd >= 0; }
    // Half of WATCHDOG_USEC, as systemd advises; 0 without a watchdog for this process.
    int watchdogIntervalMs() const { return m_watchdogMs; }
    QTimer* watchdogTimer() const { return m_watchdog; }

    // READY=1, and the watchdog pings begin.
    void ready();
    // STATUS=<text>, unless it is what was said last.
    void status(const QString& text);
    // STOPPING=1: the shutdown has begun.
    void stopping();

private:
    bool send(const QByteArray& message);

    int m_fd = -1;
    QByteArray m_address; // the socket's path, a 0 byte first for the abstract namespace
    int m_watchdogMs = 0;
    QTimer* m_watchdog;
    QString m_lastStatus;
};
