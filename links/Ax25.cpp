// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/Ax25.h"

#include "common/AirText.h"
#include "common/ConvertError.h"
#include "common/Cp1252.h"
#include "links/FrameError.h"
#include "links/UnprotoPath.h"

#include <algorithm>

using namespace Ax25;

namespace {

struct SplitCall {
    QString base;
    QString ssidText;
    bool hasDash = false;
};

SplitCall split(const QString& call) {
    const qsizetype dash = call.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return {call, {}, false};
    return {call.left(dash), call.mid(dash + 1), true};
}

std::optional<int> decimalSsid(const SplitCall& s) {
    if (!s.hasDash)
        return 0;
    if (s.ssidText.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : s.ssidText) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - '0'), 1000); // range is checked later
    }
    return value;
}

// Everything but the SSID's spelling, which the send reports as a conversion error.
QString problemBesidesSsidText(const QString& call, const SplitCall& s, int ssid) {
    if (call.isEmpty())
        return QStringLiteral("A callsign is empty.");
    if (s.base.isEmpty())
        return QStringLiteral("\"%1\" has no callsign before its SSID.").arg(call);
    if (s.base.size() > MaxBaseLength)
        return QStringLiteral("\"%1\" is too long: a callsign has at most %2 characters before "
                              "its SSID.")
            .arg(call)
            .arg(MaxBaseLength);
    for (QChar c : s.base)
        if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
              (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return QStringLiteral("\"%1\" may hold only capital letters and digits before its "
                                  "SSID.")
                .arg(call);
    if (ssid < 0 || ssid > MaxSsid)
        return QStringLiteral("The SSID of \"%1\" is not a number from 0 to %2.")
            .arg(call)
            .arg(MaxSsid);
    return {};
}

QString decodeCall(const QByteArray& bytes, int offset, bool* ok) {
    QString base;
    bool blank = false;
    for (int i = 0; i < MaxBaseLength; ++i) {
        const quint8 b = quint8(bytes[offset + i]);
        const char c = char(b >> 1);
        if (b & 0x01) {
            *ok = false;
            return {};
        }
        if (c == ' ') {
            blank = true;
            continue;
        }
        // A character after the padding, or one no callsign holds, means this is not an
        // address field we could have written.
        if (blank || !((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            *ok = false;
            return {};
        }
        base += QLatin1Char(c);
    }
    if (base.isEmpty()) {
        *ok = false;
        return {};
    }
    const int ssid = (quint8(bytes[offset + MaxBaseLength]) >> 1) & 0x0F;
    return ssid == 0 ? base : base + QLatin1Char('-') + QString::number(ssid);
}

} // namespace

QString ax25CallsignProblem(const QString& call) {
    const SplitCall s = split(call);
    const std::optional<int> ssid = decimalSsid(s);
    if (!ssid && !call.isEmpty() && !s.base.isEmpty())
        return QStringLiteral("The SSID of \"%1\" is not a number from 0 to %2.")
            .arg(call)
            .arg(MaxSsid);
    return problemBesidesSsidText(call, s, ssid.value_or(0));
}

QByteArray ax25Address(const QString& call, quint8 ssidBits, bool last) {
    const SplitCall s = split(call);
    const std::optional<int> ssid = decimalSsid(s);
    if (!ssid)
        throw ConvertError::integer(s.ssidText);
    const QString problem = problemBesidesSsidText(call, s, *ssid);
    if (!problem.isEmpty())
        throw FrameError(problem);
    QByteArray bytes(AddressSize, char(' ' << 1));
    const QByteArray base = Cp1252::fromUnicode(s.base);
    for (int i = 0; i < base.size(); ++i)
        bytes[i] = char(quint8(base[i]) << 1);
    bytes[MaxBaseLength] = char(ssidBits | quint8(*ssid << 1) | (last ? EndBit : 0));
    return bytes;
}

QByteArray ax25UiFrame(const QString& destination, const QString& source,
                       const QString& unprotoPath, const QByteArray& info) {
    const QStringList path = unprotoPathEntries(unprotoPath);
    if (path.size() > MaxDigipeaters)
        throw FrameError(QStringLiteral("The unproto path \"%1\" names %2 digipeaters; at most %3 "
                                        "can be sent.")
                             .arg(unprotoPath)
                             .arg(path.size())
                             .arg(MaxDigipeaters));
    QByteArray body = ax25Address(destination, CommandBit | ReservedBits, false);
    body += ax25Address(source, ReservedBits, path.isEmpty());
    for (qsizetype i = 0; i < path.size(); ++i)
        body += ax25Address(path[i], ReservedBits, i == path.size() - 1);
    body.append(char(ControlUi));
    body.append(char(PidNoLayer3));
    body += info;
    return body;
}

std::optional<Ax25Frame> parseAx25UiFrame(const QByteArray& body) {
    QStringList calls;
    QList<bool> repeated;
    qsizetype offset = 0;
    bool ended = false;
    while (!ended) {
        if (calls.size() == 2 + MaxDigipeaters || offset + AddressSize > body.size())
            return std::nullopt;
        bool ok = true;
        calls << decodeCall(body, int(offset), &ok);
        if (!ok)
            return std::nullopt;
        const quint8 ssidByte = quint8(body[offset + MaxBaseLength]);
        repeated << bool(ssidByte & CommandBit);
        ended = ssidByte & EndBit;
        offset += AddressSize;
    }
    if (calls.size() < 2 || offset + 2 > body.size())
        return std::nullopt;
    Ax25Frame frame;
    frame.control = quint8(body[offset]);
    frame.pid = quint8(body[offset + 1]);
    // Poll/final set or clear, it is still a UI frame.
    if ((frame.control & ~0x10) != ControlUi)
        return std::nullopt;
    frame.destination = calls[0];
    frame.source = calls[1];
    frame.path = calls.mid(2);
    frame.repeated = repeated.mid(2);
    frame.info = body.mid(offset + 2);
    return frame;
}

QString ax25MonitorText(const Ax25Frame& frame) {
    QString text = frame.source + QLatin1Char('>') + frame.destination;
    // Monitors mark only the last address that has repeated the frame: the bits of those
    // before it say nothing more.
    const qsizetype last = frame.repeated.lastIndexOf(true);
    for (qsizetype i = 0; i < frame.path.size(); ++i) {
        text += QLatin1Char(',') + frame.path[i];
        if (i == last)
            text += QLatin1Char('*');
    }
    text += QLatin1Char(':');
    // Control characters would break the one-line-per-frame form.
    for (const QChar c : readAirText(frame.info)) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            text += QStringLiteral("<0x%1>").arg(u, 2, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text;
}
