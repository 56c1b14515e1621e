// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct LinkSettings;

// The texts of the APRS internet system's client port: the login line, the server's answers
// to it, and the TNC2 line that carries one report. Pure functions: nothing here knows a
// socket.
namespace AprsIs {

inline constexpr int ReceiveOnlyPasscode = -1;
// The longest line a server sends or takes, line end included; a longer one is no APRS-IS
// line and is dropped unread.
inline constexpr int MaxLineLength = 512;

// The callsign in capitals, A to Z only: a Turkish desktop must not turn "i" into a dotted
// capital that no server knows.
QString asciiUpper(const QString& text);

// The passcode the servers expect for a callsign; the SSID and the case make no difference.
int passcode(const QString& callsign);

// The Passcode setting as typed: empty follows the callsign; a whole number from -1 to 32767
// is the user's own; anything else gives nothing.
std::optional<int> passcodeSetting(const QString& text);
// Why a receive-only login (passcode -1) sends nothing, for the user.
QString receiveOnlyMessage();
// The passcode a login uses: the user's own, else the callsign's. A setting that is no
// passcode (edited by hand in the settings file) logs in receive-only rather than guessing.
int passcodeFor(const LinkSettings& link, const QString& callsign);

// "user CALL pass N vers Skyvane VERSION[ filter F]\r\n". Control characters cannot reach the
// server from the filter: they would end the line early.
QByteArray loginLine(const QString& callsign, int passcode, const QString& version,
                     const QString& filter = {});

// What one line from the server says about the login of `callsign`.
enum class Answer {
    Other,      // a banner, a keepalive, a report
    Verified,   // "# logresp CALL verified, ..."
    Unverified, // "# logresp CALL unverified, ..." (or for another call)
    Refused,    // "# Invalid ...", "# Login by user not allowed", ...
};
Answer answerTo(const QByteArray& line, const QString& callsign);
// The server's name in "# logresp CALL verified, server T2EXAMPLE"; empty when not given.
QString serverIn(const QByteArray& line);

// One report as the servers take it: "CALL>DEST,TCPIP*:information\r\n", with no radio
// path. Throws FrameError when the information holds a line end or NUL (a second line could
// be smuggled in that way) or the line would exceed what a server takes.
QByteArray reportLine(const QString& source, const QString& destination, const QString& info);

} // namespace AprsIs
