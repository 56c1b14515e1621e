// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Sockets/TSockets.h"

#include "common/Dialogs.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QSocketNotifier>

#include <thread>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSockets, "skyvane.sockets")

namespace {

const QString kWinsockTitle = QStringLiteral("WINSOCK ERROR");
constexpr int kTimedOut = 10060;
// A peer that stops reading must not make us hold unbounded memory.
constexpr qsizetype kMaxQueuedOutput = 1024 * 1024;

int setNonBlocking(int fd, bool on) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return -1;
    return fcntl(fd, F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

} // namespace

TSockets::TSockets(Dialogs* dialogs, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_relay(std::make_shared<LookupRelay>()) {
    m_relay->owner = this;
}

TSockets::~TSockets() {
    {
        // A look-up thread that finishes later finds nobody to tell.
        std::lock_guard lock(m_relay->mutex);
        m_relay->owner = nullptr;
    }
    // Closing quietly: nobody is left to hear about it.
    closeSocket(true);
}

QString TSockets::errorText(int n) {
    static const QHash<int, QString> texts{
        {10004, QStringLiteral("Interrupted system call")},
        {10009, QStringLiteral("Bad file number")},
        {10013, QStringLiteral("Permission denied")},
        {10014, QStringLiteral("Bad address")},
        {10022, QStringLiteral("Invalid argument")},
        {10024, QStringLiteral("Too many open files")},
        {10035, QStringLiteral("Operation would block")},
        {10036, QStringLiteral("Operation now in progress")},
        {10037, QStringLiteral("Operation already in progress")},
        {10038, QStringLiteral("Socket operation on non-socket")},
        {10039, QStringLiteral("Destination address required")},
        {10040, QStringLiteral("Message too long")},
        {10041, QStringLiteral("Protocol wrong type for socket")},
        {10042, QStringLiteral("Protocol not available")},
        {10043, QStringLiteral("Protocol not supported")},
        {10044, QStringLiteral("Socket type not supported")},
        {10045, QStringLiteral("Operation not supported on socket")},
        {10046, QStringLiteral("Protocol family not supported")},
        {10047, QStringLiteral("Address family not supported by protocol family")},
        {10048, QStringLiteral("Address already in use")},
        {10049, QStringLiteral("Can't assign requested address")},
        {10050, QStringLiteral("Network is down")},
        {10051, QStringLiteral("Network is unreachable")},
        {10052, QStringLiteral("Network dropped connection on reset")},
        {10053, QStringLiteral("Software caused connection abort")},
        {10054, QStringLiteral("Connection reset by peer")},
        {10055, QStringLiteral("No buffer space available")},
        {10056, QStringLiteral("Socket is already connected")},
        {10057, QStringLiteral("Socket is not connected")},
        {10058, QStringLiteral("Can't send after socket shutdown")},
        {10059, QStringLiteral("Too many references: can't splice")},
        {10060, QStringLiteral("Connection timed out")},
        {10061, QStringLiteral("Connection refused")},
        {10062, QStringLiteral("Too many levels of symbolic links")},
        {10063, QStringLiteral("File name too long")},
        {10064, QStringLiteral("Host is down")},
        {10065, QStringLiteral("No route to host")},
        {10066, QStringLiteral("Directory not empty")},
        {10067, QStringLiteral("Too many processes")},
        {10068, QStringLiteral("Too many users")},
        {10069, QStringLiteral("Disc quota exceeded")},
        {10070, QStringLiteral("Stale NFS file handle")},
        {10071, QStringLiteral("Too many levels of remote in path")},
        {10091, QStringLiteral("Network sub-system is unusable")},
        {10092, QStringLiteral("WinSock DLL cannot support this application")},
        {10093, QStringLiteral("WinSock not initialized")},
        {11001, QStringLiteral("Host not found")},
        {11002, QStringLiteral("Non-authoritative host not found")},
        {11003, QStringLiteral("Non-recoverable error")},
        {11004, QStringLiteral("No Data")},
    };
    return texts.value(n, QStringLiteral("Not a WinSock error"));
}

int TSockets::winsockError(int e) {
    switch (e) {
    case 0:
        return 0;
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EWOULDBLOCK:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    // Writing to a connection the peer has closed: WinSock calls that a reset.
    case EPIPE:
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    case EUSERS:
        return 10068;
    case EDQUOT:
        return 10069;
    case ESTALE:
        return 10070;
    case EREMOTE:
        return 10071;
    default:
        return 10000 + e;
    }
}

void TSockets::reportError(int error, const QString& place) {
    const QString text = errorText(error);
    qCWarning(lcSockets) << "error" << error << text << "in" << place;
    if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnErrorOccurred))) {
        emit OnErrorOccurred(m_socket, error, text);
        return;
    }
    // Nobody handles errors: tell the user, but keep running; a program that stays on the
    // air for days must not end over one lost connection.
    if (m_dialogs)
        m_dialogs->information(
            QStringLiteral("Error %1 in function %2\r\n%3").arg(error).arg(place, text),
            kWinsockTitle);
}

void TSockets::reportTimeout() {
    const QString text = QStringLiteral("Blocking call timed out");
    qCWarning(lcSockets) << "blocking call timed out";
    if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnErrorOccurred))) {
        emit OnErrorOccurred(m_socket, kTimedOut, text);
        return;
    }
    if (m_dialogs)
        m_dialogs->information(QStringLiteral("Error %1\r\n%2").arg(kTimedOut).arg(text),
                               QStringLiteral("WINSOCK CALL CANCELED"));
}

void TSockets::stopNotifiers() {
    // Often called from inside a notifier's own signal (an error handler disconnecting), so
    // the notifiers are switched off now and deleted once control is back in the event loop.
    for (QSocketNotifier** notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (!*notifier)
            continue;
        (*notifier)->setEnabled(false);
        (*notifier)->disconnect(this);
        (*notifier)->deleteLater();
        *notifier = nullptr;
    }
}

void TSockets::closeSocket(bool reset) {
    ++m_lookupId;
    stopNotifiers();
    m_outgoing.clear();
    m_received.clear();
    m_state = State::None;
    if (m_socket < 0)
        return;
    if (reset) {
        shutdown(m_socket, SHUT_RDWR);
        linger l{1, 0};
        setsockopt(m_socket, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    }
    ::close(m_socket);
    m_socket = -1;
}

namespace {

// A port text that is a decimal number needs no service look-up: service names always hold
// a letter.
bool isDecimal(const QByteArray& text) {
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

in_port_t decimalPort(const QByteArray& text) {
    bool ok = false;
    const uint number = text.toUInt(&ok, 10);
    // A port that is no number gives port 0, which the connect then refuses.
    return htons(ok && number <= 65535 ? quint16(number) : 0);
}

// The host as a numeric IPv4 or IPv6 address (brackets allowed around the latter), with `port`.
bool addressLiteral(QByteArray host, in_port_t port, sockaddr_storage& address, socklen_t& length) {
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    address = {};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    if (inet_pton(AF_INET, host.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = port;
        length = sizeof(sockaddr_in);
        return true;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET6, host.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = port;
        length = sizeof(sockaddr_in6);
        return true;
    }
    return false;
}

void setPort(sockaddr_storage& address, in_port_t port) {
    if (address.ss_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&address)->sin6_port = port;
    else
        reinterpret_cast<sockaddr_in*>(&address)->sin_port = port;
}

// The numeric address and port of a socket address of either kind.
QString numericHost(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&address)->sin6_addr, text,
                  sizeof text);
    else
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&address)->sin_addr, text,
                  sizeof text);
    return QString::fromLatin1(text);
}

quint16 numericPort(const sockaddr_storage& address) {
    return ntohs(address.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port
                     : reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

} // namespace

// Runs on a look-up thread (or, in blocking mode, on the caller's): only reentrant calls.
TSockets::LookupResult TSockets::lookUp(const QByteArray& host, const QByteArray& port) {
    LookupResult result;
    if (isDecimal(port)) {
        result.port = decimalPort(port);
    } else {
        servent entry{};
        servent* found = nullptr;
        char buffer[1024];
        if (getservbyname_r(port.constData(), "tcp", &entry, buffer, sizeof buffer, &found) == 0 &&
            found)
            result.port = found->s_port; // already in network order
        else
            result.port = decimalPort(port);
    }
    if (addressLiteral(host, result.port, result.address, result.length)) {
        result.hostFound = true;
        return result;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.constData(), nullptr, &hints, &found) == 0 && found) {
        // IPv4 first: a name that also has an IPv6 address is reached as it always was, and a
        // name with only an IPv6 address is reached at all.
        const addrinfo* chosen = nullptr;
        for (const addrinfo* a = found; a; a = a->ai_next)
            if (a->ai_family == AF_INET && !chosen)
                chosen = a;
        for (const addrinfo* a = found; a && !chosen; a = a->ai_next)
            if (a->ai_family == AF_INET6)
                chosen = a;
        if (chosen && chosen->ai_addrlen <= sizeof result.address) {
            std::memcpy(&result.address, chosen->ai_addr, chosen->ai_addrlen);
            result.length = chosen->ai_addrlen;
            setPort(result.address, result.port);
            result.hostFound = true;
        }
    }
    if (found)
        freeaddrinfo(found);
    return result;
}

void TSockets::SConnect() {
    if (Port.isEmpty()) {
        if (m_dialogs)
            m_dialogs->information(QStringLiteral("No Port Specified"), kWinsockTitle);
        return;
    }
    if (IPAddr.isEmpty()) {
        if (m_dialogs)
            m_dialogs->information(QStringLiteral("No IP Address Specified"), kWinsockTitle);
        return;
    }

    // A socket left from an earlier failed attempt would otherwise leak one descriptor per
    // reconnect; a look-up still running for it is forgotten.
    closeSocket(true);

    const QByteArray portText = Port.trimmed().toLatin1();
    const QByteArray host = IPAddr.trimmed().toLatin1();
    sockaddr_storage numeric{};
    socklen_t numericLength = 0;
    // A blocking component blocks anyway, and a numeric address with a port number needs no
    // look-up; everything else is looked up away from the window thread, since a slow or
    // absent name server would otherwise freeze the window at every reconnect.
    if (!NonBlocking || (isDecimal(portText) && addressLiteral(host, 0, numeric, numericLength))) {
        lookupDone(m_lookupId, lookUp(host, portText));
        return;
    }
    m_state = State::Resolving;
    const quint64 id = m_lookupId;
    std::thread([relay = m_relay, id, host, portText] {
        const LookupResult result = lookUp(host, portText);
        std::lock_guard lock(relay->mutex);
        if (TSockets* owner = relay->owner)
            QMetaObject::invokeMethod(
                owner, [owner, id, result] { owner->lookupDone(id, result); },
                Qt::QueuedConnection);
    }).detach();
}

void TSockets::lookupDone(quint64 id, const LookupResult& result) {
    // Answers for a look-up that a Disconnect or a newer SConnect has replaced are dropped.
    if (id != m_lookupId)
        return;
    m_state = State::None;
    if (!result.hostFound) {
        m_outgoing.clear();
        if (m_dialogs && !Quiet)
            m_dialogs->information(QStringLiteral("Cannot convert host address"), kWinsockTitle);
        emit OnLookupFailed();
        return;
    }
    const sockaddr_storage address = result.address;
    m_peerAddress = numericHost(address);

    m_socket = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0) {
        reportError(winsockError(errno), QStringLiteral("SConnect (socket)"));
        return;
    }
    if (NoDelay) {
        const int on = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    qCDebug(lcSockets) << "connecting to" << m_peerAddress << ntohs(result.port);

    const int rc = ::connect(m_socket, reinterpret_cast<const sockaddr*>(&address), result.length);
    const int connectErrno = rc == 0 ? 0 : errno;
    if (rc != 0 && connectErrno != EINPROGRESS) {
        m_state = State::Failed;
        reportError(winsockError(connectErrno), QStringLiteral("SConnect"));
        return;
    }
    m_state = State::Connecting;

    if (!NonBlocking) {
        // The connect is guarded by Timeout; the socket then works in blocking fashion.
        if (rc != 0 && !waitFor(POLLOUT)) {
            m_state = State::Failed;
            reportTimeout();
            return;
        }
        int soError = 0;
        socklen_t len = sizeof soError;
        getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &soError, &len);
        if (soError != 0) {
            m_state = State::Failed;
            reportError(winsockError(soError), QStringLiteral("SConnect"));
            return;
        }
        m_state = State::Connected;
        emit OnSessionConnected(m_socket);
        return;
    }

    m_readNotifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    m_writeNotifier = new QSocketNotifier(m_socket, QSocketNotifier::Write, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &TSockets::onReadable);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &TSockets::onWritable);
    // Until the connect completes only writability (completion or failure) matters.
    m_readNotifier->setEnabled(false);
}

bool TSockets::waitFor(short events) {
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 limit = Timeout > 0 ? qint64(Timeout) * 1000 : -1;
    for (;;) {
        int wait = -1;
        if (limit >= 0) {
            const qint64 left = limit - elapsed.elapsed();
            if (left <= 0)
                return false;
            wait = int(std::min<qint64>(left, INT_MAX));
        }
        pollfd p{m_socket, events, 0};
        const int rc = ::poll(&p, 1, wait);
        if (rc > 0)
            return true;
        if (rc == 0)
            return false;
        if (errno != EINTR)
            return true; // let the following call report what is wrong
    }
}

void TSockets::onWritable() {
    if (m_socket < 0)
        return;
    const int socket = m_socket;
    if (m_state == State::Connecting) {
        int soError = 0;
        socklen_t len = sizeof soError;
        getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &soError, &len);
        if (soError != 0) {
            // A failed socket stays readable and writable; stop listening so the failure is
            // reported once.
            stopNotifiers();
            m_state = State::Failed;
            reportError(winsockError(soError), QStringLiteral("FD_CONNECT"));
            return;
        }
        m_state = State::Connected;
        m_writeNotifier->setEnabled(!m_outgoing.isEmpty());
        m_readNotifier->setEnabled(true);
        emit OnSessionConnected(socket);
        return;
    }
    if (m_state != State::Connected)
        return;
    if (!m_outgoing.isEmpty() && !flushOutgoing(QStringLiteral("FD_WRITE")))
        return;
    if (m_writeNotifier && m_outgoing.isEmpty()) {
        m_writeNotifier->setEnabled(false);
        emit OnDataNeeded(socket);
    }
}

void TSockets::onReadable() {
    if (m_socket < 0 || m_state != State::Connected)
        return;
    const int socket = m_socket;
    char buffer[4096];
    const ssize_t n = ::recv(m_socket, buffer, sizeof buffer, 0);
    if (n > 0) {
        m_received.append(buffer, n);
        if (MaximumReceiveLength > 0 && m_received.size() > MaximumReceiveLength)
            m_received.remove(0, m_received.size() - MaximumReceiveLength);
        if (isSignalConnected(QMetaMethod::fromSignal(&TSockets::OnDataAvailable)))
            emit OnDataAvailable(socket);
        else
            m_received.clear(); // nobody reads: what the peer says is dropped
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    const int e = n == 0 ? 0 : errno;
    stopNotifiers();
    m_state = State::Failed;
    if (e == 0) {
        qCDebug(lcSockets) << "peer closed the connection";
        emit OnSessionClosed(socket);
    } else {
        reportError(winsockError(e), QStringLiteral("FD_CLOSE"));
    }
}

QByteArray TSockets::SReceive() {
    QByteArray out;
    out.swap(m_received);
    return out;
}

bool TSockets::flushOutgoing(const QString& place) {
    while (!m_outgoing.isEmpty()) {
        const ssize_t n = ::send(m_socket, m_outgoing.constData(), size_t(m_outgoing.size()),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            m_outgoing.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (m_writeNotifier)
                m_writeNotifier->setEnabled(true);
            return true;
        }
        const int e = n < 0 ? errno : EPIPE;
        m_outgoing.clear();
        stopNotifiers();
        m_state = State::Failed;
        reportError(winsockError(e), place);
        return false;
    }
    return true;
}

int TSockets::SSend(const QByteArray& data) {
    if (m_socket < 0 && m_state != State::Resolving)
        return 0;
    if (data.isEmpty())
        return 0;

    if (!NonBlocking) {
        qsizetype done = 0;
        while (done < data.size()) {
            if (!waitFor(POLLOUT)) {
                reportTimeout();
                return -1;
            }
            const ssize_t n = ::send(m_socket, data.constData() + done, size_t(data.size() - done),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
                continue;
            reportError(winsockError(n < 0 ? errno : EPIPE), QStringLiteral("SSend"));
            return -1;
        }
        return int(done);
    }

    if (m_state == State::Failed) {
        reportError(10057, QStringLiteral("SSend"));
        return -1;
    }
    if (m_outgoing.size() + data.size() > kMaxQueuedOutput) {
        reportError(10055, QStringLiteral("SSend"));
        return -1;
    }
    // Written after what is still queued, so frames keep their order; bytes are written
    // once the connect completes if it has not yet.
    m_outgoing.append(data);
    if (m_state == State::Connecting || m_state == State::Resolving)
        return int(data.size());
    if (!flushOutgoing(QStringLiteral("SSend")))
        return -1;
    return int(data.size());
}

void TSockets::Disconnect() {
    if (m_state == State::Resolving) {
        // A connect still looking up its host has no socket to close yet: it just never
        // happens.
        closeSocket(true);
        return;
    }
    if (m_socket < 0) {
        reportError(10038, QStringLiteral("Disconnect (closesocket)"));
        return;
    }
    stopNotifiers();
    if (!m_outgoing.isEmpty()) {
        // Give queued bytes one last chance so a frame is not cut by the reset.
        setNonBlocking(m_socket, true);
        while (!m_outgoing.isEmpty()) {
            const ssize_t n = ::send(m_socket, m_outgoing.constData(), size_t(m_outgoing.size()),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n <= 0)
                break;
            m_outgoing.remove(0, n);
        }
    }
    m_outgoing.clear();
    m_received.clear();
    m_state = State::None;
    shutdown(m_socket, SHUT_RDWR);
    linger l{1, 0};
    setsockopt(m_socket, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    const int rc = ::close(m_socket);
    const int e = errno;
    m_socket = -1;
    if (rc != 0)
        reportError(winsockError(e), QStringLiteral("Disconnect (closesocket)"));
}

QString TSockets::PeerAddress(int socket) const {
    sockaddr_storage address{};
    socklen_t len = sizeof address;
    if (socket < 0 || getpeername(socket, reinterpret_cast<sockaddr*>(&address), &len) != 0)
        return socket == m_socket ? m_peerAddress : QString();
    return numericHost(address);
}

QString TSockets::PeerPort(int socket) const {
    sockaddr_storage address{};
    socklen_t len = sizeof address;
    if (socket < 0 || getpeername(socket, reinterpret_cast<sockaddr*>(&address), &len) != 0)
        return QStringLiteral("0");
    return QString::number(numericPort(address));
}
