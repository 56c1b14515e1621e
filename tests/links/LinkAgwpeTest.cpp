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

TEST(LinkAgwpe, EngineClosingMidSessionTakesTheErrorPathOnce) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    engine.peers().first()->close();
    ASSERT_TRUE(waitUntil([&] { return !l.dialogs.shown.isEmpty(); }));
    spinEvents(100);
    ASSERT_EQ(l.dialogs.shown.size(), 1);
    EXPECT_TRUE(l.dialogs.shown.first().text.startsWith(
        QStringLiteral("AGWPE Connection error reported with the message:\r\n")));
    EXPECT_FALSE(l.link.isConnected());
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
    // A send after the link dropped writes nothing and reports nothing more.
    l.link.sendReport(kInfo, QStringLiteral("CQ"));
    l.waitIdle();
    EXPECT_EQ(l.dialogs.shown.size(), 1);
    EXPECT_TRUE(engine.frames.isEmpty());
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

TEST(LinkAgwpe, ReconnectToAHostThatNoLongerResolvesDropsTheLinkOnce) {
    PacketEngine engine;
    AgwpeLink l(engine.port());
    ASSERT_TRUE(l.connectAndWait(engine, 1));
    l.link.sockets().IPAddr = QStringLiteral("no-such-host.invalid");
    l.link.ConnectedTest();
    ASSERT_TRUE(waitUntil([&] { return !l.dialogs.shown.isEmpty(); }, 30000));
    EXPECT_EQ(l.dialogs.texts(), QStringList{QStringLiteral("Cannot convert host address")});
    EXPECT_FALSE(l.link.isConnected());
    EXPECT_EQ(l.link.statusText(), QStringLiteral("Not Connected"));
    EXPECT_FALSE(l.link.connectedTimer().isActive());
    l.link.ConnectedTest();
    EXPECT_EQ(l.dialogs.shown.size(), 1);
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
    l.setPorts(QStringLiteral("1000"));
    QStringList sent;
    int reconnects = 0;
    for (int i = 0; i < 200; ++i) {
        if (!l.link.isConnected()) {
            ASSERT_TRUE(l.connectAndWait(engine, engine.connections() + 1)) << "send " << i;
            ++reconnects;
        }
        const QString info = kInfo + QStringLiteral(" #%1").arg(i);
        sent << info;
        const int dropsBefore = engine.drops();
        l.link.sendReport(info, QStringLiteral("CQ"));
        l.waitIdle();
        // Each frame reaches the engine; when it made the engine drop the connection, the link
        // notices that before the next send (however slowly a loaded machine gets there).
        ASSERT_TRUE(waitUntil([&] { return engine.frames.size() == i + 1; })) << "send " << i;
        if (engine.drops() > dropsBefore) {
            ASSERT_TRUE(waitUntil([&] { return !l.link.isConnected(); })) << "send " << i;
        }
    }
    spinEvents(300);

    // Every drop was reported once, and every report led to one reconnect.
    EXPECT_EQ(engine.drops(), 10);
    EXPECT_EQ(engine.connections(), 10);
    EXPECT_EQ(reconnects, 10);
    EXPECT_EQ(l.dialogs.shown.size(), 10);
    for (const auto& shown : l.dialogs.shown)
        EXPECT_TRUE(shown.text.startsWith(
            QStringLiteral("AGWPE Connection error reported with the message:\r\n")));

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
