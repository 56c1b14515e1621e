// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/FramePlan.h"

#include "common/AirText.h"

#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "links/AgwpeFrame.h"
#include "links/AprsIs.h"
#include "links/Ax25.h"
#include "links/FrameError.h"
#include "links/Kiss.h"
#include "links/TncCommandMode.h"

QByteArray reportFrameBody(const QString& destination, const QString& source, const QString& path,
                           const QString& info) {
    try {
        return ax25UiFrame(destination, source, path, Cp1252::fromUnicode(info));
    } catch (const FrameError&) {
    } catch (const ConvertError&) {
    }
    return {};
}

QByteArray checkedAgwpeBody(const QString& destination, const StationSettings& station,
                            const QString& info) {
    const QByteArray body =
        ax25UiFrame(destination, station.MyCall, station.UnprotoPath, Cp1252::fromUnicode(info));
    agwpeViaBlock(station.UnprotoPath);
    return body;
}

QByteArray checkedTncBody(const StationSettings& station, const QString& info) {
    return ax25UiFrame(station.Destination, station.MyCall, station.UnprotoPath,
                       Cp1252::fromUnicode(info));
}

QByteArray checkedAprsIsLine(const QString& destination, const StationSettings& station,
                             const LinkSettings& link, const QString& info) {
    // A report the radio would refuse is refused here as well, though only its source and
    // destination travel: the same report must not go out on one link and not on another.
    ax25UiFrame(destination, station.MyCall, station.UnprotoPath, Cp1252::fromUnicode(info));
    if (AprsIs::passcodeFor(link, station.MyCall) == AprsIs::ReceiveOnlyPasscode)
        throw FrameError(AprsIs::receiveOnlyMessage());
    return AprsIs::reportLine(station.MyCall, destination, info);
}

QString sentPortName(LinkType type, int port) {
    switch (type) {
    case LinkType::Agwpe:
        return QStringLiteral("AGWPE port %1").arg(port);
    case LinkType::Kiss:
        return QStringLiteral("KISS port %1").arg(port);
    case LinkType::KissTcp:
        return QStringLiteral("KISS TCP port %1").arg(port);
    case LinkType::AprsIs:
        return QStringLiteral("APRS-IS");
    case LinkType::Tnc:
        break;
    }
    return QStringLiteral("TNC");
}

namespace {

// The names and order in which the link hands the frames over.
QStringList portsOf(LinkType type, const LinkSettings& link, const StationSettings& station,
                    const QString& info, const QString& destination) {
    QStringList out;
    switch (type) {
    case LinkType::Agwpe:
        checkedAgwpeBody(destination, station, info);
        for (int port = 1; port <= 4; ++port)
            if (station.PortFlags[size_t(port - 1)])
                out << sentPortName(type, port);
        break;
    case LinkType::Kiss:
    case LinkType::KissTcp:
        for (const Kiss::PortFrame& frame : kissReportFrames(
                 info, station.MyCall, destination, station.UnprotoPath, station.PortFlags))
            out << sentPortName(type, frame.radioPort);
        break;
    case LinkType::Tnc:
        TncCommandMode::reportLine(info, quint8(link.SendPacCode), link.CommandCode);
        checkedTncBody(station, info);
        out << sentPortName(type);
        break;
    case LinkType::AprsIs:
        checkedAprsIsLine(destination, station, link, info);
        out << sentPortName(type);
        break;
    }
    return out;
}

} // namespace

FramePlan planFrames(LinkType type, const LinkSettings& link, const StationSettings& station,
                     const QString& text, const QString& destination) {
    // As the link will send it: the same bytes, so the same size and airtime.
    const QString info = airCarrier(text, station.Utf8Text);
    FramePlan plan;
    try {
        plan.links = portsOf(type, link, station, info, destination);
    } catch (const FrameError& e) {
        plan.refusal = e.message();
        return plan;
    } catch (const ConvertError& e) {
        plan.refusal = e.message();
        return plan;
    }
    if (type == LinkType::AprsIs) {
        const QByteArray line = checkedAprsIsLine(destination, station, link, info);
        plan.monitor = readAirText(line.chopped(2));
        plan.cost.bytes = int(line.size());
        plan.onAir = false;
        return plan;
    }
    const QString to = type == LinkType::Tnc ? station.Destination : destination;
    const QByteArray body = reportFrameBody(to, station.MyCall, station.UnprotoPath, info);
    if (const auto frame = parseAx25UiFrame(body)) {
        plan.monitor = ax25MonitorText(*frame);
        plan.cost = Airtime::ofFrame(body);
    }
    return plan;
}

double channelShare(const QList<ScheduledReport>& schedule) {
    double share = 0;
    for (const ScheduledReport& r : schedule)
        if (r.intervalMinutes > 0)
            share += r.plan.airtimeTotal() / (r.intervalMinutes * 60.0);
    return share;
}

QString channelShareText(double share) {
    const double percent = share * 100.0;
    // One object every ten minutes takes under a tenth of a percent: small shares keep two
    // decimals, and one too small even for those still shows that it takes something.
    if (percent > 0 && percent < 0.01)
        return QStringLiteral("Channel < 0.01 %");
    return QStringLiteral("Channel %1 %").arg(QString::number(percent, 'f', percent < 1 ? 2 : 1));
}
