// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Cp1252.h"

namespace {

// 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined, which map to the C1
// control of the same value so that every byte survives a round trip.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

namespace Cp1252 {

QChar toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(char16_t(byte));
}

char fromUnicode(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (int i = 0; i < 32; ++i) {
        const char16_t mapped = kHigh[i] != 0 ? kHigh[i] : char16_t(0x80 + i);
        if (mapped == u)
            return char(0x80 + i);
    }
    return '?';
}

QString toUnicode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(toUnicode(static_cast<unsigned char>(b)));
    return out;
}

QByteArray fromUnicode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(fromUnicode(c));
    return out;
}

bool canEncode(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char('?') && fromUnicode(c) == '?')
            return false;
    return true;
}

namespace {

bool hasByte(QChar c) {
    return c == QLatin1Char('?') || fromUnicode(c) != '?';
}

} // namespace

std::optional<QChar> standIn(QChar c) {
    if (hasByte(c))
        return c;
    // Unicode gives the dotless i no decomposition; it is the Turkish lower case of "I".
    if (c == QChar(0x0131))
        return QLatin1Char('i');
    // Canonical and compatibility decompositions alike start with the base letter; the
    // Unicode tables behind them are the same whatever the desktop language.
    const QString parts = c.decomposition();
    if (!parts.isEmpty() && parts[0] != c)
        return standIn(parts[0]);
    return std::nullopt;
}

QString encodable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (const std::optional<QChar> s = standIn(c))
            out.append(*s);
    return out;
}

std::optional<QChar> typedCapital(QChar typed) {
    if (!typed.isPrint())
        return std::nullopt;
    const std::optional<QChar> in = standIn(typed);
    if (!in)
        return std::nullopt;
    const auto byte = static_cast<unsigned char>(fromUnicode(*in));
    if (byte <= 96)
        return *in == typed ? std::nullopt : in;
    return toUnicode(static_cast<unsigned char>(byte - 32));
}

} // namespace Cp1252
