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
