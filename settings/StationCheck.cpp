// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/StationCheck.h"

#include <QStringList>

namespace {

constexpr int kMaxBase = 6;
constexpr int kMaxSsid = 15;
constexpr int kMaxDigipeaters = 8;

bool capitalOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

QString stationCallProblem(const QString& call) {
    if (call.isEmpty())
        return QStringLiteral("A callsign is empty.");
    const qsizetype dash = call.indexOf(QLatin1Char('-'));
    const QString base = dash < 0 ? call : call.left(dash);
    if (base.isEmpty())
        return QStringLiteral("\"%1\" has no callsign before its SSID.").arg(call);
    if (base.size() > kMaxBase)
        return QStringLiteral(
                   "\"%1\" is too long: a callsign has at most %2 characters before its SSID.")
            .arg(call)
            .arg(kMaxBase);
    for (QChar c : base)
        if (!capitalOrDigit(c))
            return QStringLiteral("\"%1\" may hold only capital letters and digits before its "
                                  "SSID.")
                .arg(call);
    if (dash >= 0) {
        const QString ssid = call.mid(dash + 1);
        bool digits = !ssid.isEmpty() && ssid.size() <= 2;
        for (QChar c : ssid)
            digits = digits && c.isDigit() && c.unicode() < 128;
        if (!digits || ssid.toInt() > kMaxSsid)
            return QStringLiteral("The SSID of \"%1\" is not a number from 0 to %2.")
                .arg(call)
                .arg(kMaxSsid);
    }
    return {};
}

bool unprotoPathSendable(const QString& path) {
    if (path.contains(QLatin1Char('.')))
        return false;
    if (path.trimmed().isEmpty())
        return true;
    QStringList entries = path.split(QLatin1Char(','));
    // "RELAY," is read as one entry, as the frames will carry it.
    if (entries.size() > 1 && entries.last().trimmed().isEmpty())
        entries.removeLast();
    if (entries.size() > kMaxDigipeaters)
        return false;
    for (const QString& entry : entries)
        if (!stationCallProblem(entry.trimmed()).isEmpty())
            return false;
    return true;
}
