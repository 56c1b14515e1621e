// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/AirText.h"

#include "common/Cp1252.h"

QByteArray airText(const QString& text, bool utf8) {
    return utf8 ? text.toUtf8() : Cp1252::fromUnicode(text);
}

QString readAirText(const QByteArray& bytes) {
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.toUtf8() == bytes ? utf8 : Cp1252::toUnicode(bytes);
}

qsizetype airSize(const QString& text, bool utf8) {
    return utf8 ? text.toUtf8().size() : text.size();
}

QString airCarrier(const QString& text, bool utf8) {
    return utf8 ? Cp1252::toUnicode(text.toUtf8()) : text;
}

QString airLeft(const QString& text, qsizetype bytes, bool utf8) {
    if (!utf8)
        return text.left(bytes);
    qsizetype size = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        // A character outside the basic plane is two UTF-16 units and four bytes.
        const qsizetype units = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const qsizetype more = text.mid(end, units).toUtf8().size();
        if (size + more > bytes)
            break;
        size += more;
        end += units;
    }
    return text.left(end);
}

QString asciiName(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        QChar base = c;
        // Canonical and compatibility decompositions alike start with the base letter.
        while (base.unicode() >= 0x80 && !base.decomposition().isEmpty() &&
               base.decomposition()[0] != base)
            base = base.decomposition()[0];
        out += base.unicode() < 0x80 ? base : QLatin1Char('?');
    }
    return out;
}
