// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <array>

// Who transmits and how: edited in Station Setup, read by every link.
struct StationSettings {
    QString MyCall = QStringLiteral("NOCALL-1"); // callsign with SSID, at most 9 characters
    QString Destination = QStringLiteral("CQ");  // at most 6, capitals
    QString WxDest = QStringLiteral("WX");       // at most 6
    QString Ports = QStringLiteral("1000");      // one "0"/"1" per radio port 1..4
    std::array<bool, 4> PortFlags{true, false, false, false};
    // 0 none, 1..4 and 6..7 presets, 5 the user's path, -1 typed preset or empty
    int Unproto = 0;
    QString UnprotoPath; // the path in effect, e.g. "RELAY, WIDE"
    QString LinkPath;    // the link's copy of UnprotoPath
    QString UserUnproto; // the user's own path that is none of the presets
    // Comments go on the air as UTF-8, their limits counted in bytes; off: Windows-1252.
    bool Utf8Text = false;
    // The weather report's header carries its time as DDHHMM in UTC with "z"; off: local
    // time with "/".
    bool UtcWeather = false;

    // Ports text -> flags: character i set to "1" turns port i+1 on; anything else is off.
    void applyPortsText() {
        for (int i = 0; i < 4; ++i)
            PortFlags[size_t(i)] = i < Ports.size() && Ports[i] == QLatin1Char('1');
    }
    // "NOCALL" (exact capitals) in the first six characters means the station is not set up.
    bool callsignSet() const { return MyCall.left(6) != QLatin1String("NOCALL"); }

    bool operator==(const StationSettings&) const = default;
};
