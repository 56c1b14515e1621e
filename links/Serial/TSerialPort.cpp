// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Serial/TSerialPort.h"

#include "common/Cp1252.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QThread>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSerial, "skyvane.serial")

namespace {

constexpr int kPollMs = 200;
constexpr int kMaxRead = 4096;
// WriteTO 0 would mean "no limit"; a write that can never finish must still give the
// window thread back.
constexpr int kDefaultWriteMs = 5000;
// How long a TNC may hold us off through its handshake beyond the bytes' own time: long
// enough to key up and send a frame it already has, short enough that a TNC that never
// lets go is reported instead of freezing the window.
constexpr int kFlowHoldMs = 2000;

speed_t speedConstant(int baud) {
    switch (baud) {
    case 110:
        return B110;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        return 0;
    }
}

} // namespace

TSerialPort::TSerialPort(QObject* parent) : QObject(parent) {
    for (int i = 0; i < 8; ++i)
        m_devices[size_t(i)] = QStringLiteral("/dev/ttyS%1").arg(i);
    m_running = true;
    m_thread = std::thread([this] { receiveLoop(); });
}

TSerialPort::~TSerialPort() {
    Close();
    {
        std::lock_guard lock(m_waitMutex);
        m_stop = true;
    }
    m_wake.notify_all();
    // The thread never blocks on anything but m_wake, so it ends within one short step; a
    // delivery it posted and that has not run is dropped with this object's posted events.
    if (m_thread.joinable())
        m_thread.join();
}

int TSerialPort::baudValue(TBaudRate rate) {
    static constexpr int values[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return values[rate];
}

void TSerialPort::setDeviceTable(const std::array<QString, 8>& devices) {
    m_devices = devices;
}

QString TSerialPort::devicePath(int index) const {
    if (index < 0 || index > 7)
        return {};
    return m_devices[size_t(index)];
}

bool TSerialPort::Open(int index) {
    Close();
    const QString path = devicePath(index);
    if (path.isEmpty()) {
        m_lastError = ENODEV;
        return false;
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_lastError = errno;
        qCWarning(lcSerial) << "cannot open" << path << strerror(errno);
        return false;
    }
    // TIOCEXCL keeps other programs out; the advisory lock also holds against root, which
    // TIOCEXCL lets through, so two copies of this program never share one TNC.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = isatty(fd) ? EBUSY : ENOTTY;
        qCWarning(lcSerial) << path << (isatty(fd) ? "is in use" : "is not a terminal");
        ::close(fd);
        return false;
    }
    ioctl(fd, TIOCEXCL);
    {
        std::lock_guard io(m_ioMutex);
        m_fd = fd;
        ++m_session;
    }
    if (!ApplySettings()) {
        const int e = m_lastError;
        Close();
        m_lastError = e;
        return false;
    }
    m_lastError = 0;
    qCDebug(lcSerial) << "opened" << path;
    return true;
}

bool TSerialPort::Close() {
    if (m_fd.load() < 0)
        return true;
    PurgeOutput();
    PurgeInput();
    std::lock_guard io(m_ioMutex);
    const int fd = m_fd.exchange(-1);
    ioctl(fd, TIOCNXCL);
    ::close(fd);
    return true;
}

void TSerialPort::PurgeInput() {
    // Under the reader's lock: a flush between its count of waiting bytes and its read would
    // otherwise hand it an empty read, and bytes it read before the flush would survive it.
    std::lock_guard io(m_ioMutex);
    const int fd = m_fd.load();
    if (fd < 0) {
        m_lastError = kNotOpen;
        return;
    }
    tcflush(fd, TCIFLUSH);
    std::lock_guard lock(m_bufferMutex);
    m_pending.clear();
}

void TSerialPort::PurgeOutput() {
    const int fd = m_fd.load();
    if (fd < 0)
        return;
    // Only bytes still waiting in the driver are dropped. A flush with an empty queue is not
    // harmless everywhere: on a pseudo-terminal it discards bytes already on their way to the
    // other side, which would cut the frame just written.
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0)
        tcflush(fd, TCOFLUSH);
}

bool TSerialPort::ApplySettings() {
    const int fd = m_fd.load();
    if (fd < 0) {
        m_lastError = kNotOpen;
        return false;
    }
    m_lastError = 0;
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        m_lastError = errno;
        return false;
    }

    if (!fillTermios(t)) {
        m_lastError = EINVAL;
        qCWarning(lcSerial) << "unsupported speed" << baudValue(BaudRate);
        return false;
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        m_lastError = errno;
        return false;
    }
    return true;
}

bool TSerialPort::fillTermios(termios& t) const {
    // Raw bytes both ways: KISS frames and the TNC's text pass untouched.
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                           IXOFF | IXANY | INPCK | IGNPAR);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;

    static constexpr tcflag_t sizes[] = {CS5, CS5, CS6, CS7, CS8};
    // Four data bits have no Linux equivalent; five is the nearest the line can do.
    t.c_cflag |= sizes[DataBits];
    // 1.5 stop bits only exist with 5 data bits on real UARTs; Linux offers one or two.
    if (StopBits != sbOne)
        t.c_cflag |= CSTOPB;
    switch (ParityType) {
    case pcNone:
        break;
    case pcEven:
        t.c_cflag |= PARENB;
        break;
    case pcOdd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case pcMark:
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case pcSpace:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (ParityErrorChecking) {
        t.c_iflag |= INPCK;
        // Without replacement a byte with a parity error is dropped; with it the kernel
        // marks it and the receive thread puts ErrorChar in its place.
        t.c_iflag |= ParityErrorReplacement ? PARMRK : IGNPAR;
    }
    switch (FlowControl) {
    case fcNone:
        break;
    case fcXON_XOFF:
        t.c_iflag |= IXON | IXOFF;
        break;
    case fcRTS_CTS:
        t.c_cflag |= CRTSCTS;
        break;
    case fsDSR_DTR:
        // Linux serial drivers have no DSR/DTR handshake; the line runs without one.
        qCDebug(lcSerial) << "DSR/DTR handshake is not available; using none";
        break;
    }
    t.c_cc[VSTART] = XONChar;
    t.c_cc[VSTOP] = XOFFChar;
    if (EOFChar != 0)
        t.c_cc[VEOF] = EOFChar;
    // The receive thread polls, so reads return at once with what is there; the read time-out
    // and the XON/XOFF limits have no counterpart in termios (the kernel keeps its own).
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    const speed_t speed = speedConstant(baudValue(BaudRate));
    if (speed == 0)
        return false;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return true;
}

int TSerialPort::writeAllowanceMs(qsizetype bytes) const {
    // Start bit, data bits as the line runs them (four become five), parity, stop bits (one
    // and a half become two on Linux).
    static constexpr int dataBits[] = {5, 5, 6, 7, 8};
    const int bitsPerByte =
        1 + dataBits[DataBits] + (ParityType == pcNone ? 0 : 1) + (StopBits == sbOne ? 1 : 2);
    const qint64 baud = baudValue(BaudRate);
    const qint64 lineMs = (qint64(bytes) * bitsPerByte * 1000 + baud - 1) / baud;
    const bool handshake = FlowControl == fcRTS_CTS || FlowControl == fcXON_XOFF;
    const qint64 total =
        (WriteTO > 0 ? qint64(WriteTO) : kDefaultWriteMs) + lineMs + (handshake ? kFlowHoldMs : 0);
    return int(std::min<qint64>(total, INT_MAX));
}

bool TSerialPort::Write(const QByteArray& data) {
    const int fd = m_fd.load();
    if (fd < 0) {
        m_lastError = kNotOpen;
        return false;
    }
    m_lastError = 0;
    const qsizetype nul = data.indexOf('\0');
    const QString text = Cp1252::toUnicode(nul < 0 ? data : data.left(nul));
    emit OnTransmit(text);

    QElapsedTimer elapsed;
    elapsed.start();
    // WriteTO is what the TNC may take to accept a block; the line itself needs the bytes'
    // own time on top, which at 1200 baud is most of a second for one report.
    const int limit = writeAllowanceMs(data.size());
    qsizetype done = 0;
    int error = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            error = errno;
            break;
        }
        const qint64 left = limit - elapsed.elapsed();
        if (left <= 0) {
            error = ETIMEDOUT;
            break;
        }
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, int(left)) > 0 && (p.revents & (POLLERR | POLLNVAL))) {
            error = EIO;
            break;
        }
    }
    // A write counts as done once the bytes have left the port, as callers purge the output
    // queue right after; the wait is bounded by the same allowance.
    while (error == 0) {
        int queued = 0;
        if (ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        if (elapsed.elapsed() >= limit) {
            error = ETIMEDOUT;
            break;
        }
        QThread::msleep(2);
    }
    if (error != 0) {
        m_lastError = error;
        qCWarning(lcSerial) << "write failed after" << done << "of" << data.size()
                            << "bytes:" << strerror(error);
    }
    emit AfterTransmit(text);
    return error == 0;
}

void TSerialPort::receiveLoop() {
    bool dataArrived = false;
    bool gone = false;
    // Each Open starts a session; a port reopened after its device vanished usually gets the
    // same descriptor number back, so the number alone cannot say the device is new.
    quint64 session = 0;
    // Parity marking (0xFF 0x00 x for a bad byte, 0xFF 0xFF for 0xFF) may span two reads.
    int markState = 0;
    while (true) {
        {
            std::unique_lock lock(m_waitMutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(kPollMs),
                            [this] { return m_stop.load(); });
        }
        if (m_stop)
            break;

        bool readSome = false;
        {
            std::lock_guard io(m_ioMutex);
            const int fd = m_fd.load();
            if (session != m_session) {
                session = m_session;
                gone = false;
                markState = 0;
            }
            if (fd >= 0 && !gone) {
                pollfd p{fd, POLLIN, 0};
                ::poll(&p, 1, 0);
                int waiting = 0;
                if (ioctl(fd, FIONREAD, &waiting) != 0)
                    waiting = 0;
                ssize_t n = 0;
                int readError = 0;
                char buffer[kMaxRead];
                if (waiting > 0) {
                    n = ::read(fd, buffer, size_t(std::min(waiting, kMaxRead)));
                    readError = n < 0 ? errno : 0;
                }
                if (n > 0) {
                    appendReceived(buffer, n, markState);
                    readSome = true;
                } else if (readError == EIO || readError == ENXIO || readError == ENODEV ||
                           (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
                    // The kernel says the device has gone (USB adapter pulled, pseudo-terminal
                    // closed): note it once and stop polling this descriptor until the next
                    // Open. An empty read is no such sign: with VMIN and VTIME at 0 a terminal
                    // returns nothing whenever there is nothing, which a purge can cause.
                    gone = true;
                    const int error = readError != 0 ? readError : EIO;
                    m_lastError = error;
                    qCWarning(lcSerial) << "the device has gone away";
                    // Told only if no Close or Open came between: a loss of an earlier
                    // session says nothing about the device open now.
                    QMetaObject::invokeMethod(
                        this,
                        [this, session, error] {
                            bool current;
                            {
                                std::lock_guard io(m_ioMutex);
                                current = session == m_session && m_fd.load() >= 0;
                            }
                            if (current)
                                emit DeviceLost(error);
                        },
                        Qt::QueuedConnection);
                }
            }
        }
        if (readSome) {
            dataArrived = true;
            continue;
        }
        if (!dataArrived)
            continue;
        dataArrived = false;
        {
            std::lock_guard lock(m_waitMutex);
            m_delivered = false;
        }
        QMetaObject::invokeMethod(
            this, [this] { deliver(); }, Qt::QueuedConnection);
        std::unique_lock lock(m_waitMutex);
        m_wake.wait(lock, [this] { return m_delivered || m_stop.load(); });
    }
    m_running = false;
}

void TSerialPort::appendReceived(const char* buffer, qsizetype n, int& markState) {
    QByteArray chunk;
    chunk.reserve(n);
    const bool marking = ParityErrorChecking && ParityErrorReplacement;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (marking) {
            if (markState == 0 && quint8(c) == 0xFF) {
                markState = 1;
                continue;
            }
            if (markState == 1) {
                markState = quint8(c) == 0xFF ? 0 : 2;
                if (markState == 0)
                    chunk.append(c);
                continue;
            }
            if (markState == 2) {
                markState = 0;
                chunk.append(char(ErrorChar));
                continue;
            }
        }
        if (StripNullChars && c == '\0')
            continue;
        chunk.append(c);
    }
    std::lock_guard lock(m_bufferMutex);
    m_pending.append(chunk);
}

void TSerialPort::deliver() {
    QByteArray bytes;
    {
        std::lock_guard lock(m_bufferMutex);
        bytes.swap(m_pending);
    }
    // Released before the handlers run: a handler that waits for more input in a nested
    // event loop must not hold the reader up.
    {
        std::lock_guard lock(m_waitMutex);
        m_delivered = true;
    }
    m_wake.notify_all();
    if (bytes.isEmpty())
        return;
    const QString text = Cp1252::toUnicode(bytes);
    emit OnReceive(text);
    emit AfterReceive(text);
    emit Received(bytes);
}
