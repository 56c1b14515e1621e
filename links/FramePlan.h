// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"
#include "common/StationSettings.h"
#include "links/Airtime.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The AX.25 frame that carries a report, as a KISS TNC sends it and as the packet engine or a
// TNC in command mode builds it from the same fields; empty where our own rules cannot carry
// them (the report still goes out as the link takes it, only unrecorded in size).
QByteArray reportFrameBody(const QString& destination, const QString& source, const QString& path,
                           const QString& info);

// The frame the packet engine builds from a report's fields (the one a KISS TNC would get from
// us), after every check that refuses the report before its first frame: the address rules of
// AX.25 and the engine's via block. Throws FrameError or ConvertError with the user's message.
QByteArray checkedAgwpeBody(const QString& destination, const StationSettings& station,
                            const QString& info);

// The frame a TNC in command mode builds for a report from the addresses it was given at
// connect. The TNC cannot send what the address rules of AX.25 refuse either (it would answer
// the UNPROTO line with an error and keep its old path), so such a report is refused with the
// same message as on the other links. Throws FrameError or ConvertError.
QByteArray checkedTncBody(const StationSettings& station, const QString& info);

// The line a report goes to APRS-IS as, after the checks of the radio's links (the same AX.25
// address rules, with the same messages) and a refusal for a receive-only passcode. Throws
// FrameError or ConvertError.
QByteArray checkedAprsIsLine(const QString& destination, const StationSettings& station,
                             const LinkSettings& link, const QString& info);

// The name the sent-reports log gives a port a report went out on: "AGWPE port 1",
// "KISS port 2", or "TNC" for the one radio of a command-mode TNC (port unused).
QString sentPortName(LinkType type, int port = 0);

// What a report would put on the air through the link as it is set up, worked out without
// sending anything: the ports it goes out on (named as the sent-reports log names them), the
// frame in monitor form, and its size and airtime on each of them.
struct FramePlan {
    QStringList links;  // "AGWPE port 1", "KISS port 2", "TNC"; empty when refused
    QString monitor;    // SOURCE>DEST,PATH:information
    Airtime::Cost cost; // one frame
    QString refusal;    // what a send would tell the user instead of sending
    bool onAir = true;  // false for APRS-IS: cost.bytes is the line's size, and no airtime
    double airtimeTotal() const { return cost.seconds * double(links.size()); }
};

// The command-mode link sends to the station's own destination whatever `destination` says,
// as the TNC was given its addresses at connect.
FramePlan planFrames(LinkType type, const LinkSettings& link, const StationSettings& station,
                     const QString& info, const QString& destination);

// One report of a running schedule: its frames and how often they go out.
struct ScheduledReport {
    FramePlan plan;
    int intervalMinutes = 0;
};

// The share of the channel (0..1 and beyond when overbooked) the schedule keeps busy: each
// report's airtime on every port it goes out on, over its interval.
double channelShare(const QList<ScheduledReport>& schedule);

// "Channel 1.3 %" for the status bar; a full stop whatever the desktop language, as in every
// figure the program shows.
QString channelShareText(double share);
