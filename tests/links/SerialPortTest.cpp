// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Serial/TSerialPort.h"

#include "support/PtyPair.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

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

// How many of `samples` looks at this process's threads, 10 ms apart, found a thread other
// than this one running or about to run. A thread that waits between polls is asleep at nearly
// every look; one that spins never is, however loaded the machine.
int samplesWithAnotherThreadRunning(int samples = 20) {
    const QString self = QString::number(gettid());
    int running = 0;
    for (int i = 0; i < samples; ++i) {
        // Time between looks is the point here: no event marks a thread not spinning.
        QThread::msleep(10);
        const QStringList tasks =
            QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& task : tasks) {
            if (task == self)
                continue;
            QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(task));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            if (text.mid(text.lastIndexOf(')') + 2, 1) == "R") {
                ++running;
                break;
            }
        }
    }
    return running;
}

// Bytes the device has sent that no reader has taken from the terminal yet.
int waitingOn(const PtyPair& pty) {
    int waiting = 0;
    return ioctl(pty.slave, FIONREAD, &waiting) == 0 ? waiting : -1;
}

// Sends the XOFF a TNC sends when its buffer is full, and waits until the terminal has taken
// it and holds its output back: packet mode makes the master report that.
bool holdOff(const PtyPair& pty, int boundMs = 3000) {
    int on = 1;
    if (ioctl(pty.master, TIOCPKT, &on) != 0 || !pty.send(QByteArrayLiteral("\x13")))
        return false;
    bool stopped = false;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!stopped && elapsed.elapsed() < boundMs) {
        pollfd p{pty.master, POLLIN | POLLPRI, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        unsigned char packet[64];
        const ssize_t n = ::read(pty.master, packet, sizeof packet);
        stopped = n > 0 && (packet[0] & TIOCPKT_STOP);
    }
    int off = 0;
    ioctl(pty.master, TIOCPKT, &off);
    return stopped;
}

// Hands the port's queued deliveries to `atDelivery` before they run; it returns true to hold
// one back, as a window thread busy elsewhere would.
class DeliveryWatch : public QObject {
public:
    DeliveryWatch(TSerialPort& port, std::function<bool()> atDelivery)
        : m_atDelivery(std::move(atDelivery)) {
        port.installEventFilter(this);
    }
    int seen = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MetaCall)
            return false;
        ++seen;
        return m_atDelivery();
    }

private:
    std::function<bool()> m_atDelivery;
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

TEST(SerialPort, AWriteMayTakeTheBytesTimeOnTheLine) {
    using P = TSerialPort;
    const struct {
        P::TBaudRate baud;
        P::TDataBits bits;
        P::TParity parity;
        P::TStopBits stop;
        P::TFlowControl flow;
        quint16 writeTo;
        int bytes;
        int allowanceMs;
    } rows[] = {
        // A report with a path at 1200 baud, 8N1: 834 ms on the line, more than WriteTO.
        {P::br1200, P::db8, P::pcNone, P::sbOne, P::fcNone, 500, 100, 500 + 834},
        // 7E2: eleven bits a byte; 1.5 stop bits run as two.
        {P::br1200, P::db7, P::pcEven, P::sbTwo, P::fcNone, 500, 100, 500 + 917},
        {P::br1200, P::db7, P::pcOdd, P::sbOnePtFive, P::fcNone, 500, 100, 500 + 917},
        {P::br9600, P::db8, P::pcNone, P::sbOne, P::fcNone, 500, 1, 500 + 2},
        {P::br115200, P::db8, P::pcNone, P::sbOne, P::fcNone, 500, 0, 500},
        // A handshake may hold the line, for a bounded time.
        {P::br1200, P::db8, P::pcNone, P::sbOne, P::fcRTS_CTS, 500, 100, 500 + 834 + 2000},
        {P::br1200, P::db8, P::pcNone, P::sbOne, P::fcXON_XOFF, 500, 100, 500 + 834 + 2000},
        // DSR/DTR runs without a handshake here.
        {P::br1200, P::db8, P::pcNone, P::sbOne, P::fsDSR_DTR, 500, 100, 500 + 834},
        // WriteTO 0 is no licence to wait for ever.
        {P::br9600, P::db8, P::pcNone, P::sbOne, P::fcNone, 0, 100, 5000 + 105},
    };
    P port;
    for (const auto& row : rows) {
        port.BaudRate = row.baud;
        port.DataBits = row.bits;
        port.ParityType = row.parity;
        port.StopBits = row.stop;
        port.FlowControl = row.flow;
        port.WriteTO = row.writeTo;
        EXPECT_EQ(port.writeAllowanceMs(row.bytes), row.allowanceMs)
            << P::baudValue(row.baud) << " baud, " << row.bytes << " bytes, flow " << row.flow;
    }
}

TEST(SerialPort, ATncHoldingTheLineIsWaitedForWithinABound) {
    PortOnPty p;
    p.port->FlowControl = TSerialPort::fcXON_XOFF;
    p.port->WriteTO = 100;
    ASSERT_TRUE(p.port->Open(1));
    // The TNC lets go later than WriteTO alone would wait, within the handshake's bound.
    ASSERT_TRUE(holdOff(p.pty));
    std::thread tnc([&] {
        // How long the TNC holds the line is what is tested: longer than WriteTO.
        QThread::msleep(600);
        p.pty.send(QByteArrayLiteral("\x11"));
    });
    EXPECT_TRUE(p.port->Write(QByteArrayLiteral("report")));
    tnc.join();
    EXPECT_EQ(p.pty.readAvailable(6), QByteArrayLiteral("report"));

    // One that never lets go: the write ends and says why instead of hanging.
    ASSERT_TRUE(holdOff(p.pty));
    EXPECT_FALSE(p.port->Write(QByteArrayLiteral("report")));
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
    // Pieces closer together than the poll interval form one burst: the rest comes after the
    // reader has taken the first piece, before it looks again.
    p.pty.send(QByteArrayLiteral("cmd"));
    ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 3; }));
    ASSERT_TRUE(p.port->Open(1));
    ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 0; }));
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
    // Read by the port's thread, not handed on yet: the reader hands a burst on only once a
    // look finds nothing more.
    p.pty.send(QByteArrayLiteral("noise"));
    ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 5; }));
    ASSERT_TRUE(p.port->Open(1));
    ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 0; }));
    p.port->PurgeInput();
    EXPECT_EQ(p.port->LastError(), 0);
    spinEvents(500);
    EXPECT_TRUE(p.received.isEmpty());

    // Its delivery already on the way, the purge coming first.
    DeliveryWatch watch(*p.port, [&] {
        if (watch.seen == 1) {
            p.port->PurgeInput();
            EXPECT_EQ(p.port->LastError(), 0);
        }
        return false;
    });
    p.pty.send(QByteArrayLiteral("noise"));
    ASSERT_TRUE(waitUntil([&] { return watch.seen > 0; }));
    spinEvents(500);
    EXPECT_TRUE(p.received.isEmpty());
    p.pty.send(QByteArrayLiteral("fresh"));
    ASSERT_TRUE(waitUntil([&] { return !p.received.isEmpty(); }));
    EXPECT_EQ(p.received, QStringList{QStringLiteral("fresh")});
}

TEST(SerialPort, DestroyingThePortWhileADeliveryWaitsNeitherHangsNorCrashes) {
    for (const bool delivering : {true, false}) {
        SCOPED_TRACE(delivering ? "delivery waiting" : "burst read");
        PortOnPty p;
        p.pty.send(QByteArrayLiteral("burst"));
        ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 5; }));
        ASSERT_TRUE(p.port->Open(1));
        if (delivering) {
            // The receive thread reads, posts a delivery and waits for the window thread,
            // which instead destroys the port.
            DeliveryWatch hold(*p.port, [] { return true; });
            ASSERT_TRUE(waitUntil([&] { return hold.seen > 0; }));
            p.port.reset();
        } else {
            // Read, its delivery not posted yet.
            ASSERT_TRUE(waitUntil([&] { return waitingOn(p.pty) == 0; }));
            p.port.reset();
        }
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
    EXPECT_LT(samplesWithAnotherThreadRunning(), 10);

    EXPECT_FALSE(p.port->Write(QByteArrayLiteral("into the void")));
    EXPECT_NE(p.port->LastError(), 0);
    EXPECT_EQ(p.received, QStringList{QStringLiteral("last words")});
    p.port.reset();
}

TEST(SerialPort, ADeviceThatVanishedAndCameBackAtTheSamePathIsReadAgain) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("tnc"));
    auto first = std::make_unique<PtyPair>();
    ASSERT_TRUE(QFile::link(first->path, link));
    TSerialPort port;
    std::array<QString, 8> devices;
    devices[0] = link;
    port.setDeviceTable(devices);
    QStringList received;
    QObject::connect(&port, &TSerialPort::AfterReceive,
                     [&](const QString& text) { received << text; });
    ASSERT_TRUE(port.Open(0));
    first->closeMaster();
    ASSERT_TRUE(waitUntil([&] { return port.LastError() != 0; }, 3000));

    // Plugged in again: the reopened port usually gets the same descriptor number back.
    first.reset();
    PtyPair second;
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.path, link));
    ASSERT_TRUE(port.Open(0));
    second.send(QByteArrayLiteral("cmd:"));
    ASSERT_TRUE(waitUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QStringList{QStringLiteral("cmd:")});
    EXPECT_EQ(port.LastError(), 0);
}

TEST(SerialPort, PurgesWhileTheDeviceTalksNeverStopTheReading) {
    PortOnPty p;
    ASSERT_TRUE(p.port->Open(1));
    std::atomic<bool> talking{true};
    std::thread tnc([&] {
        while (talking)
            p.pty.send(QByteArrayLiteral("?EH\r\n"));
    });
    // A purge that empties the device between the reader's count and its read leaves it an
    // empty read, which is no sign of a vanished device.
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 2000) {
        p.port->PurgeInput();
        QCoreApplication::processEvents();
    }
    talking = false;
    tnc.join();
    EXPECT_EQ(p.port->LastError(), 0);
    // The talk may have filled the terminal's buffer: "fresh" goes in once the reader has
    // made room.
    ASSERT_TRUE(waitUntil([&] { return p.pty.send(QByteArrayLiteral("fresh")); }));
    EXPECT_TRUE(
        waitUntil([&] { return p.received.join(QString()).endsWith(QLatin1String("fresh")); }));
}
