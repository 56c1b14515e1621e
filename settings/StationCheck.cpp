// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/StationCheck.h"

#include "links/Ax25.h"
#include "links/UnprotoPath.h"

QString stationCallProblem(const QString& call) {
    return ax25CallsignProblem(call);
}

bool unprotoPathSendable(const QString& path) {
    if (path.contains(QLatin1Char('.')))
        return false;
    // The path is split exactly as the frames will split it, so what passes here can be sent.
    const QStringList entries = unprotoPathEntries(path);
    if (entries.size() > Ax25::MaxDigipeaters)
        return false;
    for (const QString& entry : entries)
        if (!ax25CallsignProblem(entry).isEmpty())
            return false;
    return true;
}

QString stationRefusal(const StationEntry& e) {
    if (!unprotoPathSendable(e.path))
        return QStringLiteral("Error in Unproto path");
    if (e.call.isEmpty() || e.call.left(6) == QLatin1String("NOCALL") || e.destination.isEmpty())
        return QStringLiteral("Callsign or Destination Address Required!");
    if (const QString p = stationCallProblem(e.call); !p.isEmpty())
        return QStringLiteral("Callsign (including SSID): ") + p;
    if (const QString p = stationCallProblem(e.destination); !p.isEmpty())
        return QStringLiteral("Destination Address: ") + p;
    if (!e.tncLink)
        if (const QString p = stationCallProblem(e.weatherDestination); !p.isEmpty())
            return QStringLiteral("Wx beacon destination: ") + p;
    return {};
}
