// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AprsIsSession.h"

#include "common/Cp1252.h"
#include "links/AprsIs.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcAprsIs, "skyvane.aprsis")

namespace {

constexpr int kLoginTimeoutMs = 30000;
constexpr int kSilenceLimitMs = 120000;

const char* const kVersion = SKYVANE_SOFTWARE_VERSION;

} // namespace

AprsIsSession::AprsIsSession(Dialogs* dialogs, QObject* parent)
    : QObject(parent), m_sockets(dialogs) {
    m_loginTimer.setObjectName(QStringLiteral("LoginTimer"));
    m_loginTimer.setSingleShot(true);
    m_loginTimer.setInterval(kLoginTimeoutMs);
    m_silenceTimer.setObjectName(QStringLiteral("SilenceTimer"));
    m_silenceTimer.setSingleShot(true);
    m_silenceTimer.setInterval(kSilenceLimitMs);
    connect(&m_loginTimer, &QTimer::timeout, this, &AprsIsSession::LoginTimed);
    connect(&m_silenceTimer, &QTimer::timeout, this, &AprsIsSession::SilenceTimed);

    m_sockets.NoDelay = true;
    connect(&m_sockets, &TSockets::OnSessionConnected, this, &AprsIsSession::connected);
    connect(&m_sockets, &TSockets::OnDataAvailable, this, &AprsIsSession::dataAvailable);
    connect(&m_sockets, &TSockets::OnSessionClosed, this, &AprsIsSession::closed);
    connect(&m_sockets, &TSockets::OnErrorOccurred, this,
            [this](int, int error, const QString& text) { socketError(error, text); });
    connect(&m_sockets, &TSockets::OnLookupFailed, this,
            [this] { fail(false, QStringLiteral("host %1 not found").arg(m_login.server), {}); });
}

void AprsIsSession::start(const Login& login, bool quiet) {
    stop();
    m_login = login;
    m_sockets.IPAddr = login.server;
    m_sockets.Port = login.port;
    m_sockets.Quiet = quiet;
    m_sockets.SConnect();
}

void AprsIsSession::stop() {
    m_loginTimer.stop();
    m_silenceTimer.stop();
    m_verified = false;
    m_overlong = false;
    m_partial.clear();
    m_lastComment.clear();
    m_serverName.clear();
    if (m_sockets.active())
        m_sockets.Disconnect();
}

void AprsIsSession::connected() {
    // Sent at once: the server's banner is no question, and it wants the login within 30 s.
    m_sockets.SSend(AprsIs::loginLine(m_login.callsign, m_login.passcode, QLatin1String(kVersion),
                                      m_login.filter));
    m_loginTimer.start();
    m_silenceTimer.start();
}

void AprsIsSession::dataAvailable() {
    const QByteArray bytes = m_sockets.SReceive();
    m_silenceTimer.start();
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', from);
        const QByteArray piece = bytes.mid(from, end < 0 ? -1 : end - from);
        from = end < 0 ? bytes.size() : end + 1;
        if (!m_overlong)
            m_partial += piece;
        // A server that never ends its line cannot make us hold more than one line.
        if (m_partial.size() > AprsIs::MaxLineLength) {
            m_partial.clear();
            m_overlong = true;
        }
        if (end < 0)
            break;
        const QByteArray text = m_partial;
        const bool whole = !m_overlong;
        m_partial.clear();
        m_overlong = false;
        if (whole)
            line(text.endsWith('\r') ? text.chopped(1) : text);
        if (!m_sockets.active())
            return; // the line ended the session
    }
}

void AprsIsSession::line(const QByteArray& text) {
    if (m_verified || !text.startsWith('#'))
        return; // keepalives and reports: only proof that the server is there
    switch (AprsIs::answerTo(text, m_login.callsign)) {
    case AprsIs::Answer::Other:
        m_lastComment = text;
        return;
    case AprsIs::Answer::Verified:
        m_loginTimer.stop();
        m_verified = true;
        m_serverName = AprsIs::serverIn(text);
        if (m_serverName.isEmpty())
            m_serverName = m_sockets.PeerAddress(m_sockets.socketHandle());
        qCInfo(lcAprsIs) << "logged in to" << m_serverName << "as" << m_login.callsign;
        emit loggedIn(m_serverName);
        return;
    case AprsIs::Answer::Unverified:
        fail(true, QStringLiteral("login not verified"),
             QStringLiteral("The APRS-IS server did not verify the login of %1, so it would "
                            "not pass reports on. Check the passcode in the Comms dialog.\r\n"
                            "The server said: %2")
                 .arg(AprsIs::asciiUpper(m_login.callsign), Cp1252::toUnicode(text)));
        return;
    case AprsIs::Answer::Refused:
        fail(true, QStringLiteral("login refused"),
             QStringLiteral("The APRS-IS server refused the login.\r\nThe server said: %1")
                 .arg(Cp1252::toUnicode(text)));
        return;
    }
}

void AprsIsSession::LoginTimed() {
    if (!m_sockets.active() || m_verified)
        return;
    fail(true, QStringLiteral("no answer to the login"),
         QStringLiteral("The APRS-IS server did not answer the login within %1 s.")
             .arg((m_loginTimer.interval() + 999) / 1000));
}

void AprsIsSession::SilenceTimed() {
    if (!m_sockets.active())
        return;
    if (!m_verified) {
        LoginTimed();
        return;
    }
    const int minutes = qMax(1, m_silenceTimer.interval() / 60000);
    fail(false, QStringLiteral("server silent for %1 min").arg(minutes),
         QStringLiteral("The APRS-IS server sent nothing for %1 min.").arg(minutes));
}

void AprsIsSession::socketError(int, const QString& text) {
    fail(false, text,
         QStringLiteral("APRS-IS Connection error reported with the message:\r\n") + text);
}

void AprsIsSession::closed() {
    if (m_verified) {
        socketError(10054, TSockets::errorText(10054));
        return;
    }
    // aprsc closes after saying why in a "#" line; without one the server just hung up.
    QString message = QStringLiteral("The APRS-IS server closed the connection without taking "
                                     "the login.");
    if (!m_lastComment.isEmpty())
        message += QStringLiteral("\r\nThe server said: %1").arg(Cp1252::toUnicode(m_lastComment));
    fail(true, QStringLiteral("login not answered"), message);
}

void AprsIsSession::fail(bool refusal, const QString& reason, const QString& message) {
    qCWarning(lcAprsIs) << "session ended:" << reason;
    stop();
    if (refusal)
        emit refused(reason, message);
    else
        emit lost(reason, message);
}

bool AprsIsSession::sendLine(const QByteArray& line) {
    if (!m_verified)
        return false;
    return m_sockets.SSend(line) == line.size();
}
