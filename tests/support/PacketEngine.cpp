// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/PacketEngine.h"

#include "links/LinkControl.h"
#include "support/Wait.h"

namespace {
constexpr char kSyncKind = 'R';
}

PacketEngine::PacketEngine(const QHostAddress& address) : m_address(address) {
    m_clock.start();
    m_server.listen(m_address, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* peer = m_server.nextPendingConnection()) {
            m_peers.append(peer);
            partial.clear();
            m_framesOnThisConnection = 0;
            QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] { read(peer); });
        }
    });
}

bool PacketEngine::hasPeer() const {
    return !m_peers.isEmpty() && m_peers.last()->state() == QAbstractSocket::ConnectedState;
}

void PacketEngine::closePeer() {
    if (!m_peers.isEmpty())
        m_peers.last()->close();
}

void PacketEngine::stop() {
    m_port = m_server.serverPort();
    m_server.close();
    for (QTcpSocket* peer : m_peers)
        peer->close();
}

bool PacketEngine::restart() {
    return m_server.listen(m_address, m_port);
}

void PacketEngine::dropPeer() {
    if (!m_peers.isEmpty())
        m_peers.last()->abort();
}

void PacketEngine::read(QTcpSocket* peer) {
    const QByteArray got = peer->readAll();
    bytes.append(got);
    // An older connection's late bytes are kept, but a frame is only cut from the newest.
    if (peer != m_peers.last())
        return;
    partial.append(got);
    for (;;) {
        qsizetype used = 0;
        const auto parsed = parseAgwpeFrame(partial, &used);
        if (used == 0)
            return;
        const QByteArray whole = partial.left(used);
        partial.remove(0, used);
        if (parsed && parsed->kind == kSyncKind) {
            ++m_syncs;
            continue;
        }
        // The client asks for raw received frames: no frame of its reports.
        if (parsed && parsed->kind == 'k') {
            ++rawRequests;
            continue;
        }
        if (parsed)
            frames.append(Frame{*parsed, whole, m_clock.elapsed()});
        if (m_closeAfter > 0 && ++m_framesOnThisConnection == m_closeAfter) {
            ++m_drops;
            peer->close();
            return;
        }
    }
}

void PacketEngine::hear(int radioPort, const QByteArray& ax25Body) {
    if (m_peers.isEmpty())
        return;
    m_peers.last()->write(agwpeFrame(radioPort, 0, 'K', {}, {}, QByteArray(1, '\0') + ax25Body));
    m_peers.last()->flush();
}

bool PacketEngine::sync(LinkControl& link, int boundMs) {
    const int before = m_syncs;
    link.SendAGW(agwpeFrame(1, 0, kSyncKind, {}, {}, {}));
    return waitUntil([&] { return m_syncs > before; }, boundMs);
}

QStringList PacketEngine::infos() const {
    QStringList out;
    for (const Frame& f : frames)
        out << QString::fromLatin1(f.info);
    return out;
}

bool PacketEngine::waitForFrames(qsizetype count, int boundMs) const {
    return waitUntil([&] { return frames.size() >= count; }, boundMs);
}

bool PacketEngine::waitForConnections(int count, int boundMs) const {
    return waitUntil([&] { return connections() >= count; }, boundMs);
}

QString PacketEngine::closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QString::number(port);
}
