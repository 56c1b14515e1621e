// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the program types to a TNC kept in its text command mode. Every line is built whole, in
// Windows-1252; the link writes it as it is.
namespace TncCommandMode {

inline constexpr char LineEnd[] = "\r\n";

// The command code followed by CR LF: asks the TNC to show its prompt.
QByteArray probe(quint8 commandCode);

// True when the prompt occurs anywhere in what the TNC answered (case-sensitive). An empty
// prompt never matches: it would take any noise for a TNC.
bool answerHasPrompt(const QByteArray& received, const QString& prompt);

// "UNPROTO " + destination, with " VIA " + path when there is one; the path is sent as the
// station settings hold it.
QString unprotoLine(const QString& destination, const QString& unprotoPath);

// The lines that set the TNC up after it answered: MYCALL, UNPROTO, the connect-requests
// command and the beacon command, each ending in CR LF, in that order.
QList<QByteArray> connectLines(const QString& myCall, const QString& destination,
                               const QString& unprotoPath, const QString& conOk,
                               const QString& beacon);

// The converse command ended by the SendPac code (not CR LF).
QByteArray converse(const QString& conv, quint8 sendPacCode);

// The information field ended by the SendPac code: the TNC sends it as one frame. Throws
// FrameError when the field itself holds the SendPac code or the command code (0..255; -1 for
// none), which would cut the report short or drop the TNC out of converse mode mid-report.
QByteArray reportLine(const QString& info, quint8 sendPacCode, int commandCode = -1);

// The command code alone: back to command mode.
QByteArray commandCode(quint8 code);

} // namespace TncCommandMode
