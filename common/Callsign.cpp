// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Callsign.h"

QString canonicalCall(const QString& call) {
    const qsizetype dash = call.indexOf(QLatin1Char('-'));
    if (dash < 0 || dash + 1 == call.size())
        return call;
    const QString digits = call.mid(dash + 1);
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return call;
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    const QString ssid = digits.mid(first);
    return ssid == QLatin1String("0") ? call.left(dash) : call.left(dash + 1) + ssid;
}
