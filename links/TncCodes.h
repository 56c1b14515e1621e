// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The single-byte codes an operator gives a TNC: typed as decimal ("13"), as "$"-hexadecimal
// ("$0D"), or by pressing the control key itself, which the boxes turn into "$0D".
namespace TncCodes {

// The text a box shows for a control key pressed in it ("$03" for Ctrl+C, "$0D" for Enter):
// codes below 30 except Backspace, which must keep editing the box. Nothing for other keys.
std::optional<QString> keyText(int code);

// The byte a code text stands for; nothing when it is no number or no byte (0..255), since a
// larger value would go out as some other character.
std::optional<int> byteValue(const QString& text);

} // namespace TncCodes

// The command sequences the terminal sends to switch a TNC into KISS mode and back.
namespace KissSequence {

// Each enter line with CR LF, in Windows-1252, whole whatever its length; an empty line is
// still sent as a bare CR LF, as TNCs count the lines.
std::array<QByteArray, 4> enterLines(const std::array<QString, 4>& lines);

// The exit codes as bytes (each taken modulo 256), up to the first zero: the codes after a 0
// are not part of the sequence.
QByteArray exitBytes(const std::array<int, 4>& codes);

} // namespace KissSequence

// What the terminal window holds of the TNC's text.
namespace TerminalText {

inline constexpr int MemoCapacity = 4095;

// The memo after a burst of received text arrived: the burst and a line end appended, then
// only the newest `capacity` characters kept.
QString append(const QString& memo, const QString& received, int capacity = MemoCapacity);

// The memo text as the window shows it: every CR LF, and every CR alone (TNCs end lines with
// either), as one line break.
QString display(const QString& memo);

} // namespace TerminalText
