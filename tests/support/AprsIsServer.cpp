// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/AprsIsServer.h"

#include "support/Wait.h"

AprsIsServer::AprsIsServer(const QHostAddress& address) : m_address(address) {
    m_server.listen(m_address, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            auto* client = new Client;
            client->socket = socket;
            m_clients.append(client);
            socket->write("# aprsc 2.1.14-standin\r\n");
            client->loginTimer = new QTimer(socket);
            client->loginTimer->setSingleShot(true);
            QObject::connect(client->loginTimer, &QTimer::timeout, socket,
                             [socket] { socket->close(); });
            client->loginTimer->start(m_loginLimitMs);
            QObject::connect(socket, &QTcpSocket::readyRead, [this, client] { read(client); });
        }
    });
}

AprsIsServer::~AprsIsServer() {
    m_server.close();
    for (Client* client : m_clients) {
        client->socket->disconnect();
        delete client;
    }
}

bool AprsIsServer::hasPeer() const {
    return !m_clients.isEmpty() &&
           m_clients.last()->socket->state() == QAbstractSocket::ConnectedState;
}

void AprsIsServer::read(Client* client) {
    client->partial += client->socket->readAll();
    qsizetype end;
    while ((end = client->partial.indexOf('\n')) >= 0) {
        QByteArray line = client->partial.left(end);
        client->partial.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!client->loggedIn)
            login(client, line);
        else if (client->verified)
            lines.append(line);
        // aprsc drops what an unverified client sends.
    }
}

void AprsIsServer::login(Client* client, const QByteArray& line) {
    client->loggedIn = true;
    client->loginTimer->stop();
    logins.append(line);
    if (m_silent)
        return;
    if (!m_garbage.isEmpty())
        client->socket->write(m_garbage);
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 4 || words[0] != "user" || words[2] != "pass") {
        client->socket->write("# Invalid login string, too few arguments\r\n");
        client->socket->flush();
        client->socket->disconnectFromHost();
        return;
    }
    const QByteArray call = words[1];
    const QByteArray base = call.left(call.indexOf('-') < 0 ? call.size() : call.indexOf('-'));
    bool ok = false;
    const int passcode = words[3].toInt(&ok);
    client->verified = ok && m_passcodes.contains(base) && m_passcodes.value(base) == passcode;
    client->socket->write("# logresp " + call + (client->verified ? " verified" : " unverified") +
                          ", server T2STANDIN\r\n");
}

void AprsIsServer::sendKeepalive() {
    for (Client* client : m_clients)
        if (client->socket->state() == QAbstractSocket::ConnectedState)
            client->socket->write(
                "# aprsc 2.1.14-standin 1 Jan 2026 12:00:00 GMT T2STANDIN 127.0.0.1:14580\r\n");
}

void AprsIsServer::sendLine(const QByteArray& line) {
    if (!m_clients.isEmpty())
        m_clients.last()->socket->write(line);
}

void AprsIsServer::stop() {
    m_port = m_server.serverPort();
    m_server.close();
    for (Client* client : m_clients)
        client->socket->close();
}

bool AprsIsServer::restart() {
    return m_server.listen(m_address, m_port);
}

bool AprsIsServer::waitForLines(qsizetype count, int boundMs) const {
    return waitUntil([&] { return lines.size() >= count; }, boundMs);
}

bool AprsIsServer::waitForLogins(qsizetype count, int boundMs) const {
    return waitUntil([&] { return logins.size() >= count; }, boundMs);
}
