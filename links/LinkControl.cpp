// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/LinkControl.h"

#include "common/AirText.h"

#include "common/Clock.h"
#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "common/Dialogs.h"
#include "links/AgwpeFrame.h"
#include "links/Airtime.h"
#include "links/AprsIs.h"
#include "links/Ax25.h"
#include "links/FrameError.h"
#include "links/FramePlan.h"
#include "links/Kiss.h"
#include "links/TncCodes.h"
#include "links/TncCommandMode.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstring>

Q_LOGGING_CATEGORY(lcLink, "skyvane.link")

namespace {

constexpr int kBusyMs = 3000;
constexpr int kConnectedTestMs = 15000;
constexpr int kTncWaitMs = 1500;
constexpr int kKissPortPauseMs = 1000;
constexpr int kConversePauseMs = 500;

constexpr int kEnterKissPauseMs = 250;

const QString kNotResponding = QStringLiteral("The TNC is not responding.");

} // namespace

LinkControl::LinkControl(Dialogs& dialogs, Clock& clock, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_clock(clock), m_sockets(&dialogs), m_aprsIs(&dialogs) {
    m_busyTimer.setObjectName(QStringLiteral("BusyTimer"));
    m_busyTimer.setInterval(kBusyMs);
    m_connectedTimer.setObjectName(QStringLiteral("ConnectedTimer"));
    m_connectedTimer.setInterval(kConnectedTestMs);
    m_tncTimer.setObjectName(QStringLiteral("TNCTimer"));
    m_tncTimer.setInterval(kTncWaitMs);
    connect(&m_busyTimer, &QTimer::timeout, this, &LinkControl::BusyTimed);
    connect(&m_connectedTimer, &QTimer::timeout, this, &LinkControl::ConnectedTest);
    connect(&m_tncTimer, &QTimer::timeout, this, &LinkControl::TNCTimed);
    m_retryTimer.setObjectName(QStringLiteral("RetryTimer"));
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &LinkControl::RetryTimed);
    m_monotonic.start();

    m_sockets.MaximumReceiveLength = 8192;
    connect(&m_sockets, &TSockets::OnSessionConnected, this, &LinkControl::SessionConnected);
    connect(&m_sockets, &TSockets::OnErrorOccurred, this, &LinkControl::Error);
    connect(&m_sockets, &TSockets::OnSessionClosed, this, &LinkControl::SessionClosed);
    connect(&m_sockets, &TSockets::OnLookupFailed, this, &LinkControl::LookupFailed);
    connect(&m_sockets, &TSockets::OnDataAvailable, this, &LinkControl::socketData);

    m_serial.FlowControl = TSerialPort::fcRTS_CTS;
    m_serial.EOFChar = 254;
    connect(&m_serial, &TSerialPort::AfterReceive, this, &LinkControl::AfterRecieve);
    connect(&m_serial, &TSerialPort::DeviceLost, this, &LinkControl::DeviceLost);
    connect(&m_serial, &TSerialPort::Received, this, &LinkControl::kissData);

    connect(&m_aprsIs, &AprsIsSession::loggedIn, this, [this](const QString& server) {
        m_connected = true;
        becameUp(QStringLiteral("Connected to APRS-IS server %1 as %2")
                     .arg(server, AprsIs::asciiUpper(m_station.MyCall)));
    });
    connect(&m_aprsIs, &AprsIsSession::refused, this, &LinkControl::aprsIsRefused);
    connect(&m_aprsIs, &AprsIsSession::lost, this,
            [this](const QString& reason, const QString& message) { lost(reason, message, true); });
}

void LinkControl::setRetryIntervals(int firstMs, int maxMs, int checkMs) {
    m_firstRetryMs = m_retryMs = firstMs;
    m_maxRetryMs = maxMs;
    m_deviceCheckMs = checkMs;
}

bool LinkControl::loggingIn() const {
    return type() == LinkType::AprsIs && m_state == State::Connecting && m_aprsIs.active() &&
           !m_aprsIs.verified();
}

bool LinkControl::tcpLink() const {
    return type() == LinkType::Agwpe || type() == LinkType::KissTcp || type() == LinkType::AprsIs;
}

void LinkControl::closeTcp() {
    if (type() == LinkType::AprsIs)
        m_aprsIs.stop();
    else if (m_sockets.active())
        m_sockets.Disconnect();
}

namespace {
// "host:port"; an IPv6 address in brackets, so that its own colons do not read as the port's.
QString hostAndPort(QString host, const QString& port) {
    host = host.trimmed();
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return host + QLatin1Char(':') + port.trimmed();
}
} // namespace

QString LinkControl::endpoint() const {
    switch (type()) {
    case LinkType::Agwpe:
        return hostAndPort(m_link.IPAddr, m_link.TCPPort);
    case LinkType::KissTcp:
        return hostAndPort(m_link.KissHost, m_link.KissPort);
    case LinkType::AprsIs:
        return hostAndPort(m_link.AprsServer, m_link.AprsPort);
    case LinkType::Kiss:
    case LinkType::Tnc:
        break;
    }
    return m_serial.devicePath(m_link.ComPort - 1);
}

QString LinkControl::stateText() const {
    switch (m_state) {
    case State::Down:
        return QStringLiteral("Not connected");
    case State::Connecting:
        return QStringLiteral("Connecting to %1").arg(endpoint());
    case State::Up:
        return QStringLiteral("Connected to %1").arg(endpoint());
    case State::Retrying:
        break;
    }
    if (!tcpLink() && !QFileInfo::exists(endpoint()))
        return QStringLiteral("Waiting for %1 to come back").arg(endpoint());
    const qint64 left =
        tcpLink() ? m_retryTimer.remainingTime() : m_nextAttemptAt - m_monotonic.elapsed();
    const QString verb =
        tcpLink() ? QStringLiteral("Reconnecting to") : QStringLiteral("Reopening");
    return QStringLiteral("%1 %2 in %3 s (%4)")
        .arg(verb, endpoint())
        .arg(qMax<qint64>(0, (left + 999) / 1000))
        .arg(m_lossReason);
}

LinkControl::~LinkControl() {
    // A wait still running in an outer frame must end rather than spin on a dead object.
    m_waiting = false;
    m_busy = false;
    setWaitCursor(false);
}

void LinkControl::setStatus(const QString& text) {
    m_status = text;
    emit statusChanged(text);
    emit stateChanged(stateText());
}

void LinkControl::setLayout(const LinkLayout& layout) {
    m_layout = layout;
    emit layoutChanged(m_layout);
}

void LinkControl::setConnectedLayout() {
    LinkLayout layout;
    layout.connectEnabled = false;
    layout.disconnectEnabled = true;
    layout.sendEnabled = true;
    layout.hostMenuEnabled = true;
    layout.offersDisconnect = true;
    setLayout(layout);
}

void LinkControl::setWaitCursor(bool on) {
    if (m_waitCursor == on)
        return;
    m_waitCursor = on;
    emit waitCursorChanged(on);
}

void LinkControl::configureSerialPort() {
    static constexpr TSerialPort::TBaudRate rates[] = {
        TSerialPort::br1200,  TSerialPort::br2400,  TSerialPort::br4800,  TSerialPort::br9600,
        TSerialPort::br19200, TSerialPort::br38400, TSerialPort::br57600, TSerialPort::br115200};
    m_serial.BaudRate =
        m_link.BaudRate >= 0 && m_link.BaudRate <= 7 ? rates[m_link.BaudRate] : TSerialPort::br9600;
    m_serial.DataBits = m_link.DataBits == 0 ? TSerialPort::db7 : TSerialPort::db8;
    m_serial.StopBits = m_link.StopBits == 1 ? TSerialPort::sbTwo : TSerialPort::sbOne;
    m_serial.ParityType = m_link.Parity == 1   ? TSerialPort::pcOdd
                          : m_link.Parity == 2 ? TSerialPort::pcEven
                                               : TSerialPort::pcNone;
    m_serial.FlowControl = m_link.Flow == 0   ? TSerialPort::fcNone
                           : m_link.Flow == 1 ? TSerialPort::fcXON_XOFF
                                              : TSerialPort::fcRTS_CTS;
    m_serial.EOFChar = 254;
    m_serial.WriteTO = 500;
    m_serial.setDeviceTable(m_link.ComDevices);
}

bool LinkControl::connectLink(bool unattended) {
    if (m_state == State::Retrying) {
        // The user (or a timed start) asks now: the next attempt is not waited for.
        m_retryTimer.stop();
        attempt();
        return true;
    }
    const quint64 generation = ++m_generation;
    m_supervised = unattended;
    m_state = State::Connecting;
    LinkLayout connecting = m_layout;
    connecting.connectEnabled = false;
    setLayout(connecting);

    const LinkType linkType = type();
    if (m_link.serial()) {
        // The TNC waits below handle window events; the Comms dialog and Station Setup would
        // disconnect inside them and change the settings this connect is using.
        connecting.hostMenuEnabled = false;
        setLayout(connecting);
        const std::optional<QString> failure = openSerial(generation, false);
        if (!failure)
            return m_connected;
        if (!failure->isEmpty()) {
            setWaitCursor(false);
            lost(*failure, *failure);
            return m_state == State::Retrying;
        }
    } else if (linkType == LinkType::AprsIs) {
        // A login that cannot send is refused before a server sees it.
        if (AprsIs::passcodeFor(m_link, m_station.MyCall) == AprsIs::ReceiveOnlyPasscode) {
            m_supervised = false;
            disconnectLink();
            if (unattended)
                setStatus(AprsIs::receiveOnlyMessage());
            else
                m_dialogs.information(AprsIs::receiveOnlyMessage());
            return false;
        }
        startAprsIs(false);
        if (!m_aprsIs.active()) {
            setWaitCursor(false);
            m_supervised = false;
            disconnectLink();
            return false;
        }
    } else {
        const bool agwpe = linkType == LinkType::Agwpe;
        m_sockets.IPAddr = agwpe ? m_link.IPAddr : m_link.KissHost;
        m_sockets.Port = agwpe ? m_link.TCPPort : m_link.KissPort;
        m_sockets.Quiet = false;
        m_sockets.SConnect();
        // No port, no address or an unknown dotted host: the box has been shown and no
        // connection will ever complete, so the link must not look connected. A host name
        // still being looked up is a connect under way.
        if (!m_sockets.active()) {
            setWaitCursor(false);
            m_supervised = false;
            disconnectLink();
            return false;
        }
    }

    setConnectedLayout();
    setWaitCursor(false);
    if (m_link.serial())
        becameUp(m_status);
    return true;
}

std::optional<QString> LinkControl::openSerial(quint64 generation, bool reconnect) {
    const LinkType linkType = type();
    configureSerialPort();
    if (!m_serial.Open(m_link.ComPort - 1)) {
        qCWarning(lcLink) << "cannot open COM" << m_link.ComPort << "error" << m_serial.LastError();
        return QStringLiteral("Unable to open COM port (COM%1)").arg(m_link.ComPort);
    }
    // Whatever the device said before we listened is no answer to our probe.
    m_serial.PurgeInput();
    m_portOpened = true;
    setStatus(QStringLiteral("Connecting to TNC..."));

    if (linkType == LinkType::Kiss) {
        // A TNC that lost its power came back in command mode: the lines that put it into
        // KISS mode go first, as the terminal's Send button gives them.
        if (reconnect && !m_link.EnterKiss[0].isEmpty()) {
            const auto lines = KissSequence::enterLines(m_link.EnterKiss);
            for (size_t i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    m_clock.pause(kEnterKissPauseMs);
                m_serial.Write(lines[i]);
            }
            m_clock.pause(kEnterKissPauseMs);
            m_serial.PurgeInput();
        }
        m_lastReceived.clear();
        if (!m_serial.Write(TncCommandMode::commandCode(quint8(m_link.CommandCode))))
            return kNotResponding;
        tncWait();
        if (supersededSince(generation))
            return std::nullopt;
        // A TNC in KISS mode keeps quiet; one in command mode answers the command code.
        if (!m_lastReceived.isEmpty())
            return QStringLiteral("The TNC is not in Kiss Mode.");
        setStatus(QStringLiteral("Connected to KISS TNC."));
    }
    m_connected = true;
    setWaitCursor(false);

    if (linkType == LinkType::Tnc && !tncConnectDialogue(generation)) {
        if (supersededSince(generation))
            return std::nullopt;
        m_connected = false;
        return QStringLiteral("Unable to connect to TNC.");
    }
    return QString();
}

void LinkControl::becameUp(const QString& status) {
    const bool back = m_state == State::Retrying;
    m_state = State::Up;
    m_supervised = true;
    m_retryMs = m_firstRetryMs;
    m_lossReason.clear();
    if (back)
        qCInfo(lcLink) << "link back:" << endpoint();
    setConnectedLayout();
    setStatus(status);
    startReading();
    emit linkUp();
}

void LinkControl::startReading() {
    m_agwpeReader.reset();
    m_kissReader.reset();
    // The engine's 'k' switches raw frames on and off: once per connection, which is new
    // after every reconnect.
    if (type() == LinkType::Agwpe)
        SendAGW(agwpeFrame(1, 0, 'k', {}, {}, {}));
}

void LinkControl::socketData(int) {
    const QByteArray bytes = m_sockets.SReceive();
    if (m_state != State::Up)
        return;
    if (type() == LinkType::Agwpe) {
        const int before = m_agwpeReader.errors();
        for (const AgwpeReader::Received& r : m_agwpeReader.feed(bytes))
            heardOn(r.radioPort, r.body);
        m_receiveErrors += m_agwpeReader.errors() - before;
    } else if (type() == LinkType::KissTcp) {
        kissData(bytes);
    }
}

void LinkControl::kissData(const QByteArray& bytes) {
    if (m_state != State::Up || (type() != LinkType::Kiss && type() != LinkType::KissTcp))
        return;
    const int before = m_kissReader.errors();
    for (const KissDecoder::Frame& frame : m_kissReader.feed(bytes))
        if (frame.command() == Kiss::DataFrame && frame.commandByte != Kiss::Return)
            heardOn(frame.port() + 1, frame.body);
    m_receiveErrors += m_kissReader.errors() - before;
}

void LinkControl::heardOn(int radioPort, const QByteArray& body) {
    if (body.size() > Ax25::MaxFrame) {
        ++m_receiveErrors;
        return;
    }
    HeardFrame frame;
    frame.utc = m_clock.nowUtc();
    frame.port = sentPortName(type(), radioPort);
    frame.body = body;
    emit frameHeard(frame);
}

void LinkControl::lost(const QString& reason, const QString& message, bool asError) {
    const bool wasUp = m_state == State::Up;
    m_connected = false;
    m_connectedTimer.stop();
    if (tcpLink()) {
        closeTcp();
    } else if (m_portOpened) {
        // Reopened by its path when it comes back: a device that went away keeps no
        // descriptor worth holding.
        m_serial.Close();
        m_portOpened = false;
    }
    if (!m_supervised) {
        // The user's own connect failed: that connect's message, and the link stays down.
        disconnectLink();
        if (message.isEmpty())
            return;
        if (asError)
            m_dialogs.error(message);
        else
            m_dialogs.information(message);
        return;
    }
    if (wasUp) {
        // Told once; the attempts that follow show in the status line only.
        qCWarning(lcLink) << "link to" << endpoint() << "lost:" << reason;
        m_retryMs = m_firstRetryMs;
    }
    m_state = State::Retrying;
    m_lossReason = reason;
    LinkLayout layout;
    layout.connectEnabled = true; // an attempt at once
    layout.disconnectEnabled = true;
    layout.sendEnabled = true; // a Send Now says why it cannot go
    layout.hostMenuEnabled = true;
    layout.offersDisconnect = true;
    setLayout(layout);
    scheduleRetry();
}

void LinkControl::scheduleRetry() {
    const int wait = m_retryMs;
    m_retryMs = qMin(m_retryMs * 2, m_maxRetryMs);
    if (tcpLink()) {
        m_retryTimer.start(wait);
    } else {
        m_nextAttemptAt = m_monotonic.elapsed() + wait;
        m_retryTimer.start(qMin(wait, m_deviceCheckMs));
    }
    setStatus(stateText());
}

void LinkControl::RetryTimed() {
    if (m_state != State::Retrying)
        return;
    if (!tcpLink()) {
        if (!QFileInfo::exists(endpoint())) {
            // Nothing to try until the device is back; then at once, and the back-off starts
            // afresh for the device that came.
            if (m_nextAttemptAt != 0)
                setStatus(stateText());
            m_nextAttemptAt = 0;
            m_retryMs = m_firstRetryMs;
            m_retryTimer.start(m_deviceCheckMs);
            return;
        }
        if (m_monotonic.elapsed() < m_nextAttemptAt) {
            m_retryTimer.start(
                int(qMin<qint64>(m_deviceCheckMs, m_nextAttemptAt - m_monotonic.elapsed())));
            return;
        }
    }
    attempt();
}

void LinkControl::attempt() {
    qCDebug(lcLink) << "reconnecting to" << endpoint();
    if (type() == LinkType::AprsIs) {
        startAprsIs(true);
        if (!m_aprsIs.active())
            lost(QStringLiteral("cannot connect"));
        return;
    }
    if (tcpLink()) {
        const bool agwpe = type() == LinkType::Agwpe;
        m_sockets.IPAddr = agwpe ? m_link.IPAddr : m_link.KissHost;
        m_sockets.Port = agwpe ? m_link.TCPPort : m_link.KissPort;
        // A name server that is down too must not leave a box per attempt.
        m_sockets.Quiet = true;
        m_sockets.SConnect();
        if (!m_sockets.active())
            lost(QStringLiteral("cannot connect"));
        return;
    }
    const quint64 generation = ++m_generation;
    const std::optional<QString> failure = openSerial(generation, true);
    if (!failure)
        return;
    setWaitCursor(false);
    if (failure->isEmpty())
        becameUp(m_status);
    else
        lost(*failure);
}

void LinkControl::DeviceLost(int error) {
    if (!m_link.serial() || m_state != State::Up)
        return;
    lost(QStringLiteral("%1 has gone: %2")
             .arg(endpoint(), QString::fromLocal8Bit(std::strerror(error))));
}

bool LinkControl::supersededSince(quint64 generation) {
    if (generation == m_generation)
        return false;
    // A disconnect (or another connect) ran inside the wait and has set the layout and the
    // status for what the link is now; this connect must not lay a connected window over it.
    qCDebug(lcLink) << "connect abandoned: the link changed during the TNC wait";
    setWaitCursor(false);
    return true;
}

void LinkControl::tncWait() {
    m_waiting = true;
    m_tncTimer.stop();
    m_tncTimer.start();
    setWaitCursor(true);
    while (m_waiting)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_waiting = false;
}

void LinkControl::TNCTimed() {
    m_tncTimer.stop();
    m_waiting = false;
}

bool LinkControl::tncConnectDialogue(quint64 generation) {
    m_lastReceived.clear();
    setWaitCursor(true);
    m_serial.Write(TncCommandMode::probe(quint8(m_link.CommandCode)));
    tncWait();
    if (generation != m_generation)
        return false;
    if (!TncCommandMode::answerHasPrompt(Cp1252::fromUnicode(m_lastReceived), m_link.CmdPrompt)) {
        qCDebug(lcLink) << "no prompt in" << m_lastReceived;
        return false;
    }
    setWaitCursor(false);
    setStatus(QStringLiteral("Connected to TNC"));
    LinkLayout layout = m_layout;
    layout.connectEnabled = false;
    layout.disconnectEnabled = true;
    setLayout(layout);
    m_connected = true;

    m_serial.PurgeOutput();
    const QList<QByteArray> lines =
        TncCommandMode::connectLines(m_station.MyCall, m_station.Destination, m_station.UnprotoPath,
                                     m_link.ConOk, m_link.Beacon);
    for (const QByteArray& line : lines)
        m_serial.Write(line);
    m_serial.PurgeOutput();
    return true;
}

void LinkControl::disconnectLink() {
    ++m_generation;
    m_state = State::Down;
    m_supervised = false;
    m_lossReason.clear();
    m_retryTimer.stop();
    m_retryMs = m_firstRetryMs;
    if (tcpLink()) {
        // Also closes a connection still being made, so it cannot complete behind a
        // disconnected window.
        closeTcp();
        m_connectedTimer.stop();
    }
    LinkLayout layout;
    layout.connectEnabled = true;
    layout.disconnectEnabled = false;
    layout.sendEnabled = false;
    layout.hostMenuEnabled = true;
    layout.offersDisconnect = false;
    setLayout(layout);
    setStatus(QStringLiteral("Not Connected"));
    m_connected = false;
    emit beaconsStopped();
}

void LinkControl::SessionConnected(int socket) {
    if (m_link.serial())
        return;
    m_connected = true;
    if (type() == LinkType::Agwpe) {
        m_connectedTimer.start();
        becameUp(QStringLiteral("Connected to IP: ") + m_sockets.PeerAddress(socket) +
                 QStringLiteral(" on port ") + m_sockets.PeerPort(socket));
    } else {
        becameUp(QStringLiteral("Connected to KISS TNC at %1").arg(endpoint()));
    }
}

void LinkControl::Error(int socket, int error, const QString& message) {
    qCDebug(lcLink) << "socket" << socket << "error" << error << message;
    lost(message,
         (type() == LinkType::Agwpe ? QStringLiteral("AGWPE Connection error reported "
                                                     "with the message:\r\n")
                                    : QStringLiteral("KISS TCP Connection error reported "
                                                     "with the message:\r\n")) +
             message,
         true);
}

void LinkControl::SessionClosed(int socket) {
    // The engine went away without an error: to the operator that is the same lost link.
    Error(socket, 10054, TSockets::errorText(10054));
}

void LinkControl::ConnectedTest() {
    // A look-up still running from the last check is left to finish rather than started
    // again behind a slow name server.
    if (m_connected && !m_busy && type() == LinkType::Agwpe && !m_sockets.resolving()) {
        qCDebug(lcLink) << "reconnecting to the packet engine";
        if (m_sockets.active())
            m_sockets.Disconnect();
        m_sockets.Quiet = true;
        m_sockets.SConnect();
        if (!m_sockets.active())
            lost(QStringLiteral("cannot connect"));
    }
}

void LinkControl::LookupFailed() {
    // The host name does not resolve (now): a connect the user asked for has shown its box.
    lost(QStringLiteral("host %1 not found").arg(m_sockets.IPAddr));
}

void LinkControl::BusyTimed() {
    m_busyTimer.stop();
    if (!m_busy)
        return;
    m_busy = false;
    emit busyChanged(false);
}

void LinkControl::AfterRecieve(const QString& text) {
    m_lastReceived = text;
    if (m_terminalEcho)
        emit terminalText(text);
}

bool LinkControl::Send(int radioPort, quint8 pid, char kind, const QString& callFrom,
                       const QString& callTo, const QByteArray& data) {
    while (m_busy)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_busy = true;
    m_busyTimer.start();
    emit busyChanged(true);
    SendAGW(agwpeFrame(radioPort, pid, kind, callFrom, callTo, data));
    return true;
}

void LinkControl::SendAGW(const QByteArray& frame) {
    m_sockets.SSend(frame);
}

void LinkControl::setSentLogFolder(const QString& folder) {
    m_sentLog.reset();
    m_sentLogFailed = false;
    if (folder.isEmpty())
        return;
    m_sentLog = std::make_unique<SentLog>(folder);
    m_sentLog->prune(m_clock.nowUtc().date(), 30);
}

void LinkControl::record(const QString& link, const QByteArray& body, bool sent,
                         const QString& message) {
    SentRecord r;
    r.utc = m_clock.nowUtc();
    r.slot = m_origin.slot;
    r.identifier = m_origin.identifier;
    r.link = link;
    if (const auto frame = parseAx25UiFrame(body)) {
        r.monitor = ax25MonitorText(*frame);
        const Airtime::Cost cost = Airtime::ofFrame(body);
        r.bytes = cost.bytes;
        r.seconds = cost.seconds;
    }
    r.sent = sent;
    r.message = sent && message.isEmpty() ? m_note : message;
    addRecord(r);
}

void LinkControl::recordLine(const QByteArray& line, bool sent, const QString& message) {
    SentRecord r;
    r.utc = m_clock.nowUtc();
    r.slot = m_origin.slot;
    r.identifier = m_origin.identifier;
    r.link = sentPortName(LinkType::AprsIs);
    // Its size on the connection; it takes no time on any radio channel.
    r.monitor = readAirText(line.endsWith("\r\n") ? line.chopped(2) : line);
    r.bytes = int(line.size());
    r.seconds = 0;
    r.sent = sent;
    r.message = sent && message.isEmpty() ? m_note : message;
    addRecord(r);
}

void LinkControl::addRecord(const SentRecord& r) {
    emit frameRecorded(r);
    if (!m_sentLog)
        return;
    QString error;
    if (!m_sentLog->append(r, &error) && !m_sentLogFailed) {
        // Once per run: the report went out, only its record is missing, and an operator
        // away from the screen must not come back to a pile of boxes.
        m_sentLogFailed = true;
        qCWarning(lcLink) << "sent-reports log:" << error;
        m_dialogs.error(QStringLiteral("Unable to write to %1").arg(m_sentLog->folder()));
    }
}

bool LinkControl::sendReport(const QString& text, const QString& destination,
                             const ReportOrigin& origin, const QString& note) {
    m_origin = origin;
    m_note = note;
    const QString info = airCarrier(text, m_station.Utf8Text);
    const LinkType linkType = type();
    const QString linkName = LinkSettings::typeName(linkType);
    try {
        if (m_state == State::Retrying && linkType == LinkType::AprsIs) {
            QByteArray line;
            try {
                line = checkedAprsIsLine(destination, m_station, m_link, info);
            } catch (const FrameError&) {
            } catch (const ConvertError&) {
            }
            recordLine(line, false, QStringLiteral("link down: %1").arg(m_lossReason));
            return false;
        }
        if (m_state == State::Retrying) {
            // Recorded, so that the log shows the gap and why; nobody is asked anything.
            const QString to = linkType == LinkType::Tnc ? m_station.Destination : destination;
            record(linkName, reportFrameBody(to, m_station.MyCall, m_station.UnprotoPath, info),
                   false, QStringLiteral("link down: %1").arg(m_lossReason));
            return false;
        }
        switch (linkType) {
        case LinkType::Agwpe:
            sendAgwpe(info, destination);
            break;
        case LinkType::Kiss:
        case LinkType::KissTcp:
            sendKiss(info, destination);
            break;
        case LinkType::Tnc:
            sendTnc(info);
            break;
        case LinkType::AprsIs:
            return sendAprsIs(info, destination);
        }
    } catch (const FrameError& e) {
        record(linkName, {}, false, e.message());
        m_dialogs.error(e.message());
        return false;
    } catch (const ConvertError& e) {
        record(linkName, {}, false, e.message());
        m_dialogs.error(e.message());
        return false;
    }
    return true;
}

void LinkControl::sendAgwpe(const QString& info, const QString& destination) {
    // The engine builds from these fields the very frame a KISS TNC gets from us, so the same
    // address rules refuse it here, with the same messages (a path such as "RELAY,,WIDE" or
    // "wide2-2" read from the settings file would otherwise go to the engine). It is built
    // before the first frame so that a report goes out on every port or on none, and it is
    // the frame the record shows.
    const QByteArray body = checkedAgwpeBody(destination, m_station, info);
    const char kind = agwpeFrameKind(m_station.UnprotoPath);
    const QByteArray data = agwpeViaBlock(m_station.UnprotoPath) + Cp1252::fromUnicode(info);
    for (int port = 1; port <= 4; ++port)
        if (m_station.PortFlags[size_t(port - 1)]) {
            Send(port, Agwpe::PidNoLayer3, kind, m_station.MyCall, destination, data);
            record(sentPortName(LinkType::Agwpe, port), body);
        }
}

bool LinkControl::writeSerial(const QByteArray& bytes) {
    if (m_serialWriteFailed)
        return false;
    if (!m_serial.Write(bytes))
        m_serialWriteFailed = true;
    return !m_serialWriteFailed;
}

bool LinkControl::writeKiss(const QByteArray& bytes) {
    if (type() != LinkType::KissTcp)
        return writeSerial(bytes);
    if (m_serialWriteFailed)
        return false;
    // A failed send is reported by the socket, which brings the link back by itself.
    if (m_sockets.SSend(bytes) <= 0)
        m_serialWriteFailed = true;
    return !m_serialWriteFailed;
}

void LinkControl::serialFailed() {
    qCWarning(lcLink) << "serial write failed, error" << m_serial.LastError();
    lost(kNotResponding, kNotResponding);
}

void LinkControl::sendKiss(const QString& info, const QString& destination) {
    const QList<Kiss::PortFrame> frames = kissReportFrames(
        info, m_station.MyCall, destination, m_station.UnprotoPath, m_station.PortFlags);
    const auto frameFor = [&](int tncPort) -> const Kiss::PortFrame* {
        for (const auto& frame : frames)
            if (frame.tncPort == tncPort)
                return &frame;
        return nullptr;
    };
    // Each frame goes out as FEND + command byte, then the rest, as TNCs have always been fed.
    const QByteArray body =
        reportFrameBody(destination, m_station.MyCall, m_station.UnprotoPath, info);
    const bool tcp = type() == LinkType::KissTcp;
    const auto writeFrame = [&](const Kiss::PortFrame& frame) {
        // Over TCP a frame goes whole: a TNC server need not see it arrive in two parts.
        const bool sent = tcp ? writeKiss(frame.bytes)
                              : writeKiss(frame.bytes.left(2)) && writeKiss(frame.bytes.mid(2));
        record(sentPortName(type(), frame.radioPort), body, sent,
               sent  ? QString()
               : tcp ? QStringLiteral("The KISS TNC connection failed.")
                     : kNotResponding);
    };

    m_serialWriteFailed = false;
    if (!tcp)
        m_serial.PurgeOutput();
    if (const auto* frame = frameFor(0))
        writeFrame(*frame);
    const Kiss::PortFrame* second = frameFor(1);
    if (!tcp || second)
        m_clock.pause(kKissPortPauseMs);
    if (!tcp)
        m_serial.PurgeOutput();
    if (second) {
        writeFrame(*second);
        if (!tcp)
            m_serial.PurgeOutput();
    }
    if (m_serialWriteFailed && !tcp)
        serialFailed();
}

void LinkControl::sendTnc(const QString& info) {
    const quint8 sendPac = quint8(m_link.SendPacCode);
    const quint8 command = quint8(m_link.CommandCode);
    // Refused (FrameError) before anything is typed when the text holds a control code.
    const QByteArray report = TncCommandMode::reportLine(info, sendPac, m_link.CommandCode);
    // The TNC builds the frame from the addresses it was given at connect.
    const QByteArray body = checkedTncBody(m_station, info);

    m_serialWriteFailed = false;
    m_serial.PurgeOutput();
    m_serial.PurgeInput();
    writeSerial(TncCommandMode::converse(m_link.Conv, sendPac));
    m_clock.pause(kConversePauseMs);
    writeSerial(report);
    m_clock.pause(kConversePauseMs);
    writeSerial(TncCommandMode::commandCode(command));
    m_serial.PurgeOutput();
    record(sentPortName(LinkType::Tnc), body, !m_serialWriteFailed,
           m_serialWriteFailed ? kNotResponding : QString());
    if (m_serialWriteFailed)
        serialFailed();
}

void LinkControl::startAprsIs(bool quiet) {
    AprsIsSession::Login login;
    login.server = m_link.AprsServer;
    login.port = m_link.AprsPort;
    login.callsign = m_station.MyCall;
    login.passcode = AprsIs::passcodeFor(m_link, m_station.MyCall);
    login.filter = m_link.AprsFilter;
    m_aprsIs.start(login, quiet);
}

void LinkControl::aprsIsRefused(const QString& reason, const QString& message) {
    // A server that refuses a login refuses the next one as well until something changes:
    // the attempts go at the slow end of the back-off, never hammering it.
    m_retryMs = m_maxRetryMs;
    lost(reason, message);
}

bool LinkControl::sendAprsIs(const QString& info, const QString& destination) {
    // Refused (FrameError) with the radio's own messages before anything is written.
    const QByteArray line = checkedAprsIsLine(destination, m_station, m_link, info);
    if (!m_aprsIs.verified()) {
        // The login is still being answered: the line must not reach a server that has not
        // verified it, and the log shows why it is missing.
        recordLine(line, false, QStringLiteral("not logged in to APRS-IS yet"));
        return false;
    }
    const bool sent = m_aprsIs.sendLine(line);
    recordLine(line, sent, sent ? QString() : QStringLiteral("The APRS-IS connection failed."));
    return sent;
}
