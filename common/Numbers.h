// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <optional>

// Number texts as the program has always written and read them: "." as decimal point
// whatever the desktop locale, "$" for hexadecimal.

// Decimal, "$"-hexadecimal or "0x"-hexadecimal, with an optional sign and leading blanks.
// Throws ConvertError("'text' is not a valid integer value").
int strToInt(const QString& text);
std::optional<int> tryStrToInt(const QString& text);

// Decimal with optional fraction and exponent. Throws ConvertError with the floating point
// message.
double strToFloat(const QString& text);
std::optional<double> tryStrToFloat(const QString& text);

// Shortest general form with at most 15 significant digits: fixed notation for values of at
// least 0.00001 with at most 15 integer digits, otherwise scientific ("1E-6", "1.5E20").
QString floatToStr(double value);
