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

// The character that stands for one Windows-1252 has no byte for: the letter under its marks
// ("ş" is "s", "İ" is "I", "ğ" is "g") and "i" for the dotless "ı". Nothing when there is no
// such letter ("日", "ж"). A character the code page holds stands for itself.
std::optional<QChar> standIn(QChar c);
// The text with every character the code page has no byte for replaced by its stand-in, or
// left out when it has none: what a box whose text goes on the air may hold.
QString encodable(const QString& text);

// A key typed into a box that holds capitals only (identifiers, callsigns, addresses): a
// printable character whose Windows-1252 code is above 96 is taken 32 lower in that code page,
// so "a" becomes "A" and "é" "É"; one the code page lacks is first taken as its stand-in, so
// the Turkish "ı" and "İ" both become "I". Nothing when the character goes in as typed.
std::optional<QChar> typedCapital(QChar typed);

} // namespace Cp1252
