// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// An APRS-IS server on 127.0.0.1 that behaves as aprsc does towards a client: a "#" banner
// on connect, the login wanted within a limit (then the connection is closed), "# logresp CALL
// verified, server T2STANDIN" for a call whose passcode it was told, "unverified" for any
// other, "# Invalid login string, too few arguments" for a login of fewer than four words,
// and keepalive "#" lines. It keeps the login line and every line that came after it.
class AprsIsServer {
public:
    // Listening on `address` only (IPv4 loopback unless told).
    explicit AprsIsServer(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    ~AprsIsServer();
    AprsIsServer(const AprsIsServer&) = delete;
    AprsIsServer& operator=(const AprsIsServer&) = delete;

    QString port() const { return QString::number(m_server.serverPort()); }
    // The passcode this server takes for a callsign (without SSID, in capitals).
    void accept(const QByteArray& call, int passcode) { m_passcodes.insert(call, passcode); }
    // The login must come within this many ms (aprsc: 30 s).
    void setLoginLimit(int ms) { m_loginLimitMs = ms; }
    // The login is read but never answered.
    void setSilent(bool silent) { m_silent = silent; }
    // Sent before the first line ends, to see that a client bounds what it keeps.
    void setGarbageBeforeAnswer(const QByteArray& bytes) { m_garbage = bytes; }
    // A keepalive to every logged-in client, as aprsc sends one about every 20 s.
    void sendKeepalive();
    // Any line to the newest client.
    void sendLine(const QByteArray& line);

    int connections() const { return m_connections; }
    bool hasPeer() const;
    // The login lines, one per connection that sent one, without the line end.
    QList<QByteArray> logins;
    // Lines after a verified login, without line ends.
    QList<QByteArray> lines;

    // Stops listening and drops every client; restart() listens again on the same port.
    void stop();
    bool restart();

    bool waitForLines(qsizetype count, int boundMs = 5000) const;
    bool waitForLogins(qsizetype count, int boundMs = 5000) const;

private:
    struct Client {
        QTcpSocket* socket = nullptr;
        QByteArray partial;
        bool loggedIn = false;
        bool verified = false;
        QTimer* loginTimer = nullptr;
    };
    void read(Client* client);
    void login(Client* client, const QByteArray& line);

    QTcpServer m_server;
    quint16 m_port = 0;
    QHostAddress m_address;
    QList<Client*> m_clients;
    QHash<QByteArray, int> m_passcodes;
    int m_loginLimitMs = 30000;
    bool m_silent = false;
    QByteArray m_garbage;
    int m_connections = 0;
};
