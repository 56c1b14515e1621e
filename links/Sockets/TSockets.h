// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <mutex>
#include <netinet/in.h>

class Dialogs;
class QSocketNotifier;

// A TCP client for one connection at a time. Errors carry the classic WinSock numbers and
// texts (10061 "Connection refused", ...) because that is what operators and the packet
// engine's documentation quote; Linux errno values are mapped onto them.
//
// In the default non-blocking mode every event arrives later on the thread that owns the
// object, through QSocketNotifier; SConnect and SSend return at once.
class TSockets : public QObject {
    Q_OBJECT
public:
    explicit TSockets(Dialogs* dialogs = nullptr, QObject* parent = nullptr);
    ~TSockets() override;

    // Host: an IPv4 or IPv6 address ("192.168.1.5", "::1" or "[::1]") or a host name. A
    // name with both kinds of address is reached over IPv4, as before IPv6 was known here.
    QString IPAddr;
    // A service name looked up for "tcp", else a decimal port number.
    QString Port;
    bool NonBlocking = true;
    // Seconds a blocking call may take; 0 or less waits without limit.
    int Timeout = 30;
    // Most bytes kept from what the peer sends; older bytes are dropped beyond it.
    int MaximumReceiveLength = 8192;
    // A host that does not resolve is only signalled, with no box: a reconnect every minute
    // while a name server is down too must not pile boxes up.
    bool Quiet = false;
    // Each block goes out at once (TCP_NODELAY), for a server that wants a line as it is written.
    bool NoDelay = false;

    void SConnect();
    // Writes the whole block (queued when the socket cannot take it at once, so a frame is
    // never cut). Returns the byte count, 0 without a socket, or -1 after a reported error.
    int SSend(const QByteArray& data);
    void Disconnect();
    QString PeerAddress(int socket) const;
    QString PeerPort(int socket) const;

    // What the peer sent since the last call (only kept while something reads it).
    QByteArray SReceive();

    int socketHandle() const { return m_socket; }
    // A connect is under way or made: a socket, or a host name still being looked up.
    bool active() const { return m_socket >= 0 || m_state == State::Resolving; }
    bool resolving() const { return m_state == State::Resolving; }
    bool connected() const { return m_state == State::Connected; }
    // Bytes accepted by SSend that the kernel has not taken yet.
    qsizetype pendingOutput() const { return m_outgoing.size(); }

    static QString errorText(int winsockError);
    static int winsockError(int errnoValue);

signals:
    void OnDataAvailable(int socket);
    void OnDataNeeded(int socket);
    void OnSessionAvailable(int socket);
    void OnSessionConnected(int socket);
    void OnSessionClosed(int socket);
    void OnErrorOccurred(int socket, int error, const QString& message);
    // The host name did not resolve: its box has been shown and no connection will come.
    void OnLookupFailed();

private:
    enum class State { None, Resolving, Connecting, Connected, Failed };
    struct LookupResult {
        bool hostFound = false;
        sockaddr_storage address{}; // its port set
        socklen_t length = 0;
        in_port_t port = 0;
    };
    // Shared with look-up threads, which may outlive this object.
    struct LookupRelay {
        std::mutex mutex;
        TSockets* owner = nullptr;
    };

    static LookupResult lookUp(const QByteArray& host, const QByteArray& port);
    void lookupDone(quint64 id, const LookupResult& result);

    void reportError(int error, const QString& place);
    void reportTimeout();
    void closeSocket(bool reset);
    void stopNotifiers();
    void onReadable();
    void onWritable();
    bool flushOutgoing(const QString& place);
    bool waitFor(short events);

    Dialogs* m_dialogs;
    int m_socket = -1;
    State m_state = State::None;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QByteArray m_outgoing;
    QByteArray m_received;
    QString m_peerAddress;
    std::shared_ptr<LookupRelay> m_relay;
    // Changes whenever the socket is closed, so an older look-up's answer is recognised.
    quint64 m_lookupId = 0;
};
