// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/Sockets/TSockets.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class Dialogs;

// One connection to an APRS-IS server: connect, log in, wait for the server to verify the
// login, then carry report lines while watching that the server still speaks. It tells its
// owner what happened through signals and decides nothing about reconnecting.
class AprsIsSession : public QObject {
    Q_OBJECT
public:
    struct Login {
        QString server;
        QString port;
        QString callsign;
        int passcode = 0;
        QString filter;
    };

    explicit AprsIsSession(Dialogs* dialogs, QObject* parent = nullptr);

    // Connects and logs in. `quiet`: a name that does not resolve gives no box.
    void start(const Login& login, bool quiet);
    // Closes the connection, if any, and forgets the login; no signal follows.
    void stop();
    // A connection is being made or is open.
    bool active() const { return m_sockets.active(); }
    bool verified() const { return m_verified; }
    // The server's own name from its answer to the login, else the address connected to.
    const QString& serverName() const { return m_serverName; }
    // One report line, only over a verified login; false when it did not go.
    bool sendLine(const QByteArray& line);

    TSockets& sockets() { return m_sockets; }
    // Tests shorten the waits; the defaults are 30 s for the answer to the login and 2 min
    // without any line from the server (which sends one about every 20 s).
    void setLoginTimeout(int ms) { m_loginTimer.setInterval(ms); }
    void setSilenceLimit(int ms) { m_silenceTimer.setInterval(ms); }
    QTimer& loginTimer() { return m_loginTimer; }
    QTimer& silenceTimer() { return m_silenceTimer; }
    void LoginTimed();
    void SilenceTimed();

signals:
    void loggedIn(const QString& server);
    // The server did not take the login (unverified, refused, no answer): `reason` in a few
    // words for the status line, `message` for the user.
    void refused(const QString& reason, const QString& message);
    // The connection failed or went quiet after the login, or could not be made at all:
    // `reason` in a few words for the status line, `message` for a box.
    void lost(const QString& reason, const QString& message);

private:
    void connected();
    void dataAvailable();
    void line(const QByteArray& text);
    void socketError(int error, const QString& text);
    void closed();
    void fail(bool refusal, const QString& reason, const QString& message);

    TSockets m_sockets;
    QTimer m_loginTimer;
    QTimer m_silenceTimer;
    Login m_login;
    bool m_verified = false;
    bool m_overlong = false; // the line being read is past the longest a server sends
    QByteArray m_partial;
    QByteArray m_lastComment; // the newest "#" line, for a login the server drops unanswered
    QString m_serverName;
};
