// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/AgwpeFrame.h"
#include "links/LinkTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

// A packet engine on 127.0.0.1 that keeps every whole frame it is sent.
class ObjectsEngine {
public:
    ObjectsEngine() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* peer = m_server.nextPendingConnection()) {
                m_peer = peer;
                m_partial.clear();
                QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] {
                    if (peer == m_peer)
                        read();
                });
            }
        });
    }
    QString port() const { return QString::number(m_server.serverPort()); }
    bool hasPeer() const { return m_peer && m_peer->state() == QAbstractSocket::ConnectedState; }
    // The engine goes away in the middle of a session.
    void dropPeer() {
        if (m_peer)
            m_peer->abort();
    }

    QList<Agwpe::ParsedFrame> frames;
    QList<QByteArray> raw;

    // Runs the event loop until `count` frames are in, or the bound passes.
    bool waitForFrames(qsizetype count, int boundMs = 5000) {
        return waitUntil([&] { return frames.size() >= count; }, boundMs);
    }
    static bool waitUntil(const std::function<bool()>& condition, int boundMs = 5000) {
        return ::waitUntil(condition, boundMs);
    }
    // Lets anything in flight arrive, for checks that nothing more came.
    void settle(int ms = 100) {
        waitUntil([] { return false; }, ms);
    }
    QStringList infos() const {
        QStringList out;
        for (const auto& f : frames)
            out << QString::fromLatin1(f.info);
        return out;
    }

private:
    void read() {
        m_partial.append(m_peer->readAll());
        for (;;) {
            qsizetype used = 0;
            const auto frame = parseAgwpeFrame(m_partial, &used);
            if (used == 0)
                return;
            if (frame) {
                frames.append(*frame);
                raw.append(m_partial.left(used));
            }
            m_partial.remove(0, used);
        }
    }

    QTcpServer m_server;
    QTcpSocket* m_peer = nullptr;
    QByteArray m_partial;
};
