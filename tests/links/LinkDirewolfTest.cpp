// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "support/DecodeAprs.h"
#include "support/Direwolf.h"
#include "support/ManualClock.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

StationSettings station(const QString& path) {
    StationSettings s;
    s.MyCall = QStringLiteral("N0CALL-1");
    s.Destination = QStringLiteral("APRS");
    s.Ports = QStringLiteral("1000");
    s.applyPortsText();
    s.UnprotoPath = path;
    return s;
}

// A link of ours on a real Dire Wolf, started for each test; a test skips where the package
// is missing.
class LinkDirewolf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!direwolf.installed())
            GTEST_SKIP() << direwolf.error().toStdString();
        ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
    }

    // The link on Dire Wolf's AGW port, as `as`, once it is up.
    void connectAgw(const StationSettings& as) {
        link.setBusyInterval(100);
        LinkSettings settings;
        settings.IPAddr = QStringLiteral("127.0.0.1");
        settings.TCPPort = QString::number(direwolf.agwPort());
        link.setLinkSettings(settings);
        link.setStation(as);
        ASSERT_TRUE(link.connectLink());
        ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }));
    }

    Direwolf direwolf;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
};

} // namespace

TEST_F(LinkDirewolf, ReportsOverItsAgwPortGoOnTheAir) {
    ASSERT_NO_FATAL_FAILURE(connectAgw(station(QStringLiteral("RELAY, WIDE"))));

    // A 'V' frame through two digipeaters, then an 'M' frame to the weather destination.
    link.sendReport(kInfo, QStringLiteral("APRS"));
    waitUntil([&] { return !link.isBusy(); });
    link.setStation(station(QString()));
    link.sendReport(kInfo + QStringLiteral(" 2"), QStringLiteral("WX"));
    EXPECT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] N0CALL-1>APRS,RELAY,WIDE:") + kInfo +
                                    QLatin1Char('\n')))
        << direwolf.log().toStdString();
    EXPECT_TRUE(
        direwolf.waitForLog(QStringLiteral("[0L] N0CALL-1>WX:") + kInfo + QStringLiteral(" 2\n")))
        << direwolf.log().toStdString();
    EXPECT_FALSE(direwolf.log().contains(QStringLiteral("Failed to create frame")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    link.disconnectLink();
}

TEST_F(LinkDirewolf, ReportsThroughItsKissTerminalGoOnTheAir) {
    LinkSettings settings;
    settings.UseKISS = true;
    settings.ComPort = 5;
    settings.ComDevices[4] = direwolf.kissTerminal();
    link.setLinkSettings(settings);
    link.setTncInterval(TestTncWaitMs);
    link.setStation(station(QStringLiteral("RELAY, WIDE2-2")));

    // A real KISS TNC stays quiet when it is probed.
    ASSERT_TRUE(link.connectLink()) << dialogs.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(link.statusText(), QStringLiteral("Connected to KISS TNC."));
    link.sendReport(kInfo, QStringLiteral("APRS"));
    EXPECT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] N0CALL-1>APRS,RELAY,WIDE2-2:") + kInfo +
                                    QLatin1Char('\n')))
        << direwolf.log().toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Dire Wolf's KISS port over TCP: the frames we build reach the air, and a restart of the
// engine on the same port is survived with no click and no box.
TEST_F(LinkDirewolf, KissOverTcpGoesOnTheAirAndSurvivesARestart) {
    link.setRetryIntervals(200, 800, 200);
    LinkSettings settings;
    settings.setType(LinkType::KissTcp);
    settings.KissHost = QStringLiteral("127.0.0.1");
    settings.KissPort = QString::number(direwolf.kissPort());
    link.setLinkSettings(settings);
    link.setStation(station(QStringLiteral("RELAY, WIDE2-2")));
    ASSERT_TRUE(link.connectLink());
    ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }));
    EXPECT_EQ(link.stateText(), "Connected to 127.0.0.1:" + settings.KissPort);
    EXPECT_TRUE(link.sendReport(kInfo, QStringLiteral("APRS")));
    const QString line = QStringLiteral("[0L] N0CALL-1>APRS,RELAY,WIDE2-2:") + kInfo;
    ASSERT_TRUE(direwolf.waitForLog(line + QLatin1Char('\n'))) << direwolf.log().toStdString();

    ASSERT_TRUE(direwolf.restart()) << direwolf.error().toStdString();
    ASSERT_TRUE(waitUntil([&] { return link.reconnecting() || !link.isConnected(); }, 5000));
    ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }, 10000))
        << link.stateText().toStdString();
    EXPECT_TRUE(link.sendReport(kInfo + QStringLiteral(" 2"), QStringLiteral("APRS")));
    EXPECT_TRUE(direwolf.waitForLog(line + QStringLiteral(" 2\n"))) << direwolf.log().toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
}

// With "Send text as UTF-8" a comment goes on the air as UTF-8 bytes, which Dire Wolf's
// decoder reads back as the text typed; off, the same comment is the one Windows-1252 byte.
TEST_F(LinkDirewolf, AUtf8CommentDecodesAsTyped) {
    StationSettings utf8 = station(QString());
    utf8.Utf8Text = true;
    ASSERT_NO_FATAL_FAILURE(connectAgw(utf8));
    const QString info = kInfo + QStringLiteral(" Caf\u00e9");
    link.sendReport(info, QStringLiteral("APRS"));
    waitUntil([&] { return !link.isBusy(); });
    link.setStation(station(QString()));
    link.sendReport(info + QStringLiteral(" 2"), QStringLiteral("APRS"));
    // The log is read byte for byte: each byte one character.
    const QString onAir = QStringLiteral("N0CALL-1>APRS:") + QString::fromLatin1(info.toUtf8());
    ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] ") + onAir + QLatin1Char('\n')))
        << direwolf.log().toStdString();
    ASSERT_TRUE(direwolf.waitForLog(QStringLiteral("[0L] N0CALL-1>APRS:") +
                                    QString::fromLatin1(info.toLatin1()) + QStringLiteral(" 2\n")))
        << direwolf.log().toStdString();
    if (const QString why = decodeAprsMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QStringList blocks =
        decodeAprs({QString::fromUtf8(onAir.toLatin1())}, QStringLiteral("N0CALL-1"));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_TRUE(blocks[0].contains(QStringLiteral("Net tonight Caf\u00e9")))
        << blocks[0].toStdString();
}
