// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "support/ManualClock.h"
#include "support/TestDialogs.h"
#include "support/TncSim.h"
#include "support/Wait.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// The link on COM4, which stands for the simulated TNC's terminal.
struct SimLink {
    TncSim sim;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};

    SimLink(bool kiss, const QStringList& options) : sim(options) {
        LinkSettings settings;
        settings.UseKISS = kiss;
        settings.Host = !kiss;
        settings.ComPort = 4;
        settings.ComDevices[3] = sim.path();
        link.setLinkSettings(settings);
        link.setTncInterval(TestTncWaitMs);
        StationSettings station;
        station.MyCall = QStringLiteral("N0CALL-7");
        station.Destination = QStringLiteral("APRS");
        station.Ports = QStringLiteral("1100");
        station.applyPortsText();
        station.UnprotoPath = QStringLiteral("RELAY, WIDE2-2");
        link.setStation(station);
    }
};

} // namespace

TEST(LinkTncSim, KissFramesReachBothPortsWithAddressesPathAndInformation) {
    SimLink s(true, {QStringLiteral("--kiss")});
    ASSERT_TRUE(s.sim.running());
    ASSERT_TRUE(s.link.connectLink());
    EXPECT_EQ(s.link.statusText(), QStringLiteral("Connected to KISS TNC."));
    s.link.sendReport(kInfo, QStringLiteral("WX"));
    const QString line = QStringLiteral("N0CALL-7>WX,RELAY,WIDE2-2:") + kInfo;
    EXPECT_EQ(s.sim.frames(2), (QStringList{line, QStringLiteral("[1] ") + line}));
    EXPECT_TRUE(s.dialogs.shown.isEmpty());
}

TEST(LinkTncSim, TncThatTalksIsNotInKissMode) {
    // One still in command mode, and one in KISS mode that chatters.
    for (const QStringList& options :
         {QStringList{}, QStringList{QStringLiteral("--kiss"), QStringLiteral("--chatter")}}) {
        SimLink s(true, options);
        ASSERT_TRUE(s.sim.running());
        EXPECT_FALSE(s.link.connectLink());
        EXPECT_EQ(s.dialogs.texts(), QStringList{QStringLiteral("The TNC is not in Kiss Mode.")});
        EXPECT_EQ(s.link.statusText(), QStringLiteral("Not Connected"));
    }
}

TEST(LinkTncSim, CommandModeTncSendsTheTypedReport) {
    SimLink s(false, {});
    ASSERT_TRUE(s.sim.running());
    ASSERT_TRUE(s.link.connectLink());
    EXPECT_EQ(s.link.statusText(), QStringLiteral("Connected to TNC"));
    // The weather destination is not used here: the TNC sends to its UNPROTO destination.
    s.link.sendReport(kInfo, QStringLiteral("WX"));
    s.link.sendReport(kInfo + QStringLiteral(" again"), QStringLiteral("WX"));
    const QString line = QStringLiteral("N0CALL-7>APRS,RELAY,WIDE2-2:") + kInfo;
    EXPECT_EQ(s.sim.frames(2), (QStringList{line, line + QStringLiteral(" again")}));
    EXPECT_EQ(s.clock.pauses, (QList<int>{500, 500, 500, 500}));
    EXPECT_TRUE(s.dialogs.shown.isEmpty());
}

TEST(LinkTncSim, SilentOrLateTncIsNotConnected) {
    for (const char* option : {"--silent", "--late-prompt"}) {
        SimLink s(false, {QString::fromLatin1(option)});
        ASSERT_TRUE(s.sim.running());
        EXPECT_FALSE(s.link.connectLink()) << option;
        EXPECT_EQ(s.dialogs.texts(), QStringList{QStringLiteral("Unable to connect to TNC.")});
        EXPECT_FALSE(s.link.isConnected());
        EXPECT_EQ(s.link.layout(), LinkLayout{});
    }
}

// Unplugged mid-session, it is noticed when it goes, not at the next report; the reports
// meanwhile are recorded as not sent, with no box. Plugged in again behind the same path
// (as a symlink or a /dev/serial/by-id name gives it), it is reopened by itself: first in
// command mode, which the silence check hears, then in KISS mode, which gets the report.
TEST(LinkTncSim, ATncUnpluggedAndPluggedInAgainBehindItsPathComesBackByItself) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tnc"));
    const QString kiss = QStringLiteral("--kiss");
    const QString link = QStringLiteral("--link");
    auto sim = std::make_unique<TncSim>(QStringList{kiss, link, path});
    ASSERT_TRUE(sim->running());
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl control(dialogs, clock);
    LinkSettings settings;
    settings.UseKISS = true;
    settings.ComPort = 4;
    settings.ComDevices[3] = path;
    control.setLinkSettings(settings);
    control.setTncInterval(TestTncWaitMs);
    control.setRetryIntervals(100, 400, 50);
    StationSettings station;
    station.MyCall = QStringLiteral("N0CALL-7");
    control.setStation(station);
    QList<SentRecord> records;
    QObject::connect(&control, &LinkControl::frameRecorded,
                     [&](const SentRecord& r) { records << r; });
    int stopped = 0;
    QObject::connect(&control, &LinkControl::beaconsStopped, [&] { ++stopped; });
    ASSERT_TRUE(control.connectLink());
    EXPECT_EQ(control.stateText(), "Connected to " + path);

    sim->kill();
    ASSERT_TRUE(waitUntil([&] { return control.reconnecting(); }, 3000));
    EXPECT_EQ(control.stateText(), "Waiting for " + path + " to come back");
    EXPECT_NE(control.statusText(), QStringLiteral("Connected to KISS TNC."));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(control.sendReport(kInfo, QStringLiteral("APRS")));
    ASSERT_EQ(records.size(), 3);
    EXPECT_FALSE(records[2].sent);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();

    // Back at the same path but in command mode: the silence check must hear its answer.
    sim = std::make_unique<TncSim>(QStringList{link, path});
    ASSERT_TRUE(sim->running());
    ASSERT_TRUE(waitUntil(
        [&] { return control.lossReason() == QStringLiteral("The TNC is not in Kiss Mode."); },
        5000))
        << control.stateText().toStdString();
    EXPECT_FALSE(control.isConnected());

    // Switched to KISS: the link comes back with no click, and the report reaches it.
    sim.reset();
    sim = std::make_unique<TncSim>(QStringList{kiss, link, path});
    ASSERT_TRUE(sim->running());
    ASSERT_TRUE(waitUntil([&] { return control.isConnected(); }, 5000))
        << control.stateText().toStdString();
    EXPECT_TRUE(control.sendReport(kInfo, QStringLiteral("APRS")));
    EXPECT_EQ(sim->frames(1), QStringList{QStringLiteral("N0CALL-7>APRS:") + kInfo});
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(stopped, 0);
}
