// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TncCodes.h"

#include "common/Cp1252.h"
#include "common/Numbers.h"

namespace TncCodes {

std::optional<QString> keyText(int code) {
    if (code < 0 || code >= 30 || code == 8)
        return std::nullopt;
    return QStringLiteral("$%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

std::optional<int> byteValue(const QString& text) {
    const auto value = tryStrToInt(text);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return value;
}

} // namespace TncCodes

namespace KissSequence {

std::array<QByteArray, 4> enterLines(const std::array<QString, 4>& lines) {
    std::array<QByteArray, 4> out;
    for (size_t i = 0; i < lines.size(); ++i)
        out[i] = Cp1252::fromUnicode(lines[i]) + "\r\n";
    return out;
}

QByteArray exitBytes(const std::array<int, 4>& codes) {
    QByteArray out;
    for (const int code : codes) {
        const auto byte = char(static_cast<unsigned>(code) & 0xFF);
        if (byte == 0)
            break;
        out.append(byte);
    }
    return out;
}

} // namespace KissSequence

namespace TerminalText {

QString append(const QString& memo, const QString& received, int capacity) {
    QString text = memo + received + QStringLiteral("\r\n");
    if (text.size() > capacity)
        text.remove(0, text.size() - capacity);
    return text;
}

QString display(const QString& memo) {
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace TerminalText
