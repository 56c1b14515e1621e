// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/AprsIs.h"

#include "common/Cp1252.h"
#include "common/LinkSettings.h"
#include "links/FrameError.h"

#include <QList>

namespace AprsIs {

QString asciiUpper(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

int passcode(const QString& callsign) {
    const QByteArray call =
        asciiUpper(callsign.section(QLatin1Char('-'), 0, 0).trimmed()).toLatin1();
    int hash = 0x73E2;
    for (qsizetype i = 0; i < call.size(); ++i) {
        const int c = quint8(call[i]);
        hash ^= i % 2 == 0 ? c << 8 : c;
    }
    return hash & 0x7FFF;
}

std::optional<int> passcodeSetting(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Digits only, read without the desktop's language (no "13.023" from a German one).
    const qsizetype first = t.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (t.size() == first || t.size() - first > 5)
        return std::nullopt;
    for (qsizetype i = first; i < t.size(); ++i)
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return std::nullopt;
    const int value = t.toInt();
    if (value < ReceiveOnlyPasscode || value > 0x7FFF)
        return std::nullopt;
    return value;
}

QString receiveOnlyMessage() {
    return QStringLiteral("The APRS-IS passcode is -1, which only receives: the servers pass no "
                          "report on from it. Enter the passcode of your callsign in the Comms "
                          "dialog.");
}

int passcodeFor(const LinkSettings& link, const QString& callsign) {
    if (link.AprsPasscode.trimmed().isEmpty())
        return passcode(callsign);
    return passcodeSetting(link.AprsPasscode).value_or(ReceiveOnlyPasscode);
}

namespace {

QByteArray printable(const QString& text) {
    QByteArray out = Cp1252::fromUnicode(text);
    out.removeIf([](char c) { return quint8(c) < 0x20 || quint8(c) == 0x7F; });
    return out.trimmed();
}

// The words of a "#" line, after the "#".
QList<QByteArray> wordsOf(const QByteArray& line) {
    QByteArray text = line.trimmed();
    if (!text.startsWith('#'))
        return {};
    text.remove(0, 1);
    QList<QByteArray> words;
    for (const QByteArray& w : text.split(' '))
        if (!w.isEmpty())
            words.append(w);
    return words;
}

} // namespace

QByteArray loginLine(const QString& callsign, int passcode, const QString& version,
                     const QString& filter) {
    QByteArray line = "user " + printable(asciiUpper(callsign)) + " pass " +
                      QByteArray::number(passcode) + " vers Skyvane " + printable(version);
    const QByteArray f = printable(filter);
    if (!f.isEmpty())
        line += " filter " + f;
    return line + "\r\n";
}

Answer answerTo(const QByteArray& line, const QString& callsign) {
    const QList<QByteArray> words = wordsOf(line);
    if (words.isEmpty())
        return Answer::Other;
    if (words[0] == "logresp") {
        // "verified," with its comma; anything else, or another call, is not a verified login.
        const bool ours = words.size() > 1 && QString::fromLatin1(words[1]) == asciiUpper(callsign);
        const bool verified =
            words.size() > 2 && (words[2] == "verified," || words[2] == "verified");
        return ours && verified ? Answer::Verified : Answer::Unverified;
    }
    if (words[0] == "Invalid" || line.contains("not allowed"))
        return Answer::Refused;
    return Answer::Other;
}

QString serverIn(const QByteArray& line) {
    const QList<QByteArray> words = wordsOf(line);
    for (qsizetype i = 0; i + 1 < words.size(); ++i)
        if (words[i] == "server")
            return QString::fromLatin1(words[i + 1]);
    return {};
}

QByteArray reportLine(const QString& source, const QString& destination, const QString& info) {
    const QByteArray text = Cp1252::fromUnicode(info);
    for (const char c : text)
        if (c == '\r' || c == '\n' || c == '\0')
            throw FrameError(QStringLiteral(
                "The report cannot go to APRS-IS: it holds a line end or NUL character, which "
                "would cut the line short."));
    const QByteArray line = Cp1252::fromUnicode(source) + '>' + Cp1252::fromUnicode(destination) +
                            ",TCPIP*:" + text + "\r\n";
    if (line.size() > MaxLineLength)
        throw FrameError(QStringLiteral("The report is too long for APRS-IS: its line would be "
                                        "%1 bytes, and a server takes at most %2.")
                             .arg(line.size())
                             .arg(MaxLineLength));
    return line;
}

} // namespace AprsIs
