// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// What Station Setup accepts: texts that the frames on the air can carry.

// Empty when call is an address AX.25 can carry: one to six capital letters or digits and an
// optional "-SSID" of 0 to 15. Otherwise a sentence for the user naming the fault.
QString stationCallProblem(const QString& call);

// True when every entry of a path such as "RELAY, WIDE" is a digipeater address AX.25 can
// carry and there are at most eight; an empty path is fine. A full stop is never fine.
bool unprotoPathSendable(const QString& path);

// What the user typed into Station Setup.
struct StationEntry {
    QString call;
    QString destination;
    QString weatherDestination;
    QString path;
    bool tncLink = false; // a TNC in command mode has no weather destination of its own
};

// The message that refuses OK in Station Setup, or an empty text. In this order: a path the
// frames cannot carry, no callsign (or still "NOCALL") or no destination, then the callsign,
// the destination and the weather destination as AX.25 addresses.
QString stationRefusal(const StationEntry& entry);
