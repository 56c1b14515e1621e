// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/PtyPair.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

StationSettings stationWith(const QString& myCall, const QString& path) {
    StationSettings station;
    station.MyCall = myCall;
    station.Ports = QStringLiteral("1100");
    station.applyPortsText();
    station.UnprotoPath = path;
    return station;
}

struct AgwpeSide {
    PacketEngine engine;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};

    AgwpeSide() {
        LinkSettings settings;
        settings.IPAddr = QStringLiteral("127.0.0.1");
        settings.TCPPort = engine.port();
        link.setLinkSettings(settings);
        link.setBusyInterval(20);
    }
};

// COM2 is a pseudo-terminal with a scripted TNC on the other side.
struct SerialSide {
    PtyPair pty;
    ScriptedTnc tnc;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    int cursorDepth = 0;

    SerialSide(bool kiss, ScriptedTnc::Mode mode) : tnc(pty, mode) {
        LinkSettings settings;
        settings.UseKISS = kiss;
        settings.Host = !kiss;
        settings.ComPort = 2;
        settings.ComDevices[1] = pty.path;
        link.setLinkSettings(settings);
        link.setTncInterval(TestTncWaitMs);
        link.setStation(stationWith(QStringLiteral("NOCALL-1"), QStringLiteral("RELAY, WIDE")));
        QObject::connect(&link, &LinkControl::waitCursorChanged,
                         [this](bool on) { cursorDepth += on ? 1 : -1; });
    }
};

} // namespace

// Paths (and calls) a settings file can hold but no AX.25 frame can carry: the packet engine,
// or a TNC in command mode, would build that frame from them, so they are refused before any
// byte leaves, exactly as on a KISS link.
TEST(LinkRules, AnAddressTheFramesCannotCarryIsRefusedAlikeOnEveryLink) {
    struct Row {
        const char* myCall;
        const char* path;
        const char* message;
    };
    const Row rows[] = {
        {"NOCALL-1", "RELAY,,WIDE", "A callsign is empty."},
        {"NOCALL-1", "RELAY, ", "A callsign is empty."},
        {"NOCALL-1", "wide2-2",
         "\"wide2-2\" may hold only capital letters and digits before "
         "its SSID."},
        {"NOCALL-1", "WIDE2.2",
         "\"WIDE2.2\" is too long: a callsign has at most 6 characters before its SSID."},
        {"NOCALL-1", "WI.DE",
         "\"WI.DE\" may hold only capital letters and digits before its "
         "SSID."},
        {"NOCALL-1", "WIDE2-16", "The SSID of \"WIDE2-16\" is not a number from 0 to 15."},
        {"NOCALL-1", "WIDE2-X", "'X' is not a valid integer value"},
        {"NOCALL-1", "RELAY,WIDE,A,B,C,D,E,F,G",
         "The unproto path \"RELAY,WIDE,A,B,C,D,E,F,G\" names 9 digipeaters; at most 8 can be "
         "sent."},
        {"n0call-1", "",
         "\"n0call-1\" may hold only capital letters and digits before its "
         "SSID."},
    };

    AgwpeSide agwpe;
    agwpe.link.connectLink();
    ASSERT_TRUE(waitUntil([&] { return agwpe.link.isConnected(); }));
    SerialSide kiss(true, ScriptedTnc::Mode::Silent);
    ASSERT_TRUE(kiss.link.connectLink());
    kiss.tnc.received.clear();
    SerialSide tnc(false, ScriptedTnc::Mode::Prompt);
    ASSERT_TRUE(tnc.link.connectLink());
    spinEvents(50);
    tnc.tnc.received.clear();

    for (const Row& r : rows) {
        const StationSettings station = stationWith(QString::fromUtf8(r.myCall), r.path);
        const QStringList expected{QString::fromUtf8(r.message)};
        agwpe.dialogs.clear();
        agwpe.link.setStation(station);
        agwpe.link.sendReport(kInfo, QStringLiteral("CQ"));
        // Every frame sent before the engine's own sync frame is in once it is.
        ASSERT_TRUE(agwpe.engine.sync(agwpe.link)) << r.path;
        EXPECT_TRUE(agwpe.engine.frames.isEmpty()) << r.path;
        EXPECT_EQ(agwpe.dialogs.texts(), expected) << r.path;
        EXPECT_FALSE(agwpe.link.isBusy()) << r.path;

        for (SerialSide* serial : {&kiss, &tnc}) {
            serial->dialogs.clear();
            serial->link.setStation(station);
            serial->link.sendReport(kInfo, QStringLiteral("CQ"));
            spinEvents(50);
            EXPECT_TRUE(serial->tnc.received.isEmpty()) << r.path;
            EXPECT_EQ(serial->dialogs.texts(), expected) << r.path;
        }
    }
    // Still up, and a sendable path goes out on each.
    const StationSettings good = stationWith(QStringLiteral("NOCALL-1"), QStringLiteral("WIDE2-2"));
    agwpe.link.setStation(good);
    agwpe.link.sendReport(kInfo, QStringLiteral("CQ"));
    ASSERT_TRUE(agwpe.engine.waitForFrames(2));
    EXPECT_EQ(agwpe.engine.frames[0].via, QStringList{QStringLiteral("WIDE2-2")});
    kiss.link.setStation(good);
    kiss.link.sendReport(kInfo, QStringLiteral("CQ"));
    EXPECT_TRUE(waitUntil([&] { return kiss.tnc.received.endsWith('\xC0'); }));
    tnc.link.setStation(good);
    tnc.link.sendReport(kInfo, QStringLiteral("CQ"));
    EXPECT_TRUE(waitUntil([&] { return tnc.tnc.received.contains("Net tonight"); }));
}

// Choosing "&Communications..." or Station Setup, or closing the TNC terminal, disconnects;
// inside a connect's TNC wait that must win over the wait's end.
TEST(LinkRules, ADisconnectDuringTheTncWaitLeavesTheLinkDisconnected) {
    for (const bool kissLink : {true, false}) {
        SerialSide s(kissLink, kissLink ? ScriptedTnc::Mode::Silent : ScriptedTnc::Mode::Prompt);
        bool menusDuringWait = true;
        QTimer::singleShot(TestTncWaitMs / 4, [&] {
            menusDuringWait = s.link.layout().hostMenuEnabled;
            s.link.disconnectLink();
        });
        EXPECT_FALSE(s.link.connectLink()) << kissLink;
        EXPECT_FALSE(menusDuringWait) << kissLink;
        EXPECT_FALSE(s.link.isConnected()) << kissLink;
        EXPECT_EQ(s.link.layout(), LinkLayout{}) << kissLink;
        EXPECT_EQ(s.link.statusText(), QStringLiteral("Not Connected")) << kissLink;
        EXPECT_TRUE(s.dialogs.shown.isEmpty()) << kissLink;
        EXPECT_EQ(s.cursorDepth, 0) << kissLink;
        // A command-mode TNC is not set up for a link nobody wants any more.
        spinEvents(100);
        EXPECT_FALSE(s.tnc.received.contains("MYCALL")) << kissLink;

        // The next connect, left alone, completes and gives the menus back.
        ASSERT_TRUE(s.link.connectLink()) << kissLink;
        EXPECT_TRUE(s.link.isConnected()) << kissLink;
        EXPECT_TRUE(s.link.layout().hostMenuEnabled) << kissLink;
        EXPECT_EQ(s.cursorDepth, 0) << kissLink;
    }
}
