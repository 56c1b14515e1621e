// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/HeardReports.h"

#include "common/Callsign.h"
#include "common/Cp1252.h"

#include <QRegularExpression>
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

QString baseOf(const QString& call) {
    return call.section(QLatin1Char('-'), 0, 0);
}

// The addresses every digipeater answers to, which name no station.
bool isGenericAlias(const QString& call) {
    static const QRegularExpression alias(QStringLiteral("^(?:(?:WIDE|TRACE)[1-7]?|RELAY)$"));
    return alias.match(baseOf(call)).hasMatch();
}

// A third-party frame an internet gateway puts on the air: "}" then the report as it came
// from the internet, "SOURCE>DEST,PATH,IGATE*:info".
struct GatedReport {
    QString source;
    QString gate; // the gateway that put it on the air
    QByteArray info;
};

std::optional<GatedReport> gatedReport(const Ax25Frame& frame) {
    if (!frame.info.startsWith('}'))
        return std::nullopt;
    const qsizetype colon = frame.info.indexOf(':');
    const qsizetype arrow = frame.info.indexOf('>');
    if (colon < 0 || arrow < 0 || arrow > colon)
        return std::nullopt;
    GatedReport r;
    r.source = HeardReports::normalCall(Cp1252::toUnicode(frame.info.mid(1, arrow - 1)));
    r.info = frame.info.mid(colon + 1);
    // The gateway marks itself last in the path; the internet's own entries name nobody.
    const QStringList path =
        Cp1252::toUnicode(frame.info.mid(arrow + 1, colon - arrow - 1)).split(QLatin1Char(','));
    for (qsizetype i = path.size() - 1; i >= 1 && r.gate.isEmpty(); --i) {
        QString entry = path[i];
        if (!entry.endsWith(QLatin1Char('*')))
            continue;
        entry.chop(1);
        if (!entry.startsWith(QLatin1String("TCP")) && !entry.startsWith(QLatin1Char('q')))
            r.gate = HeardReports::normalCall(entry);
    }
    if (r.gate.isEmpty())
        r.gate = HeardReports::normalCall(frame.source);
    return r;
}

} // namespace

QString HeardReports::normalCall(const QString& call) {
    QString out;
    out.reserve(call.size());
    // ASCII only: a Turkish desktop must not turn "i" into a dotted capital.
    for (const QChar c : call.trimmed())
        out += c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
    return canonicalCall(out);
}

QString HeardReports::repeatedBy(const QStringList& heardPath, const QList<bool>& repeated,
                                 const QStringList& sentPath) {
    QStringList path;
    for (const QString& call : heardPath)
        path << normalCall(call);
    QStringList sent;
    QStringList sentBases;
    for (const QString& call : sentPath) {
        sent << normalCall(call);
        sentBases << baseOf(sent.last());
    }
    // A digipeater that used an entry of our path lowers its SSID or marks it: either way the
    // entry names no station of its own.
    const auto alias = [&](const QString& call) {
        return isGenericAlias(call) || sentBases.contains(baseOf(call));
    };
    // AX.25 repeats in path order: an address before a repeated one was used as well, whether
    // or not a digipeater that inserted its call set the bit on it.
    qsizetype last = -1;
    for (qsizetype i = 0; i < path.size(); ++i)
        if (repeated.value(i))
            last = i;
    qsizetype named = last;
    if (last < 0) {
        if (path == sent)
            return {};
        named = path.size() - 1;
    }
    QStringList stations;
    for (qsizetype i = 0; i <= named; ++i)
        if (!alias(path[i]))
            stations << path[i];
    if (!stations.isEmpty())
        return stations.join(QStringLiteral(", "));
    // Only an alias tells: the one marked last, or the first that differs from what we sent.
    qsizetype at = last;
    for (qsizetype i = 0; at < 0 && i < path.size(); ++i)
        if (i >= sent.size() || path[i] != sent[i])
            at = i;
    if (at < 0)
        return QStringLiteral("a digipeater");
    // A digipeater we asked for by its call, which answers to it unchanged, is that station.
    if (!isGenericAlias(path[at]) && sent.contains(path[at]))
        return path[at];
    return QStringLiteral("a digipeater (%1)").arg(baseOf(path[at]));
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
    // Our own report back from the internet is a copy, never another station using our name.
    const std::optional<GatedReport> gated = gatedReport(frame);
    for (int k = 0; k < Slots; ++k) {
        Slot& s = m_slots[size_t(k)];
        if (!s.last)
            continue;
        const bool ours = gated ? gated->source == s.source : source == s.source;
        if (ours) {
            if (outcome.slot >= 0 || (gated ? gated->info : frame.info) != s.last->info)
                continue;
            const qint64 after = s.last->utc.secsTo(utc);
            if (after < 0 || after > s.last->windowSeconds)
                continue;
            const QString via = gated ? QStringLiteral("the internet gateway ") + gated->gate
                                      : repeatedBy(frame.path, frame.repeated, s.last->path);
            outcome.slot = k;
            outcome.via = via;
            outcome.newPath = std::none_of(s.copies.cbegin(), s.copies.cend(),
                                           [&](const HeardCopy& c) { return c.via == via; });
            if (outcome.newPath)
                s.copies.append({utc, via});
        } else if (!gated && outcome.clashSlot < 0 && !name.isEmpty() && name == s.nameField) {
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
