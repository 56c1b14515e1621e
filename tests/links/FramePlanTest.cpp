// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/FramePlan.h"

#include "links/LinkControl.h"
#include "support/ManualClock.h"
#include "support/PacketEngine.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

StationSettings station(const char* ports, const char* path) {
    StationSettings s;
    s.MyCall = QStringLiteral("G4ABC-1");
    s.Destination = QStringLiteral("APRS");
    s.UnprotoPath = QString::fromLatin1(path);
    for (int i = 0; i < 4; ++i)
        s.PortFlags[size_t(i)] = ports[i] == '1';
    return s;
}

LinkSettings tnc() {
    LinkSettings l;
    l.SendPacCode = 0x0D;
    l.CommandCode = 0x03;
    return l;
}

} // namespace

TEST(FramePlan, PortsRefusalsAndTheFrameOfEachLink) {
    struct Row {
        LinkType type;
        const char* ports;
        const char* path;
        QString info;
        QStringList links;
        QString monitor; // empty: refused, or not an AX.25 frame
        const char* refusal;
    };
    const QString monitor = QStringLiteral("G4ABC-1>CQ,WIDE1-1:") + kInfo;
    const Row rows[] = {
        {LinkType::Agwpe, "1010", "WIDE1-1", kInfo, {"AGWPE port 1", "AGWPE port 3"}, monitor, ""},
        {LinkType::Agwpe, "0000", "WIDE1-1", kInfo, {}, monitor, ""},
        // The engine builds an AX.25 frame too: the KISS link's address rules hold.
        {LinkType::Agwpe, "1000", "ELEVENCHARS", kInfo, {}, {}, "too long"},
        {LinkType::Agwpe, "1000", "wide2-2", kInfo, {}, {}, "capital letters"},
        // KISS serves radio ports 1 and 2 only.
        {LinkType::Kiss, "1111", "WIDE1-1", kInfo, {"KISS port 1", "KISS port 2"}, monitor, ""},
        {LinkType::Kiss, "0100", "WIDE1-1", kInfo, {"KISS port 2"}, monitor, ""},
        {LinkType::Kiss, "1000", "WIDE2.2", kInfo, {}, {}, "WIDE2.2"},
        // The TNC sends to the station's destination, once, and refuses its own codes.
        {LinkType::Tnc,
         "0000",
         "WIDE1-1",
         kInfo,
         {"TNC"},
         QStringLiteral("G4ABC-1>APRS,WIDE1-1:") + kInfo,
         ""},
        {LinkType::Tnc, "1000", "WIDE1-1", kInfo + QChar(0x0D), {}, {}, "code"},
    };
    for (const Row& r : rows) {
        const FramePlan plan =
            planFrames(r.type, tnc(), station(r.ports, r.path), r.info, QStringLiteral("CQ"));
        const std::string where = std::string(r.ports) + " " + r.path;
        EXPECT_EQ(plan.links, r.links) << where;
        EXPECT_TRUE(plan.refusal.contains(QLatin1String(r.refusal))) << plan.refusal.toStdString();
        EXPECT_EQ(plan.refusal.isEmpty(), *r.refusal == 0) << where;
        if (r.monitor.isEmpty())
            continue;
        EXPECT_EQ(plan.monitor, r.monitor) << where;
        // Two flags, three addresses of 7 bytes, control and PID, information, frame check.
        EXPECT_EQ(plan.cost.bytes, 2 + 21 + 2 + int(r.info.size()) + 2) << where;
        EXPECT_DOUBLE_EQ(plan.airtimeTotal(), plan.cost.seconds * double(r.links.size()));
    }
}

// The plan is what the link then records of the frames it hands to the packet engine.
TEST(FramePlan, MatchesWhatTheLinkRecordsWhenItSends) {
    PacketEngine engine;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link(dialogs, clock);
    // The second port's frame waits for the first one's busy period.
    link.setBusyInterval(1);
    LinkSettings settings;
    settings.IPAddr = QStringLiteral("127.0.0.1");
    settings.TCPPort = engine.port();
    link.setLinkSettings(settings);
    const StationSettings s = station("0110", "RELAY,WIDE2-2");
    link.setStation(s);
    QList<SentRecord> records;
    QObject::connect(&link, &LinkControl::frameRecorded,
                     [&](const SentRecord& r) { records.append(r); });
    ASSERT_TRUE(link.connectLink());
    ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }));

    const FramePlan plan = planFrames(LinkType::Agwpe, settings, s, kInfo, QStringLiteral("CQ"));
    link.sendReport(kInfo, QStringLiteral("CQ"), {2, QStringLiteral("ABC")});
    ASSERT_TRUE(engine.waitForFrames(2));
    ASSERT_EQ(records.size(), plan.links.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].link, plan.links[i]);
        EXPECT_EQ(records[i].monitor, plan.monitor);
        EXPECT_EQ(records[i].bytes, plan.cost.bytes);
        EXPECT_DOUBLE_EQ(records[i].seconds, plan.cost.seconds);
    }
}

TEST(FramePlan, ChannelShareIsAirtimeOverIntervalOnEveryPort) {
    FramePlan one;
    one.links = QStringList{QStringLiteral("AGWPE port 1")};
    one.cost.seconds = 0.6;
    FramePlan two = one;
    two.links << QStringLiteral("AGWPE port 2");
    // 0.6 s every 10 minutes, twice 0.6 s every minute, and a stopped report.
    const double share = channelShare({{one, 10}, {two, 1}, {two, 0}});
    EXPECT_DOUBLE_EQ(share, 0.6 / 600 + 1.2 / 60);
    // Shown with a full stop under every desktop language (tables also run under de_DE).
    EXPECT_EQ(channelShareText(share), "Channel 2.1 %");
    EXPECT_EQ(channelShareText(0.6 / 600), "Channel 0.10 %");
    EXPECT_EQ(channelShareText(0), "Channel 0.00 %");
    EXPECT_EQ(channelShareText(0.00004), "Channel < 0.01 %");
}
