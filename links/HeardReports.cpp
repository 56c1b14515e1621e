// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/HeardReports.h"

#include "common/Cp1252.h"

#include <algorithm>

namespace {

constexpr int ObjectNameSize = 9;

// The name field of an object report (";" + 9 characters + "*" or "_"), or nothing.
QByteArray objectNameOf(const QByteArray& info) {
    if (info.size() < 2 + ObjectNameSize || info[0] != ';')
        return {};
    const char state = info[1 + ObjectNameSize];
    if (state != '*' && state != '_')
        return {};
    return info.mid(1, ObjectNameSize);
}

QString utcTime(const QDateTime& utc, const QString& format) {
    return utc.toUTC().time().toString(format);
}

} // namespace

QString HeardReports::normalCall(const QString& call) {
    QString out;
    out.reserve(call.size());
    // ASCII only: a Turkish desktop must not turn "i" into a dotted capital.
    for (const QChar c : call.trimmed())
        out += c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
    if (out.endsWith(QLatin1String("-0")))
        out.chop(2);
    return out;
}

void HeardReports::sent(const SentReport& report) {
    Slot& s = m_slots[size_t(report.slot)];
    const QByteArray name = objectNameOf(report.info);
    if (name != s.nameField) {
        s.clash.reset();
        s.clashCalls.clear();
    }
    s.last = report;
    s.source = normalCall(report.source);
    s.nameField = name;
    s.copies.clear();
}

HeardReports::Outcome HeardReports::heard(const Ax25Frame& frame, const QDateTime& utc) {
    Outcome outcome;
    const QString source = normalCall(frame.source);
    const QByteArray name = objectNameOf(frame.info);
    for (int k = 0; k < Slots; ++k) {
        Slot& s = m_slots[size_t(k)];
        if (!s.last)
            continue;
        if (source == s.source) {
            if (outcome.slot >= 0 || frame.info != s.last->info)
                continue;
            const qint64 after = s.last->utc.secsTo(utc);
            if (after < 0 || after > s.last->windowSeconds)
                continue;
            QString via;
            for (qsizetype i = frame.path.size() - 1; i >= 0; --i)
                if (frame.repeated.value(i)) {
                    via = frame.path[i];
                    break;
                }
            outcome.slot = k;
            outcome.via = via;
            outcome.newPath = std::none_of(s.copies.cbegin(), s.copies.cend(),
                                           [&](const HeardCopy& c) { return c.via == via; });
            if (outcome.newPath)
                s.copies.append({utc, via});
        } else if (outcome.clashSlot < 0 && !name.isEmpty() && name == s.nameField) {
            outcome.clashSlot = k;
            outcome.newClash = !s.clashCalls.contains(source);
            s.clashCalls.insert(source);
            s.clash = NameClash{source, utc};
        }
    }
    return outcome;
}

QString HeardReports::fateText(int slot, bool listening, const QDateTime& now) const {
    const Slot& s = m_slots[size_t(slot)];
    if (!s.last)
        return {};
    QString text = QStringLiteral("Sent ") + utcTime(s.last->utc, QStringLiteral("HH:mm:ss"));
    if (!listening)
        return text;
    if (s.copies.isEmpty()) {
        const bool over = s.last->utc.secsTo(now) > s.last->windowSeconds;
        return text + (over ? QStringLiteral(", not heard") : QStringLiteral(", not heard yet"));
    }
    text += QStringLiteral(", heard ");
    bool afterVia = false;
    for (qsizetype i = 0; i < s.copies.size(); ++i) {
        const HeardCopy& c = s.copies[i];
        if (i > 0)
            text += QStringLiteral(", ");
        if (c.via.isEmpty())
            text += QStringLiteral("direct");
        else
            text += (afterVia ? QString() : QStringLiteral("via ")) + c.via;
        afterVia = !c.via.isEmpty();
        text += QLatin1Char(' ') + utcTime(c.utc, QStringLiteral("HH:mm:ss"));
    }
    return text;
}

QString HeardReports::clashText(int slot) const {
    const Slot& s = m_slots[size_t(slot)];
    if (!s.clash)
        return {};
    return QStringLiteral("%1 is also sent by %2 (%3)")
        .arg(Cp1252::toUnicode(s.nameField).trimmed(), s.clash->call,
             utcTime(s.clash->utc, QStringLiteral("HH:mm")));
}
