// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Sockets/TSockets.h"

#include "support/PacketEngine.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

struct ErrorSeen {
    int socket;
    int error;
    QString message;
};

struct Recorder {
    QList<int> connected;
    QList<int> closed;
    QList<ErrorSeen> errors;

    void attach(TSockets& s) {
        QObject::connect(&s, &TSockets::OnSessionConnected, [this](int h) { connected << h; });
        QObject::connect(&s, &TSockets::OnSessionClosed, [this](int h) { closed << h; });
        QObject::connect(&s, &TSockets::OnErrorOccurred, [this](int h, int e, const QString& m) {
            errors.append({h, e, m});
        });
    }
};

} // namespace

TEST(Sockets, ConnectsAndWritesEveryByteInOrder) {
    PacketEngine listener;
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = listener.port();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !seen.connected.isEmpty(); }));
    EXPECT_EQ(seen.connected.first(), sockets.socketHandle());
    EXPECT_EQ(sockets.PeerAddress(sockets.socketHandle()), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(sockets.PeerPort(sockets.socketHandle()), listener.port());

    // Every byte value, then a block far larger than the socket buffer: nothing may be cut
    // or reordered even when the kernel takes it in pieces.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QByteArray big(600 * 1024, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char('A' + i % 23);
    EXPECT_EQ(sockets.SSend(all), 256);
    EXPECT_EQ(sockets.SSend(big), big.size());
    EXPECT_EQ(sockets.SSend(QByteArrayLiteral("end")), 3);
    const QByteArray expected = all + big + QByteArrayLiteral("end");
    ASSERT_TRUE(waitUntil([&] { return listener.bytes.size() >= expected.size(); }, 10000));
    EXPECT_EQ(listener.bytes, expected);
    EXPECT_TRUE(seen.errors.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST(Sockets, HostNamesAndServiceNamesResolve) {
    PacketEngine listener;
    TSockets sockets;
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("localhost");
    sockets.Port = QStringLiteral(" ") + listener.port();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !seen.connected.isEmpty(); }));
    EXPECT_EQ(sockets.PeerAddress(sockets.socketHandle()), QStringLiteral("127.0.0.1"));
    sockets.Disconnect();

    // A service name stands for its port: listen on the port of a well-known service (we run
    // as root, so low ports are ours to bind).
    QTcpServer serviceListener;
    QString service;
    for (const auto& [name, port] : {std::pair{"http", 80}, {"finger", 79}, {"gopher", 70}})
        if (serviceListener.listen(QHostAddress::LocalHost, quint16(port))) {
            service = QString::fromLatin1(name);
            break;
        }
    ASSERT_FALSE(service.isEmpty()) << "no well-known port free to listen on";
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = service;
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !seen.errors.isEmpty() || seen.connected.size() > 1; }));
    ASSERT_EQ(seen.connected.size(), 2);
    EXPECT_EQ(sockets.PeerPort(sockets.socketHandle()),
              QString::number(serviceListener.serverPort()));
}

TEST(Sockets, RefusedConnectionIsReportedOnceAsConnectionRefused) {
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = PacketEngine::closedPort();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !seen.errors.isEmpty(); }));
    spinEvents(200);
    ASSERT_EQ(seen.errors.size(), 1);
    EXPECT_EQ(seen.errors.first().error, 10061);
    EXPECT_EQ(seen.errors.first().message, QStringLiteral("Connection refused"));
    EXPECT_TRUE(seen.connected.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // Repeated attempts after a failure leak no descriptor.
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const auto before = openDescriptors();
    for (int i = 0; i < 20; ++i) {
        sockets.SConnect();
        ASSERT_TRUE(waitUntil([&] { return seen.errors.size() == i + 2; }));
    }
    EXPECT_LE(openDescriptors(), before + 1);
}

TEST(Sockets, ConfigurationMistakesShowTheirBoxes) {
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.SConnect();
    sockets.Port = QStringLiteral("8000");
    sockets.IPAddr.clear();
    sockets.SConnect();
    sockets.IPAddr = QStringLiteral("no-such-host.invalid");
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return dialogs.shown.size() == 3; }, 30000));
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("No Port Specified"),
                                            QStringLiteral("No IP Address Specified"),
                                            QStringLiteral("Cannot convert host address")}));
    for (const auto& shown : dialogs.shown)
        EXPECT_EQ(shown.title, QStringLiteral("WINSOCK ERROR"));
    EXPECT_EQ(sockets.socketHandle(), -1);
    EXPECT_TRUE(seen.errors.isEmpty());
}

TEST(Sockets, WithoutSocketSendIsSilentAndDisconnectReports10038) {
    PacketEngine listener;
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    Recorder seen;
    seen.attach(sockets);
    EXPECT_EQ(sockets.SSend(QByteArrayLiteral("x")), 0);
    EXPECT_TRUE(seen.errors.isEmpty());

    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = listener.port();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !seen.connected.isEmpty(); }));
    sockets.Disconnect();
    EXPECT_EQ(sockets.socketHandle(), -1);
    EXPECT_EQ(sockets.SSend(QByteArrayLiteral("after")), 0);
    spinEvents(100);
    EXPECT_TRUE(listener.bytes.isEmpty());
    EXPECT_TRUE(seen.errors.isEmpty());

    sockets.Disconnect();
    ASSERT_EQ(seen.errors.size(), 1);
    EXPECT_EQ(seen.errors.first().error, 10038);
    EXPECT_EQ(seen.errors.first().message, QStringLiteral("Socket operation on non-socket"));
}

TEST(Sockets, DisconnectResetsTheConnectionAtOnce) {
    PacketEngine listener;
    TSockets sockets;
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = listener.port();
    sockets.SConnect();
    ASSERT_TRUE(
        waitUntil([&] { return !seen.connected.isEmpty() && !listener.peers().isEmpty(); }));
    QTcpSocket* peer = listener.peers().first();
    QAbstractSocket::SocketError peerError = QAbstractSocket::UnknownSocketError;
    QObject::connect(peer, &QTcpSocket::errorOccurred,
                     [&](QAbstractSocket::SocketError e) { peerError = e; });
    sockets.Disconnect();
    ASSERT_TRUE(waitUntil([&] { return peer->state() != QAbstractSocket::ConnectedState; }));
    EXPECT_EQ(peerError, QAbstractSocket::RemoteHostClosedError);
}

TEST(Sockets, PeerClosingOrResettingIsNoticed) {
    PacketEngine listener;
    TSockets sockets;
    Recorder seen;
    seen.attach(sockets);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = listener.port();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !listener.peers().isEmpty(); }));
    listener.peers().first()->close();
    ASSERT_TRUE(waitUntil([&] { return !seen.closed.isEmpty(); }));
    spinEvents(100);
    EXPECT_EQ(seen.closed.size(), 1);
    EXPECT_TRUE(seen.errors.isEmpty());

    // A reset (zero linger) is an error at the close event.
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return listener.peers().size() == 2; }));
    const int fd = int(listener.peers().last()->socketDescriptor());
    linger l{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    listener.peers().last()->abort();
    ASSERT_TRUE(waitUntil([&] { return !seen.errors.isEmpty(); }));
    spinEvents(100);
    ASSERT_EQ(seen.errors.size(), 1);
    EXPECT_EQ(seen.errors.first().error, 10054);
    EXPECT_EQ(seen.errors.first().message, QStringLiteral("Connection reset by peer"));

    // Writing after the reset fails once more, reported, without killing the process.
    EXPECT_LT(sockets.SSend(QByteArrayLiteral("late")), 0);
    EXPECT_EQ(seen.errors.size(), 2);
}

TEST(Sockets, UnhandledErrorsShowABoxAndTheProgramGoesOn) {
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = PacketEngine::closedPort();
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return !dialogs.shown.isEmpty(); }));
    EXPECT_EQ(dialogs.shown.first().text,
              QStringLiteral("Error 10061 in function FD_CONNECT\r\nConnection refused"));
    EXPECT_EQ(dialogs.shown.first().title, QStringLiteral("WINSOCK ERROR"));
}

TEST(Sockets, BlockingModeConnectsSendsAndTimesOut) {
    // A plain listening socket whose connections are never read: the send buffer fills.
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 1), 0);
    socklen_t len = sizeof address;
    getsockname(server, reinterpret_cast<sockaddr*>(&address), &len);

    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    sockets.NonBlocking = false;
    sockets.Timeout = 1;
    int connected = 0;
    QObject::connect(&sockets, &TSockets::OnSessionConnected, [&](int) { ++connected; });
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = QString::number(ntohs(address.sin_port));
    sockets.SConnect();
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(sockets.SSend(QByteArrayLiteral("hello")), 5);

    // No handler bound: the cancelled call shows its own box.
    EXPECT_LT(sockets.SSend(QByteArray(64 * 1024 * 1024, 'x')), 0);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().text, QStringLiteral("Error 10060\r\nBlocking call timed out"));
    EXPECT_EQ(dialogs.shown.first().title, QStringLiteral("WINSOCK CALL CANCELED"));
    sockets.Disconnect();
    ::close(server);
}

TEST(Sockets, WritingToAClosedPeerIsAResetAndUnknownNumbersSaySo) {
    EXPECT_EQ(TSockets::winsockError(EPIPE), 10054);
    EXPECT_EQ(TSockets::errorText(TSockets::winsockError(EPIPE)),
              QStringLiteral("Connection reset by peer"));
    EXPECT_EQ(TSockets::errorText(TSockets::winsockError(ENOENT)),
              QStringLiteral("Not a WinSock error"));
    EXPECT_EQ(TSockets::errorText(11001), QStringLiteral("Host not found"));
}

TEST(Sockets, NamesAreLookedUpWhileTheWindowGoesOn) {
    PacketEngine listener;
    TestDialogs dialogs;
    TSockets sockets(&dialogs);
    Recorder seen;
    seen.attach(sockets);
    int lookupsFailed = 0;
    QObject::connect(&sockets, &TSockets::OnLookupFailed, [&] { ++lookupsFailed; });

    // A dotted address and a port number need no look-up: the socket exists at once.
    sockets.IPAddr = QStringLiteral("127.0.0.1");
    sockets.Port = listener.port();
    sockets.SConnect();
    EXPECT_GE(sockets.socketHandle(), 0);
    ASSERT_TRUE(waitUntil([&] { return seen.connected.size() == 1; }));
    sockets.Disconnect();

    // A host name returns to the caller before it is resolved; a frame sent meanwhile waits
    // for the connection instead of being lost.
    sockets.IPAddr = QStringLiteral("localhost");
    sockets.SConnect();
    EXPECT_TRUE(sockets.resolving());
    EXPECT_TRUE(sockets.active());
    EXPECT_EQ(sockets.SSend(QByteArrayLiteral("early")), 5);
    ASSERT_TRUE(waitUntil([&] { return listener.bytes == QByteArrayLiteral("early"); }));
    EXPECT_EQ(seen.connected.size(), 2);
    EXPECT_EQ(sockets.PeerAddress(sockets.socketHandle()), QStringLiteral("127.0.0.1"));

    // Disconnecting during a look-up means no connection and no report later, and closes
    // nothing that is not there.
    const int peersBefore = int(listener.peers().size());
    sockets.SConnect();
    sockets.Disconnect();
    EXPECT_FALSE(sockets.active());
    spinEvents(500);
    EXPECT_EQ(int(listener.peers().size()), peersBefore);
    EXPECT_EQ(seen.connected.size(), 2);

    // A name that does not resolve brings the same box as ever, then says so once.
    sockets.IPAddr = QStringLiteral("no-such-host.invalid");
    sockets.SConnect();
    ASSERT_TRUE(waitUntil([&] { return lookupsFailed > 0; }, 30000));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Cannot convert host address")});
    EXPECT_FALSE(sockets.active());
    EXPECT_TRUE(seen.errors.isEmpty());
    EXPECT_EQ(lookupsFailed, 1);
}
