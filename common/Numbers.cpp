// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "common/Numbers.h"

#include "common/ConvertError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

std::optional<int> tryStrToInt(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int digit = QChar(text[i]).isDigit() && text[i].unicode() < 128
                              ? text[i].unicode() - '0'
                          : (base == 16 && text[i].toLower() >= QLatin1Char('a') &&
                             text[i].toLower() <= QLatin1Char('f'))
                              ? text[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal texts may spell a negative 32-bit value ("$FFFFFFFF" is -1).
        if (value > (base == 16 ? qint64(0xFFFFFFFF) : qint64(std::numeric_limits<int>::max()) + 1))
            return std::nullopt;
    }
    if (base == 16 && value > std::numeric_limits<int>::max())
        value -= qint64(1) << 32;
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return int(value);
}

int strToInt(const QString& text) {
    if (auto v = tryStrToInt(text))
        return *v;
    throw ConvertError::integer(text);
}

std::optional<double> tryStrToFloat(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    const int n = int(t.size());
    auto isDigit = [&](int k) {
        return k < n && t[k] >= QLatin1Char('0') && t[k] <= QLatin1Char('9');
    };
    const bool negative = i < n && t[i] == QLatin1Char('-');
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    const int numberStart = i;
    // The decimal place of the first significant digit (1 for "5", 0 for ".5", -2 for
    // ".005"), so that a number out of a double's range can be told too large from too small.
    int magnitude = 0;
    bool significant = false;
    int digits = 0;
    while (isDigit(i)) {
        significant = significant || t[i] != QLatin1Char('0');
        if (significant)
            ++magnitude;
        ++i;
        ++digits;
    }
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (isDigit(i)) {
            if (!significant && t[i] == QLatin1Char('0'))
                --magnitude;
            significant = significant || t[i] != QLatin1Char('0');
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        const bool negativeExponent = i < n && t[i] == QLatin1Char('-');
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        if (!isDigit(i))
            return std::nullopt;
        int exponent = 0;
        for (; isDigit(i); ++i)
            exponent = std::min(exponent * 10 + (t[i].unicode() - '0'), 1000000);
        magnitude += negativeExponent ? -exponent : exponent;
    }
    if (i != n)
        return std::nullopt;
    // from_chars never consults the C library's locale, which the application sets from the
    // desktop: strtod would read "51.25" as 51 under a decimal-comma locale.
    const QByteArray latin = t.mid(numberStart).toLatin1();
    double v = 0;
    const auto [end, error] = std::from_chars(latin.constData(), latin.constData() + latin.size(),
                                              v, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // A value too small for a double reads as zero, as it always has; too large is refused.
        if (magnitude > 0)
            return std::nullopt;
        v = 0;
    } else if (error != std::errc() || end != latin.constData() + latin.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

double strToFloat(const QString& text) {
    if (auto v = tryStrToFloat(text))
        return *v;
    throw ConvertError::floatingPoint(text);
}

QString floatToStr(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // to_chars, unlike printf, writes "." whatever the C library's locale says.
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    // buf: [-]d.dddddddddddddde[+-]xx
    QString s = QString::fromLatin1(buf, written.ptr - buf);
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    const int ePos = int(s.indexOf(QLatin1Char('e')));
    const int exponent = s.mid(ePos + 1).toInt();
    QString digits = s.left(1) + s.mid(2, ePos - 2);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString out;
    if (exponent < -5 || exponent >= 15) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += QLatin1Char('.') + digits.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        out = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const int intDigits = exponent + 1;
        if (digits.size() <= intDigits)
            out = digits + QString(intDigits - digits.size(), QLatin1Char('0'));
        else
            out = digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
    }
    return negative ? QLatin1Char('-') + out : out;
}
