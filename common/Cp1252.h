// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Files and the air carry single-byte Windows-1252 text; memory holds QString.
namespace Cp1252 {

QString toUnicode(const QByteArray& bytes);
// A character with no Windows-1252 byte becomes '?'.
QByteArray fromUnicode(const QString& text);
char fromUnicode(QChar c);
// Whether every character of the text has a Windows-1252 byte.
bool canEncode(const QString& text);
QChar toUnicode(unsigned char byte);

// A key typed into a box that holds capitals only (identifiers, callsigns, addresses): a
// printable character whose Windows-1252 code is above 96 is taken 32 lower in that code page,
// so "a" becomes "A" and "é" "É". Nothing when the character goes in as typed.
std::optional<QChar> typedCapital(QChar typed);

} // namespace Cp1252
