// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"
#include "common/StationSettings.h"
#include "links/AgwpeReader.h"
#include "links/AprsIsSession.h"
#include "links/Kiss.h"
#include "links/SentLog.h"
#include "links/Serial/TSerialPort.h"
#include "links/Sockets/TSockets.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

class Clock;
class Dialogs;

// What the window shows of the link: which of its controls are enabled and whether the
// Connect menu entry offers to connect or to disconnect. The window applies it and chooses
// the captions; the callsign check of the connect button stays the window's.
struct LinkLayout {
    bool connectEnabled = true;
    bool disconnectEnabled = false;
    bool sendEnabled = false;      // the three Send Now and three Start buttons
    bool hostMenuEnabled = true;   // "&Communications..." and Station Setup
    bool offersDisconnect = false; // the Connect menu entry disconnects

    bool operator==(const LinkLayout&) const = default;
};

// Where a report comes from, for the sent-reports log: the object slot (1..3) and the name
// the operator knows it by.
struct ReportOrigin {
    int slot = 0;
    QString identifier;
};

// A frame the engine or TNC heard on the channel, as it handed it over.
struct HeardFrame {
    QDateTime utc;
    QString port;    // "AGWPE port 1", "KISS port 2"
    QByteArray body; // the AX.25 frame without its check sequence
};

// The one link to the radio: AGWPE over TCP, a KISS TNC on a serial line or over TCP, or a TNC
// in command mode; or, with no radio, a login to an APRS-IS server. Connects and disconnects, keeps
// the connected / busy / waiting state, and puts each report on the air in the link's own framing.
// A link that was up and is lost without the user's Disconnect (the engine restarted, the device
// unplugged) is brought back by itself while the objects keep running. It talks to the window
// through signals only, so the window stays a thin layer of controls.
class LinkControl : public QObject {
    Q_OBJECT
public:
    LinkControl(Dialogs& dialogs, Clock& clock, QObject* parent = nullptr);
    ~LinkControl() override;

    // The one copy of the link and station settings: the window loads and saves them here,
    // and dialogs hand their edits back here.
    void setLinkSettings(const LinkSettings& settings) {
        m_link = settings;
        emit settingsChanged();
    }
    const LinkSettings& linkSettings() const { return m_link; }
    void setStation(const StationSettings& station) {
        m_station = station;
        emit settingsChanged();
    }
    const StationSettings& station() const { return m_station; }
    LinkType type() const { return m_link.type(); }

    TSockets& sockets() { return m_sockets; }
    TSerialPort& serialPort() { return m_serial; }
    AprsIsSession& aprsIs() { return m_aprsIs; }
    QTimer& busyTimer() { return m_busyTimer; }
    QTimer& connectedTimer() { return m_connectedTimer; }
    QTimer& tncTimer() { return m_tncTimer; }
    QTimer& retryTimer() { return m_retryTimer; }
    // Tests shorten the waits; the defaults are 3000 and 1500 ms (the idle reconnect: 15000).
    void setBusyInterval(int ms) { m_busyTimer.setInterval(ms); }
    void setTncInterval(int ms) { m_tncTimer.setInterval(ms); }
    // Reconnects wait firstMs after a loss, doubling up to maxMs; a serial link looks for its
    // device every checkMs meanwhile. The defaults are 2 s, 60 s and 2 s.
    void setRetryIntervals(int firstMs, int maxMs, int checkMs);

    bool isConnected() const { return m_connected; }
    // Lost without the user's Disconnect, and coming back by itself.
    bool reconnecting() const { return m_state == State::Retrying; }
    // Connected to an APRS-IS server that has not verified the login yet: nothing can go.
    bool loggingIn() const;
    // What the link is doing, as one line: "Connected to 127.0.0.1:8000", "Reconnecting to
    // 127.0.0.1:8000 in 20 s (Connection refused)", "Waiting for /tmp/kisstnc to come back".
    QString stateText() const;
    // Why the link went down, while it is coming back.
    const QString& lossReason() const { return m_lossReason; }
    // Where the link goes: "127.0.0.1:8000" over TCP, the device path on a serial line.
    QString endpoint() const;
    bool isBusy() const { return m_busy; }
    bool portOpened() const { return m_portOpened; }
    bool waiting() const { return m_waiting; }
    const QString& lastReceived() const { return m_lastReceived; }
    const QString& statusText() const { return m_status; }
    const LinkLayout& layout() const { return m_layout; }
    bool terminalEcho() const { return m_terminalEcho; }
    void setTerminalEcho(bool on) { m_terminalEcho = on; }

    // Every frame handed to the link from now on is recorded in a log in `folder`; day files
    // older than 30 days there are removed now. An empty folder records nothing.
    void setSentLogFolder(const QString& folder);
    const SentLog* sentLog() const { return m_sentLog.get(); }

    // Connects the link of the current type; false when a step failed (its message shown,
    // the link left disconnected). A TCP connection completes later, in SessionConnected.
    // A disconnect inside a TNC wait ends a serial connect without a message: the result is
    // then whether the link is connected now. While the link is coming back, the next attempt
    // is made at once. `unattended`: nobody may be there to read a message, so a first connect
    // that fails is retried as a lost link is (the headless station).
    bool connectLink(bool unattended = false);
    // Drops the link as the user does: the disconnected layout, "Not Connected",
    // beaconsStopped(), and no reconnecting.
    void disconnectLink();

    void SessionConnected(int socket);
    void Error(int socket, int error, const QString& message);
    void SessionClosed(int socket);
    void LookupFailed();
    void ConnectedTest();
    void RetryTimed();
    void DeviceLost(int error);
    void BusyTimed();
    void TNCTimed();
    void AfterRecieve(const QString& text);
    // Waits until TNCTimer ends the wait, handling window events meanwhile.
    void tncWait();

    // The link hands over the frames it hears: AGWPE and KISS do; a TNC in command mode and
    // APRS-IS (whose filter is only asked for at the login) do not.
    bool listening() const {
        return type() == LinkType::Agwpe || type() == LinkType::Kiss || type() == LinkType::KissTcp;
    }
    // Frames a peer handed over that were not read: too long, or broken framing.
    int receiveErrors() const { return m_receiveErrors; }
    // One record into the sent-reports log and to the window (frameRecorded): a frame handed
    // to the link, or a copy of one heard on the channel.
    void addRecord(const SentRecord& record);

    // Puts one report (information field: header + comment) on the air to `destination`
    // through the current link. Refusals and failures are shown through Dialogs; nothing
    // half-built is written. While the link is coming back the report is only recorded as
    // not sent, with no message. False when nothing was handed to the link.
    // `note`: what the log says of each frame of it that went ("killed, copy 2 of 4").
    bool sendReport(const QString& info, const QString& destination,
                    const ReportOrigin& origin = {}, const QString& note = {});
    // One AGWPE frame, after the busy period of the one before it.
    bool Send(int radioPort, quint8 pid, char kind, const QString& callFrom, const QString& callTo,
              const QByteArray& data);
    void SendAGW(const QByteArray& frame);

signals:
    void statusChanged(const QString& text);
    void layoutChanged(const LinkLayout& layout);
    // A busy period started or ended: the window disables its object pages and shows the
    // hourglass meanwhile.
    void busyChanged(bool busy);
    // The wait cursor of the TNC waits; always balanced.
    void waitCursorChanged(bool on);
    // The user's Disconnect (or a connect the user asked for that failed): the window stops
    // its three object beacons. A lost link that comes back by itself stops nothing.
    void beaconsStopped();
    // stateText() changed.
    void stateChanged(const QString& text);
    // The link is up and can carry reports (for AGWPE once the engine has taken the
    // connection, also after each of the idle reconnects).
    void linkUp();
    // Received text for the TNC terminal, while its echo is on.
    void terminalText(const QString& text);
    // One frame handed to the link (or refused on the way), as the log records it.
    void frameRecorded(const SentRecord& record);
    // A frame heard on the channel (AGWPE and KISS links, while up).
    void frameHeard(const HeardFrame& frame);
    // The link or station settings were replaced: what a report would cost may have changed.
    void settingsChanged();

private:
    enum class State { Down, Connecting, Up, Retrying };

    void setStatus(const QString& text);
    void socketData(int socket);
    // The KISS byte stream, from the serial port or the KISS TCP socket.
    void kissData(const QByteArray& bytes);
    void heardOn(int radioPort, const QByteArray& body);
    // The start of reading on a link that just came up: fresh framing state, and for AGWPE
    // the one 'k' that asks the engine for raw received frames.
    void startReading();
    // The link was lost without the user's Disconnect: it comes back by itself, or (never up
    // since the user's connect) it ends as that connect's failure, with `message` shown.
    void lost(const QString& reason, const QString& message = {}, bool asError = false);
    void scheduleRetry();
    void attempt();
    void becameUp(const QString& status);
    bool tcpLink() const;
    // The serial steps of a connect: open, the KISS probe or the TNC dialogue. Empty when
    // the link is up, else why not; nullopt when a disconnect inside a TNC wait took over.
    std::optional<QString> openSerial(quint64 generation, bool reconnect);
    void setLayout(const LinkLayout& layout);
    void setConnectedLayout();
    void setWaitCursor(bool on);
    void configureSerialPort();
    bool tncConnectDialogue(quint64 generation);
    // True when the link was disconnected or connected again since the connect of
    // `generation` began (inside one of its TNC waits); the wait cursor is then put away.
    bool supersededSince(quint64 generation);
    bool writeSerial(const QByteArray& bytes);
    void sendAgwpe(const QString& info, const QString& destination);
    void sendKiss(const QString& info, const QString& destination);
    bool writeKiss(const QByteArray& bytes);
    void sendTnc(const QString& info);
    bool sendAprsIs(const QString& info, const QString& destination);
    void startAprsIs(bool quiet);
    void aprsIsRefused(const QString& reason, const QString& message);
    // Closes the TCP connection of the link's type, or the connect still under way.
    void closeTcp();
    void serialFailed();
    // Records one frame of the report being sent: its AX.25 body as the TNC puts it on the air.
    void record(const QString& link, const QByteArray& body, bool sent = true,
                const QString& message = {});
    // Records one report line handed to APRS-IS (or that could not be).
    void recordLine(const QByteArray& line, bool sent, const QString& message = {});

    Dialogs& m_dialogs;
    Clock& m_clock;
    LinkSettings m_link;
    StationSettings m_station;
    TSockets m_sockets;
    TSerialPort m_serial;
    AprsIsSession m_aprsIs;
    QTimer m_busyTimer;
    QTimer m_connectedTimer;
    QTimer m_tncTimer;
    QTimer m_retryTimer;
    int m_firstRetryMs = 2000;
    int m_maxRetryMs = 60000;
    int m_deviceCheckMs = 2000;
    int m_retryMs = 2000;       // the wait before the next attempt
    qint64 m_nextAttemptAt = 0; // serial: on m_monotonic
    QElapsedTimer m_monotonic;
    State m_state = State::Down;
    bool m_supervised = false; // a loss is brought back: up once since the user's connect
    QString m_lossReason;

    bool m_connected = false;
    bool m_busy = false;
    bool m_portOpened = false;
    bool m_waiting = false;
    bool m_waitCursor = false;
    bool m_terminalEcho = false;
    bool m_serialWriteFailed = false;
    quint64 m_generation = 0; // counts connects and disconnects
    QString m_lastReceived;
    QString m_status = QStringLiteral("Not Connected");
    LinkLayout m_layout;
    std::unique_ptr<SentLog> m_sentLog;
    bool m_sentLogFailed = false; // its one message has been shown
    ReportOrigin m_origin;        // of the report being sent
    QString m_note;               // what the log says of its frames that went
    AgwpeReader m_agwpeReader;
    KissDecoder m_kissReader;
    int m_receiveErrors = 0;
};
