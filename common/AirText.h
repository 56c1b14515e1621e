// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>

// Text on the air is Windows-1252 unless the station sends it as UTF-8, as today's clients
// read it. Only comments can hold more than ASCII: names, calls and positions are ASCII.

// The bytes a text goes out as.
QByteArray airText(const QString& text, bool utf8);
// Bytes heard or sent as text: UTF-8 where they are that, else Windows-1252. A Windows-1252
// letter beyond ASCII on its own is never valid UTF-8, so the bytes tell which they are.
QString readAirText(const QByteArray& bytes);
// How many bytes it takes on the air: the protocol's limits count bytes.
qsizetype airSize(const QString& text, bool utf8);
// The frame builders write each character as its Windows-1252 byte. With UTF-8 they are handed
// the characters of the UTF-8 bytes, so every link sends those bytes unchanged (Windows-1252
// gives each of the 256 bytes a character of its own).
QString airCarrier(const QString& text, bool utf8);
// The longest start of text that takes at most `bytes` on the air; a character is never cut.
QString airLeft(const QString& text, qsizetype bytes, bool utf8);
// An object's name as UTF-8 must carry it in its fixed width: each letter beyond ASCII
// becomes the letter under its marks ("É" is "E"), any other such character "?".
QString asciiName(const QString& name);
