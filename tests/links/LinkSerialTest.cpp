// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "links/Ax25.h"
#include "links/Kiss.h"
#include "support/ManualClock.h"
#include "support/PtyPair.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <termios.h>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// A serial link whose COM2 is a pseudo-terminal with a scripted TNC on the other side.
struct SerialLink {
    PtyPair pty;
    ScriptedTnc tnc;
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    LinkSettings settings;
    int beaconsStopped = 0;
    int cursorDepth = 0;

    SerialLink(bool kiss, ScriptedTnc::Mode mode) : tnc(pty, mode) {
        settings.UseKISS = kiss;
        settings.Host = !kiss;
        settings.ComPort = 2;
        settings.ComDevices[1] = pty.path;
        link.setLinkSettings(settings);
        link.setTncInterval(TestTncWaitMs);
        StationSettings station;
        station.Ports = QStringLiteral("1100");
        station.applyPortsText();
        station.UnprotoPath = QStringLiteral("RELAY, WIDE");
        link.setStation(station);
        QObject::connect(&link, &LinkControl::beaconsStopped, [this] { ++beaconsStopped; });
        QObject::connect(&link, &LinkControl::waitCursorChanged,
                         [this](bool on) { cursorDepth += on ? 1 : -1; });
    }
    // What the TNC has been sent so far, once the event loop has handed it over.
    QByteArray sentToTnc(qsizetype atLeast) {
        waitUntil([&] { return tnc.received.size() >= atLeast; }, 3000);
        return tnc.received;
    }
};

QStringList monitorLines(const QByteArray& bytes, QList<int>* ports = nullptr) {
    KissDecoder decoder;
    QStringList lines;
    for (const auto& frame : decoder.feed(bytes)) {
        const auto parsed = parseAx25UiFrame(frame.body);
        lines << (parsed ? ax25MonitorText(*parsed) : QStringLiteral("(not a UI frame)"));
        if (ports)
            ports->append(frame.port());
    }
    return lines;
}

} // namespace

TEST(LinkSerial, KissTncThatKeepsQuietConnects) {
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    ASSERT_TRUE(s.link.connectLink());
    EXPECT_EQ(s.link.statusText(), QStringLiteral("Connected to KISS TNC."));
    EXPECT_TRUE(s.link.isConnected());
    EXPECT_TRUE(s.link.portOpened());
    EXPECT_EQ(s.link.layout().offersDisconnect, true);
    EXPECT_TRUE(s.link.layout().sendEnabled);
    EXPECT_EQ(s.cursorDepth, 0);
    EXPECT_TRUE(s.dialogs.shown.isEmpty());
    // The probe is the command code alone.
    EXPECT_EQ(s.sentToTnc(1), QByteArray("\x03"));

    // The default line settings (index 3, 8 data bits, RTS/CTS) reach the device.
    termios t{};
    ASSERT_EQ(tcgetattr(s.pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_EQ(t.c_cc[VEOF], 254);

    // Disconnecting stops the beacons and leaves the port open for the next connect.
    s.link.disconnectLink();
    EXPECT_EQ(s.beaconsStopped, 1);
    EXPECT_TRUE(s.link.serialPort().isOpen());
    EXPECT_EQ(s.link.statusText(), QStringLiteral("Not Connected"));
}

TEST(LinkSerial, AnUnknownSpeedIndexConnectsAt9600) {
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    s.settings.BaudRate = 42;
    s.settings.Flow = 0;
    s.link.setLinkSettings(s.settings);
    ASSERT_TRUE(s.link.connectLink());
    termios t{};
    ASSERT_EQ(tcgetattr(s.pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    EXPECT_FALSE(t.c_cflag & CRTSCTS);

    s.settings.BaudRate = 0;
    s.link.setLinkSettings(s.settings);
    ASSERT_TRUE(s.link.connectLink());
    ASSERT_EQ(tcgetattr(s.pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B1200));
}

TEST(LinkSerial, MissingDeviceCannotBeOpened) {
    QTemporaryDir dir;
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    s.settings.ComPort = 3;
    s.settings.ComDevices[2] = dir.filePath(QStringLiteral("ttyUSB9"));
    s.link.setLinkSettings(s.settings);
    EXPECT_FALSE(s.link.connectLink());
    EXPECT_EQ(s.dialogs.texts(), QStringList{QStringLiteral("Unable to open COM port (COM3)")});
    EXPECT_EQ(s.link.layout(), LinkLayout{});
    EXPECT_FALSE(s.link.portOpened());
    EXPECT_EQ(s.beaconsStopped, 1);
}

TEST(LinkSerial, KissReportGoesToBothTncPortsOneSecondApart) {
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    ASSERT_TRUE(s.link.connectLink());
    s.tnc.received.clear();
    s.link.sendReport(kInfo, QStringLiteral("CQ"));
    EXPECT_EQ(s.clock.pauses, QList<int>{1000});
    const QByteArray bytes = s.sentToTnc(2 * (2 + 30 + kInfo.size() + 1));
    QList<int> ports;
    const QString line = QStringLiteral("NOCALL-1>CQ,RELAY,WIDE:") + kInfo;
    EXPECT_EQ(monitorLines(bytes, &ports), (QStringList{line, line}));
    EXPECT_EQ(ports, (QList<int>{0, 1}));
    EXPECT_TRUE(bytes.startsWith(QByteArray("\xC0\x00", 2)));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\xC0")));
    EXPECT_TRUE(s.dialogs.shown.isEmpty());

    // Only radio port 2: nothing before the pause, then the TNC port 1 frame alone.
    StationSettings station = s.link.station();
    station.Ports = QStringLiteral("0101");
    station.applyPortsText();
    station.UnprotoPath.clear();
    s.link.setStation(station);
    s.tnc.received.clear();
    s.link.sendReport(kInfo, QStringLiteral("WX"));
    const QByteArray second = s.sentToTnc(2 + 14 + 2 + kInfo.size() + 1);
    EXPECT_TRUE(second.startsWith(QByteArray("\xC0\x10", 2)));
    EXPECT_EQ(monitorLines(second), QStringList{QStringLiteral("NOCALL-1>WX:") + kInfo});
    EXPECT_EQ(s.clock.pauses, (QList<int>{1000, 1000}));
}

TEST(LinkSerial, AReportTheFramesCannotCarryIsRefusedWhole) {
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    ASSERT_TRUE(s.link.connectLink());
    StationSettings station = s.link.station();
    station.UnprotoPath = QStringLiteral("RELAY-X");
    s.link.setStation(station);
    s.tnc.received.clear();
    s.link.sendReport(kInfo, QStringLiteral("CQ"));
    spinEvents(200);
    EXPECT_TRUE(s.tnc.received.isEmpty());
    ASSERT_EQ(s.dialogs.shown.size(), 1);
    EXPECT_EQ(s.dialogs.shown.first().kind, QStringLiteral("error"));
    EXPECT_TRUE(s.link.isConnected());
}

TEST(LinkSerial, CommandModeTncIsSetUpAtConnect) {
    SerialLink s(false, ScriptedTnc::Mode::Prompt);
    ASSERT_TRUE(s.link.connectLink());
    EXPECT_EQ(s.link.statusText(), QStringLiteral("Connected to TNC"));
    EXPECT_TRUE(s.link.isConnected());
    EXPECT_EQ(s.link.layout().offersDisconnect, true);
    EXPECT_EQ(s.cursorDepth, 0);
    EXPECT_TRUE(s.dialogs.shown.isEmpty());
    const QByteArray expected = QByteArrayLiteral("\x03\r\n"
                                                  "MYCALL NOCALL-1\r\n"
                                                  "UNPROTO CQ VIA RELAY, WIDE\r\n"
                                                  "CONOK OFF\r\n"
                                                  "BEACON EVERY 0\r\n");
    EXPECT_EQ(s.sentToTnc(expected.size()), expected);
}

TEST(LinkSerial, CommandModeReportIsTypedInConverseMode) {
    SerialLink s(false, ScriptedTnc::Mode::Prompt);
    ASSERT_TRUE(s.link.connectLink());
    waitUntil([&] { return s.tnc.received.endsWith("BEACON EVERY 0\r\n"); });
    s.tnc.received.clear();
    s.link.sendReport(kInfo, QStringLiteral("WX"));
    EXPECT_EQ(s.clock.pauses, (QList<int>{500, 500}));
    const QByteArray expected =
        QByteArrayLiteral("CONV\r") + kInfo.toLatin1() + QByteArrayLiteral("\r\x03");
    EXPECT_EQ(s.sentToTnc(expected.size()), expected);
    EXPECT_TRUE(s.dialogs.shown.isEmpty());
}

TEST(LinkSerial, ReceivedTextReplacesTheLastAndEchoesOnlyWhenAsked) {
    SerialLink s(true, ScriptedTnc::Mode::Silent);
    ASSERT_TRUE(s.link.connectLink());
    QStringList echoed;
    QObject::connect(&s.link, &LinkControl::terminalText, [&](const QString& t) { echoed << t; });
    s.pty.send(QByteArrayLiteral("first"));
    ASSERT_TRUE(waitUntil([&] { return s.link.lastReceived() == QStringLiteral("first"); }));
    s.link.setTerminalEcho(true);
    s.pty.send(QByteArrayLiteral("second"));
    ASSERT_TRUE(waitUntil([&] { return s.link.lastReceived() == QStringLiteral("second"); }));
    EXPECT_EQ(echoed, QStringList{QStringLiteral("second")});
}
