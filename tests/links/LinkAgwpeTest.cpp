// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "links/AgwpeFrame.h"
#include "links/SentLog.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

struct AgwpeLink {
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    QList<bool> busyChanges;
    int beaconsStopped = 0;

    explicit AgwpeLink(const QString& port) {
        LinkSettings settings;
        settings.IPAddr = QStringLiteral("127.0.0.1");
        settings.TCPPort = port;
        link.setLinkSettings(settings);
        link.setBusyInterval(50);
        QObject::connect(&link, &LinkControl::busyChanged, [this](bool b) { busyChanges << b; });
        QObject::connect(&link, &LinkControl::beaconsStopped, [this] { ++beaconsStopped; });
    }
    void setPorts(const QString& ports, const QString& path = {}) {
        StationSettings station;
        station.Ports = ports;
        station.applyPortsText();
        station.UnprotoPath = path;
        link.setStation(station);
    }
    bool connectAndWait(PacketEngine& engine, int connections) {
        link.connectLink();
        return waitUntil([&] { return link.isConnected() && engine.connections() >= connections; });
    }
    void waitIdle() {
        waitUntil([&] { return !link.isBusy(); });
    }
};

QByteArray header(quint8 portByte, char kind, const char* from, const char* to, quint32 length) {
    QByteArray h(36, '\0');
    h[0] = char(portByte);
    h[4] = kind;
    h[6] = char(0xF0);
    h.replace(8, int(qstrlen(from)), from);
    h.replace(18, int(qstrlen(to)), to);
    h[28] = char(length & 0xFF);
    h[29] = char((length >> 8) & 0xFF);
    return h;
}

} // namespace

TEST(LinkAgwpe, ConnectShowsTheConnectedLayoutAndThePeer) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
    ASSERT_TRUE(l.link.connectLink());
    // The buttons change at once; the connection itself completes later.
    EXPECT_EQ(l.link.layout().offersDisconnect, true);
    EXPECT_FALSE(l.link.layout().connectEnabled);
    EXPECT_TRUE(l.link.layout().disconnectEnabled);
    EXPECT_TRUE(l.link.layout().sendEnabled);
    EXPECT_FALSE(l.link.isConnected());
    ASSERT_TRUE(waitUntil([&] { return l.link.isConnected(); }));
    EXPECT_EQ(l.link.statusText(),
              QStringLiteral("Connected to IP: 127.0.0.1 on port ") + engine.port());
    EXPECT_TRUE(l.link.connectedTimer().isActive());
    EXPECT_EQ(l.link.connectedTimer().interval(), 15000);

    l.link.disconnectLink();
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
    EXPECT_EQ(l.link.layout(), LinkLayout{});
    EXPECT_FALSE(l.link.connectedTimer().isActive());
    EXPECT_EQ(l.beaconsStopped, 1);
    ASSERT_TRUE(waitUntil(
        [&] { return engine.peers().first()->state() == QAbstractSocket::UnconnectedState; }));
}

// An engine that listens on IPv6 only is reached by its address, written plain or in brackets.
TEST(LinkAgwpe, AnEngineOnIpv6OnlyIsReachedByItsAddress) {
    for (const char* address : {"::1", "[::1]"}) {
        PacketEngine engine(QHostAddress(QHostAddress::LocalHostIPv6));
        AgwpeLink l(engine.port());
        LinkSettings settings = l.link.linkSettings();
        settings.IPAddr = QLatin1String(address);
        l.link.setLinkSettings(settings);
        l.setPorts(QStringLiteral("1000"));
        ASSERT_TRUE(l.connectAndWait(engine, 1)) << address;
        EXPECT_EQ(l.link.statusText(),
                  QStringLiteral("Connected to IP: ::1 on port ") + engine.port());
        l.link.sendReport(kInfo, QStringLiteral("CQ"));
        ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == 1; })) << address;
        EXPECT_EQ(engine.frames[0].info, kInfo.toLatin1());
        l.link.disconnectLink();
    }
}

TEST(LinkAgwpe, FramesArriveByteForByte) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    l.setPorts(QStringLiteral("1000"));
    ASSERT_TRUE(l.connectAndWait(engine, 1));

    l.link.sendReport(kInfo, QStringLiteral("CQ"));
    l.waitIdle();
    l.setPorts(QStringLiteral("0001"), QStringLiteral("RELAY, WIDE"));
    l.link.sendReport(kInfo, QStringLiteral("WX"));
    ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == 2; }));

    const QByteArray info = kInfo.toLatin1();
    EXPECT_EQ(engine.frames[0].bytes,
              header(0, 'M', "NOCALL-1", "CQ", quint32(info.size())) + info);
    QByteArray via("\x02", 1);
    via += QByteArray("RELAY\0\0\0\0\0", 10) + QByteArray("WIDE\0\0\0\0\0\0", 10);
    EXPECT_EQ(engine.frames[1].bytes,
              header(3, 'V', "NOCALL-1", "WX", quint32(via.size() + info.size())) + via + info);
    EXPECT_TRUE(engine.partial.isEmpty());
}

TEST(LinkAgwpe, SentLogRecordsEachPortAndRefusalsAndAFolderThatCannotBeWrittenOnce) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    QTemporaryDir dir;
    // A file where the log's folder should be: nothing can be created under it.
    QFile blocker(dir.filePath("state"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    l.link.setSentLogFolder(dir.filePath("state/sent"));
    l.setPorts(QStringLiteral("1010"), QStringLiteral("RELAY, WIDE"));
    ASSERT_TRUE(l.connectAndWait(engine, 1));

    for (int i = 0; i < 2; ++i) {
        l.link.sendReport(kInfo, QStringLiteral("CQ"), {2, QStringLiteral("ABC")});
        l.waitIdle();
    }
    ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == 4; }));
    EXPECT_EQ(l.dialogs.texts(),
              QStringList{QStringLiteral("Unable to write to ") + dir.filePath("state/sent")});

    l.dialogs.clear();
    l.link.setSentLogFolder(dir.filePath("sent"));
    l.link.sendReport(kInfo, QStringLiteral("CQ"), {2, QStringLiteral("ABC")});
    l.waitIdle();
    l.setPorts(QStringLiteral("1000"), QStringLiteral("FARTOOLONGNAME"));
    l.link.sendReport(kInfo, QStringLiteral("CQ"), {3, QStringLiteral("XYZ")});
    ASSERT_EQ(l.dialogs.texts().size(), 1);

    const QList<SentRecord> day = SentLog(dir.filePath("sent")).readDay(QDate(2026, 3, 6));
    ASSERT_EQ(day.size(), 3);
    const QString monitor = QStringLiteral("NOCALL-1>CQ,RELAY,WIDE:") + kInfo;
    // Two flags, four addresses of 7 bytes, control and PID, the information, frame check.
    const int bytes = 2 + 28 + 2 + int(kInfo.size()) + 2;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(day[i].link, i == 0 ? "AGWPE port 1" : "AGWPE port 3");
        EXPECT_EQ(day[i].monitor, monitor);
        EXPECT_EQ(day[i].bytes, bytes);
        EXPECT_EQ(day[i].slot, 2);
        EXPECT_EQ(day[i].identifier, "ABC");
        EXPECT_TRUE(day[i].sent);
        EXPECT_EQ(day[i].utc, l.clock.nowUtc());
    }
    // Refused before any frame: one record, failed, with the words the operator was shown.
    EXPECT_FALSE(day[2].sent);
    EXPECT_EQ(day[2].slot, 3);
    EXPECT_EQ(day[2].message, l.dialogs.texts().value(0));
    EXPECT_EQ(engine.frames.size(), 6);
}

TEST(LinkAgwpe, SecondPortWaitsForTheFirstFramesBusyPeriod) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    // Long enough that a loaded machine's scheduling delays cannot blur one busy period.
    l.link.setBusyInterval(600);
    l.setPorts(QStringLiteral("1010"));
    ASSERT_TRUE(l.connectAndWait(engine, 1));

    QElapsedTimer elapsed;
    elapsed.start();
    l.link.sendReport(kInfo, QStringLiteral("CQ"));
    // The send returns once the last frame is written; its busy period is still running.
    EXPECT_GE(elapsed.elapsed(), 550);
    EXPECT_TRUE(l.link.isBusy());
    ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == 2; }));
    const auto frames = engine.frames;
    EXPECT_EQ(frames[0].portByte, 0);
    EXPECT_EQ(frames[1].portByte, 2);
    EXPECT_GE(engine.frames[1].atMs - engine.frames[0].atMs, 400);
    l.waitIdle();
    EXPECT_EQ(l.busyChanges, (QList<bool>{true, false, true, false}));

    // No port enabled: nothing written, no busy period.
    l.busyChanges.clear();
    l.setPorts(QStringLiteral("0000"));
    l.link.sendReport(kInfo, QStringLiteral("CQ"));
    ASSERT_TRUE(engine.sync(l.link));
    EXPECT_EQ(engine.frames.size(), 2);
    EXPECT_TRUE(l.busyChanges.isEmpty());
}

TEST(LinkAgwpe, RefusedConnectionShowsTheErrorAndDisconnects) {
    AgwpeLink l(PacketEngine::closedPort());
    ASSERT_TRUE(l.link.connectLink());
    ASSERT_TRUE(waitUntil([&] { return !l.dialogs.shown.isEmpty(); }));
    spinEvents(100);
    ASSERT_EQ(l.dialogs.shown.size(), 1);
    EXPECT_EQ(l.dialogs.shown.first().kind, QStringLiteral("error"));
    EXPECT_EQ(l.dialogs.shown.first().text,
              QStringLiteral("AGWPE Connection error reported with the message:\r\n"
                             "Connection refused"));
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
    EXPECT_EQ(l.link.layout(), LinkLayout{});
    EXPECT_FALSE(l.link.isConnected());
    EXPECT_EQ(l.link.sockets().socketHandle(), -1);
    EXPECT_EQ(l.beaconsStopped, 1);
}

TEST(LinkAgwpe, AddressMistakesLeaveTheLinkDisconnected) {
    AgwpeLink l(QString{});
    EXPECT_FALSE(l.link.connectLink());
    EXPECT_EQ(l.dialogs.texts(), QStringList{QStringLiteral("No Port Specified")});
    EXPECT_EQ(l.link.layout(), LinkLayout{});
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
}

// An engine that goes away and comes back on its port: no box, nothing stopped, the reports
// meanwhile recorded as not sent, and the link back by itself within its back-off.
TEST(LinkAgwpe, AnEngineThatRestartsIsReconnectedByItselfWithNoBox) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    l.link.setRetryIntervals(40, 160, 40);
    QTemporaryDir dir;
    l.link.setSentLogFolder(dir.path());
    QList<SentRecord> records;
    QObject::connect(&l.link, &LinkControl::frameRecorded,
                     [&](const SentRecord& r) { records << r; });
    int ups = 0;
    QObject::connect(&l.link, &LinkControl::linkUp, [&] { ++ups; });
    QStringList states;
    QObject::connect(&l.link, &LinkControl::stateChanged,
                     [&](const QString& text) { states << text; });
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    EXPECT_EQ(l.link.stateText(), "Connected to 127.0.0.1:" + engine.port());
    const QString port = engine.port();

    engine.stop();
    ASSERT_TRUE(waitUntil([&] { return l.link.reconnecting(); }));
    EXPECT_FALSE(l.link.isConnected());
    EXPECT_TRUE(l.link.layout().sendEnabled);
    EXPECT_TRUE(l.link.layout().disconnectEnabled);
    EXPECT_TRUE(l.link.stateText().startsWith("Reconnecting to 127.0.0.1:" + port + " in "))
        << l.link.stateText().toStdString();
    EXPECT_FALSE(l.link.sendReport(kInfo, QStringLiteral("CQ")));
    ASSERT_EQ(records.size(), 1);
    EXPECT_FALSE(records[0].sent);
    EXPECT_TRUE(records[0].message.startsWith("link down: ")) << records[0].message.toStdString();
    // Refused attempts while it is away double the wait; none asks anything.
    spinEvents(400);
    EXPECT_TRUE(l.link.reconnecting());
    EXPECT_TRUE(states.last().contains("(Connection refused)")) << states.last().toStdString();

    ASSERT_TRUE(engine.restart());
    ASSERT_TRUE(waitUntil([&] { return l.link.isConnected(); }, 3000));
    EXPECT_EQ(ups, 2);
    EXPECT_EQ(l.beaconsStopped, 0);
    EXPECT_TRUE(l.dialogs.shown.isEmpty()) << l.dialogs.texts().join('|').toStdString();
    EXPECT_TRUE(l.link.sendReport(kInfo, QStringLiteral("CQ")));
    ASSERT_TRUE(engine.waitForFrames(1));
    // The day file has the report that could not go.
    const QList<SentRecord> day = l.link.sentLog()->readDay(l.clock.nowUtc().date());
    ASSERT_EQ(day.size(), 2);
    EXPECT_FALSE(day[0].sent);
    EXPECT_TRUE(day[1].sent);

    // The user's Disconnect is no loss: nothing comes back.
    l.link.disconnectLink();
    EXPECT_EQ(l.beaconsStopped, 1);
    EXPECT_FALSE(l.link.reconnecting());
    EXPECT_FALSE(l.link.retryTimer().isActive());
    EXPECT_EQ(l.link.stateText(), "Not connected");
}

// An outage of hours: attempts at most once per longest wait, one status line each, no box,
// and nothing piling up.
TEST(LinkAgwpe, ALongOutageKeepsItsAttemptsSpacedAndQuiet) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    l.link.setRetryIntervals(10, 80, 10);
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    engine.stop();
    int lines = 0;
    QObject::connect(&l.link, &LinkControl::statusChanged, [&] { ++lines; });
    QElapsedTimer elapsed;
    elapsed.start();
    QList<qint64> attempts;
    QObject::connect(&l.link.retryTimer(), &QTimer::timeout,
                     [&] { attempts << elapsed.elapsed(); });
    spinEvents(1200);
    ASSERT_GE(attempts.size(), 5);
    // 10, 20, 40, 80, 80, ... ms apart: never closer than the longest wait once it is reached.
    for (qsizetype i = 5; i < attempts.size(); ++i)
        EXPECT_GE(attempts[i] - attempts[i - 1], 70) << i;
    EXPECT_LE(lines, attempts.size() + 1);
    EXPECT_TRUE(l.dialogs.shown.isEmpty());
    EXPECT_EQ(l.link.sockets().pendingOutput(), 0);
    EXPECT_EQ(l.beaconsStopped, 0);
}
TEST(LinkAgwpe, IdleLinkReconnectsButNeverDuringABusyPeriod) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    l.link.setBusyInterval(60000);
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    l.link.ConnectedTest();
    ASSERT_TRUE(waitUntil([&] { return engine.connections() == 2 && l.link.isConnected(); }));
    ASSERT_TRUE(waitUntil(
        [&] { return engine.peers().first()->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(l.dialogs.shown.isEmpty());

    // A frame's busy period is running: the connection stays as it is.
    l.link.sendReport(kInfo, QStringLiteral("CQ"));
    ASSERT_TRUE(l.link.isBusy());
    l.link.ConnectedTest();
    // A reconnect would carry this frame on a connection of its own.
    ASSERT_TRUE(engine.sync(l.link));
    EXPECT_EQ(engine.connections(), 2);
    EXPECT_EQ(engine.peers().last()->state(), QAbstractSocket::ConnectedState);
    ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == 1; }));

    l.link.BusyTimed();
    EXPECT_FALSE(l.link.isBusy());
    l.link.ConnectedTest();
    ASSERT_TRUE(waitUntil([&] { return engine.connections() == 3; }));

    // Disconnected by the user: the check does nothing.
    l.link.disconnectLink();
    l.link.ConnectedTest();
    spinEvents(200);
    EXPECT_EQ(engine.connections(), 3);
}

TEST(LinkAgwpe, AHostThatNoLongerResolvesIsRetriedWithoutABox) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    l.link.setRetryIntervals(60000, 60000, 60000);
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    l.link.sockets().IPAddr = QStringLiteral("no-such-host.invalid");
    l.link.ConnectedTest();
    ASSERT_TRUE(waitUntil([&] { return l.link.reconnecting(); }, 30000));
    EXPECT_TRUE(l.dialogs.shown.isEmpty()) << l.dialogs.texts().join('|').toStdString();
    EXPECT_FALSE(l.link.isConnected());
    EXPECT_TRUE(l.link.stateText().endsWith("(host no-such-host.invalid not found)"))
        << l.link.stateText().toStdString();
    EXPECT_FALSE(l.link.connectedTimer().isActive());
    // The user asks at once: the settings' own address is tried, and it answers.
    l.link.connectLink();
    ASSERT_TRUE(waitUntil([&] { return l.link.isConnected(); }));
    EXPECT_EQ(l.beaconsStopped, 0);
}
TEST(LinkAgwpe, DisconnectingWhileTheConnectIsUnderwayStaysDisconnected) {
    // Also while the host name is still being looked up.
    for (const char* host : {"127.0.0.1", "localhost"}) {
        PacketEngine engine;
        AgwpeLink l(engine.port());
        LinkSettings settings = l.link.linkSettings();
        settings.IPAddr = QString::fromLatin1(host);
        l.link.setLinkSettings(settings);
        l.link.connectLink();
        l.link.disconnectLink();
        spinEvents(300);
        EXPECT_FALSE(l.link.isConnected()) << host;
        EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
        EXPECT_FALSE(l.link.connectedTimer().isActive());
        EXPECT_TRUE(l.dialogs.shown.isEmpty());
    }
}

TEST(LinkAgwpe, TwoHundredSendsThroughRepeatedDropsLoseNoFrameIntegrity) {
    PacketEngine engine;
    engine.closeAfter(20);
    AgwpeLink l(engine.port());
    l.link.setBusyInterval(1);
    l.link.setRetryIntervals(5, 20, 5);
    l.setPorts(QStringLiteral("1000"));
    QStringList sent;
    int reconnects = -1;
    QObject::connect(&l.link, &LinkControl::linkUp, [&] { ++reconnects; });
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    for (int i = 0; i < 200; ++i) {
        // The link comes back by itself after each drop.
        ASSERT_TRUE(waitUntil([&] { return l.link.isConnected(); })) << "send " << i;
        const QString info = kInfo + QStringLiteral(" #%1").arg(i);
        sent << info;
        const int dropsBefore = engine.drops();
        l.link.sendReport(info, QStringLiteral("CQ"));
        l.waitIdle();
        // Each frame reaches the engine; when it made the engine drop the connection, the link
        // is back before the next send (however slowly a loaded machine gets there).
        ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == i + 1; })) << "send " << i;
        if (engine.drops() > dropsBefore) {
            ASSERT_TRUE(waitUntil([&] { return reconnects == engine.drops(); })) << "send " << i;
        }
    }
    spinEvents(300);

    // Every drop led to one reconnect, with no box.
    EXPECT_EQ(engine.drops(), 10);
    EXPECT_EQ(engine.connections(), 11);
    EXPECT_EQ(reconnects, 10);
    EXPECT_TRUE(l.dialogs.shown.isEmpty());

    // What arrived is whole, in order and exactly what was sent.
    const auto frames = engine.frames;
    ASSERT_EQ(frames.size(), 200);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(frames[i].kind, 'M');
        EXPECT_EQ(frames[i].callFrom, QStringLiteral("NOCALL-1"));
        EXPECT_EQ(frames[i].callTo, QStringLiteral("CQ"));
        EXPECT_EQ(QString::fromLatin1(frames[i].info), sent[i]);
    }
    EXPECT_TRUE(engine.partial.isEmpty());
}
