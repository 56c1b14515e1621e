// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/SendPlan.h"

namespace {

QString refusalOf(const SendRequest& r) {
    if (r.starting && !r.connected && r.linkDown.isEmpty())
        return QStringLiteral("Not connected to host.");
    if (r.identifier.isEmpty() && !r.weatherStation)
        return QStringLiteral("An Identifier is required.");
    if (r.symbolNumber == 0 && (r.starting || r.hasPosition))
        return QStringLiteral("A Symbol is required.");
    if (r.starting && !r.hasPosition)
        return QStringLiteral("Select a location on the map first.");
    return {};
}

} // namespace

SendPlan prepareSend(const SendRequest& request) {
    SendPlan plan;
    plan.refusal = refusalOf(request);
    plan.destination = request.weatherStation && !request.tncLink ? request.weatherDestination
                                                                  : request.destination;
    return plan;
}

QString reportRefusal(const QString& header) {
    return header.isEmpty() ? QStringLiteral("There is no Object to send") : QString();
}
