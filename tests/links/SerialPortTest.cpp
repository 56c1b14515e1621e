// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Serial/TSerialPort.h"

#include "links/LinkTestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>
#include <termios.h>

namespace {

// A port whose COM2 is the slave of a fresh pseudo-terminal.
struct PortOnPty {
    PtyPair pty;
    std::unique_ptr<TSerialPort> port = std::make_unique<TSerialPort>();
    QStringList received;

    PortOnPty() {
        std::array<QString, 8> devices;
        devices[1] = pty.path;
        port->setDeviceTable(devices);
        QObject::connect(port.get(), &TSerialPort::AfterReceive,
                         [this](const QString& text) { received << text; });
    }
};

} // namespace

TEST(SerialPort, WithoutAPortNothingIsWrittenAndMissingDevicesDoNotOpen) {
    QTemporaryDir dir;
    TSerialPort port;
    std::array<QString, 8> devices;
    devices[2] = dir.filePath(QStringLiteral("ttyGone"));
    devices[3] = dir.filePath(QStringLiteral("plain-file"));
    QFile plain(devices[3]);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    port.setDeviceTable(devices);

    int transmitted = 0;
    QObject::connect(&port, &TSerialPort::OnTransmit, [&] { ++transmitted; });
    EXPECT_FALSE(port.Write(QByteArrayLiteral("abc")));
    EXPECT_EQ(port.LastError(), 999);
    EXPECT_EQ(transmitted, 0);
    port.PurgeInput();
    EXPECT_EQ(port.LastError(), 999);
    EXPECT_FALSE(port.ApplySettings());
    EXPECT_EQ(port.LastError(), 999);

    EXPECT_FALSE(port.Open(2));
    EXPECT_NE(port.LastError(), 0);
    // A file that is no terminal is refused rather than written to as if it were a TNC.
    EXPECT_FALSE(port.Open(3));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.Open(8));
}

TEST(SerialPort, WritesWholeBlocksAndTellsBeforeAndAfter) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    QStringList events;
    QObject::connect(p.port.get(), &TSerialPort::OnTransmit,
                     [&](const QString& t) { events << QStringLiteral("on:") + t; });
    QObject::connect(p.port.get(), &TSerialPort::AfterTransmit,
                     [&](const QString& t) { events << QStringLiteral("after:") + t; });

    QByteArray frame = QByteArrayLiteral("\xC0\x00");
    frame.append(QByteArray("AB\0CD\xC0", 6));
    EXPECT_TRUE(p.port->Write(frame));
    EXPECT_EQ(p.port->LastError(), 0);
    EXPECT_EQ(p.pty.readAvailable(frame.size()), frame);
    // The event text stops at the first NUL, as a text does.
    EXPECT_EQ(events, (QStringList{QStringLiteral("on:\u00C0"), QStringLiteral("after:\u00C0")}));

    // Larger than the pseudo-terminal's buffer: written in pieces while the other side reads.
    QByteArray big(20000, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i % 251);
    QByteArray got;
    std::thread reader([&] { got = p.pty.readAvailable(big.size(), 5000); });
    EXPECT_TRUE(p.port->Write(big));
    reader.join();
    EXPECT_EQ(got, big);
}

TEST(SerialPort, WriteGivesUpAfterWriteTimeout) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    p.port->WriteTO = 300;
    QElapsedTimer elapsed;
    elapsed.start();
    // Nobody reads the other side: the write cannot finish and must not hang.
    EXPECT_FALSE(p.port->Write(QByteArray(1024 * 1024, 'x')));
    EXPECT_LT(elapsed.elapsed(), 3000);
    EXPECT_EQ(p.port->LastError(), ETIMEDOUT);
}

TEST(SerialPort, LineSettingsBecomeTheMatchingTerminalFlags) {
    TSerialPort port;
    const struct {
        TSerialPort::TDataBits bits;
        TSerialPort::TParity parity;
        TSerialPort::TStopBits stop;
        tcflag_t size;
        tcflag_t parityFlags;
        bool twoStops;
    } rows[] = {
        {TSerialPort::db8, TSerialPort::pcNone, TSerialPort::sbOne, CS8, 0, false},
        {TSerialPort::db7, TSerialPort::pcEven, TSerialPort::sbTwo, CS7, PARENB, true},
        {TSerialPort::db7, TSerialPort::pcOdd, TSerialPort::sbOne, CS7, PARENB | PARODD, false},
        {TSerialPort::db6, TSerialPort::pcMark, TSerialPort::sbOnePtFive, CS6,
         PARENB | PARODD | CMSPAR, true},
        {TSerialPort::db5, TSerialPort::pcSpace, TSerialPort::sbOne, CS5, PARENB | CMSPAR, false},
    };
    for (const auto& row : rows) {
        port.DataBits = row.bits;
        port.ParityType = row.parity;
        port.StopBits = row.stop;
        termios t{};
        // Flags left over from an earlier setting must not survive.
        t.c_cflag = PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CS8;
        t.c_lflag = ICANON | ECHO;
        ASSERT_TRUE(port.fillTermios(t));
        EXPECT_EQ(t.c_cflag & CSIZE, row.size);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), row.parityFlags);
        EXPECT_EQ(bool(t.c_cflag & CSTOPB), row.twoStops);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
        EXPECT_EQ(t.c_cc[VMIN], 0);
    }
    port.BaudRate = TSerialPort::br14400;
    termios t{};
    EXPECT_FALSE(port.fillTermios(t));
}

TEST(SerialPort, AppliesLineSettingsToTheDevice) {
    PortOnPty p;
    p.port->BaudRate = TSerialPort::br1200;
    p.port->StopBits = TSerialPort::sbTwo;
    p.port->FlowControl = TSerialPort::fcRTS_CTS;
    ASSERT_TRUE(p.port->Open(1));
    termios t{};
    ASSERT_EQ(tcgetattr(p.pty.slave, &t), 0);
    const cc_t eofBefore = t.c_cc[VEOF];
    EXPECT_EQ(cfgetospeed(&t), speed_t(B1200));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_lflag & ICANON);
    EXPECT_FALSE(t.c_oflag & OPOST);
    // EOFChar 0 leaves the device's end-of-input character alone.
    EXPECT_EQ(t.c_cc[VEOF], eofBefore);

    p.port->BaudRate = TSerialPort::br115200;
    p.port->StopBits = TSerialPort::sbOne;
    p.port->FlowControl = TSerialPort::fcXON_XOFF;
    p.port->EOFChar = 254;
    ASSERT_TRUE(p.port->ApplySettings());
    ASSERT_EQ(tcgetattr(p.pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B115200));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);
    EXPECT_EQ(t.c_cc[VEOF], 254);

    // A speed the line cannot run at is refused, with the reason kept.
    p.port->BaudRate = TSerialPort::br14400;
    EXPECT_FALSE(p.port->ApplySettings());
    EXPECT_EQ(p.port->LastError(), EINVAL);
}

TEST(SerialPort, AnOpenPortIsNotSharedWithASecondUser) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    TSerialPort second;
    std::array<QString, 8> devices;
    devices[0] = p.pty.path;
    second.setDeviceTable(devices);
    EXPECT_FALSE(second.Open(0));
    EXPECT_TRUE(p.port->Close());
    EXPECT_TRUE(second.Open(0));
}

TEST(SerialPort, EachQuietEndedBurstArrivesAsOneText) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    // Pieces closer together than the poll interval form one burst.
    p.pty.send(QByteArrayLiteral("cmd"));
    QThread::msleep(50);
    p.pty.send(QByteArrayLiteral(":\r\n"));
    ASSERT_TRUE(waitUntil([&] { return !p.received.isEmpty(); }));
    spinEvents(500);
    EXPECT_EQ(p.received, QStringList{QStringLiteral("cmd:\r\n")});

    // More than one read's worth still comes as one text, whole and in order.
    QByteArray big;
    for (int i = 0; i < 10000; ++i)
        big.append(char('a' + i % 26));
    p.received.clear();
    // The pseudo-terminal buffer holds about 4 KiB: feed it while the port drains it.
    qsizetype sent = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    while (sent < big.size() && elapsed.elapsed() < 5000) {
        const ssize_t n = ::write(p.pty.master, big.constData() + sent, size_t(big.size() - sent));
        if (n > 0)
            sent += n;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_EQ(sent, big.size());
    ASSERT_TRUE(waitUntil([&] { return !p.received.isEmpty(); }));
    spinEvents(500);
    ASSERT_EQ(p.received.size(), 1);
    EXPECT_EQ(p.received.first(), QString::fromLatin1(big));
}

TEST(SerialPort, PurgeInputDropsWhatWasNotDeliveredYet) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    p.pty.send(QByteArrayLiteral("noise"));
    // Let the thread read it, but deliver nothing: the window thread is busy here.
    QThread::msleep(500);
    p.port->PurgeInput();
    EXPECT_EQ(p.port->LastError(), 0);
    spinEvents(500);
    EXPECT_TRUE(p.received.isEmpty());
    p.pty.send(QByteArrayLiteral("fresh"));
    ASSERT_TRUE(waitUntil([&] { return !p.received.isEmpty(); }));
    EXPECT_EQ(p.received, QStringList{QStringLiteral("fresh")});
}

TEST(SerialPort, DestroyingThePortWhileADeliveryWaitsNeitherHangsNorCrashes) {
    for (int round = 0; round < 5; ++round) {
        PortOnPty p;
        ASSERT_TRUE(p.port->Open(1));
        p.pty.send(QByteArrayLiteral("burst"));
        // The receive thread reads, posts a delivery and waits for the window thread, which
        // instead destroys the port.
        QThread::msleep(450 + round * 20);
        QElapsedTimer elapsed;
        elapsed.start();
        p.port.reset();
        EXPECT_LT(elapsed.elapsed(), 1500);
        spinEvents(50);
        EXPECT_TRUE(p.received.isEmpty());
    }
}

TEST(SerialPort, AVanishedDeviceSetsLastErrorWithoutSpinningOrHanging) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    p.pty.send(QByteArrayLiteral("last words"));
    ASSERT_TRUE(waitUntil([&] { return !p.received.isEmpty(); }));
    p.pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return p.port->LastError() != 0; }, 3000));

    // The receive thread sleeps between polls instead of spinning on the dead descriptor.
    const clock_t cpuBefore = clock();
    spinEvents(600);
    EXPECT_LT(double(clock() - cpuBefore) / CLOCKS_PER_SEC, 0.4);

    EXPECT_FALSE(p.port->Write(QByteArrayLiteral("into the void")));
    EXPECT_NE(p.port->LastError(), 0);
    EXPECT_EQ(p.received, QStringList{QStringLiteral("last words")});
    QElapsedTimer elapsed;
    elapsed.start();
    p.port.reset();
    EXPECT_LT(elapsed.elapsed(), 1500);
}
