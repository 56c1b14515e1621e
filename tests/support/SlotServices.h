// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/ObjectSlot.h"

#include <QString>

// The station an object slot under test belongs to: G4ABC-1, sending to APRS and weather to
// APWX, comment times as "hhmm", and connected while `connected` holds (the test flips it).
inline ObjectSlotServices testSlotServices(CommentMarkers& markers, const bool& connected) {
    ObjectSlotServices services;
    services.markers = &markers;
    services.sendContext = [&connected] {
        SendRequest r;
        r.connected = connected;
        r.destination = QStringLiteral("APRS");
        r.weatherDestination = QStringLiteral("APWX");
        return r;
    };
    services.stationCall = [] { return QStringLiteral("G4ABC-1"); };
    services.dateFormat = [] { return QStringLiteral("hhmm"); };
    return services;
}
