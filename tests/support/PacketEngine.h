// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/AgwpeFrame.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

class LinkControl;

// A packet engine on 127.0.0.1 for the links to talk to. It accepts every connection and
// keeps every byte it is sent; the bytes of the newest connection are also cut into whole
// AGWPE frames, kept with the time each came. It can close or reset a connection, now or
// after a number of frames.
class PacketEngine {
public:
    struct Frame : Agwpe::ParsedFrame {
        QByteArray bytes; // the frame as it came, header and data
        qint64 atMs;      // since the engine started
    };

    // Listening on `address` only (IPv4 loopback unless told).
    explicit PacketEngine(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    PacketEngine(const PacketEngine&) = delete;
    PacketEngine& operator=(const PacketEngine&) = delete;

    quint16 serverPort() const { return m_server.serverPort(); }
    QString port() const { return QString::number(serverPort()); }

    // The newest connection is up.
    bool hasPeer() const;
    // Every connection accepted so far, oldest first.
    const QList<QTcpSocket*>& peers() const { return m_peers; }
    int connections() const { return int(m_peers.size()); }
    // The engine goes away in the middle of a session: an orderly close, or a reset.
    void closePeer();
    // The engine stops (its connections close, its port refuses) and starts again on the
    // same port, as a restarted engine does.
    void stop();
    bool restart();
    void dropPeer();
    // Each connection is closed after this many frames (0: never).
    void closeAfter(int frames) { m_closeAfter = frames; }
    // Connections closed by closeAfter.
    int drops() const { return m_drops; }

    // Every byte of every connection, in arrival order.
    QByteArray bytes;
    // Whole frames in arrival order, each cut from the connection that was newest when it came;
    // a frame whose via block does not fit its data is left out.
    QList<Frame> frames;
    // The start of a frame still incomplete.
    QByteArray partial;
    // 'k' frames (raw received frames, please), kept out of `frames`.
    int rawRequests = 0;
    // Hands the link a frame heard on the channel, as an engine asked with 'k' does.
    void hear(int radioPort, const QByteArray& ax25Body);

    // Sends a frame through the connected link and waits up to the bound for it to come: then
    // every frame the link sent before it is in too, as one connection keeps its order. This
    // is how a test learns that nothing more came without waiting for time to pass. The frame
    // asks a real engine for its version, which puts nothing on the air; it is not kept in
    // `frames`.
    bool sync(LinkControl& link, int boundMs = 5000);

    // The information fields of the frames.
    QStringList infos() const;

    // Runs the event loop until `count` frames, or `count` connections, are in, or the
    // bound passes.
    bool waitForFrames(qsizetype count, int boundMs = 5000) const;
    bool waitForConnections(int count, int boundMs = 5000) const;

    // A port on 127.0.0.1 that nobody listens on.
    static QString closedPort();

private:
    void read(QTcpSocket* peer);

    QTcpServer m_server;
    quint16 m_port = 0;
    QHostAddress m_address;
    QList<QTcpSocket*> m_peers;
    QElapsedTimer m_clock;
    int m_closeAfter = 0;
    int m_framesOnThisConnection = 0;
    int m_drops = 0;
    int m_syncs = 0;
};
